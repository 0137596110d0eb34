#include "StripRenderer.h"

#include "rom/ActorTables.h"
#include "rom/SnesFormat.h"
#include "view/TileLabel.h"

#include <cstring>

namespace {

constexpr int kCell = 8 * CStripRenderer::MAGNIFICATION; // 24 pixels
constexpr std::uint8_t kEmptyTile[TILE_BYTES] = {};

} // namespace

CStripRenderer::CStripRenderer(int bytesPerPixel) : m_nBytesPerPixel(bytesPerPixel == 3 ? 3 : 4)
{
    for (int strip = 0; strip < CActorTables::STRIP_COUNT; ++strip) {
        const int width = CActorTables::Strip(strip).width;
        m_strips.emplace_back(width * kCell, CActorTables::STRIP_ROWS * kCell, m_nBytesPerPixel);
    }
}

const CPixelBuffer& CStripRenderer::DrawStrip(int strip, int variant, const std::uint8_t* window,
                                              const std::uint16_t* palette, bool showTileId)
{
    const CActorTables::StripMap& map = CActorTables::Strip(strip);
    const int chosen = ((variant % map.variants) + map.variants) % map.variants;
    CPixelBuffer& out = m_strips[strip];

    std::uint32_t pixels[PALETTE_COLORS];
    MakeSpritePixels(palette, pixels);

    for (int cell = 0; cell < map.CellCount(); ++cell) {
        const std::int16_t entry = map.Entry(chosen, cell);
        const int column = cell % map.width;
        const int row = cell / map.width;
        if (entry == CActorTables::EMPTY_CELL) {
            DrawCellMagnified(kEmptyTile, pixels, column, row, out);
        } else if (entry & CActorTables::MIRRORED) {
            std::uint8_t mirrored[TILE_BYTES];
            MirrorTile(window + TILE_BYTES * (entry & 0xFF), mirrored);
            DrawCellMagnified(mirrored, pixels, column, row, out);
        } else {
            DrawCellMagnified(window + TILE_BYTES * (entry & 0xFF), pixels, column, row, out);
        }
    }

    if (showTileId) {
        for (int cell = 0; cell < map.CellCount(); ++cell) {
            const std::int16_t entry = map.Entry(chosen, cell);
            if (entry == CActorTables::EMPTY_CELL)
                continue;
            DrawTileLabel(entry & 0xFF, out.Bits(), kCell * (cell % map.width),
                          CStripRenderer::MAGNIFICATION * (cell / map.width), out.Width(),
                          out.Height(), m_nBytesPerPixel);
        }
    }
    return out;
}

void CStripRenderer::OutlineCell(int strip, int column, int row, ScreenColor color)
{
    CPixelBuffer& out = m_strips[strip < 0 ? 0 : strip >= CActorTables::STRIP_COUNT ? 2 : strip];
    const int left = column * kCell;
    const int top = row * kCell;
    if (column < 0 || row < 0 || left + kCell > out.Width() || top + kCell > out.Height())
        return;
    const std::uint32_t pixel = std::uint32_t(color.red) << 16 | std::uint32_t(color.green) << 8 |
                                std::uint32_t(color.blue);
    const auto store = [&](int x, int y) {
        StorePixel(out.Bits() + std::size_t(y) * out.Stride() + std::size_t(x) * m_nBytesPerPixel,
                   pixel, m_nBytesPerPixel);
    };
    for (int i = 0; i < kCell; ++i) {
        store(left + i, top);
        store(left + i, top + kCell - 1);
        store(left, top + i);
        store(left + kCell - 1, top + i);
    }
}

// Produces the 24 x 24 magnified cell directly: each tile row becomes one
// tripled line, stored three times.
void CStripRenderer::DrawCellMagnified(const std::uint8_t* tile, const std::uint32_t pixels[16],
                                       int column, int row, CPixelBuffer& out) const
{
    const std::size_t stride = out.Stride();
    std::uint8_t* dst = out.Bits() + std::size_t(row * kCell) * stride +
                        std::size_t(column * kCell) * m_nBytesPerPixel;
    for (int y = 0; y < TILE_SIZE; ++y) {
        const std::uint64_t indices = DecodeTileRow(tile, y);
        std::uint8_t line[kCell * 4];
        if (m_nBytesPerPixel == 4) {
            std::uint32_t words[kCell];
            for (int c = 0; c < TILE_SIZE; ++c) {
                const std::uint32_t p = pixels[(indices >> (8 * c)) & 0x0F];
                words[3 * c] = words[3 * c + 1] = words[3 * c + 2] = p;
            }
            std::memcpy(line, words, sizeof words);
        } else {
            // The line has room for the spare byte of the last 4-byte store.
            for (int c = 0; c < TILE_SIZE; ++c) {
                const std::uint32_t p = pixels[(indices >> (8 * c)) & 0x0F];
                for (int k = 0; k < 3; ++k)
                    std::memcpy(line + 3 * (3 * c + k), &p, 4);
            }
        }
        const std::size_t lineBytes = std::size_t(kCell) * m_nBytesPerPixel;
        for (int k = 0; k < 3; ++k, dst += stride)
            std::memcpy(dst, line, lineBytes);
    }
}
