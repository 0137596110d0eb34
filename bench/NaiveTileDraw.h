#pragma once

#include <cstdint>

// DrawTile written the obvious way, for comparison: every pixel gathers its four
// bits one plane at a time and converts its colour word on the spot.
void NaiveDrawTile(const std::uint8_t* tile, const std::uint16_t* palette, int x, int row,
                   std::uint8_t* buffer, int width, int bytesPerPixel);
