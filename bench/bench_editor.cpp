// The editor window: the view's full OnUpdate, one animation tick's RedrawStrips,
// one pixel-editor change to the strips repainted, and start-up to the first
// painted frame, each against a floor measured in the same run. They need the QApplication made by
// main (offscreen platform).

#include "BenchSupport.h"

#include "app/MainFrame.h"
#include "edit/PixelEditor.h"
#include "rom/ActorTables.h"
#include "rom/DemoRom.h"
#include "rom/GlyphoxDoc.h"
#include "view/GlyphoxView.h"
#include "view/PixelBuffer.h"
#include "view/StripRenderer.h"
#include "view/TileSheetRenderer.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDeadlineTimer>
#include <QEvent>
#include <QIcon>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QMainWindow>
#include <QMouseEvent>
#include <QPixmap>

#include <array>
#include <chrono>
#include <memory>
#include <vector>

namespace {

constexpr int kBytesPerPixel = 4; // what the view's renderers use
constexpr int kPaintTimeoutMs = 10000;

// The demo image on disk, written once per process in the benchmark folder.
const QString& DemoRomPath()
{
    static const QString path = [] {
        const QString made = FileFolder() + QStringLiteral("/view-demo.smc");
        const CFileResult result = CDemoRom::Write(made, false, 1, true);
        return result.ok ? made : QString();
    }();
    return path;
}

// Notices the first paint event that reaches a widget of one window.
class PaintWatch : public QObject
{
public:
    PaintWatch() { qApp->installEventFilter(this); }
    ~PaintWatch() override { qApp->removeEventFilter(this); }

    void Watch(const QWidget* window)
    {
        m_window = window;
        m_painted = false;
    }

    // Processes events until a paint of the watched window has been delivered;
    // the paint of the whole window is done when processEvents returns.
    bool WaitForPaint()
    {
        const QDeadlineTimer deadline(kPaintTimeoutMs);
        while (!m_painted && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents);
        return m_painted;
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && m_window && watched->isWidgetType() &&
            static_cast<QWidget*>(watched)->window() == m_window)
            m_painted = true;
        return false;
    }

private:
    const QWidget* m_window = nullptr;
    bool m_painted = false;
};

std::unique_ptr<CMainFrame> MakeFrame(bool* refused)
{
    auto frame = std::make_unique<CMainFrame>();
    // No modal box may run in a benchmark.
    frame->m_fnMessageBox = [refused](QMessageBox::Icon, const QString&) { *refused = true; };
    return frame;
}

// Lets deleted widgets go and pending events run, outside any timing.
void Settle()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

// Runs the pending events (repaints) after a timed call, timed with it or not.
void SettleAfter(benchmark::State& state, bool timed)
{
    if (timed) {
        Settle();
        return;
    }
    state.PauseTiming();
    Settle();
    state.ResumeTiming();
}

// The editor with the demo image open, shown and painted once: the state in which
// the user edits and the animation runs.
struct OpenEditor
{
    std::unique_ptr<CMainFrame> frame;
    bool refused = false;

    bool Open(benchmark::State& state)
    {
        if (DemoRomPath().isEmpty()) {
            state.SkipWithError("cannot write the demo image");
            return false;
        }
        frame = MakeFrame(&refused);
        PaintWatch watch;
        watch.Watch(frame.get());
        if (!frame->OpenDocumentFile(DemoRomPath()) || refused) {
            state.SkipWithError("the demo image was refused");
            return false;
        }
        frame->show();
        if (!watch.WaitForPaint()) {
            state.SkipWithError("the window was never painted");
            return false;
        }
        Settle();
        return true;
    }

    CGlyphoxView* View() const { return frame->View(); }

    ~OpenEditor()
    {
        frame.reset();
        Settle();
    }
};

// --- OnUpdate ---------------------------------------------------------------

// The full reload with lHint 0: palette control, pixel editor, and the tile list's
// 181 icons remade from a freshly drawn thumbnail sheet. The widgets' repaints run
// between iterations, outside the timing.
// With argument 1 the repaints that follow are timed too: the icons draw the sheet at
// paint time, so part of the work may move there.
void BM_View_OnUpdate(benchmark::State& state)
{
    OpenEditor editor;
    if (!editor.Open(state))
        return;
    CGlyphoxView* view = editor.View();
    const bool timePaint = state.range(0) != 0;
    for (auto _ : state) {
        view->OnUpdate(nullptr, 0, nullptr);
        SettleAfter(state, timePaint);
    }
}

// Floor in bytes: the pixels OnUpdate produces, the 4344 x 24 thumbnail sheet,
// copied row by row from another sheet of the same geometry, plus the 16 palette
// words and the 64 pixels of the editor.
void BM_View_OnUpdate_Floor(benchmark::State& state)
{
    constexpr int width = CTileSheetRenderer::WIDTH;
    constexpr int height = CTileSheetRenderer::HEIGHT;
    const CPixelBuffer source(width, height, kBytesPerPixel);
    CPixelBuffer target(width, height, kBytesPerPixel);
    std::array<std::uint16_t, PALETTE_COLORS> palette{};
    std::array<std::uint8_t, TILE_PIXELS> pixels{};
    const BenchSprites& sprites = Sprites();
    for (auto _ : state) {
        CopyRows(target.Bits(), source.Bits(), source.Stride(), source.Stride(), height);
        std::memcpy(palette.data(), sprites.palette, sizeof palette);
        std::memcpy(pixels.data(), sprites.Window(), sizeof pixels);
        benchmark::DoNotOptimize(palette.data());
        benchmark::DoNotOptimize(pixels.data());
        benchmark::ClobberMemory();
        state.PauseTiming();
        Settle();
        state.ResumeTiming();
    }
}

// Floor of a list that shows each tile as a QListWidget icon: the sheet bytes copied
// as above, then the view's own 181 items given icons made before the loop (two
// sets in turn, so every call is a real change), with the same repaints between
// iterations. Cutting the icons out of the sheet and converting them is the work
// left out.
void BM_View_OnUpdate_IconFloor(benchmark::State& state)
{
    OpenEditor editor;
    if (!editor.Open(state))
        return;
    auto* list = editor.View()->findChild<QListWidget*>(QStringLiteral("listTiles"));
    if (!list || list->count() != CActorTables::WINDOW_TILES) {
        state.SkipWithError("the tile list is not there");
        return;
    }
    CTileSheetRenderer renderer(kBytesPerPixel);
    const BenchSprites& sprites = Sprites();
    const QImage sheet = renderer.Draw(sprites.Window(), sprites.palette).Image().copy();
    constexpr int kThumb = CTileSheetRenderer::THUMBNAIL;
    std::array<std::vector<QIcon>, 2> icons;
    for (auto& set : icons) {
        for (int tile = 0; tile < CActorTables::WINDOW_TILES; ++tile)
            set.emplace_back(QPixmap::fromImage(sheet.copy(tile * kThumb, 0, kThumb, kThumb)));
    }
    constexpr int width = CTileSheetRenderer::WIDTH;
    constexpr int height = CTileSheetRenderer::HEIGHT;
    const CPixelBuffer source(width, height, kBytesPerPixel);
    CPixelBuffer target(width, height, kBytesPerPixel);
    std::size_t turn = 0;
    for (auto _ : state) {
        CopyRows(target.Bits(), source.Bits(), source.Stride(), source.Stride(), height);
        benchmark::ClobberMemory();
        const auto& set = icons[turn++ & 1];
        for (int tile = 0; tile < CActorTables::WINDOW_TILES; ++tile)
            list->item(tile)->setIcon(set[tile]);
        SettleAfter(state, state.range(0) != 0);
    }
}

// --- One animation tick ----------------------------------------------------

// RedrawStrips as the animation timer calls it: the three strips drawn, copied into
// images, made pixmaps and handed to their labels. The labels paint between
// iterations, outside the timing.
void BM_View_Tick(benchmark::State& state)
{
    OpenEditor editor;
    if (!editor.Open(state))
        return;
    CGlyphoxView* view = editor.View();
    for (auto _ : state) {
        view->RedrawStrips();
        state.PauseTiming();
        Settle();
        state.ResumeTiming();
    }
}

// The view's three strip labels, found by name.
bool FindStripLabels(benchmark::State& state, CGlyphoxView* view,
                     std::array<QLabel*, CActorTables::STRIP_COUNT>* labels)
{
    for (int strip = 0; strip < CActorTables::STRIP_COUNT; ++strip) {
        (*labels)[strip] = view->findChild<QLabel*>(QStringLiteral("labelStrip%1").arg(strip + 1));
        if (!(*labels)[strip]) {
            state.SkipWithError("a strip label is not there");
            return false;
        }
    }
    return true;
}

// The least the strips can cost: their rows copied (as BM_DrawStrips_Floor), then
// the view's own strip labels given pixmaps made beforehand (two sets in turn, so
// every call is a real change).
class StripFloorWork
{
public:
    bool Prepare(benchmark::State& state, CGlyphoxView* view)
    {
        if (!FindStripLabels(state, view, &m_labels))
            return false;
        const BenchSprites& sprites = Sprites();
        for (int strip = 0; strip < CActorTables::STRIP_COUNT; ++strip) {
            const CPixelBuffer& drawn =
                m_source.DrawStrip(strip, 0, sprites.Window(), sprites.palette, false);
            for (auto& set : m_pixmaps)
                set[strip] = QPixmap::fromImage(drawn.Image().copy());
            m_target.push_back(drawn);
        }
        return true;
    }

    void Run()
    {
        for (int strip = 0; strip < CActorTables::STRIP_COUNT; ++strip) {
            const CPixelBuffer& from = m_source.Strip(strip);
            CopyRows(m_target[strip].Bits(), from.Bits(), from.Stride(), from.Stride(),
                     from.Height());
        }
        benchmark::ClobberMemory();
        const auto& set = m_pixmaps[m_turn++ & 1];
        for (int strip = 0; strip < CActorTables::STRIP_COUNT; ++strip)
            m_labels[strip]->setPixmap(set[strip]);
    }

    const std::array<QLabel*, CActorTables::STRIP_COUNT>& Labels() const { return m_labels; }

private:
    std::array<QLabel*, CActorTables::STRIP_COUNT> m_labels{};
    CStripRenderer m_source{kBytesPerPixel};
    std::array<std::array<QPixmap, CActorTables::STRIP_COUNT>, 2> m_pixmaps;
    std::vector<CPixelBuffer> m_target;
    std::size_t m_turn = 0;
};

// Floor: StripFloorWork, with the labels' repaints between iterations, outside the
// timing.
void BM_View_Tick_Floor(benchmark::State& state)
{
    OpenEditor editor;
    if (!editor.Open(state))
        return;
    StripFloorWork work;
    if (!work.Prepare(state, editor.View()))
        return;
    for (auto _ : state) {
        work.Run();
        state.PauseTiming();
        Settle();
        state.ResumeTiming();
    }
}

// --- One pixel-editor change ----------------------------------------------

// Notices the paint events delivered to the three strip labels.
class StripPaintWatch : public QObject
{
public:
    explicit StripPaintWatch(const std::array<QLabel*, CActorTables::STRIP_COUNT>& labels)
        : m_labels(labels)
    {
        for (QLabel* label : m_labels)
            label->installEventFilter(this);
    }

    ~StripPaintWatch() override
    {
        for (QLabel* label : m_labels)
            label->removeEventFilter(this);
    }

    void Reset() { m_painted = {}; }

    // Processes events until each of the three labels has been painted.
    bool WaitForPaints()
    {
        const QDeadlineTimer deadline(kPaintTimeoutMs);
        while (!AllPainted() && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents);
        return AllPainted();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            for (std::size_t strip = 0; strip < m_labels.size(); ++strip) {
                if (watched == m_labels[strip])
                    m_painted[strip] = true;
            }
        }
        return false;
    }

private:
    bool AllPainted() const
    {
        for (const bool painted : m_painted) {
            if (!painted)
                return false;
        }
        return true;
    }

    std::array<QLabel*, CActorTables::STRIP_COUNT> m_labels;
    std::array<bool, CActorTables::STRIP_COUNT> m_painted{};
};

// One cell of the pixel editor, (3, 3), pressed in the middle.
constexpr int kEditCell = 3;
constexpr int kEditCellSize = 16; // the view's grid

// A left press in paint mode on the view's pixel editor, as a user paints: the
// editor emits Changed(), the view's WriteBackTile encodes the tile into the image
// and runs RedrawStrips, and events are processed until the three strip labels
// have received their paint events (counted by an event filter on the labels; the
// same processing also repaints the pressed cell of the editor). Between
// iterations, untimed, the button is released and the pen takes the other of two
// colours, so every press changes a pixel.
void BM_View_Edit(benchmark::State& state)
{
    OpenEditor editor;
    if (!editor.Open(state))
        return;
    CGlyphoxView* view = editor.View();
    auto* pixels = view->findChild<CPixelEditor*>();
    std::array<QLabel*, CActorTables::STRIP_COUNT> labels{};
    if (!pixels || !FindStripLabels(state, view, &labels)) {
        if (!pixels)
            state.SkipWithError("the pixel editor is not there");
        return;
    }
    if (pixels->Mode() != CPixelEditor::MODE_PAINT) {
        state.SkipWithError("the pixel editor is not in paint mode");
        return;
    }
    const QPointF at(kEditCell * kEditCellSize + kEditCellSize / 2.0,
                     kEditCell * kEditCellSize + kEditCellSize / 2.0);
    const QPointF global = pixels->mapToGlobal(at);
    StripPaintWatch watch(labels);
    for (auto _ : state) {
        state.PauseTiming();
        const int colour = pixels->GetPixel(kEditCell, kEditCell) == 1 ? 2 : 1;
        pixels->SetPenColors(colour, -1);
        watch.Reset();
        state.ResumeTiming();
        QMouseEvent press(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton,
                          Qt::NoModifier);
        QCoreApplication::sendEvent(pixels, &press);
        const bool painted = watch.WaitForPaints();
        state.PauseTiming();
        QMouseEvent release(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton,
                            Qt::NoModifier);
        QCoreApplication::sendEvent(pixels, &release);
        const bool changed = pixels->GetPixel(kEditCell, kEditCell) == colour;
        Settle();
        state.ResumeTiming();
        if (!painted || !changed) {
            state.SkipWithError(painted ? "the press changed no pixel"
                                        : "the strips were never repainted");
            return;
        }
    }
}

// Floor: StripFloorWork, then events processed until the three labels have been
// painted, counted the same way, with the same untimed settling between iterations.
void BM_View_Edit_Floor(benchmark::State& state)
{
    OpenEditor editor;
    if (!editor.Open(state))
        return;
    StripFloorWork work;
    if (!work.Prepare(state, editor.View()))
        return;
    StripPaintWatch watch(work.Labels());
    for (auto _ : state) {
        state.PauseTiming();
        watch.Reset();
        state.ResumeTiming();
        work.Run();
        const bool painted = watch.WaitForPaints();
        state.PauseTiming();
        Settle();
        state.ResumeTiming();
        if (!painted) {
            state.SkipWithError("the strips were never repainted");
            return;
        }
    }
}

// A 64-pixel stroke (every cell of the tile, one press, moves, one release) is made
// untimed; each iteration then undoes it, or redoes it, alternately, from the Edit
// command to the three strip labels repainted (the changed tile's thumbnail and the
// pixel editor are refreshed in the same pass). Compare with BM_View_Edit.
void BM_View_UndoRedoStroke(benchmark::State& state)
{
    OpenEditor editor;
    if (!editor.Open(state))
        return;
    CGlyphoxView* view = editor.View();
    auto* pixels = view->findChild<CPixelEditor*>();
    std::array<QLabel*, CActorTables::STRIP_COUNT> labels{};
    if (!pixels || !FindStripLabels(state, view, &labels))
        return;
    const auto send = [pixels](QEvent::Type type, int x, int y, Qt::MouseButtons buttons) {
        const QPointF at(x * kEditCellSize + kEditCellSize / 2.0,
                         y * kEditCellSize + kEditCellSize / 2.0);
        QMouseEvent event(type, at, pixels->mapToGlobal(at), Qt::LeftButton, buttons,
                          Qt::NoModifier);
        QCoreApplication::sendEvent(pixels, &event);
    };
    pixels->SetPenColors(pixels->GetPixel(0, 0) == 5 ? 6 : 5, -1);
    send(QEvent::MouseButtonPress, 0, 0, Qt::LeftButton);
    for (int cell = 1; cell < 64; ++cell)
        send(QEvent::MouseMove, cell % 8, cell / 8, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, 7, 7, Qt::NoButton);
    CGlyphoxDoc* doc = editor.frame->Document();
    if (doc->History().Count() != 1) {
        state.SkipWithError("the stroke did not make one step");
        return;
    }
    Settle();
    StripPaintWatch watch(labels);
    bool undo = true;
    for (auto _ : state) {
        state.PauseTiming();
        watch.Reset();
        state.ResumeTiming();
        undo ? view->OnEditUndo() : view->OnEditRedo();
        const bool painted = watch.WaitForPaints();
        state.PauseTiming();
        Settle();
        undo = !undo;
        state.ResumeTiming();
        if (!painted) {
            state.SkipWithError("the strips were never repainted");
            return;
        }
    }
}

// --- Start-up ---------------------------------------------------------------

using Clock = std::chrono::steady_clock;

// The size the editor window takes with the demo image open (measured once, untimed).
QSize EditorSize(benchmark::State& state)
{
    static QSize size;
    if (size.isEmpty()) {
        OpenEditor editor;
        if (editor.Open(state))
            size = editor.frame->size();
    }
    return size;
}

// From constructing the main window, through opening the demo image and show(), to
// the return from the event processing that delivered its first paint (the whole
// window is painted in that one pass). Tearing down is not timed.
void BM_Startup(benchmark::State& state)
{
    if (EditorSize(state).isEmpty())
        return;
    PaintWatch watch;
    double constructing = 0;
    double opening = 0;
    double painting = 0;
    QSize shown;
    for (auto _ : state) {
        bool refused = false;
        const auto start = Clock::now();
        auto frame = MakeFrame(&refused);
        const auto constructed = Clock::now();
        watch.Watch(frame.get());
        frame->OpenDocumentFile(DemoRomPath());
        const auto opened = Clock::now();
        frame->show();
        const bool painted = watch.WaitForPaint();
        const auto end = Clock::now();
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
        constructing += std::chrono::duration<double, std::milli>(constructed - start).count();
        opening += std::chrono::duration<double, std::milli>(opened - constructed).count();
        painting += std::chrono::duration<double, std::milli>(end - opened).count();
        shown = frame->size();
        watch.Watch(nullptr);
        frame.reset();
        Settle();
        if (!painted || refused) {
            state.SkipWithError(refused ? "the demo image was refused" : "never painted");
            return;
        }
    }
    // Where the time goes, in milliseconds per start-up, and the window's size.
    using benchmark::Counter;
    state.counters["construct_ms"] = Counter(constructing, Counter::kAvgIterations);
    state.counters["open_ms"] = Counter(opening, Counter::kAvgIterations);
    state.counters["show_paint_ms"] = Counter(painting, Counter::kAvgIterations);
    state.SetLabel(QStringLiteral("%1x%2").arg(shown.width()).arg(shown.height()).toStdString());
}

// Floor: an empty QMainWindow resized to the editor's size, shown, to its first
// paint, timed the same way.
void BM_Startup_Floor(benchmark::State& state)
{
    const QSize size = EditorSize(state);
    if (size.isEmpty())
        return;
    PaintWatch watch;
    QSize shown;
    for (auto _ : state) {
        const auto start = Clock::now();
        auto window = std::make_unique<QMainWindow>();
        watch.Watch(window.get());
        window->resize(size);
        window->show();
        const bool painted = watch.WaitForPaint();
        const auto end = Clock::now();
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
        shown = window->size();
        watch.Watch(nullptr);
        window.reset();
        Settle();
        if (!painted) {
            state.SkipWithError("never painted");
            return;
        }
    }
    state.SetLabel(QStringLiteral("%1x%2").arg(shown.width()).arg(shown.height()).toStdString());
}

} // namespace

BENCHMARK(BM_View_OnUpdate)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_View_OnUpdate_Floor)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_View_OnUpdate_IconFloor)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_View_Tick)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_View_Tick_Floor)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_View_Edit)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_View_Edit_Floor)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_View_UndoRedoStroke)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Startup)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Startup_Floor)->UseManualTime()->Unit(benchmark::kMillisecond);
