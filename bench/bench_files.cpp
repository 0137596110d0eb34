// Opening and saving a 3 MiB ROM image on the disk being measured, against
// reading the same bytes and one (or two) durable writes of them.

#include "BenchSupport.h"

#include "rom/DemoRom.h"
#include "rom/PosixFile.h"
#include "rom/GlyphoxDoc.h"
#include "rom/RomFileLayout.h"
#include "rom/SaveJournal.h"

#include <benchmark/benchmark.h>

#include <QFile>
#include <QStringList>

#include <vector>

#ifdef __GLIBC__
#include <malloc.h>
#endif

#include <fcntl.h>

namespace {

constexpr std::uint32_t kSeed = 1;

// A headered image file in the benchmark folder, made afresh.
QString MakeImageFile(benchmark::State& state, const QString& name)
{
    const QString path = FileFolder() + QLatin1Char('/') + name;
    const CFileResult written = CDemoRom::Write(path, false, kSeed, true);
    if (!written.ok)
        state.SkipWithError(written.message.toUtf8().constData());
    return path;
}

// Changes every byte, so that the next save has the whole region to write.
void FlipBytes(std::uint8_t* bytes, std::size_t size)
{
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] ^= 0xFF;
}

bool Failed(benchmark::State& state, const CFileResult& result)
{
    if (!result.ok)
        state.SkipWithError(result.message.toUtf8().constData());
    return !result.ok;
}

void BM_OpenDocument(benchmark::State& state)
{
    const QString path = MakeImageFile(state, QStringLiteral("open.smc"));
    CGlyphoxDoc doc;
    for (auto _ : state) {
        if (Failed(state, doc.OnOpenDocument(path)))
            break;
    }
}

void BM_OpenDocument_Floor(benchmark::State& state)
{
    const QString path = MakeImageFile(state, QStringLiteral("open-floor.smc"));
    std::vector<char> bytes(ROM_IMAGE_SIZE);
    for (auto _ : state) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly) ||
            file.read(bytes.data(), ROM_IMAGE_SIZE) != ROM_IMAGE_SIZE) {
            state.SkipWithError("cannot read the image file");
            break;
        }
        benchmark::DoNotOptimize(bytes.data());
    }
}

void BM_SaveDocument(benchmark::State& state)
{
    const QString path = MakeImageFile(state, QStringLiteral("save.smc"));
    CGlyphoxDoc doc;
    if (Failed(state, doc.OnOpenDocument(path)))
        return;
    for (auto _ : state) {
        state.PauseTiming();
        QByteArray flipped(reinterpret_cast<const char*>(doc.Image()), ROM_IMAGE_SIZE);
        FlipBytes(reinterpret_cast<std::uint8_t*>(flipped.data()), ROM_IMAGE_SIZE);
        doc.Apply({0, flipped, QStringLiteral("Flip"), {}});
        state.ResumeTiming();
        if (Failed(state, doc.OnSaveDocument(path)))
            break;
    }
}

// Writes the bytes over the start of the file at path and syncs it.
bool WriteDurably(const QString& path, const std::vector<std::uint8_t>& bytes)
{
    CPosixFile file;
    return file.Open(path, O_RDWR) &&
           file.WriteAt(0, QByteArrayView(reinterpret_cast<const char*>(bytes.data()),
                                          qsizetype(bytes.size()))) &&
           file.Sync();
}

// The same changed bytes written over each named file in place and synced, in turn.
void DurableWrites(benchmark::State& state, const QStringList& names)
{
    QStringList paths;
    for (const QString& name : names)
        paths << MakeImageFile(state, name);
    std::vector<std::uint8_t> bytes(ROM_IMAGE_SIZE);
    for (auto _ : state) {
        state.PauseTiming();
        FlipBytes(bytes.data(), bytes.size());
        state.ResumeTiming();
        for (const QString& path : std::as_const(paths)) {
            if (!WriteDurably(path, bytes)) {
                state.SkipWithError("cannot write the image file");
                return;
            }
        }
    }
}

// One durable write of the image.
void BM_SaveDocument_Floor(benchmark::State& state)
{
    DurableWrites(state, {QStringLiteral("save-floor.smc")});
}

// What any save that survives a crash mid-write must do at least when every byte
// changed: the old bytes made durable somewhere else first (here a second file of
// the same size, kept between runs as the journal is), then the new bytes in place.
void BM_SaveDocument_TwoWriteFloor(benchmark::State& state)
{
    DurableWrites(state, {QStringLiteral("save-two.old"), QStringLiteral("save-two.smc")});
}

// Where a save spends its processor time: the journal hashes the new bytes and
// then the whole record, each about as large as the mapped region.
void BM_JournalHash(benchmark::State& state)
{
    const QByteArray& bytes = Sprites().image; // ROM_IMAGE_SIZE bytes
    for (auto _ : state)
        benchmark::DoNotOptimize(CSaveJournal::Hash(bytes));
}

std::size_t HeapInUse()
{
#ifdef __GLIBC__
    return mallinfo2().uordblks;
#else
    return 0;
#endif
}

// The history's memory after 10,000 single-pixel strokes (one byte each, on tiles
// all over the sprite data): the bytes it stores per step, with and without the
// step object itself. The time is that of making the strokes.
void BM_HistoryPerPixelStep(benchmark::State& state)
{
    constexpr int kStrokes = 10000;
    for (auto _ : state) {
        CGlyphoxDoc doc;
        const std::size_t heapBefore = HeapInUse();
        for (int i = 0; i < kStrokes; ++i) {
            const qint64 at = 0x150200 + qint64(i) * 37 % (65 * 5792);
            doc.BeginStroke(QStringLiteral("Paint"), {i % 65, i % 181});
            doc.Apply({at, QByteArray(1, char(doc.Image()[at] ^ (1 << i % 8))), {}, {}});
            doc.EndStroke();
        }
        const CEditHistory& history = doc.History();
        const double perStep = double(history.StoredBytes()) / history.Count();
        state.counters["bytes_per_step"] = perStep;
        state.counters["bytes_per_step_without_object"] =
            perStep - double(sizeof(CEditHistory::Step));
        state.counters["steps"] = history.Count();
        // What the allocator really holds for the steps (glibc), container included.
        state.counters["heap_bytes_per_step"] = double(HeapInUse() - heapBefore) / history.Count();
    }
}

} // namespace

BENCHMARK(BM_HistoryPerPixelStep)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_OpenDocument)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_OpenDocument_Floor)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SaveDocument)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SaveDocument_Floor)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SaveDocument_TwoWriteFloor)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_JournalHash)->Unit(benchmark::kMillisecond)->UseRealTime();
