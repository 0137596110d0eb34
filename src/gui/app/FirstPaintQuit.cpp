#include "FirstPaintQuit.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>

#include <cstdint>
#include <cstdlib>
#include <ctime>

#include <unistd.h>

namespace {

// The moment the first paint has been flushed, on the monotonic clock in nanoseconds,
// written to the file descriptor that GLYPHOX_FIRST_PAINT_FD names (the runner's pipe).
void ReportFirstPaint()
{
    const char* fd = std::getenv("GLYPHOX_FIRST_PAINT_FD");
    if (!fd || !*fd)
        return;
    timespec now = {};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    const std::int64_t ns = std::int64_t(now.tv_sec) * 1000000000 + now.tv_nsec;
    if (::write(std::atoi(fd), &ns, sizeof ns) != sizeof ns)
        std::abort(); // a measure without its time must not pass for one
}

} // namespace

CFirstPaintQuit::CFirstPaintQuit(QWidget* window) : QObject(window), m_window(window)
{
    qApp->installEventFilter(this);
}

bool CFirstPaintQuit::eventFilter(QObject* watched, QEvent* event)
{
    if (!m_bQuitting && event->type() == QEvent::Paint && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->window() == m_window) {
        m_bQuitting = true;
        QMetaObject::invokeMethod(
            qApp,
            [] {
                ReportFirstPaint();
                QCoreApplication::quit();
            },
            Qt::QueuedConnection);
    }
    return false;
}
