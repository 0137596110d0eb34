// Whole redraws of the frame strips and the thumbnail sheet, against copying
// their output rows.

#include "BenchSupport.h"

#include "rom/ActorTables.h"
#include "view/PixelBuffer.h"
#include "view/StripRenderer.h"
#include "view/TileSheetRenderer.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

// All three strips, magnified 3x, without tile numbers.
void BM_DrawStrips(benchmark::State& state)
{
    CStripRenderer renderer(int(state.range(0)));
    const BenchSprites& sprites = Sprites();
    for (auto _ : state) {
        for (int strip = 0; strip < CActorTables::STRIP_COUNT; ++strip) {
            const CPixelBuffer& out =
                renderer.DrawStrip(strip, 0, sprites.Window(), sprites.palette, false);
            benchmark::DoNotOptimize(out.Bits());
        }
        benchmark::ClobberMemory();
    }
}

void BM_DrawStrips_Floor(benchmark::State& state)
{
    const CStripRenderer source(int(state.range(0)));
    std::vector<CPixelBuffer> target;
    for (int strip = 0; strip < CActorTables::STRIP_COUNT; ++strip)
        target.push_back(source.Strip(strip));
    for (auto _ : state) {
        for (int strip = 0; strip < CActorTables::STRIP_COUNT; ++strip) {
            const CPixelBuffer& from = source.Strip(strip);
            CopyRows(target[strip].Bits(), from.Bits(), from.Stride(), from.Stride(),
                     from.Height());
        }
        benchmark::ClobberMemory();
    }
}

void BM_DrawSheet(benchmark::State& state)
{
    CTileSheetRenderer renderer(int(state.range(0)));
    const BenchSprites& sprites = Sprites();
    for (auto _ : state) {
        benchmark::DoNotOptimize(renderer.Draw(sprites.Window(), sprites.palette).Bits());
        benchmark::ClobberMemory();
    }
}

void BM_DrawSheet_Floor(benchmark::State& state)
{
    const int bytesPerPixel = int(state.range(0));
    constexpr int width = CTileSheetRenderer::WIDTH;
    constexpr int height = CTileSheetRenderer::HEIGHT;
    const CPixelBuffer source(width, height, bytesPerPixel);
    CPixelBuffer target(width, height, bytesPerPixel);
    for (auto _ : state) {
        CopyRows(target.Bits(), source.Bits(), source.Stride(), source.Stride(), height);
        benchmark::ClobberMemory();
    }
}

} // namespace

BENCHMARK(BM_DrawStrips)->Arg(3)->Arg(4)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DrawStrips_Floor)->Arg(3)->Arg(4)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DrawSheet)->Arg(3)->Arg(4)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DrawSheet_Floor)->Arg(3)->Arg(4)->Unit(benchmark::kMicrosecond);
