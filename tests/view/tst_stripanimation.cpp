#include "edit/PaletteFile.h"
#include "rom/SnesFormat.h"
#include "view/StripAnimation.h"

#include <QBuffer>
#include <QImageReader>
#include <QtTest>

// The strip animation as another decoder (Qt's GIF reader) sees it: the cycle's frames at
// 250 ms, looping, the palette's colours, empty cells and index 0 transparent, mirrored
// cells mirrored, all at the chosen scale.
class tst_StripAnimation : public QObject
{
    Q_OBJECT

private slots:
    void gifOfStripOne()
    {
        std::uint16_t palette[16];
        for (int i = 0; i < 16; ++i)
            palette[i] = std::uint16_t((i + 1) | (15 - i) << 5 | (2 * i) << 10);
        // Every pixel of tile t has index t % 16, except tile 5, whose column x has index x + 1.
        QByteArray window(5792, '\0');
        std::uint8_t pixels[64];
        for (int tile = 0; tile < 181; ++tile) {
            for (int i = 0; i < 64; ++i)
                pixels[i] = std::uint8_t(tile == 5 ? i % 8 + 1 : tile % 16);
            EncodeTile(pixels, reinterpret_cast<std::uint8_t*>(window.data()) + 32 * tile);
        }
        QByteArray gif;
        QVERIFY(CStripAnimation::EncodeGif(0, reinterpret_cast<const std::uint8_t*>(window.data()),
                                           palette, 2, &gif)
                    .ok);
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
        QCOMPARE(CStripAnimation::IndexedStep(
                     0, 0, reinterpret_cast<const std::uint8_t*>(window.data()), palette, 1)
                     .pixelIndex(8, 16),
                 1);
    }
};

QTEST_GUILESS_MAIN(tst_StripAnimation)
#include "tst_stripanimation.moc"
