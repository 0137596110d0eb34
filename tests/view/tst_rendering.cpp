#include "rom/ActorTables.h"
#include "view/StripRenderer.h"
#include "view/TileSheetRenderer.h"

#include <QtTest>

#include <algorithm>
#include <vector>

namespace {

// Screen colours of the palette below, the key grey, the label and the checkerboard greys.
const QColor kRed(248, 0, 0), kGreen(0, 248, 0), kBlue(0, 0, 248), kPale(248, 248, 248);
const QColor kDim(8, 16, 40), kKey(127, 127, 127), kWhite(255, 255, 255), kBlack(0, 0, 0);
const QColor kLight(204, 204, 204), kMid(128, 128, 128);

constexpr int kSheet = -1; // the thumbnail sheet instead of strip 0, 1 or 2
constexpr int kActor = 1;
constexpr std::size_t kWindow = 0x1518A0; // 0x150200 + 1 x 0x16A0

QColor RawAt(const CPixelBuffer& buffer, int x, int y)
{
    const std::size_t pixel = std::size_t(y) * buffer.Width() + x;
    const std::uint8_t* p = buffer.Bits() + pixel * buffer.BytesPerPixel();
    return QColor(p[2], p[1], p[0]);
}

// The colour of the span x span square at x, y, or an invalid colour if its pixels differ.
QColor AreaColour(const CPixelBuffer& buffer, int x, int y, int span)
{
    for (int i = 1; i < span * span; ++i) {
        if (RawAt(buffer, x + i % span, y + i / span) != RawAt(buffer, x, y))
            return QColor();
    }
    return RawAt(buffer, x, y);
}

void AddRow(const char* name, int strip, int variant, bool labels, int x, int y, int span,
            const QColor& colour)
{
    QTest::newRow(name) << strip << variant << labels << x << y << span << colour;
}

} // namespace

class tst_Rendering : public QObject
{
    Q_OBJECT

    std::vector<std::uint8_t> m_rom = std::vector<std::uint8_t>(0x300200);
    // Word 0 is a grey that must never show; bit 15 of word 8 must not show either.
    const std::uint16_t m_palette[16] = {0x2108, 0x001F, 0x03E0, 0, 0x7C00, 0, 0, 0,
                                         0x9441, 0,      0,      0, 0,      0, 0, 0x7FFF};
    const std::uint8_t* Window() const { return CActorTables::TileWindow(m_rom.data(), kActor); }

private slots:
    void initTestCase_data();
    void initTestCase();
    void pixels_data();
    void pixels();
    void wholeBuffers();
};

void tst_Rendering::initTestCase_data()
{
    QTest::addColumn<int>("bpp");
    QTest::newRow("3 bytes per pixel") << 3;
    QTest::newRow("4 bytes per pixel") << 4;
}

void tst_Rendering::initTestCase()
{
    // Tile 5, row 0: indices 1, 2, 4, 8 in columns 0 to 3, one plane each; (7, 7) is 15.
    std::uint8_t* tile5 = &m_rom[kWindow + 5 * 32];
    tile5[0] = 0x80;
    tile5[1] = 0x40;
    tile5[16] = 0x20;
    tile5[17] = 0x10;
    tile5[14] = tile5[15] = tile5[30] = tile5[31] = 0x01;
    std::fill_n(&m_rom[kWindow + 4 * 32], 32, std::uint8_t(0xFF)); // tile 4: all index 15
    m_rom[kWindow + 180 * 32] = 0x80;                              // tile 180: (0, 0) is 1
}

void tst_Rendering::pixels_data()
{
    for (const char* column : {"strip", "variant"})
        QTest::addColumn<int>(column);
    QTest::addColumn<bool>("labels");
    for (const char* column : {"x", "y", "span"})
        QTest::addColumn<int>(column);
    QTest::addColumn<QColor>("colour");
    // Strip 1 variant 0, row 2 starts with tiles 4 and 5; tile 5's cell is at 24, 48.
    AddRow("tile 0 all transparent", 0, 0, false, 0, 0, 24, kKey);
    AddRow("tile 4 all index 15", 0, 0, false, 0, 48, 24, kPale);
    AddRow("tile 5 (0,0) plane 0", 0, 0, false, 24, 48, 3, kRed);
    AddRow("tile 5 (1,0) plane 1", 0, 0, false, 27, 48, 3, kGreen);
    AddRow("tile 5 (2,0) plane 2", 0, 0, false, 30, 48, 3, kBlue);
    AddRow("tile 5 (3,0) plane 3", 0, 0, false, 33, 48, 3, kDim);
    // Variant 2, row 2 starts with tiles 5 and 4 mirrored.
    AddRow("mirrored 5 (7,0)", 0, 2, false, 21, 48, 3, kRed);
    AddRow("mirrored 5 (0,7)", 0, 2, false, 0, 69, 3, kPale);
    // Label "05h" over tile 5: glyphs at x = 24, 32 and 40.
    AddRow("no label when off", 0, 0, false, 26, 48, 1, kRed);
    AddRow("0 row 0 col 0 untouched", 0, 0, true, 24, 48, 1, kRed);
    AddRow("0 row 0 col 2 outline", 0, 0, true, 26, 48, 1, kBlack);
    AddRow("0 row 1 col 2 body", 0, 0, true, 26, 49, 1, kWhite);
    AddRow("5 row 1 col 0 outline", 0, 0, true, 32, 49, 1, kBlack);
    AddRow("5 row 1 col 6 body", 0, 0, true, 38, 49, 1, kWhite);
    AddRow("h row 3 col 5 outline", 0, 0, true, 45, 51, 1, kBlack);
    AddRow("h row 3 col 7 untouched", 0, 0, true, 47, 51, 1, kKey);
    AddRow("mirrored cell labelled 05h", 0, 2, true, 8, 49, 1, kBlack);
    // Strip 3, row 0: columns 20 to 22 empty, then tile 9D labelled "9Dh" at x = 552.
    AddRow("empty cell 20", 2, 0, true, 480, 0, 24, kKey);
    AddRow("empty cell 21", 2, 0, true, 504, 0, 24, kKey);
    AddRow("empty cell 22", 2, 0, true, 528, 0, 24, kKey);
    AddRow("D row 1 col 0 outline", 2, 0, true, 560, 1, 1, kBlack);
    AddRow("D row 1 col 4 body", 2, 0, true, 564, 1, 1, kWhite);
    // Sheet: tile t at x = 24t; checker squares of 4, light where x/4 + y/4 is even.
    AddRow("sheet top-left square", kSheet, 0, false, 0, 0, 4, kLight);
    AddRow("sheet square to the right", kSheet, 0, false, 4, 0, 4, kMid);
    AddRow("sheet square below", kSheet, 0, false, 0, 4, 4, kMid);
    AddRow("sheet tile 5 (0,0)", kSheet, 0, false, 120, 0, 3, kRed);
    AddRow("sheet tile 5 (3,0)", kSheet, 0, false, 129, 0, 3, kDim);
    AddRow("sheet tile 5 (4,0) in one square", kSheet, 0, false, 132, 0, 3, kMid);
    AddRow("sheet tile 5 (5,0) left of an edge", kSheet, 0, false, 135, 0, 1, kMid);
    AddRow("sheet tile 5 (5,0) right of an edge", kSheet, 0, false, 136, 0, 1, kLight);
    AddRow("sheet tile 5 (4,1) below an edge", kSheet, 0, false, 132, 4, 1, kLight);
    AddRow("sheet tile 180 (0,0)", kSheet, 0, false, 4320, 0, 3, kRed);
    AddRow("sheet last pixel", kSheet, 0, false, 4343, 23, 1, kLight);
}

// Each strip is first drawn in another variant with the other label setting, so every
// check also shows that a redraw keeps nothing of the previous one.
void tst_Rendering::pixels()
{
    QFETCH_GLOBAL(int, bpp);
    QFETCH(int, strip);
    QFETCH(int, variant);
    QFETCH(bool, labels);
    QFETCH(int, x);
    QFETCH(int, y);
    QFETCH(int, span);
    QFETCH(QColor, colour);
    CStripRenderer strips(bpp);
    CTileSheetRenderer sheet(bpp);
    if (strip != kSheet)
        strips.DrawStrip(strip, variant + 1, Window(), m_palette, !labels);
    const CPixelBuffer& out = strip == kSheet
                                  ? sheet.Draw(Window(), m_palette)
                                  : strips.DrawStrip(strip, variant, Window(), m_palette, labels);
    QCOMPARE(AreaColour(out, x, y, span), colour);
}

// Every pixel reads the same from the bytes, through PixelAt and through the QImage view,
// and at 4 bytes per pixel its fourth byte is 0.
void tst_Rendering::wholeBuffers()
{
    QFETCH_GLOBAL(int, bpp);
    CStripRenderer strips(bpp);
    CTileSheetRenderer sheet(bpp);
    const CPixelBuffer* buffers[] = {&strips.DrawStrip(0, 2, Window(), m_palette, true),
                                     &strips.DrawStrip(1, 1, Window(), m_palette, true),
                                     &strips.DrawStrip(2, 0, Window(), m_palette, true),
                                     &sheet.Draw(Window(), m_palette)};
    const QSize sizes[] = {{240, 72}, {576, 72}, {648, 72}, {4344, 24}};
    for (int i = 0; i < 4; ++i) {
        const CPixelBuffer& out = *buffers[i];
        const QImage image = out.Image();
        QCOMPARE(image.format(), bpp == 4 ? QImage::Format_RGB32 : QImage::Format_BGR888);
        QCOMPARE(image.size(), sizes[i]);
        int mismatches = 0;
        for (int y = 0; y < out.Height(); ++y) {
            for (int x = 0; x < out.Width(); ++x) {
                const ScreenColor c = out.PixelAt(x, y);
                const QRgb rgb = qRgb(c.red, c.green, c.blue);
                mismatches += rgb != RawAt(out, x, y).rgb() || rgb != image.pixel(x, y) ||
                              (bpp == 4 && out.Bits()[(y * out.Width() + x) * 4 + 3] != 0);
            }
        }
        QCOMPARE(mismatches, 0);
    }
}

QTEST_GUILESS_MAIN(tst_Rendering)
#include "tst_rendering.moc"
