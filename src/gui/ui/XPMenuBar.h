#pragma once

#include "ui/MenuBarLayout.h"

#include <QBasicTimer>
#include <QFont>
#include <QList>
#include <QPointer>
#include <QShortcut>
#include <QToolBar>

#include <memory>
#include <vector>

class CBarItem;
class CMenuBarHook;
class QAction;

// A flat, dockable menu bar that takes the place of the frame's own: one button per top-level
// menu entry, hot under the pointer, opening the entry's popup on a press, or with Alt and its
// access key; F10 opens the first popup. While a popup is open the pointer and the Left and
// Right keys move along the bar from popup to popup. It is
// laid out horizontally, wrapping into rows, when docked at the top or bottom or floating, and
// vertically, with its text turned, when docked at the left or right.
class CXPMenuBar : public QToolBar
{
    Q_OBJECT

public:
    // Tracking states.
    enum
    {
        TRACK_NONE = 0,
        TRACK_BUTTON = 1, // a click closed the open popup; the button stays hot
        TRACK_POPUP = 2,
        TRACK_HOT = 3, // hot-tracking under the pointer
    };

    // frame is the window the bar is docked in and watches.
    explicit CXPMenuBar(QWidget* frame);
    ~CXPMenuBar() override;

    // Builds one button per entry: an entry with a menu opens it, one without triggers itself.
    // Removes the frame's own menu bar. False when there is nothing to load.
    bool LoadMenuBar(const QList<QAction*>& entries);

    int ItemCount() const { return int(m_arrItem.size()); }
    const CBarItem* Item(int nIndex) const { return ItemAt(nIndex); }
    int CurrentIndex() const { return m_nCurIndex; }
    int TrackingState() const { return m_nTrackingState; }
    bool IsHorizontal() const;
    const MenuBarLayout::CMenuMetrics& Metrics() const { return m_metrics; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    // Called by the frame watch.
    void OnFrameActivate(bool bActive);
    void OnSettingChange();
    void OnFrameResize();

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    // A floating bar holds the only menus: a close request from the window manager is refused.
    void closeEvent(QCloseEvent* event) override;

private:
    CBarItem* ItemAt(int nIndex) const;
    void InitGlobalFonts();
    void InitItems();
    void RecalcLayout();
    std::vector<MenuBarLayout::CItemBox> Boxes() const;
    MenuBarLayout::CInsets Insets() const;
    int WrapWidth() const;
    int HitTest(const QPoint& pos) const;
    void UpdateBar(int nState, int nIndex);
    void TrackPopupLoop(int nIndex);
    void InitShortcuts();
    void OpenByKey(int nIndex);
    bool OnPopupInput(QObject* watched, QEvent* event);
    void SwitchTo(int nIndex);
    void OnTopLevelChanged(bool bFloating);
    void OnDockChanged();

    std::vector<std::unique_ptr<CBarItem>> m_arrItem;
    QList<QAction*> m_listMenu;
    bool m_bLoop = false;
    bool m_bInLoop = false;         // a popup loop is running
    bool m_bRebuildPending = false; // fonts or style changed during the loop
    int m_nCurIndex = -1;
    int m_nTrackingState = TRACK_NONE;
    QPoint m_ptMouse; // last pointer position seen while a popup is open
    QBasicTimer m_timerHot;
    CMenuBarHook* m_pHookFrame = nullptr;
    QPointer<QWidget> m_pFrame;
    QList<QPointer<QShortcut>> m_listShortcuts; // the frame's, opening the popups
    bool m_bKeyboard = false;                   // the running loop was opened by a key
    bool m_bFrameActive = true;
    QFont m_font;
    MenuBarLayout::CMenuMetrics m_metrics;
};
