#include "FirstPaintQuit.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>

CFirstPaintQuit::CFirstPaintQuit(QWidget* window) : QObject(window), m_window(window)
{
    qApp->installEventFilter(this);
}

bool CFirstPaintQuit::eventFilter(QObject* watched, QEvent* event)
{
    if (!m_bQuitting && event->type() == QEvent::Paint && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->window() == m_window) {
        m_bQuitting = true;
        QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
    }
    return false;
}
