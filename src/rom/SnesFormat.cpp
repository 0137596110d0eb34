#include "SnesFormat.h"

#include <array>
#include <cstring>

namespace {

// For a plane byte, the bit of each column spread into its own byte lane:
// lane c holds bit 7 - c, so column 0 comes from bit 7.
constexpr std::array<std::uint64_t, 256> MakePlaneSpread()
{
    std::array<std::uint64_t, 256> table{};
    for (int value = 0; value < 256; ++value) {
        std::uint64_t lanes = 0;
        for (int column = 0; column < 8; ++column)
            lanes |= std::uint64_t((value >> (7 - column)) & 1) << (8 * column);
        table[value] = lanes;
    }
    return table;
}

constexpr std::array<std::uint64_t, 256> kPlaneSpread = MakePlaneSpread();

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
    pixels[0] = KEY_GREY;
    for (int i = 1; i < PALETTE_COLORS; ++i)
        pixels[i] = SnesToPixel(palette[i]);
}

std::uint64_t DecodeTileRow(const std::uint8_t* tile, int y)
{
    return kPlaneSpread[tile[2 * y]] | kPlaneSpread[tile[2 * y + 1]] << 1 |
           kPlaneSpread[tile[16 + 2 * y]] << 2 | kPlaneSpread[tile[17 + 2 * y]] << 3;
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

void DrawTilePixels(const std::uint8_t* tile, const std::uint32_t pixels[PALETTE_COLORS], int x,
                    int row, std::uint8_t* buffer, int width, int bytesPerPixel)
{
    const std::size_t stride = std::size_t(width) * bytesPerPixel;
    std::uint8_t* line = buffer + (std::size_t(8) * row * width + x) * bytesPerPixel;
    for (int y = 0; y < TILE_SIZE; ++y, line += stride) {
        const std::uint64_t indices = DecodeTileRow(tile, y);
        if (bytesPerPixel == 4) {
            std::uint32_t out[TILE_SIZE];
            for (int c = 0; c < TILE_SIZE; ++c)
                out[c] = pixels[(indices >> (8 * c)) & 0x0F];
            std::memcpy(line, out, sizeof out);
        } else {
            for (int c = 0; c < TILE_SIZE; ++c)
                StorePixel(line + 3 * c, pixels[(indices >> (8 * c)) & 0x0F], 3);
        }
    }
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

void ReplaceKeyColor(std::uint8_t* image, const std::uint8_t* background, int width, int height,
                     std::uint32_t key, int bytesPerPixel)
{
    if (height < 1 || width < 1)
        return;
    const std::uint8_t k0 = static_cast<std::uint8_t>(key >> 16);
    const std::uint8_t k1 = static_cast<std::uint8_t>(key >> 8);
    const std::uint8_t k2 = static_cast<std::uint8_t>(key);
    const std::size_t count = std::size_t(width) * height;
    for (std::size_t i = 0; i < count; ++i) {
        std::uint8_t* p = image + i * bytesPerPixel;
        if (p[0] == k0 && p[1] == k1 && p[2] == k2) {
            std::memcpy(p, background + i * bytesPerPixel, 3);
            if (bytesPerPixel == 4)
                p[3] = 0;
        }
    }
}
