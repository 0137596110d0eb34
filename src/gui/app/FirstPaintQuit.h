#pragma once

#include <QObject>
#include <QPointer>

class QWidget;

// Ends the application once a window has been painted for the first time: the
// quit is queued behind the paint, so the whole window is drawn and flushed
// first. For measuring a whole start-up from outside the process: with
// GLYPHOX_FIRST_PAINT_FD set, the time the paint ended is written to that descriptor.
class CFirstPaintQuit : public QObject
{
public:
    explicit CFirstPaintQuit(QWidget* window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QWidget> m_window;
    bool m_bQuitting = false;
};
