#pragma once

#include <array>
#include <cstdint>

// The SNES colour word and 4-bit planar tile, and the pixel routines every sprite
// image is built with. Pixel buffers hold rows of blue, green, red bytes (plus a
// fourth byte, always 0, at 4 bytes per pixel), top row first, rows back to back.

constexpr std::uint32_t KEY_GREY = 0x7F7F7F;
constexpr int TILE_BYTES = 32;
constexpr int TILE_SIZE = 8;
constexpr int TILE_PIXELS = TILE_SIZE * TILE_SIZE;
constexpr int PALETTE_COLORS = 16;
constexpr int PALETTE_BYTES = 2 * PALETTE_COLORS;

struct ScreenColor
{
    std::uint8_t red;
    std::uint8_t green;
    std::uint8_t blue;
    friend bool operator==(const ScreenColor&, const ScreenColor&) = default;
};

// Each 5-bit component shifted left by three; bit 15 is ignored.
constexpr ScreenColor SnesToScreen(std::uint16_t word)
{
    return {static_cast<std::uint8_t>((word & 31) << 3),
            static_cast<std::uint8_t>(((word >> 5) & 31) << 3),
            static_cast<std::uint8_t>(((word >> 10) & 31) << 3)};
}

// The screen colour as a buffer pixel value: blue in the low byte, then green, red, 0.
constexpr std::uint32_t SnesToPixel(std::uint16_t word)
{
    return (std::uint32_t(word & 0x001F) << 19) | (std::uint32_t(word & 0x03E0) << 6) |
           (std::uint32_t(word & 0x7C00) >> 7);
}

inline std::uint16_t ReadColorWord(const std::uint8_t* bytes)
{
    return static_cast<std::uint16_t>(bytes[0] | bytes[1] << 8);
}

inline void WriteColorWord(std::uint8_t* bytes, std::uint16_t word)
{
    bytes[0] = static_cast<std::uint8_t>(word & 0xFF);
    bytes[1] = static_cast<std::uint8_t>(word >> 8);
}

// 16 little-endian colour words from 32 bytes of the image.
void ReadPalette(const std::uint8_t* bytes, std::uint16_t palette[PALETTE_COLORS]);

// Screen pixels of a palette for drawing sprites: index 0 is the key grey.
void MakeSpritePixels(const std::uint16_t palette[PALETTE_COLORS],
                      std::uint32_t pixels[PALETTE_COLORS]);

// Colour indices of a tile, row by row, column 0 first.
void DecodeTile(const std::uint8_t* tile, std::uint8_t pixels[TILE_PIXELS]);

namespace SnesDetail {

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

inline constexpr std::array<std::uint64_t, 256> kPlaneSpread = MakePlaneSpread();

} // namespace SnesDetail

// Colour indices of one tile row, column c in bits 8c..8c+3. The four planes'
// lanes never carry into each other, so one lookup per plane decodes 8 pixels.
inline std::uint64_t DecodeTileRow(const std::uint8_t* tile, int y)
{
    using SnesDetail::kPlaneSpread;
    return kPlaneSpread[tile[2 * y]] | kPlaneSpread[tile[2 * y + 1]] << 1 |
           kPlaneSpread[tile[16 + 2 * y]] << 2 | kPlaneSpread[tile[17 + 2 * y]] << 3;
}

// The inverse of DecodeTile; index bits above bit 3 are dropped.
void EncodeTile(const std::uint8_t pixels[TILE_PIXELS], std::uint8_t* tile);

// Draws a tile at pixel column x and tile row `row` (8 pixel lines each); index 0
// becomes the key grey. Nothing is clipped: the caller keeps the block inside the
// buffer. Returns the key grey.
std::uint32_t DrawTile(const std::uint8_t* tile, const std::uint16_t* palette, int x, int row,
                       std::uint8_t* buffer, int width, int height, int bytesPerPixel);

// The same with the palette already converted by MakeSpritePixels.
void DrawTilePixels(const std::uint8_t* tile, const std::uint32_t pixels[PALETTE_COLORS], int x,
                    int row, std::uint8_t* buffer, int width, int bytesPerPixel);

namespace SnesDetail {

// How a tile is drawn: pixel by pixel; with byte shuffles (x86 with AVX2); or with
// byte shuffles after decoding each row as a bit matrix (AVX2 and GFNI). Every
// path gives the same bytes.
enum class TilePath
{
    Portable,
    Shuffles,
    BitMatrix
};

// The fastest path this processor runs: the one DrawTile and DrawTilePixels take.
TilePath FastestTilePath();
// DrawTile and DrawTilePixels on a given path, which the processor must run.
void DrawTileOn(TilePath path, const std::uint8_t* tile, const std::uint16_t* palette, int x,
                int row, std::uint8_t* buffer, int width, int bytesPerPixel);
void DrawTilePixelsOn(TilePath path, const std::uint8_t* tile,
                      const std::uint32_t pixels[PALETTE_COLORS], int x, int row,
                      std::uint8_t* buffer, int width, int bytesPerPixel);

} // namespace SnesDetail

// Flips a tile left to right by reversing the bits of every byte.
void MirrorTile(const std::uint8_t* source, std::uint8_t* destination);

// Stores one pixel value (blue, green, red, and a 0 at 4 bytes per pixel).
inline void StorePixel(std::uint8_t* at, std::uint32_t pixel, int bytesPerPixel)
{
    at[0] = static_cast<std::uint8_t>(pixel);
    at[1] = static_cast<std::uint8_t>(pixel >> 8);
    at[2] = static_cast<std::uint8_t>(pixel >> 16);
    if (bytesPerPixel == 4)
        at[3] = 0;
}
