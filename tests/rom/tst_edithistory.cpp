#include "RomFixture.h"
#include "edit/TileFiles.h"
#include "rom/ActorTables.h"
#include "rom/DemoRom.h"
#include "rom/GlyphoxDoc.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

using namespace RomFixture;

// The document's history: every kind of edit is undone and redone to the byte, the
// modified state follows the saved point, strokes are one step, no-ops none, and the
// memory budget drops the oldest steps.
class TestEditHistory : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QTemporaryDir m_dataHome;
    QString m_rom;

    QByteArray Image(const CGlyphoxDoc& doc) const
    {
        return QByteArray(reinterpret_cast<const char*>(doc.Image()), ROM_IMAGE_SIZE);
    }

    // One random edit of a kind the editor makes, somewhere in the sprite data.
    void RandomEdit(CGlyphoxDoc& doc, QRandomGenerator& random)
    {
        const int actor = random.bounded(CActorTables::ACTOR_COUNT);
        const int tile = random.bounded(CActorTables::WINDOW_TILES);
        const bool battle = random.bounded(2);
        const int palette = random.bounded(CActorTables::PALETTE_COUNT);
        QByteArray bytes(32, Qt::Uninitialized);
        for (char& byte : bytes)
            byte = char(random.bounded(256));
        switch (random.bounded(6)) {
        case 0: // a pasted or transformed tile
            doc.Apply({CActorTables::TileOffset(actor, tile), bytes, "Paste tile", {actor, tile}});
            break;
        case 1: // a colour
            doc.Apply({CActorTables::ColorOffset(battle, palette, random.bounded(16)),
                       bytes.left(2),
                       "Change colour",
                       {-1, -1, battle, palette}});
            break;
        case 2: // a stroke of a few pixels, bytes here and there in one tile
            doc.BeginStroke("Paint", {actor, tile});
            for (int i = random.bounded(1, 6); i > 0; --i)
                doc.Apply({CActorTables::TileOffset(actor, tile) + random.bounded(32),
                           bytes.left(1),
                           "Paint",
                           {}});
            doc.EndStroke();
            break;
        case 3:
            doc.Apply({CActorTables::TileSetOffset(actor),
                       QByteArray(5792, '\0'),
                       "Erase all tiles",
                       {actor, tile}});
            break;
        case 4: { // an import of a short file
            const QString in = m_dir.filePath("import.bin");
            WriteFile(in, bytes.repeated(random.bounded(1, 200)));
            QVERIFY(CTileFiles::ImportTileSet(doc, actor, in).ok);
            break;
        }
        default: // writes what is there already: recorded nowhere
            doc.Apply({CActorTables::TileOffset(actor, tile),
                       Image(doc).mid(CActorTables::TileOffset(actor, tile), 32),
                       "Paste tile",
                       {actor, tile}});
        }
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid() && m_dataHome.isValid());
        UsePrivateDataHome(m_dataHome);
        m_rom = m_dir.filePath("demo.smc");
        QVERIFY(WriteFile(m_rom, CDemoRom::Build(5)));
    }

    void randomEditsUndoAndRedoToTheByte()
    {
        CGlyphoxDoc doc;
        QVERIFY(doc.OnOpenDocument(m_rom).ok);
        const QByteArray opened = Image(doc);
        QRandomGenerator random(20261206);
        for (int i = 0; i < 400; ++i)
            RandomEdit(doc, random);
        const QByteArray edited = Image(doc);
        const int steps = doc.History().Count();
        QVERIFY(steps > 250 && steps < 400 && doc.IsModified());

        while (doc.Undo()) {
        }
        QVERIFY(Image(doc) == opened);
        QVERIFY(!doc.IsModified());
        while (doc.Redo()) {
        }
        QVERIFY(Image(doc) == edited);

        // Saving moves the clean point; undoing past it and back finds it again.
        QVERIFY(doc.OnSaveDocument(m_rom).ok && !doc.IsModified());
        Flip(doc, 0x300);
        Flip(doc, 0x301);
        QVERIFY(doc.IsModified());
        QVERIFY(doc.Undo() && doc.Undo() && !doc.IsModified());
        QVERIFY(doc.Undo() && doc.IsModified());
        QVERIFY(doc.Redo() && !doc.IsModified());
        // A new edit after undoing drops the steps that could have been redone.
        QVERIFY(doc.Undo());
        Flip(doc, 0x200);
        QVERIFY(!doc.History().CanRedo() && doc.IsModified());
        QVERIFY(doc.Undo() && doc.IsModified()); // the saved point is gone for good
        QCOMPARE(doc.History().Count(), steps);
    }

    void strokesAndNoOps()
    {
        CGlyphoxDoc doc;
        QVERIFY(doc.OnOpenDocument(m_rom).ok);
        const QByteArray opened = Image(doc);
        const qint64 tile = CActorTables::TileOffset(9, 4);
        doc.BeginStroke("Paint", {9, 4});
        for (int i = 0; i < 32; ++i)
            doc.Apply({tile + i, QByteArray(1, char(opened[tile + i] ^ 0x11)), "Paint", {}});
        doc.EndStroke();
        QCOMPARE(doc.History().Count(), 1);
        QCOMPARE(doc.UndoStep()->label, QString("Paint"));
        QCOMPARE(doc.UndoStep()->site, (CEditSite{9, 4}));
        QVERIFY(doc.History().StoredBytes() < 64 + 2 * qint64(sizeof(CEditHistory::Step)));

        // Painted and painted back within one stroke: no step; the same bytes: none either.
        doc.BeginStroke("Paint", {9, 4});
        doc.Apply({tile, "\x01", "Paint", {}});
        doc.Apply({tile, QByteArray(1, Image(doc)[tile] ^ 0x01 ^ 0x01), "Paint", {}});
        doc.Apply({tile, QByteArray(1, opened[tile] ^ 0x11), "Paint", {}});
        doc.EndStroke();
        QVERIFY(!doc.Apply({tile, Image(doc).mid(tile, 32), "Paste tile", {}}));
        QCOMPARE(doc.History().Count(), 1);
        QVERIFY(doc.Undo() && Image(doc) == opened && !doc.IsModified());
    }

    void budgetDropsTheOldestSteps()
    {
        CEditHistory history(10000);
        for (int i = 0; i < 20; ++i)
            history.Push({"Step", {}, i, QByteArray(1000, 'a'), QByteArray(1000, 'b')});
        QVERIFY(history.StoredBytes() <= 10000);
        QCOMPARE(history.Count(), history.Index());
        QVERIFY(history.Count() >= 3 && history.Count() < 5);
        QCOMPARE(history.UndoStep()->offset, 19);
        while (history.Undo()) {
        }
        QVERIFY(!history.IsClean()); // the opened state was among the dropped steps
    }
};

QTEST_GUILESS_MAIN(TestEditHistory)
#include "tst_edithistory.moc"
