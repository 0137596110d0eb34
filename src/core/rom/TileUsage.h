#pragma once

#include "rom/ActorTables.h"

#include <array>
#include <vector>

// Where each tile of an actor's window shows in the three frame strips, and which
// tiles none of the actor's own poses use. A pose counts as the actor's when every
// tile it shows, in that animation frame, lies among the actor's own tiles; a pose
// that reaches into the next actor's set is that actor's art, not this one's.
class CTileUsage
{
public:
    // One strip cell that shows the tile at one or more animation steps.
    struct Cell
    {
        int strip; // 0, 1 or 2
        int column;
        int row;
        bool mirrored;
        unsigned steps; // bit k: the cell shows the tile at animation step k of its cycle

        // Any step counted from 0, as the animation counts them.
        bool ShowsAt(int step) const
        {
            return step >= 0 && (steps >> (step % CActorTables::StripStepCount(strip))) & 1U;
        }
    };

    explicit CTileUsage(int actor = 0);

    int Actor() const { return m_nActor; }
    // The cells showing the tile, strip by strip in reading order; none for a tile
    // outside 0..180.
    const std::vector<Cell>& CellsOf(int tile) const;
    // Whether one of the actor's own poses shows the tile.
    bool IsUsed(int tile) const;
    std::vector<int> UnusedTiles() const;

private:
    void AddCell(int tile, const Cell& cell);
    bool IsOwnPose(int strip, int variant, int cell) const;

    int m_nActor;
    int m_nOwnTiles;
    std::array<std::vector<Cell>, CActorTables::WINDOW_TILES> m_cells;
    std::array<bool, CActorTables::WINDOW_TILES> m_used{};
};
