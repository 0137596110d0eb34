// The colour dialog's drawing: building the wheel's field image (one HLSToSNES per pixel)
// and one paint of the luminance bar, each against filling the same pixels with one
// colour; and opening the Edit Color dialog up to its first paint (target: under 50 ms).

#include "color/ColorWheel.h"
#include "color/EditColorDlg.h"
#include "color/LumBar.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QEvent>
#include <QImage>
#include <QPainter>

#include <chrono>
#include <memory>

namespace {

using Clock = std::chrono::steady_clock;

// About the size the dialog gives the wheel with a 6 x 13 pixel dialog font.
const QSize kWheelSize(210, 208);
const QRect kBarRect(0, CLumBar::MARGIN_Y, 12, 208);

void BM_BuildWheelField(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(CColorWheel::BuildField(kWheelSize).constBits());
}

void BM_BuildWheelField_Floor(benchmark::State& state)
{
    for (auto _ : state) {
        QImage image(kWheelSize, QImage::Format_RGB32);
        image.fill(0xFF787878u);
        benchmark::DoNotOptimize(image.constBits());
    }
}

// One paint event of the bar (gradient, marker and margins) into an image.
void BM_LumBarPaint(benchmark::State& state)
{
    CLumBar bar;
    bar.SetBarGeometry(kBarRect);
    bar.m_dHue = 0.4;
    bar.m_dSat = 0.7;
    bar.SetLum(0.5);
    QImage target(bar.size(), QImage::Format_RGB32);
    for (auto _ : state) {
        bar.render(&target, QPoint(), QRegion(), QWidget::DrawChildren);
        benchmark::DoNotOptimize(target.constBits());
    }
}

// The same widget, painting its whole area in one colour.
class CFlatWidget : public QWidget
{
protected:
    void paintEvent(QPaintEvent*) override { QPainter(this).fillRect(rect(), Qt::gray); }
};

void BM_LumBarPaint_Floor(benchmark::State& state)
{
    CFlatWidget flat;
    flat.setAttribute(Qt::WA_OpaquePaintEvent);
    flat.setGeometry(
        kBarRect.adjusted(0, -CLumBar::MARGIN_Y, CLumBar::MARGIN_RIGHT, CLumBar::MARGIN_Y));
    QImage target(flat.size(), QImage::Format_RGB32);
    for (auto _ : state) {
        flat.render(&target, QPoint(), QRegion(), QWidget::DrawChildren);
        benchmark::DoNotOptimize(target.constBits());
    }
}

// Notices the first paint that reaches one widget.
class CPaintWatch : public QObject
{
public:
    explicit CPaintWatch(QWidget* widget) : m_pWidget(widget) { widget->installEventFilter(this); }

    bool WaitForPaint()
    {
        const QDeadlineTimer deadline(10000);
        while (!m_bPainted && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents);
        return m_bPainted;
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        m_bPainted |= watched == m_pWidget && event->type() == QEvent::Paint;
        return false;
    }

private:
    QWidget* m_pWidget;
    bool m_bPainted = false;
};

// Construct, show and paint once: the real dialog, or an empty one of its size.
void OpenDialog(benchmark::State& state, bool real)
{
    double worst = 0;
    QSize shown;
    for (auto _ : state) {
        const auto start = Clock::now();
        std::unique_ptr<QDialog> dialog;
        QWidget* last = nullptr; // painted after the rest of the window
        if (real) {
            auto edit = std::make_unique<CEditColorDlg>();
            edit->m_wColor = 0x3DEF;
            last = edit->m_lumBar;
            dialog = std::move(edit);
        } else {
            static const QSize size = CEditColorDlg().size();
            dialog = std::make_unique<QDialog>();
            dialog->setFixedSize(size);
            last = dialog.get();
        }
        CPaintWatch watch(last);
        dialog->show();
        const bool painted = watch.WaitForPaint();
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        state.SetIterationTime(seconds);
        worst = std::max(worst, seconds);
        shown = dialog->size();
        dialog.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
        if (!painted) {
            state.SkipWithError("never painted");
            return;
        }
    }
    state.counters["worst_ms"] = worst * 1e3;
    state.counters["under_50ms"] = worst < 0.05;
    state.SetLabel(QStringLiteral("%1x%2").arg(shown.width()).arg(shown.height()).toStdString());
}

void BM_OpenEditColorDlg(benchmark::State& state)
{
    OpenDialog(state, true);
}

void BM_OpenEditColorDlg_Floor(benchmark::State& state)
{
    OpenDialog(state, false);
}

} // namespace

BENCHMARK(BM_BuildWheelField)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BuildWheelField_Floor)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LumBarPaint)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LumBarPaint_Floor)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_OpenEditColorDlg)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenEditColorDlg_Floor)->UseManualTime()->Unit(benchmark::kMillisecond);
