#include "rom/ActorTables.h"
#include "view/StripRenderer.h"
#include "view/TileSheetRenderer.h"

#include <QtTest>

#include <algorithm>
#include <vector>

namespace {

// Screen colours of the palette below, the key grey, the label and the checkerboard greys.
const QColor kRed(248, 0, 0), kDim(8, 16, 40), kPale(248, 248, 248), kKey(127, 127, 127);
const QColor kWhite(255, 255, 255), kBlack(0, 0, 0), kLight(204, 204, 204), kMid(128, 128, 128);

constexpr int kSheet = -1; // the thumbnail sheet instead of strip 0, 1 or 2
constexpr int kActor = 1;
constexpr std::size_t kWindow = 0x1518A0; // 0x150200 + 1 x 0x16A0

// The colour of every pixel of the area, or an invalid colour if they differ or one has a
// fourth byte other than 0.
QColor AreaColour(const CPixelBuffer& buffer, const QRect& area)
{
    const QImage image = buffer.Image(); // in the byte order of the buffer
    const QRgb first = image.pixel(area.topLeft());
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const std::size_t at = (std::size_t(y) * buffer.Width() + x) * 4 + 3;
            if (image.pixel(x, y) != first || (buffer.BytesPerPixel() == 4 && buffer.Bits()[at]))
                return QColor();
        }
    }
    return QColor(first);
}

void AddRow(const char* name, int strip, int variant, bool labels, QRect area, QColor colour)
{
    QTest::newRow(name) << strip << variant << labels << area << colour;
}

} // namespace

class tst_Rendering : public QObject
{
    Q_OBJECT

    std::vector<std::uint8_t> m_rom = std::vector<std::uint8_t>(0x300200);
    // Word 0 is a grey that must never show; bit 15 of word 8 must not show either.
    const std::uint16_t m_palette[16] = {0x2108, 0x001F, 0, 0, 0, 0, 0, 0,
                                         0x9441, 0,      0, 0, 0, 0, 0, 0x7FFF};
    const std::uint8_t* Window() const { return CActorTables::TileWindow(m_rom.data(), kActor); }

private slots:
    void initTestCase_data()
    {
        QTest::addColumn<int>("bpp");
        QTest::newRow("3 bytes per pixel") << 3;
        QTest::newRow("4 bytes per pixel") << 4;
    }

    void initTestCase()
    {
        // Tile 5: (0, 0) is 1 (plane 0), (3, 0) is 8 (plane 3), (7, 7) is 15; the rest is 0.
        std::uint8_t* tile5 = &m_rom[kWindow + 5 * 32];
        tile5[0] = 0x80;
        tile5[17] = 0x10;
        tile5[14] = tile5[15] = tile5[30] = tile5[31] = 0x01;
        std::fill_n(&m_rom[kWindow + 4 * 32], 32, std::uint8_t(0xFF)); // tile 4: all index 15
        m_rom[kWindow + 180 * 32] = 0x80;                              // tile 180: (0, 0) is 1
    }

    void pixels_data()
    {
        QTest::addColumn<int>("strip");
        QTest::addColumn<int>("variant");
        QTest::addColumn<bool>("labels");
        QTest::addColumn<QRect>("area");
        QTest::addColumn<QColor>("colour");
        // Strip 1 variant 0, row 2 starts with tiles 4 and 5; tile 5's cell is at 24, 48.
        AddRow("tile 0 all transparent", 0, 0, false, {0, 0, 24, 24}, kKey);
        AddRow("tile 4 all index 15", 0, 0, false, {0, 48, 24, 24}, kPale);
        AddRow("tile 5 (0,0)", 0, 0, false, {24, 48, 3, 3}, kRed);
        AddRow("tile 5 (1,0) to (2,1)", 0, 0, false, {27, 48, 6, 6}, kKey);
        AddRow("tile 5 (3,0)", 0, 0, false, {33, 48, 3, 3}, kDim);
        // Variant 2, row 2 starts with tiles 5 and 4 mirrored.
        AddRow("mirrored 5 (7,0)", 0, 2, false, {21, 48, 3, 3}, kRed);
        AddRow("mirrored 5 (4,0)", 0, 2, false, {12, 48, 3, 3}, kDim);
        AddRow("mirrored 5 (0,7)", 0, 2, false, {0, 69, 3, 3}, kPale);
        // Label "05h" over tile 5: glyphs at x = 24, 32 and 40.
        AddRow("no label when off", 0, 0, false, {26, 48, 1, 1}, kRed);
        AddRow("0 row 0 col 0 untouched", 0, 0, true, {24, 48, 2, 1}, kRed);
        AddRow("0 row 0 cols 2-5 outline", 0, 0, true, {26, 48, 4, 1}, kBlack);
        AddRow("5 row 1 col 0 outline", 0, 0, true, {32, 49, 1, 1}, kBlack);
        AddRow("5 row 1 cols 1-6 body", 0, 0, true, {33, 49, 6, 1}, kWhite);
        AddRow("h row 0 col 0 untouched", 0, 0, true, {40, 48, 1, 1}, kKey);
        AddRow("h row 1 cols 1-2 body", 0, 0, true, {41, 49, 2, 1}, kWhite);
        AddRow("h row 3 col 7 untouched", 0, 0, true, {47, 51, 1, 1}, kKey);
        AddRow("mirrored cell labelled 05h", 0, 2, true, {8, 49, 1, 1}, kBlack);
        // Strip 3, row 0: columns 20 to 22 empty, then tile 9D labelled "9Dh" at x = 552.
        AddRow("empty cells carry no label", 2, 0, true, {480, 0, 72, 24}, kKey);
        AddRow("D row 1 col 0 outline", 2, 0, true, {560, 1, 1, 1}, kBlack);
        AddRow("D row 1 cols 1-4 body", 2, 0, true, {561, 1, 4, 1}, kWhite);
        // Sheet: tile t at x = 24t; checker squares of 4, light where x/4 + y/4 is even.
        AddRow("sheet top-left square", kSheet, 0, false, {0, 0, 4, 4}, kLight);
        AddRow("sheet square to the right", kSheet, 0, false, {4, 0, 4, 4}, kMid);
        AddRow("sheet tile 5 (0,0)", kSheet, 0, false, {120, 0, 3, 3}, kRed);
        AddRow("sheet tile 5 (4,0) in one square", kSheet, 0, false, {132, 0, 3, 3}, kMid);
        AddRow("sheet tile 5 (5,0) left of an edge", kSheet, 0, false, {135, 0, 1, 3}, kMid);
        AddRow("sheet tile 5 (5,0) right of an edge", kSheet, 0, false, {136, 0, 2, 3}, kLight);
        AddRow("sheet tile 180 (0,0)", kSheet, 0, false, {4320, 0, 3, 3}, kRed);
    }

    // Each strip is first drawn in another variant with the other label setting, so every
    // check also shows that a redraw keeps nothing of the previous one.
    void pixels()
    {
        QFETCH_GLOBAL(int, bpp);
        QFETCH(int, strip);
        QFETCH(int, variant);
        QFETCH(bool, labels);
        QFETCH(QRect, area);
        CStripRenderer strips(bpp);
        CTileSheetRenderer sheet(bpp);
        if (strip != kSheet)
            strips.DrawStrip(strip, variant + 1, Window(), m_palette, !labels);
        const CPixelBuffer& out =
            strip == kSheet ? sheet.Draw(Window(), m_palette)
                            : strips.DrawStrip(strip, variant, Window(), m_palette, labels);
        QTEST(AreaColour(out, area), "colour");
        const int widths[] = {240, 576, 648};
        QCOMPARE(out.Image().size(), strip == kSheet ? QSize(4344, 24) : QSize(widths[strip], 72));
    }

    // A dimmed tile is the truncated mean of its colour and the checkerboard square under
    // it, in every row; the checkerboard reaches the sheet's last rows.
    void sheetDimmedOverTheChecker()
    {
        QFETCH_GLOBAL(int, bpp);
        std::vector<std::uint8_t> window(CActorTables::WINDOW_TILES * TILE_BYTES);
        for (int y = 0; y < TILE_SIZE; ++y)
            window[2 * y] = 0xFF; // tile 0: plane 0 only, so colour 1 (red) everywhere
        CTileSheetRenderer sheet(bpp);
        sheet.Draw(window.data(), m_palette);
        sheet.DimTile(0);
        QCOMPARE(AreaColour(sheet.Sheet(), {0, 0, 4, 4}), QColor(226, 102, 102)); // red over light
        QCOMPARE(AreaColour(sheet.Sheet(), {0, 4, 4, 4}), QColor(188, 64, 64));   // over mid
        QCOMPARE(AreaColour(sheet.Sheet(), {0, 20, 4, 4}), QColor(188, 64, 64));
        QCOMPARE(AreaColour(sheet.Sheet(), {28, 20, 4, 4}), kLight);
    }
};

QTEST_GUILESS_MAIN(tst_Rendering)
#include "tst_rendering.moc"
