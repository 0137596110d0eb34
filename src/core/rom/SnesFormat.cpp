#include "SnesFormat.h"

#include <array>
#include <bit>
#include <cstring>

// Pixel values are stored as little-endian words: blue, green, red, 0.
static_assert(std::endian::native == std::endian::little);

namespace {

constexpr std::array<std::uint8_t, 256> MakeBitReverse()
{
    std::array<std::uint8_t, 256> table{};
    for (int value = 0; value < 256; ++value) {
        int reversed = 0;
        for (int bit = 0; bit < 8; ++bit)
            reversed |= ((value >> bit) & 1) << (7 - bit);
        table[value] = static_cast<std::uint8_t>(reversed);
    }
    return table;
}

constexpr std::array<std::uint8_t, 256> kBitReverse = MakeBitReverse();

} // namespace

void ReadPalette(const std::uint8_t* bytes, std::uint16_t palette[PALETTE_COLORS])
{
    for (int i = 0; i < PALETTE_COLORS; ++i)
        palette[i] = ReadColorWord(bytes + 2 * i);
}

void MakeSpritePixels(const std::uint16_t palette[PALETTE_COLORS],
                      std::uint32_t pixels[PALETTE_COLORS])
{
    for (int i = 0; i < PALETTE_COLORS; ++i)
        pixels[i] = SnesToPixel(palette[i]);
    pixels[0] = KEY_GREY;
}

void DecodeTile(const std::uint8_t* tile, std::uint8_t pixels[TILE_PIXELS])
{
    for (int y = 0; y < TILE_SIZE; ++y) {
        const std::uint64_t row = DecodeTileRow(tile, y);
        for (int column = 0; column < TILE_SIZE; ++column)
            pixels[8 * y + column] = static_cast<std::uint8_t>(row >> (8 * column)) & 0x0F;
    }
}

void EncodeTile(const std::uint8_t pixels[TILE_PIXELS], std::uint8_t* tile)
{
    std::memset(tile, 0, TILE_BYTES);
    for (int y = 0; y < TILE_SIZE; ++y) {
        for (int bit = 0; bit < 8; ++bit) {
            const int v = pixels[8 * y + 7 - bit];
            tile[2 * y] |= static_cast<std::uint8_t>((v & 1) << bit);
            tile[2 * y + 1] |= static_cast<std::uint8_t>(((v >> 1) & 1) << bit);
            tile[16 + 2 * y] |= static_cast<std::uint8_t>(((v >> 2) & 1) << bit);
            tile[17 + 2 * y] |= static_cast<std::uint8_t>(((v >> 3) & 1) << bit);
        }
    }
}

namespace {

// Pixels are stored one by one, straight into the buffer. At 3 bytes per pixel
// each 4-byte store's spare byte is overwritten by the next pixel, and the last
// pixel of the row is stored in exactly 3 bytes.
template <int BytesPerPixel>
void DrawTileRows(const std::uint8_t* tile, const std::uint32_t pixels[PALETTE_COLORS],
                  std::uint8_t* line, std::size_t stride)
{
    for (int y = 0; y < TILE_SIZE; ++y, line += stride) {
        const std::uint64_t indices = DecodeTileRow(tile, y);
        std::uint8_t index[TILE_SIZE]; // one byte per column, each 0..15
        std::memcpy(index, &indices, sizeof index);
        for (int c = 0; c < TILE_SIZE - 1; ++c)
            std::memcpy(line + BytesPerPixel * c, &pixels[index[c]], 4);
        const std::uint32_t last = pixels[index[TILE_SIZE - 1]];
        StorePixel(line + BytesPerPixel * (TILE_SIZE - 1), last, BytesPerPixel);
    }
}

} // namespace

void DrawTilePixels(const std::uint8_t* tile, const std::uint32_t pixels[PALETTE_COLORS], int x,
                    int row, std::uint8_t* buffer, int width, int bytesPerPixel)
{
    const std::size_t stride = std::size_t(width) * bytesPerPixel;
    std::uint8_t* line = buffer + (std::size_t(8) * row * width + x) * bytesPerPixel;
    if (bytesPerPixel == 4)
        DrawTileRows<4>(tile, pixels, line, stride);
    else
        DrawTileRows<3>(tile, pixels, line, stride);
}

std::uint32_t DrawTile(const std::uint8_t* tile, const std::uint16_t* palette, int x, int row,
                       std::uint8_t* buffer, int width, int /*height*/, int bytesPerPixel)
{
    std::uint32_t pixels[PALETTE_COLORS];
    MakeSpritePixels(palette, pixels);
    DrawTilePixels(tile, pixels, x, row, buffer, width, bytesPerPixel);
    return KEY_GREY;
}

void MirrorTile(const std::uint8_t* source, std::uint8_t* destination)
{
    for (int i = 0; i < TILE_BYTES; ++i)
        destination[i] = kBitReverse[source[i]];
}
