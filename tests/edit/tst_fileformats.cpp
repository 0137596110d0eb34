#include "edit/PaletteFile.h"
#include "edit/TileSheetImage.h"
#include "rom/SnesFormat.h"
#include "view/StripAnimation.h"

#include <QBuffer>
#include <QImage>
#include <QImageReader>
#include <QtTest>

// Files other programs read and write, checked through another decoder (Qt's): the tile sheet
// as a 4-bit indexed PNG, read back index for index and refused pixel-exactly when an index or
// a colour cannot be a tile's; the strip animation as a GIF; palette files in every format,
// colours off the 5-bit grid rounded and counted, short or damaged files refused.
class tst_FileFormats : public QObject
{
    Q_OBJECT

    static constexpr std::uint16_t kWords[16] = {0x0000, 0x7FFF, 0x001F, 0x03E0, 0x7C00, 0x1234,
                                                 0x2108, 0x4210, 0x6318, 0x0C63, 0x5294, 0x7BDE,
                                                 0x0421, 0x3DEF, 0x56B5, 0x7FE0};

    std::uint16_t m_palette[16] = {};
    QByteArray m_window;

    static const std::uint8_t* u8(const QByteArray& bytes)
    {
        return reinterpret_cast<const std::uint8_t*>(bytes.constData());
    }

    // A window of 181 tiles, pixel i of tile t at index(t, i).
    template <typename Index> static QByteArray Window(Index index)
    {
        QByteArray window(5792, '\0');
        std::uint8_t pixels[64];
        for (int tile = 0; tile < 181; ++tile) {
            for (int i = 0; i < 64; ++i)
                pixels[i] = std::uint8_t(index(tile, i));
            EncodeTile(pixels, reinterpret_cast<std::uint8_t*>(window.data()) + 32 * tile);
        }
        return window;
    }

    static QByteArray Png(const QImage& image)
    {
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
        return png;
    }

private slots:
    void initTestCase()
    {
        for (int i = 0; i < 16; ++i)
            m_palette[i] = std::uint16_t(i * 2 | (31 - i) << 5 | i << 10);
        m_window = Window([](int tile, int i) { return (tile + i) % 16; });
    }

    void writtenAsIndexedPngAndReadBack()
    {
        QByteArray png;
        QVERIFY(CTileSheetImage::EncodePng(u8(m_window), m_palette, &png).ok);
        QCOMPARE(int(png[24]), 4); // bit depth
        QCOMPARE(int(png[25]), 3); // palette colour type
        const QImage image = QImage::fromData(png, "PNG");
        QCOMPARE(image.size(), QSize(128, 96));
        QCOMPARE(image.format(), QImage::Format_Indexed8);
        QCOMPARE(image.colorTable().size(), 16);
        QCOMPARE(qAlpha(image.color(0)), 0);
        // Index 5: red 10 -> 82, green 26 -> 214, blue 5 -> 41.
        QCOMPARE(image.color(5), qRgb(82, 214, 41));
        QCOMPARE(image.pixelIndex(8 + 3, 8 + 2), (17 + 19) % 16); // tile 17, pixel 19
        QCOMPARE(image.pixelIndex(127, 95), 0);                   // padding after tile 180
        QCOMPARE(image.pixelIndex(4 * 8 + 7, 11 * 8 + 7), (180 + 63) % 16); // tile 180

        QByteArray window;
        QVERIFY(CTileSheetImage::Decode(png, m_palette, &window).ok);
        QCOMPARE(window, m_window);

        // One index changed in another program: exactly that tile's bytes change.
        QImage edited = image;
        edited.setPixel(8 + 3, 8 + 2, 9);
        QVERIFY(CTileSheetImage::Decode(Png(edited), m_palette, &window).ok);
        std::uint8_t pixels[64];
        DecodeTile(u8(window) + 32 * 17, pixels);
        QCOMPARE(int(pixels[19]), 9);
        QCOMPARE(window.left(32 * 17), m_window.left(32 * 17));
        QCOMPARE(window.mid(32 * 18), m_window.mid(32 * 18));

        // A true-colour copy with the palette's colours (index 0 fully transparent) is the same.
        const QByteArray argb = Png(image.convertToFormat(QImage::Format_ARGB32));
        QVERIFY(CTileSheetImage::Decode(argb, m_palette, &window).ok);
        QCOMPARE(window, m_window);
    }

    void sheetRefusals_data()
    {
        QTest::addColumn<QString>("message"); // the tag is what is wrong
        QTest::newRow("size") << QString("64 x 64 pixels");
        QTest::newRow("index") << QString("Pixel (5, 6) has colour index 16");
        QTest::newRow("colour") << QString("Pixel (9, 3) has colour #123456");
        QTest::newRow("truncated") << QString("not a readable PNG");
    }

    void sheetRefusals()
    {
        const QString kind = QTest::currentDataTag();
        QFETCH(QString, message);
        QImage image(128, 96, QImage::Format_Indexed8);
        QList<QRgb> table(17, qRgb(0, 0, 0));
        image.setColorTable(table);
        image.fill(0);
        QByteArray bytes;
        if (kind == "size") {
            bytes = Png(image.copy(0, 0, 64, 64));
        } else if (kind == "index") {
            image.setPixel(5, 6, 16);
            bytes = Png(image);
        } else if (kind == "colour") {
            QImage rgb(128, 96, QImage::Format_RGB32);
            rgb.fill(qRgb(0, 248, 0)); // palette entry 0: red 0, green 31, blue 0
            rgb.setPixel(9, 3, qRgb(0x12, 0x34, 0x56));
            bytes = Png(rgb);
        } else {
            bytes = Png(image).left(60);
        }
        QByteArray window = "untouched";
        const CFileResult result = CTileSheetImage::Decode(bytes, m_palette, &window);
        QVERIFY2(!result.ok && result.message.contains(message), qPrintable(result.message));
        QCOMPARE(window, QByteArray("untouched"));
    }

    // The strip animation: the cycle's frames at 250 ms, looping, the palette's colours, empty
    // cells and index 0 transparent, mirrored cells mirrored, all at the chosen scale.
    void gifOfStripOne()
    {
        std::uint16_t palette[16];
        for (int i = 0; i < 16; ++i)
            palette[i] = std::uint16_t((i + 1) | (15 - i) << 5 | (2 * i) << 10);
        // Every pixel of tile t has index t % 16, except tile 5, whose column x has index x + 1.
        const QByteArray window =
            Window([](int tile, int i) { return tile == 5 ? i % 8 + 1 : tile % 16; });
        QByteArray gif;
        QVERIFY(CStripAnimation::EncodeGif(0, u8(window), palette, 2, &gif).ok);
        QBuffer buffer(&gif);
        QImageReader reader(&buffer, "gif");
        QCOMPARE(reader.imageCount(), 4);
        QCOMPARE(reader.loopCount(), -1);
        const auto color = [&palette](int index) {
            return qRgb(CPaletteFile::Widen(palette[index] & 31),
                        CPaletteFile::Widen(palette[index] >> 5 & 31),
                        CPaletteFile::Widen(palette[index] >> 10 & 31));
        };
        // Cells are 16 x 16 at scale 2. Frame by frame (variants 0, 1, 2, 1), cell (row 0, column
        // 4) shows tile 18h, 1Eh, 18h, 1Eh; cell (row 2, column 0) shows tile 4, 8, 5 mirrored, 8.
        const int cell4[4] = {0x18 % 16, 0x1E % 16, 0x18 % 16, 0x1E % 16};
        const int row2[4] = {4, 8, 8, 8}; // leftmost pixel; frame 2 mirrors tile 5: column 7
        for (int frame = 0; frame < 4; ++frame) {
            const QImage image = reader.read();
            QCOMPARE(image.size(), QSize(10 * 16, 3 * 16));
            QCOMPARE(reader.nextImageDelay(), 250);
            QCOMPARE(image.pixel(4 * 16 + 5, 7), color(cell4[frame]));
            QCOMPARE(image.pixel(0, 2 * 16 + 1), color(row2[frame]));
            QCOMPARE(qAlpha(image.pixel(3, 3)), 0); // tile 0: index 0, transparent
        }
        // Tile 5 unmirrored in frame 0 at (row 2, column 1): its leftmost column, index 1.
        QCOMPARE(CStripAnimation::IndexedStep(0, 0, u8(window), palette, 1).pixelIndex(8, 16), 1);
    }

    void everyFormatReadsBackItsWords_data()
    {
        QTest::addColumn<int>("format");
        QTest::addColumn<QByteArray>("start");
        QTest::newRow("raw") << int(CPaletteFile::Format::Raw) << QByteArray("\x00\x00\xFF\x7F", 4);
        QTest::newRow("jasc") << int(CPaletteFile::Format::Jasc) << QByteArray("JASC-PAL\r\n0100");
        QTest::newRow("gimp") << int(CPaletteFile::Format::Gimp) << QByteArray("GIMP Palette\n");
        QTest::newRow("act") << int(CPaletteFile::Format::Act)
                             << QByteArray("\0\0\0\xFF\xFF\xFF", 6);
    }

    void everyFormatReadsBackItsWords()
    {
        QFETCH(int, format);
        QFETCH(QByteArray, start);
        const QByteArray bytes = CPaletteFile::Encode(kWords, CPaletteFile::Format(format));
        QVERIFY(bytes.startsWith(start));
        CPaletteFile::Colors colors;
        QVERIFY(CPaletteFile::Decode(bytes, &colors).ok);
        QCOMPARE(colors.words, std::vector<std::uint16_t>(std::begin(kWords), std::end(kWords)));
        QCOMPARE(colors.rounded, 0);
    }

    // 31 widens to 255, 12 to 99 and 13 to 107; 100 is off the grid and rounds down to 12, 104
    // rounds up to 13.
    void offGridColoursRoundAndShortFilesFillWhatTheyHave()
    {
        QCOMPARE(CPaletteFile::Widen(31), 255);
        QCOMPARE(CPaletteFile::Widen(12), 99);
        CPaletteFile::Colors colors;
        QVERIFY(
            CPaletteFile::Decode("JASC-PAL\n0100\n3\n255 0 0\n100 99 99\n0 0 104\n", &colors).ok);
        QCOMPARE(colors.words,
                 (std::vector<std::uint16_t>{0x001F, 12 | 12 << 5 | 12 << 10, 13 << 10}));
        QCOMPARE(colors.rounded, 2);
        QVERIFY(CPaletteFile::Decode("GIMP Palette\nName: x\n#\n  8  16 255\tA\n", &colors).ok);
        QCOMPARE(colors.words, (std::vector<std::uint16_t>{1 | 2 << 5 | 31 << 10}));

        QImage indexed(2, 2, QImage::Format_Indexed8);
        indexed.setColorTable({qRgb(255, 255, 255), qRgb(8, 0, 0)});
        const QByteArray png = Png(indexed);
        QVERIFY(CPaletteFile::Decode(png, &colors).ok);
        QCOMPARE(colors.words, (std::vector<std::uint16_t>{0x7FFF, 0x0001}));
        QVERIFY(!CPaletteFile::Decode(png.left(40), &colors).ok);
    }

    void paletteRefusals_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("one byte") << QByteArray("x");
        QTest::newRow("three raw colours") << QByteArray(6, '\x1F');
        QTest::newRow("jasc count past the lines") << QByteArray("JASC-PAL\n0100\n4\n1 2 3\n");
        QTest::newRow("gimp component 256") << QByteArray("GIMP Palette\n256 0 0\n");
    }

    void paletteRefusals()
    {
        QFETCH(QByteArray, bytes);
        CPaletteFile::Colors colors;
        const CFileResult result = CPaletteFile::Decode(bytes, &colors);
        QVERIFY(!result.ok && !result.message.isEmpty());
    }
};

QTEST_GUILESS_MAIN(tst_FileFormats)
#include "tst_fileformats.moc"
