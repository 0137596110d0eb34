#include "RomFixture.h"

#include "edit/TileFiles.h"
#include "rom/ActorTables.h"
#include "rom/DemoRom.h"
#include "rom/GlyphoxDoc.h"
#include "rom/JournalRecord.h"
#include "rom/SaveJournal.h"

#include <QDir>
#include <QRandomGenerator>
#include <QtTest>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

using namespace RomFixture;

namespace {

constexpr qint64 MiB = 1024 * 1024;

// Makes a file impossible to open for writing, also for root (immutable flag), or undoes that.
bool SetImmutable(const QString& path, bool on)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY);
    int flags = 0;
    bool ok = fd >= 0 && ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
    ok = ok && ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    ::close(fd);
    return ok;
}

bool MakeReadOnly(const QString& path)
{
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadGroup);
    return !QFile(path).open(QIODevice::ReadWrite) || SetImmutable(path, true);
}

// A journal for a save into a file of a whole image's length.
bool Record(const QString& path, qint64 offset, const QByteArray& oldBytes,
            const QByteArray& newBytes)
{
    return CSaveJournal::Record(path, 0x300200, offset, oldBytes, newBytes).ok;
}

} // namespace

class TestGlyphoxDoc : public QObject
{
    Q_OBJECT

    QString Path(const QString& name) const { return m_dir.filePath(name); }
    QTemporaryDir m_dir;
    QTemporaryDir m_dataHome;
    int m_nRefused = 0;

    QByteArray Image(const CGlyphoxDoc& doc) const
    {
        return QByteArray(reinterpret_cast<const char*>(doc.Image()), ROM_IMAGE_SIZE);
    }

    // One random edit of a kind the editor makes, somewhere in the sprite data.
    void RandomEdit(CGlyphoxDoc& doc, QRandomGenerator& random)
    {
        const int actor = random.bounded(CActorTables::ACTOR_COUNT);
        const int tile = random.bounded(CActorTables::WINDOW_TILES);
        const qint64 at = CActorTables::TileOffset(actor, tile);
        const bool battle = random.bounded(2);
        const int palette = random.bounded(CActorTables::PALETTE_COUNT);
        QByteArray bytes(32, Qt::Uninitialized);
        for (char& byte : bytes)
            byte = char(random.bounded(256));
        switch (random.bounded(6)) {
        case 0: // a pasted or transformed tile
            doc.Apply({at, bytes, "Paste tile", {actor, tile}});
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
                doc.Apply({at + random.bounded(32), bytes.left(1), "Paint", {}});
            doc.EndStroke();
            break;
        case 3:
            doc.Apply({CActorTables::TileSetOffset(actor),
                       QByteArray(5792, '\0'),
                       "Erase all tiles",
                       {actor, tile}});
            break;
        case 4: { // an import of a short file
            const QString in = Path("import.bin");
            WriteFile(in, bytes.repeated(random.bounded(1, 200)));
            QVERIFY(CTileFiles::ImportTileSet(doc, actor, in).ok);
            break;
        }
        default: // writes what is there already: recorded nowhere
            doc.Apply({at, Image(doc).mid(at, 32), "Paste tile", {actor, tile}});
        }
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        UsePrivateDataHome(m_dataHome);
        QVERIFY(WriteFile(Path("demo.smc"), CDemoRom::Build(5)));
    }

    void init() { QDir(CSaveJournal::Directory()).removeRecursively(); }

    void opensByLength_data()
    {
        QTest::addColumn<qint64>("length");
        QTest::addColumn<bool>("usable");
        QTest::addColumn<bool>("headerless");

        QTest::newRow("headered, exact") << qint64(0x300200) << true << false;
        QTest::newRow("headerless, 3 MiB") << qint64(0x300000) << true << true;
        QTest::newRow("odd length above the image") << qint64(0x300201) << true << false;
        QTest::newRow("one byte short") << qint64(0x3001FF) << false << false;
        QTest::newRow("headerless but short") << qint64(0x2FFC00) << false << false;
        QTest::newRow("empty") << qint64(0) << false << false;
    }

    void opensByLength()
    {
        QFETCH(qint64, length);
        QFETCH(bool, usable);
        QFETCH(bool, headerless);
        const QByteArray file = Pattern(length);
        QVERIFY(WriteFile(Path("rom.bin"), file));

        CGlyphoxDoc doc;
        const CFileResult result = doc.OnOpenDocument(Path("rom.bin"));
        QCOMPARE(result.ok, usable);
        QCOMPARE(doc.IsImageLoaded(), usable);
        if (!usable) {
            QVERIFY(result.message.contains("too short"));
            QCOMPARE(doc.FileLength(), qint64(0));
            return;
        }
        QCOMPARE(doc.FileLength(), length);
        QCOMPARE(doc.IsHeaderless(), headerless);
        // A header-less file sits behind 512 zero bytes, so buffer offsets mean the same ROM byte.
        const qint64 shift = headerless ? 0x200 : 0;
        for (qint64 i = 0; i < shift; ++i)
            QCOMPARE(doc.Image()[i], std::uint8_t(0));
        for (qint64 offset : {qint64(0x200), qint64(0x150200), qint64(0x2D68BE), qint64(0x3001FF)})
            QCOMPARE(doc.Image()[offset], std::uint8_t(file[offset - shift]));
        // The image starts on a 2 MiB boundary, where it can sit in huge pages.
        QCOMPARE(quintptr(doc.Image()) % (quintptr(2) << 20), quintptr(0));
    }

    void refusedOpenKeepsThePreviousImage_data()
    {
        QTest::addColumn<QString>("said"); // in the message besides the name; the tag is the kind
        const char* rows[][2] = {{"missing", ""},        {"folder", "folder"},
                                 {"short", "too short"}, {"readonly", "for writing"},
                                 {"pipe", "named pipe"}, {"device", "device"},
                                 {"socket", "socket"}};
        for (const auto& [kind, said] : rows)
            QTest::newRow(kind) << QString(said);
    }

    void refusedOpenKeepsThePreviousImage()
    {
        const QString kind = QTest::currentDataTag();
        const QString good = Path("good.smc");
        QVERIFY(WriteFile(good, Pattern(0x300200)));
        // A name that says nothing of the kind, so that only the message can.
        QString bad = Path(QString("refused-%1").arg(++m_nRefused));
        if (kind == "folder")
            QVERIFY(QDir().mkpath(bad));
        if (kind == "short")
            QVERIFY(WriteFile(bad, Pattern(0x300000 - 1)));
        if (kind == "readonly") {
            QVERIFY(WriteFile(bad, Pattern(0x300200)));
            if (!MakeReadOnly(bad))
                QSKIP("cannot make a file read-only here");
        }
        // Special files are refused at once, never waited on.
        if (kind == "pipe")
            QVERIFY(::mkfifo(QFile::encodeName(bad).constData(), 0600) == 0);
        if (kind == "device")
            bad = "/dev/zero";
        const int listener = ::socket(AF_UNIX, SOCK_STREAM, 0);
        if (kind == "socket") {
            sockaddr_un address{};
            address.sun_family = AF_UNIX;
            qstrncpy(address.sun_path, QFile::encodeName(bad).constData(), sizeof address.sun_path);
            QVERIFY(::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0);
        }
        ::close(listener);

        CGlyphoxDoc doc;
        QVERIFY(doc.OnOpenDocument(good).ok);
        Flip(doc, 0x150200, 0xFF);
        const CFileResult refused = doc.OnOpenDocument(bad);
        if (kind == "readonly")
            SetImmutable(bad, false);
        QVERIFY2(!refused.ok && refused.message.contains(QDir::toNativeSeparators(bad)),
                 qPrintable(refused.message));
        QCOMPARE(doc.PathName(), good);
        QCOMPARE(doc.FileLength(), qint64(0x300200));
        QCOMPARE(doc.Image()[0x150200], std::uint8_t(~PatternByte(0x150200)));
        QFETCH(QString, said);
        QVERIFY2(refused.message.contains(said), qPrintable(refused.message));

        // The image is saved into the file it came from, never into the refused one.
        QVERIFY(doc.OnSaveDocument(doc.PathName()).ok);
        QCOMPARE(ReadFile(good).at(0x150200), char(~PatternByte(0x150200)));
    }

    void saveWritesTheRegionAndKeepsTheTail_data()
    {
        QTest::addColumn<qint64>("length");
        QTest::addColumn<bool>("edit"); // else the file must come back identical
        QTest::newRow("headered, no edits") << qint64(0x300200) << false;
        QTest::newRow("headered, 1 MiB tail") << qint64(0x300200 + MiB) << true;
        QTest::newRow("headerless, exact") << qint64(0x300000) << true;
        QTest::newRow("headerless, 1 MiB tail") << qint64(0x300000 + MiB) << true;
    }

    void saveWritesTheRegionAndKeepsTheTail()
    {
        QFETCH(qint64, length);
        QFETCH(bool, edit);
        QByteArray expected = Pattern(length);
        CGlyphoxDoc doc;
        QVERIFY(WriteFile(Path("edit.smc"), expected) && doc.OnOpenDocument(Path("edit.smc")).ok);
        const qint64 shift = doc.IsHeaderless() ? 0x200 : 0;
        // The first and the last ROM byte.
        for (const auto& [at, mask] : {std::pair(0x200, 0x0F), std::pair(0x3001FF, 0xF0)}) {
            if (edit) {
                Flip(doc, at, mask);
                expected[at - shift] = char(expected[at - shift] ^ mask);
            }
        }
        QVERIFY(doc.OnSaveDocument(Path("edit.smc")).ok);
        QCOMPARE(ReadFile(Path("edit.smc")), expected);
        QVERIFY(!CSaveJournal::IsPending(Path("edit.smc")));
        // At most the settled journal is kept; no temporary file is left.
        const QStringList left =
            QDir(CSaveJournal::Directory()).entryList(QDir::Files | QDir::Hidden);
        const QString kept = QFileInfo(CSaveJournal::PathFor(Path("edit.smc"))).fileName();
        QVERIFY2(left.isEmpty() || left == QStringList{kept}, qPrintable(left.join(' ')));
    }

    // A save keeps its journal, settled: never taken for an interrupted save, and
    // overwritten in place by the next record (a shorter one truncates it), which
    // then stands for an interrupted save like any other.
    void settledJournalIsKeptAndReused()
    {
        const QString path = Path("kept.smc");
        const QByteArray image = Pattern(0x300200);
        CGlyphoxDoc doc;
        QVERIFY(WriteFile(path, image) && doc.OnOpenDocument(path).ok);
        Flip(doc, 0x200, 0xFF);
        QVERIFY(doc.OnSaveDocument(path).ok);
        const QString slot = CSaveJournal::PathFor(path);
        struct stat kept = {};
        QVERIFY(::stat(QFile::encodeName(slot).constData(), &kept) == 0);
        QVERIFY(!CSaveJournal::IsPending(path));
        QVERIFY(doc.OnOpenDocument(path, CGlyphoxDoc::Pending::Refuse).message.isEmpty());

        const QByteArray saved = ReadFile(path);
        QVERIFY(Record(path, 0x1000, saved.mid(0x1000, 16), QByteArray(16, 'n')));
        QVERIFY(CSaveJournal::IsPending(path));
        struct stat reused = {};
        QVERIFY(::stat(QFile::encodeName(slot).constData(), &reused) == 0);
        QCOMPARE(reused.st_ino, kept.st_ino);
        QVERIFY(reused.st_size < 1024);
        QByteArray torn = saved;
        torn.replace(0x1000, 8, QByteArray(8, 'n'));
        QVERIFY(WriteFile(path, torn));
        const CFileResult opened = doc.OnOpenDocument(path);
        QVERIFY2(opened.message.contains("restored"), qPrintable(opened.message));
        QCOMPARE(ReadFile(path), saved);
        QVERIFY(!CSaveJournal::IsPending(path));
    }

    // Nothing loaded, or no file under the name: nothing is written (a file that shrank is
    // changedOnDiskIsNeverOverwrittenUnasked's).
    void saveFailsCleanly()
    {
        QVERIFY(WriteFile(Path("a.smc"), Pattern(0x300200)));
        CGlyphoxDoc doc;
        QVERIFY(!doc.OnSaveDocument(Path("a.smc")).ok); // nothing loaded yet
        QCOMPARE(ReadFile(Path("a.smc")), Pattern(0x300200));

        QVERIFY(doc.OnOpenDocument(Path("a.smc")).ok);
        QVERIFY(!doc.OnSaveDocument(Path("new.smc")).ok);
        QVERIFY(!QFile::exists(Path("new.smc")));
    }

    // An image opened without a header, saved into a file with one, keeps that file's header.
    void headerlessIntoHeaderedKeepsTheHeader()
    {
        QVERIFY(WriteFile(Path("plain.smc"), Pattern(0x300000)));
        QVERIFY(WriteFile(Path("headered.smc"), QByteArray(0x300200, 'h')));
        CGlyphoxDoc doc;
        QVERIFY(doc.OnOpenDocument(Path("plain.smc")).ok);
        QVERIFY(doc.OnSaveDocument(Path("headered.smc")).ok);
        QCOMPARE(ReadFile(Path("headered.smc")), QByteArray(0x200, 'h') + Pattern(0x300000));
    }

    void openSettlesAnInterruptedSave_data()
    {
        QTest::addColumn<QString>("fileState");
        QTest::addColumn<bool>("damagedJournal");
        QTest::addColumn<QString>("expected"); // file afterwards: old or new
        QTest::addColumn<QString>("notice");

        const auto row = [](const char* name, const char* state, bool damaged, const char* expected,
                            const char* notice) {
            QTest::newRow(name) << QString(state) << damaged << QString(expected)
                                << QString(notice);
        };
        row("torn write", "torn", false, "old", "restored");
        row("nothing written yet", "old", false, "old", "restored");
        row("all written", "new", false, "new", "holds the saved edits");
        row("damaged journal", "old", true, "old", "damaged");
        row("file changed length", "longer", false, "longer", "does not match the file");
    }

    void openSettlesAnInterruptedSave()
    {
        QFETCH(QString, fileState);
        QFETCH(bool, damagedJournal);
        QFETCH(QString, expected);
        QFETCH(QString, notice);

        const QString path = Path("crashed.smc");
        const QByteArray oldBytes = Pattern(0x300200);
        QByteArray newBytes = oldBytes;
        for (qint64 i = 0x1000; i < 0x9000; ++i)
            newBytes[i] = char(~newBytes[i]);
        QByteArray torn = oldBytes;
        torn.replace(0x1000, 0x4000, newBytes.mid(0x1000, 0x4000));
        const QByteArray longer = oldBytes + QByteArray(1024, 'x');

        QVERIFY(WriteFile(path, oldBytes));
        QVERIFY(Record(path, 0x1000, oldBytes.mid(0x1000, 0x8000), newBytes.mid(0x1000, 0x8000)));
        QVERIFY(CSaveJournal::IsPending(path));
        const QMap<QString, QByteArray> states{
            {"old", oldBytes}, {"new", newBytes}, {"torn", torn}, {"longer", longer}};
        QVERIFY(WriteFile(path, states[fileState]));
        if (damagedJournal) {
            QFile journal(CSaveJournal::PathFor(path));
            QVERIFY(journal.open(QIODevice::ReadWrite));
            journal.seek(journal.size() / 2);
            journal.write("garbage");
        }

        CGlyphoxDoc doc;
        const CFileResult opened = doc.OnOpenDocument(path);
        QVERIFY(opened.ok);
        QVERIFY2(opened.message.contains(notice), qPrintable(opened.message));
        QCOMPARE(ReadFile(path), states[expected]);
        QCOMPARE(doc.Image()[0x1000], std::uint8_t(states[expected][0x1000]));
        QVERIFY(!CSaveJournal::IsPending(path));
    }

    // Another program changed the file after it was opened: a save refuses (the file and the
    // edits stay as they are) until told to overwrite; a file merely touched saves as usual.
    void changedOnDiskIsNeverOverwrittenUnasked_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<bool>("refused");
        for (const char* change : {"inside", "outside", "replaced", "truncated", "deleted"})
            QTest::newRow(change) << change << true;
        QTest::newRow("touched") << "touched" << false;
    }

    void changedOnDiskIsNeverOverwrittenUnasked()
    {
        QFETCH(QString, change);
        QFETCH(bool, refused);
        const QString path = Path("watched.smc");
        QByteArray disk = Pattern(0x300200);
        CGlyphoxDoc doc;
        QVERIFY(WriteFile(path, disk) && doc.OnOpenDocument(path).ok);
        Flip(doc, 0x1000);
        if (change == "inside" || change == "outside")
            disk[change == "inside" ? 0x1000 : 0x2000] = 'X';
        if (change == "truncated")
            disk.truncate(1000);
        if (change == "replaced") { // as an assembler does: a new file renamed over the old
            disk[0x2000] = 'Y';
            QVERIFY(WriteFile(path + ".new", disk) &&
                    ::rename(QFile::encodeName(path + ".new"), QFile::encodeName(path)) == 0);
        } else if (change == "deleted") {
            QVERIFY(QFile::remove(path));
        } else {
            QVERIFY(WriteFile(path, disk)); // "touched" writes the same bytes again
        }

        const CFileResult saved = doc.OnSaveDocument(path);
        QCOMPARE(saved.ok, !refused);
        if (!refused)
            return;
        QCOMPARE(saved.changedOnDisk, change != "truncated" && change != "deleted");
        QCOMPARE(QFileInfo::exists(path), change != "deleted");
        if (change != "deleted")
            QCOMPARE(ReadFile(path), disk);
        QVERIFY(doc.IsModified() && doc.Image()[0x1000] != std::uint8_t(PatternByte(0x1000)));
        if (saved.changedOnDisk) {
            QVERIFY(doc.OnSaveDocument(path, CGlyphoxDoc::Overwrite::Always).ok);
            QCOMPARE(ReadFile(path),
                     QByteArray(reinterpret_cast<const char*>(doc.Image()), 0x300200));
            QVERIFY(doc.ReadDiskState().SameContent(doc.DiskState()));
        }
    }

    // Save As to a new name makes the file whole from the current one (header and tail
    // kept) and the document goes on with it; an untitled image becomes a headered file.
    void saveAsMakesANewFile()
    {
        const QString path = Path("source.smc");
        const QByteArray source = Pattern(0x300200 + 4096); // a tail past the mapped region
        CGlyphoxDoc doc;
        QVERIFY(WriteFile(path, source) && doc.OnOpenDocument(path).ok);
        Flip(doc, 0x2000);
        QVERIFY(doc.SaveAsNewFile(Path("copy.smc")).ok);
        QByteArray expected = source;
        expected[0x2000] = char(~expected[0x2000]);
        QCOMPARE(ReadFile(Path("copy.smc")), expected);
        QCOMPARE(ReadFile(path), source);
        QVERIFY(doc.PathName() == Path("copy.smc") && !doc.IsModified());

        doc.MakeUntitled();
        QVERIFY(doc.SaveAsNewFile(Path("untitled.smc")).ok);
        QCOMPARE(ReadFile(Path("untitled.smc")), expected.left(0x300200));
    }

    // Whatever sits in a file's journal slot, the file opens: a journal is applied
    // only when it is whole and was made for this very file, and anything else is
    // kept aside under a name the message gives.
    void unusableJournalsAreSetAside_data()
    {
        QTest::addColumn<QString>("notice");             // the tag is what sits in the slot
        QTest::newRow("overflow") << QString("damaged"); // a span past the largest offset
        QTest::newRow("folder") << QString("is a folder");
        QTest::newRow("other") << QString("does not match"); // another file's journal
    }

    void unusableJournalsAreSetAside()
    {
        const QString slot = QTest::currentDataTag();
        QFETCH(QString, notice);
        const QString path = Path("slot.smc");
        const QByteArray image = Pattern(0x300200);
        QVERIFY(WriteFile(path, image));
        QVERIFY(QDir().mkpath(CSaveJournal::Directory()));
        const QString journal = CSaveJournal::PathFor(path);
        if (slot == "overflow") {
            const CJournalRecord record{.path = QFileInfo(path).canonicalFilePath(),
                                        .fileLength = 0x300200,
                                        .offset = std::numeric_limits<qint64>::max() - 2,
                                        .oldBytes = "abcd"};
            QVERIFY(WriteFile(journal, record.SerializeHeader() + record.oldBytes));
        }
        if (slot == "folder")
            QVERIFY(QDir().mkpath(journal));
        if (slot == "other") {
            const QString other = Path("other.smc");
            QVERIFY(WriteFile(other, image));
            QVERIFY(Record(other, 0x200, image.mid(0x200, 16), QByteArray(16, 'n')));
            QVERIFY(QFile::rename(CSaveJournal::PathFor(other), journal));
        }

        CGlyphoxDoc doc;
        const CFileResult opened = doc.OnOpenDocument(path);
        QVERIFY2(opened.ok && opened.message.contains(notice), qPrintable(opened.message));
        QVERIFY2(opened.message.contains(QDir::toNativeSeparators(journal + ".damaged")),
                 qPrintable(opened.message));
        QVERIFY(QFileInfo::exists(journal + ".damaged"));
        QCOMPARE(ReadFile(path), image);
        Flip(doc, 0x300, 1);
        QVERIFY(doc.OnSaveDocument(path).ok);
        QVERIFY(!CSaveJournal::IsPending(path));
    }

    // A save writes its journal into the journal folder itself, never where a
    // link planted there points; and a span ending at the file's last byte is
    // a valid journal.
    void journalIsWrittenInItsFolderOnly()
    {
        const QString path = Path("linked.smc");
        const QByteArray image = Pattern(0x300200);
        QVERIFY(WriteFile(path, image));
        QVERIFY(QDir().mkpath(CSaveJournal::Directory()));
        const QString outside = Path("planted-target");
        QVERIFY(QFile::link(outside, CSaveJournal::PathFor(path)));
        CGlyphoxDoc doc;
        QVERIFY(doc.OnOpenDocument(path).ok); // the dangling link is set aside
        Flip(doc, 0x3001FF, 0xFF);
        QVERIFY(doc.OnSaveDocument(path).ok);
        QVERIFY(!QFileInfo::exists(outside));

        QVERIFY(Record(path, 0x300100, image.mid(0x300100), QByteArray(0x100, 'n')));
        const CFileResult opened = doc.OnOpenDocument(path);
        QVERIFY2(opened.message.contains("restored"), qPrintable(opened.message));
        QCOMPARE(ReadFile(path), image);
    }

    // The history: every kind of edit is undone and redone to the byte, the modified state
    // follows the saved point, strokes are one step, no-ops none, and the memory budget drops
    // the oldest steps.
    void randomEditsUndoAndRedoToTheByte()
    {
        CGlyphoxDoc doc;
        QVERIFY(doc.OnOpenDocument(Path("demo.smc")).ok);
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
        QVERIFY(doc.OnSaveDocument(Path("demo.smc")).ok && !doc.IsModified());
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
        QVERIFY(doc.OnOpenDocument(Path("demo.smc")).ok);
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

QTEST_GUILESS_MAIN(TestGlyphoxDoc)
#include "tst_glyphoxdoc.moc"
