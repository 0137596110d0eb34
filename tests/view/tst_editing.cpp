#include "view/GlyphoxView.h"

#include "RomFixture.h"
#include "app/CommandTable.h"
#include "color/PaletteCtrl.h"
#include "edit/PixelEditor.h"
#include "edit/TileFiles.h"
#include "rom/DemoRom.h"
#include "rom/GlyphoxDoc.h"
#include "rom/RomFileLayout.h"
#include "rom/SnesFormat.h"

#include <QtTest>
#include <QtWidgets>

// Settings and save journals go to a private folder, never to the user's.
const QTemporaryDir g_home;
const bool g_private = RomFixture::UsePrivateHome(g_home);

class tst_Editing : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(g_private && RomFixture::WriteFile(m_romPath, CDemoRom::Build(3)));
        QDir::setCurrent(m_dir.path()); // where the exports go
    }
    void init() { QVERIFY(Open(true)); }
    void cleanup() { m_view.reset(); }

    void tileCommands()
    {
        const QByteArray tile5 = Bytes(5 * 32, 32);
        Trigger(ID_TILE_PASTE); // nothing copied yet
        QCOMPARE(Bytes(0, 32), QByteArray(32, 0));
        SelectTile(5);
        Trigger(ID_TILE_COPY);
        for (int tile : {0, 7}) {
            SelectTile(tile);
            Trigger(ID_TILE_PASTE);
            QCOMPARE(Bytes(32 * tile, 32), tile5);
        }
        emit m_palette->Selected(1, 6);
        emit m_palette->Selected(2, 9);
        Trigger(ID_TILE_FILL);
        QByteArray six(32, 0); // index 6: planes 1 and 2
        for (int row = 0; row < 8; ++row)
            six[2 * row + 1] = six[16 + 2 * row] = char(0xFF);
        QCOMPARE(Bytes(7 * 32, 32), six);
        QCOMPARE(Steps(), 4); // the first paste, of the empty clipboard, cleared tile 0
    }

    void eraseAllCoversWholeWindow()
    {
        auto* edit = m_view->findChild<QLineEdit*>("editTileSet");
        edit->setText("29"); // 46 tiles: actors 30 to 32 start inside the window
        QTest::keyClick(edit, Qt::Key_Return);
        const quint32 end = CActorTables::TileSetOffset(29) + 5792;
        const QByteArray after = Bytes(end, 64, false);
        QVERIFY(Bytes(5000, 32) != QByteArray(32, 0));
        Trigger(ID_ERASE_ALL);
        QCOMPARE(Bytes(0, 5792), QByteArray(5792, 0));
        QCOMPARE(Bytes(end, 64, false), after);
        QCOMPARE(Steps(), 1);
    }

    // A stroke on actor 0, then a colour of overworld palette 2 (the pixels painted show it at
    // once), are undone from elsewhere: each undo first brings back its actor and tile, or bank
    // and palette, then restores them, and the editor, the strip, the thumbnail and the
    // palette show the old pixels.
    void undoShowsWhereTheStepHappened()
    {
        SelectTile(3);
        const QByteArray tile = Bytes(3 * 32, 32);
        const QImage strip = Strip(), thumbnail = Thumbnail(3);
        const std::vector<quint8> pixels = m_editor->Grid().Bytes();
        QTest::mousePress(m_editor, Qt::LeftButton, {}, QPoint(8, 8));
        for (int x = 8; x < 128; x += 16)
            QTest::mouseMove(m_editor, QPoint(x, 40));
        QTest::mouseRelease(m_editor, Qt::LeftButton, {}, QPoint(120, 40));
        QCOMPARE(Steps(), 1);
        QVERIFY(Bytes(3 * 32, 32) != tile && Thumbnail(3) != thumbnail);
        const auto swatch = [this] {
            return m_palette->grab().toImage().pixelColor(m_palette->GetCellRect(1).center());
        };
        const QColor before = swatch();
        const QImage painted = Thumbnail(3), editor = m_editor->grab().toImage();
        emit m_palette->ColorChanged(0, 1, 0x1234);
        QVERIFY(swatch() != before && Thumbnail(3) != painted &&
                m_editor->grab().toImage() != editor);
        QCOMPARE(Bytes(0x268242, 2, false), QByteArray("\x34\x12", 2)); // overworld 2, colour 1
        QCOMPARE(m_view->Selection().Site(), (CEditSite{0, 3, 0, 2}));

        auto* edit = m_view->findChild<QLineEdit*>("editTileSet");
        edit->setText("12");
        QTest::keyClick(edit, Qt::Key_Return);
        m_view->findChild<QRadioButton*>("radioBattle")->click();
        SelectTile(9);
        m_view->OnEditUndo();
        QCOMPARE(m_view->Selection().Site(), (CEditSite{12, 9, 0, 2}));
        QCOMPARE(swatch(), before);
        m_view->OnEditUndo();
        QCOMPARE(m_view->Selection().Site(), (CEditSite{0, 3, 0, 2}));
        QCOMPARE(m_view->findChild<QLineEdit*>("editTileSet")->text(), QString("0"));
        QCOMPARE(Bytes(3 * 32, 32), tile);
        QVERIFY(m_editor->Grid().Bytes() == pixels);
        QCOMPARE(Thumbnail(3), thumbnail);
        QCOMPARE(Strip(), strip);
        m_view->OnEditRedo();
        QVERIFY(Bytes(3 * 32, 32) != tile && Thumbnail(3) != thumbnail && m_doc->IsModified());
    }

    void modes_data()
    {
        QTest::addColumn<QString>("commands"); // paint, dropper, fill
        QTest::addColumn<int>("mode");
        QTest::newRow("dropper twice") << "dd" << 1;
        QTest::newRow("fill twice") << "ff" << 1;
        QTest::newRow("dropper then fill") << "df" << 4;
        QTest::newRow("dropper") << "d" << 2;
    }
    void modes()
    {
        QFETCH(QString, commands);
        QFETCH(int, mode);
        for (QChar letter : commands)
            Trigger(ID_MODE_PAINT + QString("pdf").indexOf(letter));
        QCOMPARE(m_view->Mode(), mode);
        QCOMPARE(m_editor->Mode(), mode);
        for (int i : {0, 1, 2})
            QCOMPARE(m_actions[ID_MODE_PAINT + i]->isChecked(), 1 << i == mode);
    }

    // Painting with both buttons shows the pens.
    void pens_data()
    {
        QTest::addColumn<bool>("pick");
        QTest::addColumn<int>("button");
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("fore");
        QTest::addColumn<int>("back");
        QTest::newRow("pick right") << true << 1 << 7 << 1 << 7;
        QTest::newRow("pick 16 ignored") << true << 1 << 16 << 1 << 0;
        QTest::newRow("swatch right") << false << 2 << 5 << 1 << 5;
    }
    void pens()
    {
        QFETCH(bool, pick);
        QFETCH(int, button);
        QFETCH(int, index);
        QFETCH(int, fore);
        QFETCH(int, back);
        Trigger(ID_MODE_DROPPER);
        pick ? emit m_editor->Picked(button, index) : emit m_palette->Selected(button, index);
        QCOMPARE(QPair(m_view->Mode(), m_view->ForeIndex() * 16 + m_view->BackIndex()),
                 QPair(2, fore * 16 + back));
        if (pick)
            QCOMPARE(m_palette->ForeIndex() * 16 + m_palette->BackIndex(), fore * 16 + back);
        Trigger(ID_MODE_PAINT);
        QTest::mouseClick(m_editor, Qt::LeftButton, {}, QPoint(8, 8));
        QTest::mouseClick(m_editor, Qt::RightButton, {}, QPoint(24, 8));
        for (int plane : {0, 1, 2, 3})
            QCOMPARE(quint8(Bytes(plane % 2 + plane / 2 * 16, 1)[0]) >> 6,
                     (fore >> plane & 1) << 1 | (back >> plane & 1));
    }

    // Each command turns tile 0, index 9 at (1, 0), (2, 0) and (1, 1), into the tile worked out
    // by hand, in one step; the pixel editor, the strip and the thumbnail all show it at once.
    void tileOperations_data()
    {
        QTest::addColumn<int>("command");
        QTest::addColumn<QByteArray>("rows"); // a bit per index-9 pixel, bit 7 the left
        const auto row = [](int command, const char* rows) {
            QTest::newRow(CommandTable::Find(command)->pszMenuText)
                << command << QByteArray(rows, 8);
        };
        row(ID_SHIFT_LEFT, "\xC0\x80\0\0\0\0\0\0");
        row(ID_SHIFT_UP, "\x40\0\0\0\0\0\0\0");
        row(ID_SHIFT_RIGHT, "\x30\x20\0\0\0\0\0\0");
        row(ID_SHIFT_DOWN, "\0\x60\x40\0\0\0\0\0");
        row(ID_FLIP_HORZ, "\x06\x02\0\0\0\0\0\0");
        row(ID_FLIP_VERT, "\0\0\0\0\0\0\x40\x60");
        row(ID_ROTATE_LEFT, "\0\0\0\0\0\x80\xC0\0");
        row(ID_ROTATE_RIGHT, "\0\x03\x01\0\0\0\0\0");
    }
    void tileOperations()
    {
        QFETCH(int, command);
        QFETCH(QByteArray, rows);
        const auto tile = [](const QByteArray& rows) { // index 9: planes 0 and 3
            QByteArray bytes(32, 0);
            for (int y = 0; y < 8; ++y)
                bytes[2 * y] = bytes[17 + 2 * y] = rows[y];
            return bytes;
        };
        m_doc->Apply({CActorTables::TileSetOffset(m_view->ActorNumber()),
                      tile(QByteArray("\x60\x40\0\0\0\0\0\0", 8)),
                      "Paste tile",
                      {0, 0}});
        const QImage strip = Strip(), thumbnail = Thumbnail();
        Trigger(command);
        QCOMPARE(Bytes(0, 32), tile(rows));
        std::vector<quint8> pixels(64);
        for (int i = 0; i < 64; ++i)
            pixels[i] = (quint8(rows[i / 8]) >> (7 - i % 8) & 1) * 9;
        QCOMPARE(m_editor->Grid().Bytes(), pixels);
        QVERIFY(Strip() != strip && Thumbnail() != thumbnail && Steps() == 2);
    }

    // The palette leaves in the format of the chosen filter, under the chosen name, and comes
    // back from a file of any format as one step, with what was left out said.
    void paletteFilesOfAnyFormat()
    {
        m_view->m_fnSaveFileDialog = [this](const QString&, const QString& filters,
                                            QString* selected) {
            *selected = filters.split(";;").value(2); // GIMP
            return m_dir.filePath("hero.gpl");
        };
        Trigger(ID_EXPORT_PALETTE_AS);
        QVERIFY(RomFixture::ReadFile(m_dir.filePath("hero.gpl")).startsWith("GIMP Palette\n"));
        QCOMPARE(m_messages.value(0),
                 "1 Exported SNES Palette to `" + m_dir.filePath("hero.gpl") + "'");
        QVERIFY(RomFixture::WriteFile(m_dir.filePath("three.pal"),
                                      "JASC-PAL\n0100\n3\n255 0 0\n0 255 0\n0 0 255\n"));
        m_chosen = m_dir.filePath("three.pal");
        Trigger(ID_IMPORT_PALETTE_FROM);
        const quint32 at = CActorTables::PaletteOffset(false, m_view->PaletteNumber());
        QCOMPARE(Bytes(at, 6, false), QByteArray("\x1F\x00\xE0\x03\x00\x7C", 6));
        QCOMPARE(Steps(), 1);
        QVERIFY2(m_messages.value(1).contains("only 3 colour(s)"), qPrintable(m_messages.value(1)));
    }

    // The tile set leaves as an indexed PNG and comes back unchanged; a one-index change made
    // in another program comes back as exactly that pixel, one step.
    void tileSheetImage()
    {
        m_view->m_fnSaveFileDialog = [this](const QString&, const QString&, QString*) {
            return m_dir.filePath("sheet.png");
        };
        Trigger(ID_EXPORT_TILESET_IMAGE);
        QImage sheet(m_dir.filePath("sheet.png"));
        QCOMPARE(sheet.format(), QImage::Format_Indexed8);
        const QByteArray window = Bytes(0, 5792);
        m_chosen = m_dir.filePath("sheet.png");
        Trigger(ID_IMPORT_TILESET_IMAGE);
        QCOMPARE(Bytes(0, 5792), window);
        QCOMPARE(Steps(), 0);
        sheet.setPixel(8 + 2, 0, (sheet.pixelIndex(8 + 2, 0) + 1) % 16); // tile 1, pixel 2
        QVERIFY(sheet.save(m_dir.filePath("sheet.png")));
        Trigger(ID_IMPORT_TILESET_IMAGE);
        QCOMPARE(Steps(), 1);
        QCOMPARE(Bytes(0, 32), window.left(32));
        QVERIFY(Bytes(32, 32) != window.mid(32, 32));
        QCOMPARE(Bytes(64, 5792 - 64), window.mid(64));
    }

    // Poses leave as the strip's animation (a GIF of its steps) or its shown step (a PNG).
    void exportPoses()
    {
        QString chosen;
        m_view->m_fnSaveFileDialog = [&](const QString&, const QString& filters,
                                         QString* selected) {
            *selected = filters.split(";;").value(chosen == "gif" ? 0 : 5);
            return m_dir.filePath("poses." + chosen);
        };
        chosen = "gif";
        Trigger(ID_EXPORT_POSES);
        QImageReader gif(m_dir.filePath("poses.gif"));
        QCOMPARE(gif.imageCount(), 4); // strip 1
        QCOMPARE(gif.size(), QSize(240, 72));
        chosen = "png";
        Trigger(ID_EXPORT_POSES);
        const QImage step(m_dir.filePath("poses.png"));
        QCOMPARE(step.size(), QSize(27 * 24, 72)); // strip 3
        QCOMPARE(step.format(), QImage::Format_Indexed8);
        QVERIFY(m_messages.value(1).contains("strip 3"));
    }

    // The current window and palette go to files named after them, in the current folder,
    // which the confirmation names in full.
    void exports()
    {
        Trigger(ID_EXPORT_TILESET);
        Trigger(ID_EXPORT_PALETTE);
        QCOMPARE(m_messages,
                 QStringList(
                     {"1 Exported Morrow SNES Tile Set to `" + m_dir.filePath("tlset000.bin") + "'",
                      "1 Exported SNES Palette to `" + m_dir.filePath("ovwld002.pal") + "'"}));
        QCOMPARE(Steps(), 0);
        QCOMPARE(RomFixture::ReadFile(m_dir.filePath("tlset000.bin")), Bytes(0, 5792));
        const quint32 palette = CActorTables::PaletteOffset(false, m_view->PaletteNumber());
        QCOMPARE(RomFixture::ReadFile(m_dir.filePath("ovwld002.pal")), Bytes(palette, 32, false));
        QCOMPARE(CTileFiles::PaletteExportName(true, 12), "battl012.pal");
        QDir dir(m_dir.path()); // a folder in the way of the export file
        QVERIFY(dir.remove("tlset000.bin") && dir.mkdir("tlset000.bin"));
        Trigger(ID_EXPORT_TILESET);
        QVERIFY(dir.rmdir("tlset000.bin"));
        QCOMPARE(m_messages.last(), "3 Can't create export file!");
    }

    void imports_data()
    {
        QTest::addColumn<int>("command");
        QTest::addColumn<int>("length"); // -1: no such file, -2: cancelled, -3: a folder
        QTest::addColumn<int>("copied");
        QTest::addColumn<QStringList>("messages");
        const int tiles = ID_IMPORT_TILESET, palette = ID_IMPORT_PALETTE;
        QTest::newRow("tiles 64") << tiles << 64 << 64 << QStringList();
        QTest::newRow("tiles 10000, cut to the window") << tiles << 10000 << 5792 << QStringList();
        QTest::newRow("tiles empty") << tiles << 0 << 0 << QStringList();
        QTest::newRow("tiles missing")
            << tiles << -1 << 0 << QStringList("3 Can't read import file!");
        QTest::newRow("palette 31")
            << palette << 31 << 0 << QStringList("1 File too short to be 16 colours SNES palette!");
        QTest::newRow("palette 33") << palette << 33 << 32 << QStringList();
        QTest::newRow("palette folder")
            << palette << -3 << 0 << QStringList("3 Can't read import file!");
        QTest::newRow("palette cancel") << palette << -2 << 0 << QStringList();
    }
    void imports()
    {
        QFETCH(int, command);
        QFETCH(int, length);
        QFETCH(int, copied);
        const bool tiles = command == ID_IMPORT_TILESET;
        const quint32 at = tiles ? CActorTables::TileSetOffset(0)
                                 : CActorTables::PaletteOffset(false, m_view->PaletteNumber());
        const QByteArray file = RomFixture::Pattern(qMax(length, 0));
        const QByteArray expected = Bytes(at, 6000, false).replace(0, copied, file.left(copied));
        m_chosen = length == -2 ? QString() : m_dir.filePath(length == -3 ? "folder" : "import");
        QVERIFY(length == -1   ? !QFile::exists(m_chosen) || QFile::remove(m_chosen)
                : length == -3 ? QDir().mkpath(m_chosen)
                               : length == -2 || RomFixture::WriteFile(m_chosen, file));
        Trigger(command);
        QCOMPARE(Bytes(at, 6000, false), expected);
        QTEST(m_messages, "messages");
        QCOMPARE(Steps(), copied > 0 ? 1 : 0);
        QCOMPARE(m_dialogs.join('|'), tiles ? "Import Morrow SNES Tile Set|Morrow SNES Tile Set "
                                              "Files (*.bin);;All Files (*)"
                                            : "Import 16 colours SNES palette|SNES Palette "
                                              "Files (*.pal);;All Files (*)");
    }

    void nothingWithoutImage()
    {
        QVERIFY(Open(false));
        m_chosen = m_romPath;
        const QStringList files = QDir(m_dir.path()).entryList(QDir::Files);
        for (QAction* action : std::as_const(m_actions))
            action->trigger();
        emit m_editor->Changed();
        emit m_palette->ColorChanged(0, 1, 0x1234);
        QVERIFY(m_messages.isEmpty() && m_dialogs.isEmpty() && Steps() == 0);
        QCOMPARE(Bytes(0, ROM_IMAGE_SIZE, false), QByteArray(ROM_IMAGE_SIZE, 0));
        QCOMPARE(QDir(m_dir.path()).entryList(QDir::Files), files);
    }

private:
    bool Open(bool withImage)
    {
        m_view.reset();
        QSettings("Brackenfold", "Glyphox").clear();
        m_doc = std::make_unique<CGlyphoxDoc>();
        if (withImage && !m_doc->OnOpenDocument(m_romPath).ok)
            return false;
        m_view = std::make_unique<CGlyphoxView>(m_doc.get());
        m_view->m_fnMessageBox = [this](QMessageBox::Icon icon, const QString& text) {
            m_messages << QString::number(icon) + ' ' + text;
        };
        m_view->m_fnOpenFileDialog = [this](const QString& title, const QString& filter) {
            m_dialogs << title << filter;
            return m_chosen;
        };
        m_view->show();
        m_view->OnInitialUpdate();
        m_actions.clear();
        for (const CCommandInfo& info : CommandTable::Commands())
            if (CommandTable::IsEditCommand(info.nId) && info.nId != ID_FILE_SAVE)
                m_actions[info.nId] = new QAction(m_view.get());
        m_view->ConnectCommands([this](int id) { return m_actions.value(id); });
        m_editor = m_view->findChild<CPixelEditor*>("pixelEditor");
        m_palette = m_view->findChild<CPaletteCtrl*>("paletteCtrl");
        m_list = m_view->findChild<QListWidget*>("listTiles");
        m_messages = m_dialogs = {};
        return m_actions[ID_MODE_PAINT]->isChecked() && QTest::qWaitForWindowExposed(m_view.get());
    }
    void Trigger(int id) { m_actions.value(id)->trigger(); }
    // Steps in the document's history: one per change that altered bytes.
    int Steps() const { return m_doc->History().Count(); }
    // Image bytes, from the current actor's window unless absolute.
    QByteArray Bytes(quint32 at, int length, bool inWindow = true) const
    {
        const quint32 start = inWindow ? CActorTables::TileSetOffset(m_view->ActorNumber()) : 0;
        return QByteArray(reinterpret_cast<const char*>(m_doc->Image()) + start + at, length);
    }
    void SelectTile(int tile)
    {
        QTest::mouseClick(m_list->viewport(), Qt::LeftButton, {},
                          m_list->visualItemRect(m_list->item(tile)).center());
        QCOMPARE(m_view->Tile(), tile);
    }
    QImage Strip() const { return m_view->findChild<QLabel*>("labelStrip2")->pixmap().toImage(); }
    QImage Thumbnail(int tile = 0) const { return m_list->item(tile)->icon().pixmap(16).toImage(); }

    const QString m_romPath = g_home.filePath("demo.smc");
    QTemporaryDir m_dir;
    std::unique_ptr<CGlyphoxDoc> m_doc;
    std::unique_ptr<CGlyphoxView> m_view;
    CPixelEditor* m_editor = nullptr;
    CPaletteCtrl* m_palette = nullptr;
    QListWidget* m_list = nullptr;
    QHash<int, QAction*> m_actions;
    QStringList m_messages, m_dialogs;
    QString m_chosen;
};

QTEST_MAIN(tst_Editing)
#include "tst_editing.moc"
