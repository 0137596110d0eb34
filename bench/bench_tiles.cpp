// One 8 x 8 tile decoded and drawn into a buffer, against copying its 8 output rows.

#include "BenchSupport.h"
#include "NaiveTileDraw.h"

#include "rom/ActorTables.h"
#include "rom/SnesFormat.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

// The target is one tile row of a sheet 16 tiles wide; iteration n draws tile n of
// the window (wrapping) into column n mod 16.
constexpr int kColumns = 16;
constexpr int kWidth = kColumns * TILE_SIZE;

template <typename Draw> void DrawTiles(benchmark::State& state, Draw draw)
{
    const int bytesPerPixel = int(state.range(0));
    const std::uint8_t* window = Sprites().Window();
    std::vector<std::uint8_t> buffer(std::size_t(kWidth) * TILE_SIZE * bytesPerPixel);
    benchmark::DoNotOptimize(buffer.data());
    int t = 0;
    for (auto _ : state) {
        draw(window + TILE_BYTES * t, TILE_SIZE * (t % kColumns), buffer.data(), bytesPerPixel);
        benchmark::ClobberMemory();
        t = t + 1 == CActorTables::WINDOW_TILES ? 0 : t + 1;
    }
}

void BM_DrawTile(benchmark::State& state)
{
    const std::uint16_t* palette = Sprites().palette;
    DrawTiles(state, [palette](const std::uint8_t* tile, int x, std::uint8_t* buffer, int bpp) {
        DrawTile(tile, palette, x, 0, buffer, kWidth, TILE_SIZE, bpp);
    });
}

// The same with the palette converted once, as the renderers do.
void BM_DrawTilePixels(benchmark::State& state)
{
    std::uint32_t pixels[PALETTE_COLORS];
    MakeSpritePixels(Sprites().palette, pixels);
    DrawTiles(state, [&pixels](const std::uint8_t* tile, int x, std::uint8_t* buffer, int bpp) {
        DrawTilePixels(tile, pixels, x, 0, buffer, kWidth, bpp);
    });
}

// The shuffle path that processors without GFNI take, where this one runs it.
void BM_DrawTileShuffles(benchmark::State& state)
{
    if (SnesDetail::FastestTilePath() < SnesDetail::TilePath::Shuffles) {
        state.SkipWithError("no byte shuffles on this processor");
        return;
    }
    const std::uint16_t* palette = Sprites().palette;
    DrawTiles(state, [palette](const std::uint8_t* tile, int x, std::uint8_t* buffer, int bpp) {
        SnesDetail::DrawTileOn(SnesDetail::TilePath::Shuffles, tile, palette, x, 0, buffer, kWidth,
                               bpp);
    });
}

void BM_DrawTileNaive(benchmark::State& state)
{
    const std::uint16_t* palette = Sprites().palette;
    DrawTiles(state, [palette](const std::uint8_t* tile, int x, std::uint8_t* buffer, int bpp) {
        NaiveDrawTile(tile, palette, x, 0, buffer, kWidth, bpp);
    });
}

// 8 rows of 24 or 32 bytes copied from a buffer of the same geometry; the row
// size is a constant, so each memcpy is a few moves.
void BM_DrawTile_Floor(benchmark::State& state)
{
    std::vector<std::uint8_t> source(std::size_t(kWidth) * TILE_SIZE * 4, 0x5A);
    DrawTiles(state, [&source](const std::uint8_t*, int x, std::uint8_t* buffer, int bpp) {
        const std::size_t stride = std::size_t(kWidth) * bpp;
        const std::size_t at = std::size_t(x) * bpp;
        if (bpp == 4)
            CopyRows(buffer + at, source.data() + at, stride, 4 * TILE_SIZE, TILE_SIZE);
        else
            CopyRows(buffer + at, source.data() + at, stride, 3 * TILE_SIZE, TILE_SIZE);
    });
}

} // namespace

BENCHMARK(BM_DrawTile)->Arg(3)->Arg(4);
BENCHMARK(BM_DrawTilePixels)->Arg(3)->Arg(4);
BENCHMARK(BM_DrawTileShuffles)->Arg(3)->Arg(4);
BENCHMARK(BM_DrawTileNaive)->Arg(3)->Arg(4);
BENCHMARK(BM_DrawTile_Floor)->Arg(3)->Arg(4);
