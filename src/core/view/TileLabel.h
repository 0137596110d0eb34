#pragma once

#include <cstdint>

// Writes "NNh", the two upper-case hexadecimal digits of number (0..255) and an
// "h", at pixel column x and tile row `row`, unmagnified: white body, black
// outline, other pixels untouched. Nothing is clipped.
void DrawTileLabel(int number, std::uint8_t* buffer, int x, int row, int width, int height,
                   int bytesPerPixel);
