#pragma once

#include "view/PixelBuffer.h"

#include <cstdint>

// Renders the thumbnail sheet of a tile window: the 181 tiles side by side,
// magnified three times (4344 x 24, tile t at x = 24t), with transparent pixels
// showing the checkerboard (4 x 4 squares, light grey at the top-left).
class CTileSheetRenderer
{
public:
    static constexpr int THUMBNAIL = 24;
    static constexpr int WIDTH = 181 * THUMBNAIL;
    static constexpr int HEIGHT = THUMBNAIL;

    explicit CTileSheetRenderer(int bytesPerPixel = 4);

    const CPixelBuffer& Draw(const std::uint8_t* window, const std::uint16_t* palette);
    // Shows a tile of the sheet as last drawn at half strength over the checkerboard.
    void DimTile(int tile);
    const CPixelBuffer& Sheet() const { return m_sheet; }

    // The checkerboard grey (204 or 128) at a pixel of the sheet.
    static std::uint8_t CheckerGrey(int x, int y);

private:
    static constexpr int kCheckerPeriod = 8; // pixels across and down
    static_assert(HEIGHT % kCheckerPeriod == 0);

    int m_nBytesPerPixel;
    CPixelBuffer m_background; // one period of the checkerboard's rows
    CPixelBuffer m_sheet;
};
