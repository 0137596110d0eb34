#include "NaiveTileDraw.h"

#include "rom/SnesFormat.h"

#include <cstddef>

// Kept in a file of its own so that, like DrawTile, it is a call the benchmark
// cannot inline or tailor to one pixel size.
void NaiveDrawTile(const std::uint8_t* tile, const std::uint16_t* palette, int x, int row,
                   std::uint8_t* buffer, int width, int bytesPerPixel)
{
    for (int y = 0; y < TILE_SIZE; ++y) {
        for (int c = 0; c < TILE_SIZE; ++c) {
            const int bit = 7 - c;
            const int index = ((tile[2 * y] >> bit) & 1) | ((tile[2 * y + 1] >> bit) & 1) << 1 |
                              ((tile[16 + 2 * y] >> bit) & 1) << 2 |
                              ((tile[17 + 2 * y] >> bit) & 1) << 3;
            const std::uint32_t pixel = index == 0 ? KEY_GREY : SnesToPixel(palette[index]);
            const std::size_t at = (std::size_t(8 * row + y) * width + x + c) * bytesPerPixel;
            StorePixel(buffer + at, pixel, bytesPerPixel);
        }
    }
}
