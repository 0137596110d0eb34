#pragma once

#include "view/PixelBuffer.h"

#include <cstdint>
#include <vector>

// Renders the three frame strips: the cells of a strip map, drawn from the
// actor's tile window in a palette and magnified three times. Each strip has a
// buffer of its own, allocated once; a redraw allocates nothing.
class CStripRenderer
{
public:
    static constexpr int MAGNIFICATION = 3;

    explicit CStripRenderer(int bytesPerPixel = 4);

    // Draws strip 0, 1 or 2 in the given variant (taken modulo the map's variants).
    // window: the 5792 bytes of the tile-set window; palette: 16 colour words.
    // Transparent pixels stay key grey; with showTileId each non-empty cell gets
    // its tile number at its top-left corner, unmagnified.
    const CPixelBuffer& DrawStrip(int strip, int variant, const std::uint8_t* window,
                                  const std::uint16_t* palette, bool showTileId);

    // Frames one 24 x 24 cell of the strip as last drawn with a 1-pixel line inside its edge.
    void OutlineCell(int strip, int column, int row, ScreenColor color);

    const CPixelBuffer& Strip(int strip) const { return m_strips[strip]; }
    int BytesPerPixel() const { return m_nBytesPerPixel; }

private:
    void DrawCellMagnified(const std::uint8_t* tile, const std::uint32_t pixels[16], int column,
                           int row, CPixelBuffer& out) const;

    int m_nBytesPerPixel;
    std::vector<CPixelBuffer> m_strips;
};
