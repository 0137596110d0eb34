#include "TileSheetRenderer.h"

#include "rom/ActorTables.h"
#include "rom/SnesFormat.h"

#include <algorithm>
#include <cstring>

namespace {

std::uint32_t Grey(std::uint8_t level)
{
    return std::uint32_t(level) * 0x010101;
}

} // namespace

CTileSheetRenderer::CTileSheetRenderer(int bytesPerPixel)
    : m_nBytesPerPixel(bytesPerPixel == 3 ? 3 : 4),
      m_background(WIDTH, kCheckerPeriod, m_nBytesPerPixel),
      m_sheet(WIDTH, HEIGHT, m_nBytesPerPixel)
{
    // The checkerboard repeats every 8 pixels across and down: one period of its rows is
    // kept. They come in two kinds: each kind's first 8 pixels are drawn and repeated,
    // then whole rows copied. (The editor makes a renderer while starting, so this is
    // kept cheap.)
    const std::size_t stride = m_background.Stride();
    const std::size_t period = std::size_t(kCheckerPeriod) * m_nBytesPerPixel;
    for (int y = 0; y < kCheckerPeriod; ++y) {
        std::uint8_t* line = m_background.Bits() + std::size_t(y) * stride;
        if (y % 4 != 0) {
            std::memcpy(line, line - stride, stride);
            continue;
        }
        for (int x = 0; x < kCheckerPeriod; ++x)
            StorePixel(line + std::size_t(x) * m_nBytesPerPixel, Grey(CheckerGrey(x, y)),
                       m_nBytesPerPixel);
        for (std::size_t done = period; done < stride; done *= 2)
            std::memcpy(line + done, line, std::min(done, stride - done));
    }
}

std::uint8_t CTileSheetRenderer::CheckerGrey(int x, int y)
{
    return ((x / 4 + y / 4) % 2) == 0 ? 204 : 128;
}

// Starts from the checkerboard and draws every opaque pixel as a 3 x 3 block,
// which is what drawing the tiles, magnifying them and replacing the key grey
// with the checkerboard comes to.
const CPixelBuffer& CTileSheetRenderer::Draw(const std::uint8_t* window,
                                             const std::uint16_t* palette)
{
    for (int y = 0; y < HEIGHT; y += kCheckerPeriod)
        std::memcpy(m_sheet.Bits() + std::size_t(y) * m_sheet.Stride(), m_background.Bits(),
                    m_background.SizeInBytes());
    std::uint32_t pixels[PALETTE_COLORS];
    MakeSpritePixels(palette, pixels);

    const std::size_t stride = m_sheet.Stride();
    for (int t = 0; t < CActorTables::WINDOW_TILES; ++t) {
        const std::uint8_t* tile = window + TILE_BYTES * t;
        for (int y = 0; y < TILE_SIZE; ++y) {
            const std::uint64_t indices = DecodeTileRow(tile, y);
            if (indices == 0)
                continue;
            std::uint8_t* line = m_sheet.Bits() + std::size_t(3 * y) * stride +
                                 std::size_t(THUMBNAIL * t) * m_nBytesPerPixel;
            for (int c = 0; c < TILE_SIZE; ++c) {
                const int index = (indices >> (8 * c)) & 0x0F;
                if (index == 0)
                    continue;
                for (int k = 0; k < 9; ++k) {
                    std::uint8_t* at = line + std::size_t(k / 3) * stride +
                                       std::size_t(3 * c + k % 3) * m_nBytesPerPixel;
                    StorePixel(at, pixels[index], m_nBytesPerPixel);
                }
            }
        }
    }
    return m_sheet;
}

// Each channel becomes the truncated mean of the drawn pixel and the checkerboard.
void CTileSheetRenderer::DimTile(int tile)
{
    if (tile < 0 || tile >= CActorTables::WINDOW_TILES)
        return;
    const std::size_t stride = m_sheet.Stride();
    const std::size_t left = std::size_t(THUMBNAIL * tile) * m_nBytesPerPixel;
    for (int y = 0; y < HEIGHT; ++y) {
        std::uint8_t* line = m_sheet.Bits() + y * stride + left;
        const std::uint8_t* back =
            m_background.Bits() + std::size_t(y % kCheckerPeriod) * stride + left;
        for (int x = 0; x < THUMBNAIL * m_nBytesPerPixel; ++x)
            line[x] = std::uint8_t((line[x] + back[x]) / 2);
    }
}
