#include "MenuBarHook.h"

#include "ui/XPMenuBar.h"

#include <QApplication>
#include <QToolBar>

CMenuBarHook::CMenuBarHook(CXPMenuBar* bar, QWidget* frame)
    : QObject(bar), m_pBar(bar), m_pFrame(frame)
{
    // The filter goes with the hook: Qt skips filters that no longer exist.
    if (m_pFrame)
        m_pFrame->installEventFilter(this);
}

bool CMenuBarHook::FrameLooksActive() const
{
    if (!m_pFrame->isEnabled())
        return false;
    if (m_pFrame->isActiveWindow())
        return true;
    // A floating bar of the frame, the menu bar itself included, keeps it looking active.
    const auto* bar = qobject_cast<QToolBar*>(QApplication::activeWindow());
    return bar && bar->parentWidget() == m_pFrame;
}

bool CMenuBarHook::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_pFrame)
        return false;
    switch (event->type()) {
    case QEvent::ActivationChange:
    case QEvent::WindowActivate:
    case QEvent::WindowDeactivate:
    case QEvent::EnabledChange:
        m_pBar->OnFrameActivate(FrameLooksActive());
        break;
    case QEvent::PaletteChange:
    case QEvent::FontChange:
    case QEvent::StyleChange:
    case QEvent::ApplicationFontChange:
    case QEvent::ApplicationPaletteChange:
        m_pBar->OnSettingChange();
        break;
    case QEvent::Resize:
        m_pBar->OnFrameResize();
        break;
    default:
        break;
    }
    return false;
}
