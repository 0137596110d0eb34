#include "edit/TileFiles.h"
#include "rom/GlyphoxDoc.h"

#include <QtTest>

#include <numeric>
#include <vector>

namespace {

constexpr int kActor = 7;
constexpr std::size_t kWindow = 0x15A060;   // 0x150200 + 7 x 0x16A0
constexpr std::size_t kBattle12 = 0x2D6680; // 0x2D6500 + 12 x 32

// Byte i of the image is i mod 256, and so is byte i of every file made here: a file
// copied to any of the places above changes every byte it covers.
std::vector<std::uint8_t> Image()
{
    std::vector<std::uint8_t> image(0x300200);
    std::iota(image.begin(), image.end(), std::uint8_t(0));
    return image;
}

QString MakeEntry(const QTemporaryDir& dir, const QString& name, int length)
{
    QFile file(dir.filePath(name));
    if (file.open(QIODevice::WriteOnly))
        file.write(reinterpret_cast<const char*>(Image().data()), length);
    return file.fileName();
}

// A document holding Image().
void Fill(CGlyphoxDoc& doc)
{
    const std::vector<std::uint8_t> image = Image();
    doc.Apply({0,
               QByteArray(reinterpret_cast<const char*>(image.data()), qsizetype(image.size())),
               QStringLiteral("Fill"),
               {}});
}

std::vector<std::uint8_t> Bytes(const CGlyphoxDoc& doc)
{
    return std::vector<std::uint8_t>(doc.Image(), doc.Image() + 0x300200);
}

} // namespace

class tst_TileFiles : public QObject
{
    Q_OBJECT

private slots:
    // Exports have exactly the size of the window or palette, and importing them over
    // scribbled bytes brings back every byte.
    void exportAndImportBack()
    {
        QCOMPARE(CTileFiles::TileSetExportName(7), QStringLiteral("tlset007.bin"));
        QCOMPARE(CTileFiles::PaletteExportName(false, 3), QStringLiteral("ovwld003.pal"));
        QCOMPARE(CTileFiles::PaletteExportName(true, 12), QStringLiteral("battl012.pal"));
        QTemporaryDir dir;
        const QString tiles = MakeEntry(dir, QStringLiteral("tiles"), 10000); // cut to 5792
        const QString battle = dir.filePath(QStringLiteral("battle"));
        CGlyphoxDoc doc;
        Fill(doc);
        QVERIFY(CTileFiles::ExportTileSet(doc.Image(), kActor, tiles).ok);
        QVERIFY(CTileFiles::ExportPalette(doc.Image(), true, 12, battle).ok);
        QCOMPARE(QFileInfo(tiles).size(), qint64(5792));
        QCOMPARE(QFileInfo(battle).size(), qint64(32));
        doc.Apply({kWindow, QByteArray(5792, '\xAA'), QStringLiteral("Scribble"), {}});
        doc.Apply({kBattle12, QByteArray(32, '\xAA'), QStringLiteral("Scribble"), {}});
        QVERIFY(CTileFiles::ImportTileSet(doc, kActor, tiles).ok);
        QVERIFY(CTileFiles::ImportPalette(doc, true, 12, battle).ok);
        QVERIFY(Bytes(doc) == Image());
    }

    void exportToMissingFolder()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("missing/tlset007.bin"));
        const CFileResult result = CTileFiles::ExportTileSet(Image().data(), kActor, path);
        QVERIFY(!result.ok);
        QCOMPARE(result.message, QStringLiteral("Can't create export file!"));
        QVERIFY(!QFileInfo::exists(path));
    }
};

QTEST_GUILESS_MAIN(tst_TileFiles)
#include "tst_tilefiles.moc"
