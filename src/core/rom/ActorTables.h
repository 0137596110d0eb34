#pragma once

#include <cstdint>

// Where Morrow keeps its character sprites: fixed offsets into the image buffer
// (file offsets, 512-byte copier header included), never read from the ROM.
class CActorTables
{
public:
    static constexpr int ACTOR_COUNT = 65;
    static constexpr int WINDOW_TILES = 181;
    static constexpr int WINDOW_BYTES = 5792; // 181 tiles of 32 bytes
    static constexpr int PALETTE_COUNT = 30;
    static constexpr std::uint32_t BATTLE_BANK = 0x2D6500;
    static constexpr std::uint32_t OVERWORLD_BANK = 0x268200;
    static constexpr int STRIP_COUNT = 3;
    static constexpr int STRIP_ROWS = 3;
    static constexpr std::int16_t EMPTY_CELL = -1;
    static constexpr std::int16_t MIRRORED = 0x100;

    struct StripMap
    {
        int width;                   // cells per row
        int variants;                // animation frames
        const std::int16_t* entries; // variants x 3 rows x width, row by row

        int CellCount() const { return width * STRIP_ROWS; }
        std::int16_t Entry(int variant, int cell) const
        {
            return entries[variant * CellCount() + cell];
        }
    };

    static bool IsValidActor(int actor) { return actor >= 0 && actor < ACTOR_COUNT; }
    static bool IsValidPalette(int palette) { return palette >= 0 && palette < PALETTE_COUNT; }

    // Offset of the actor's first tile. Numbers outside the tables are clamped into
    // them here and below, so no caller can index outside a table or the image.
    static std::uint32_t TileSetOffset(int actor);
    // The actor's automatic palette number in the battle or the overworld bank.
    static int AutoPalette(int actor, bool battle);
    static std::uint32_t PaletteBase(bool battle) { return battle ? BATTLE_BANK : OVERWORLD_BANK; }
    static std::uint32_t PaletteOffset(bool battle, int palette)
    {
        const int valid = palette < 0 ? 0 : palette >= PALETTE_COUNT ? PALETTE_COUNT - 1 : palette;
        return PaletteBase(battle) + 32 * std::uint32_t(valid);
    }
    // Offset of one tile of the actor's window (tile clamped to 0..180), and of
    // one colour word of a palette (index clamped to 0..15).
    static std::uint32_t TileOffset(int actor, int tile)
    {
        const int valid = tile < 0 ? 0 : tile >= WINDOW_TILES ? WINDOW_TILES - 1 : tile;
        return TileSetOffset(actor) + 32 * std::uint32_t(valid);
    }
    static std::uint32_t ColorOffset(bool battle, int palette, int index)
    {
        const int valid = index < 0 ? 0 : index > 15 ? 15 : index;
        return PaletteOffset(battle, palette) + 2 * std::uint32_t(valid);
    }
    // The actor's tile-set window inside an image buffer of ROM_IMAGE_SIZE bytes.
    static const std::uint8_t* TileWindow(const std::uint8_t* image, int actor)
    {
        return image + TileSetOffset(actor);
    }
    // The 16 colour words of a palette inside an image buffer.
    static void LoadPalette(const std::uint8_t* image, bool battle, int palette,
                            std::uint16_t words[16]);
    // How many tiles from the actor's offset are its own, up to where the next actor's
    // set begins (181, 171, 55, 56, 46 or 40); the rest of its window is other actors'.
    static int OwnTiles(int actor);
    // Strip 0, 1 or 2 (shown as strips 1, 2 and 3).
    static const StripMap& Strip(int strip);
    // The variant a strip shows at an animation step counted from 0.
    static int StripVariantForStep(int strip, int step);
    // Animation steps before a strip repeats: 4, 2 and 1 for strips 0, 1 and 2.
    static int StripStepCount(int strip);

    // The columns of one pose: poses are two cells wide, except the three-cell pose
    // at columns 20 to 22 of strip 2.
    struct PoseSpan
    {
        int first;
        int width;
    };
    static PoseSpan PoseAt(int strip, int column);
};
