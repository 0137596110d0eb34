#include "edit/TileSheetImage.h"
#include "rom/SnesFormat.h"

#include <QBuffer>
#include <QImage>
#include <QtTest>

// The tile sheet image: written as a 4-bit indexed PNG that another decoder (Qt's) reads
// with the palette and index 0 transparent, read back index for index, and refused
// pixel-exactly when an index or a colour cannot be a tile's.
class tst_TileSheetImage : public QObject
{
    Q_OBJECT

    std::uint16_t m_palette[16] = {};
    QByteArray m_window;

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
        // Pixel i of tile t has index (t + i) % 16.
        m_window.resize(5792);
        std::uint8_t pixels[64];
        for (int tile = 0; tile < 181; ++tile) {
            for (int i = 0; i < 64; ++i)
                pixels[i] = std::uint8_t((tile + i) % 16);
            EncodeTile(pixels, reinterpret_cast<std::uint8_t*>(m_window.data()) + 32 * tile);
        }
    }

    void writtenAsIndexedPngAndReadBack()
    {
        QByteArray png;
        QVERIFY(CTileSheetImage::EncodePng(reinterpret_cast<const std::uint8_t*>(m_window.data()),
                                           m_palette, &png)
                    .ok);
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
        DecodeTile(reinterpret_cast<const std::uint8_t*>(window.constData()) + 32 * 17, pixels);
        QCOMPARE(int(pixels[19]), 9);
        QCOMPARE(window.left(32 * 17), m_window.left(32 * 17));
        QCOMPARE(window.mid(32 * 18), m_window.mid(32 * 18));

        // A true-colour copy with the palette's colours (index 0 fully transparent) is the same.
        QVERIFY(CTileSheetImage::Decode(Png(image.convertToFormat(QImage::Format_ARGB32)),
                                        m_palette, &window)
                    .ok);
        QCOMPARE(window, m_window);
    }

    void refusals_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("message");
        QTest::newRow("wrong size") << "size"
                                    << "64 x 64 pixels";
        QTest::newRow("index 16") << "index"
                                  << "Pixel (5, 6) has colour index 16";
        QTest::newRow("colour off the palette") << "colour"
                                                << "Pixel (9, 3) has colour #123456";
        QTest::newRow("truncated") << "truncated"
                                   << "not a readable PNG";
    }

    void refusals()
    {
        QFETCH(QString, kind);
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
};

QTEST_GUILESS_MAIN(tst_TileSheetImage)
#include "tst_tilesheetimage.moc"
