#include "TileUsage.h"

#include <algorithm>
#include <tuple>

CTileUsage::CTileUsage(int actor)
    : m_nActor(CActorTables::IsValidActor(actor) ? actor : 0),
      m_nOwnTiles(CActorTables::OwnTiles(m_nActor))
{
    for (int strip = 0; strip < CActorTables::STRIP_COUNT; ++strip) {
        const CActorTables::StripMap& map = CActorTables::Strip(strip);
        for (int step = 0; step < CActorTables::StripStepCount(strip); ++step) {
            const int variant = CActorTables::StripVariantForStep(strip, step);
            for (int cell = 0; cell < map.CellCount(); ++cell) {
                const std::int16_t entry = map.Entry(variant, cell);
                if (entry == CActorTables::EMPTY_CELL)
                    continue;
                const int tile = entry & 0xFF;
                AddCell(tile, {strip, cell % map.width, cell / map.width,
                               (entry & CActorTables::MIRRORED) != 0, 1U << step});
                if (tile < CActorTables::WINDOW_TILES && IsOwnPose(strip, variant, cell))
                    m_used[tile] = true;
            }
        }
    }
    for (std::vector<Cell>& cells : m_cells)
        std::sort(cells.begin(), cells.end(), [](const Cell& a, const Cell& b) {
            return std::tie(a.strip, a.row, a.column) < std::tie(b.strip, b.row, b.column);
        });
}

const std::vector<CTileUsage::Cell>& CTileUsage::CellsOf(int tile) const
{
    static const std::vector<Cell> kNone;
    return tile >= 0 && tile < CActorTables::WINDOW_TILES ? m_cells[tile] : kNone;
}

bool CTileUsage::IsUsed(int tile) const
{
    return tile >= 0 && tile < CActorTables::WINDOW_TILES && m_used[tile];
}

std::vector<int> CTileUsage::UnusedTiles() const
{
    std::vector<int> unused;
    for (int tile = 0; tile < CActorTables::WINDOW_TILES; ++tile)
        if (!m_used[tile])
            unused.push_back(tile);
    return unused;
}

// A cell that shows the tile at several steps is listed once, with all its steps.
void CTileUsage::AddCell(int tile, const Cell& cell)
{
    if (tile >= CActorTables::WINDOW_TILES)
        return;
    for (Cell& known : m_cells[tile]) {
        if (known.strip == cell.strip && known.column == cell.column && known.row == cell.row &&
            known.mirrored == cell.mirrored) {
            known.steps |= cell.steps;
            return;
        }
    }
    m_cells[tile].push_back(cell);
}

bool CTileUsage::IsOwnPose(int strip, int variant, int cell) const
{
    const CActorTables::StripMap& map = CActorTables::Strip(strip);
    const CActorTables::PoseSpan pose = CActorTables::PoseAt(strip, cell % map.width);
    for (int row = 0; row < CActorTables::STRIP_ROWS; ++row) {
        for (int column = pose.first; column < pose.first + pose.width; ++column) {
            const std::int16_t entry = map.Entry(variant, row * map.width + column);
            if (entry != CActorTables::EMPTY_CELL && (entry & 0xFF) >= m_nOwnTiles)
                return false;
        }
    }
    return true;
}
