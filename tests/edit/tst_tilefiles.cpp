#include "edit/TileFiles.h"

#include <QtTest>

#include <algorithm>
#include <cstring>
#include <numeric>
#include <vector>

namespace {

constexpr int kActor = 7;
constexpr std::size_t kWindow = 0x15A060;     // 0x150200 + 7 x 0x16A0
constexpr std::size_t kOverworld3 = 0x268260; // 0x268200 + 3 x 32
constexpr std::size_t kBattle12 = 0x2D6680;   // 0x2D6500 + 12 x 32
constexpr int kMissing = -1;                  // lengths that stand for no readable file
constexpr int kDirectory = -2;

// Byte i of the image is i mod 256; file byte i is i mod 256 too, so a file copied to
// any of the places above changes every byte it covers.
std::vector<std::uint8_t> Image()
{
    std::vector<std::uint8_t> image(0x300200);
    std::iota(image.begin(), image.end(), std::uint8_t(0));
    return image;
}

QString MakeEntry(const QTemporaryDir& dir, const QString& name, int length)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    if (length == kDirectory)
        QDir(dir.path()).mkdir(name);
    else if (length >= 0 && file.open(QIODevice::WriteOnly))
        file.write(QByteArray(reinterpret_cast<const char*>(Image().data()), length));
    return path;
}

} // namespace

class tst_TileFiles : public QObject
{
    Q_OBJECT

private slots:
    void exportAndImportBack_data();
    void exportAndImportBack();
    void exportToMissingFolder();
    void import_data();
    void import();
};

void tst_TileFiles::exportAndImportBack_data()
{
    QTest::addColumn<bool>("tileSet");
    QTest::addColumn<bool>("battle");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("staleLength");
    QTest::newRow("tile set 7") << true << false << "tlset007.bin" << 0;
    QTest::newRow("tile set over a longer file") << true << false << "tlset007.bin" << 10000;
    QTest::newRow("overworld palette 3") << false << false << "ovwld003.pal" << 0;
    QTest::newRow("battle palette 12 over a longer file") << false << true << "battl012.pal" << 100;
}

void tst_TileFiles::exportAndImportBack()
{
    QFETCH(bool, tileSet);
    QFETCH(bool, battle);
    QFETCH(QString, name);
    QFETCH(int, staleLength);
    const int number = tileSet ? kActor : battle ? 12 : 3;
    const std::size_t offset = tileSet ? kWindow : battle ? kBattle12 : kOverworld3;
    const int size = tileSet ? 5792 : 32;
    QCOMPARE(tileSet ? CTileFiles::TileSetExportName(number)
                     : CTileFiles::PaletteExportName(battle, number),
             name);
    QTemporaryDir dir;
    const QString path = MakeEntry(dir, name, staleLength);
    const std::vector<std::uint8_t> original = Image();
    std::vector<std::uint8_t> image = original;
    QVERIFY(tileSet ? CTileFiles::ExportTileSet(image.data(), number, path).ok
                    : CTileFiles::ExportPalette(image.data(), battle, number, path).ok);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray(reinterpret_cast<const char*>(&image[offset]), size));

    std::fill_n(&image[offset], size, std::uint8_t(0xAA));
    QVERIFY(tileSet ? CTileFiles::ImportTileSet(image.data(), number, path).ok
                    : CTileFiles::ImportPalette(image.data(), battle, number, path).ok);
    QVERIFY(image == original);
}

void tst_TileFiles::exportToMissingFolder()
{
    QTemporaryDir dir;
    const std::vector<std::uint8_t> image = Image();
    const QString tiles = dir.filePath(QStringLiteral("missing/tlset007.bin"));
    const QString palette = dir.filePath(QStringLiteral("missing/ovwld003.pal"));
    for (const CFileResult& result : {CTileFiles::ExportTileSet(image.data(), kActor, tiles),
                                      CTileFiles::ExportPalette(image.data(), false, 3, palette)}) {
        QVERIFY(!result.ok);
        QCOMPARE(result.message, QStringLiteral("Can't create export file!"));
    }
    QVERIFY(!QFileInfo::exists(tiles) && !QFileInfo::exists(palette));
}

void tst_TileFiles::import_data()
{
    QTest::addColumn<bool>("tileSet");
    QTest::addColumn<bool>("battle");
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("copied");
    QTest::addColumn<QString>("message");
    const QString unreadable = QStringLiteral("Can't read import file!");
    const QString tooShort = QStringLiteral("File too short to be 16 colours SNES palette!");
    QTest::newRow("tile set: empty file") << true << false << 0 << 0 << QString();
    QTest::newRow("tile set: 33 bytes") << true << false << 33 << 33 << QString();
    QTest::newRow("tile set: 64 bytes, tiles 0 and 1") << true << false << 64 << 64 << QString();
    QTest::newRow("tile set: 10000 bytes") << true << false << 10000 << 5792 << QString();
    QTest::newRow("tile set: missing file") << true << false << kMissing << 0 << unreadable;
    QTest::newRow("tile set: directory") << true << false << kDirectory << 0 << unreadable;
    QTest::newRow("palette: 31 bytes") << false << false << 31 << 0 << tooShort;
    QTest::newRow("palette: 33 bytes") << false << false << 33 << 32 << QString();
    QTest::newRow("battle palette: 32 bytes") << false << true << 32 << 32 << QString();
    QTest::newRow("palette: missing file") << false << true << kMissing << 0 << unreadable;
    QTest::newRow("palette: directory") << false << false << kDirectory << 0 << unreadable;
}

void tst_TileFiles::import()
{
    QFETCH(bool, tileSet);
    QFETCH(bool, battle);
    QFETCH(int, length);
    QFETCH(int, copied);
    QFETCH(QString, message);
    QTemporaryDir dir;
    const QString path = MakeEntry(dir, QStringLiteral("import"), length);
    std::vector<std::uint8_t> image = Image();
    std::vector<std::uint8_t> expected = image;
    const std::size_t offset = tileSet ? kWindow : battle ? kBattle12 : kOverworld3;
    std::memcpy(&expected[offset], image.data(), copied);
    const CFileResult result =
        tileSet ? CTileFiles::ImportTileSet(image.data(), kActor, path)
                : CTileFiles::ImportPalette(image.data(), battle, battle ? 12 : 3, path);
    QCOMPARE(result.ok, message.isEmpty());
    QCOMPARE(result.message, message);
    QVERIFY(image == expected);
}

QTEST_GUILESS_MAIN(tst_TileFiles)
#include "tst_tilefiles.moc"
