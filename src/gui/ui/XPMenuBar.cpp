#include "XPMenuBar.h"

#include "ui/BarMenuButton.h"
#include "ui/MenuBarHook.h"
#include "ui/SysColors.h"
#include "ui/XPDraw.h"

#include <QAction>
#include <QApplication>
#include <QFontMetrics>
#include <QLayout>
#include <QMainWindow>
#include <QMenu>
#include <QCloseEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QStyle>

#include <algorithm>
#include <climits>

using namespace MenuBarLayout;

namespace {

// A menu row is the menu font's height and this much more.
constexpr int kMenuRowPadding = 6;
constexpr int kHotTrackMs = 100;

// A popup opened from the keyboard shows its first item selected, ready for Enter.
void SelectFirstItemOnShow(QMenu* popup)
{
    if (!popup)
        return;
    QObject::connect(
        popup, &QMenu::aboutToShow, popup,
        [popup] {
            for (QAction* action : popup->actions()) {
                if (action->isVisible() && !action->isSeparator()) {
                    // Selected once the popup is on screen and QMenu has laid out its items.
                    QMetaObject::invokeMethod(
                        popup, [popup, action] { popup->setActiveAction(action); },
                        Qt::QueuedConnection);
                    return;
                }
            }
        },
        Qt::SingleShotConnection);
}

// Closes every open popup, cascaded ones included.
void CloseMenus()
{
    for (int n = 0; n < 32; ++n) {
        QWidget* popup = QApplication::activePopupWidget();
        if (!popup)
            return;
        popup->close();
    }
}

} // namespace

CXPMenuBar::CXPMenuBar(QWidget* frame) : QToolBar(QStringLiteral("MenuBar"), frame)
{
    setObjectName(QStringLiteral("m_wndMenuBar"));
    setMouseTracking(true);
    // Nothing may hide the bar: it holds the only menus.
    toggleViewAction()->setVisible(false);
    // The drag handle then starts at the bar's edge, where the gripper is drawn.
    layout()->setContentsMargins(0, 0, 0, 0);
    m_pHookFrame = new CMenuBarHook(this, frame);
    m_pFrame = frame;
    InitGlobalFonts();
    connect(this, &QToolBar::topLevelChanged, this, &CXPMenuBar::OnTopLevelChanged);
    connect(this, &QToolBar::orientationChanged, this, [this] { OnDockChanged(); });
}

CXPMenuBar::~CXPMenuBar() = default;

void CXPMenuBar::closeEvent(QCloseEvent* event)
{
    event->ignore();
}

bool CXPMenuBar::LoadMenuBar(const QList<QAction*>& entries)
{
    if (auto* frame = qobject_cast<QMainWindow*>(parentWidget()); frame && frame->menuWidget())
        frame->setMenuWidget(nullptr);
    m_listMenu = entries;
    InitItems();
    OnDockChanged();
    return !m_arrItem.empty();
}

bool CXPMenuBar::IsHorizontal() const
{
    return orientation() == Qt::Horizontal;
}

QSize CXPMenuBar::sizeHint() const
{
    std::vector<CItemBox> boxes = Boxes();
    const bool bHorizontal = IsHorizontal();
    QSize size;
    if (bHorizontal) {
        WrapMenuBar(boxes, WrapWidth());
        size = CalcSize(boxes).expandedTo(QSize(0, m_metrics.nButtonHeight));
    } else {
        size = CalcVertSize(boxes, m_metrics.nButtonHeight);
    }
    const CInsets insets = Insets();
    return size + QSize(insets.nLeft + insets.nRight, insets.nTop + insets.nBottom);
}

QSize CXPMenuBar::minimumSizeHint() const
{
    QSize size = sizeHint();
    if (IsHorizontal()) {
        int nWidest = 0;
        for (const auto& item : m_arrItem)
            nWidest = std::max(nWidest, item->HorizontalSize().width());
        const CInsets insets = Insets();
        size.setWidth(nWidest + insets.nLeft + insets.nRight);
    }
    return size;
}

void CXPMenuBar::OnFrameActivate(bool bActive)
{
    if (bActive == m_bFrameActive)
        return;
    m_bFrameActive = bActive;
    for (const auto& item : m_arrItem)
        item->ModifyState(bActive ? kStateInactive : 0, bActive ? 0 : kStateInactive);
    update();
}

void CXPMenuBar::OnSettingChange()
{
    // The buttons stay while one of them has its popup open.
    if (m_bInLoop) {
        m_bRebuildPending = true;
        return;
    }
    InitGlobalFonts();
    InitItems();
    OnDockChanged();
}

void CXPMenuBar::OnFrameResize()
{
    // Docked at the top or bottom the bar wraps to the frame's width.
    if (!isFloating() && IsHorizontal())
        updateGeometry();
}

bool CXPMenuBar::event(QEvent* event)
{
    // Presses on buttons are the bar's own; elsewhere the toolbar may start a drag.
    if (event->type() == QEvent::MouseButtonPress) {
        auto* mouseEvent = static_cast<QMouseEvent*>(event);
        if (m_bInLoop || HitTest(mouseEvent->position().toPoint()) >= 0) {
            mousePressEvent(mouseEvent);
            return true;
        }
    }
    return QToolBar::event(event);
}

bool CXPMenuBar::eventFilter(QObject* watched, QEvent* event)
{
    if (m_bInLoop && m_nTrackingState == TRACK_POPUP && OnPopupInput(watched, event))
        return true;
    return QToolBar::eventFilter(watched, event);
}

void CXPMenuBar::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    const CSysColors colors = CSysColors::FromPalette(palette());
    painter.fillRect(rect(), colors.face);
    if (isMovable())
        XPDraw::DrawGripper(&painter, rect(), IsHorizontal(), colors.windowText, colors.face);
    for (const auto& item : m_arrItem) {
        if (item->ItemRect().intersects(event->rect()))
            item->Paint(&painter, colors);
    }
}

void CXPMenuBar::mousePressEvent(QMouseEvent* event)
{
    // A running loop opens the next popup itself.
    if (m_bInLoop) {
        event->accept();
        return;
    }
    const int nIndex = HitTest(event->position().toPoint());
    if (event->button() != Qt::LeftButton || nIndex < 0) {
        QToolBar::mousePressEvent(event);
        return;
    }
    event->accept();
    m_ptMouse = event->position().toPoint();
    TrackPopupLoop(nIndex);
}

void CXPMenuBar::mouseMoveEvent(QMouseEvent* event)
{
    if (m_bInLoop)
        return;
    const int nIndex = HitTest(event->position().toPoint());
    if (nIndex >= 0) {
        if (nIndex != m_nCurIndex || m_nTrackingState != TRACK_HOT) {
            UpdateBar(TRACK_HOT, nIndex);
            if (!m_timerHot.isActive())
                m_timerHot.start(kHotTrackMs, this);
        }
    } else if (m_nTrackingState == TRACK_HOT) {
        UpdateBar(TRACK_NONE, -1);
    }
}

void CXPMenuBar::leaveEvent(QEvent* event)
{
    if (m_nTrackingState == TRACK_HOT)
        UpdateBar(TRACK_NONE, -1);
    QToolBar::leaveEvent(event);
}

void CXPMenuBar::resizeEvent(QResizeEvent* event)
{
    QToolBar::resizeEvent(event);
    RecalcLayout();
}

void CXPMenuBar::timerEvent(QTimerEvent* event)
{
    if (event->timerId() != m_timerHot.timerId()) {
        QToolBar::timerEvent(event);
        return;
    }
    if (m_nTrackingState != TRACK_HOT) {
        m_timerHot.stop();
    } else if (!rect().contains(mapFromGlobal(QCursor::pos()))) {
        UpdateBar(TRACK_NONE, -1);
        m_timerHot.stop();
    }
}

CBarItem* CXPMenuBar::ItemAt(int nIndex) const
{
    return nIndex >= 0 && nIndex < int(m_arrItem.size()) ? m_arrItem[nIndex].get() : nullptr;
}

void CXPMenuBar::InitGlobalFonts()
{
    m_font = QApplication::font("QMenu");
    const QFontMetrics fm(m_font);
    m_metrics = MenuMetrics(fm.height(), fm.height() + kMenuRowPadding,
                            style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, this));
}

void CXPMenuBar::InitItems()
{
    m_arrItem.clear();
    m_nCurIndex = -1;
    m_nTrackingState = TRACK_NONE;
    for (QAction* entry : m_listMenu) {
        auto button = std::make_unique<CBarMenuButton>(entry, m_font, m_metrics);
        if (!m_bFrameActive)
            button->ModifyState(0, kStateInactive);
        m_arrItem.push_back(std::move(button));
    }
    InitShortcuts();
}

// The keys are the frame's shortcuts: Alt with a letter never reaches a field of the form,
// and a letter without Alt never opens a popup.
void CXPMenuBar::InitShortcuts()
{
    for (const QPointer<QShortcut>& shortcut : std::as_const(m_listShortcuts))
        delete shortcut.data();
    m_listShortcuts.clear();
    if (!m_pFrame)
        return;
    const auto add = [this](const QKeySequence& keys, int nIndex) {
        auto* shortcut = new QShortcut(keys, m_pFrame);
        connect(shortcut, &QShortcut::activated, this, [this, nIndex] { OpenByKey(nIndex); });
        m_listShortcuts.append(shortcut);
    };
    bool bFirst = true;
    for (int i = 0; i < int(m_arrItem.size()); ++i) {
        const CBarItem& item = *m_arrItem[i];
        if (!(item.Style() & kStyleHit) || item.HasState(kStateHidden))
            continue;
        if (bFirst)
            add(QKeySequence(Qt::Key_F10), i);
        bFirst = false;
        if (!item.AccessKey().isNull())
            add(QKeySequence(QStringLiteral("Alt+") + item.AccessKey().toUpper()), i);
    }
}

void CXPMenuBar::OpenByKey(int nIndex)
{
    if (m_bInLoop || !isVisible() || !ItemAt(nIndex))
        return;
    m_bKeyboard = true;
    TrackPopupLoop(nIndex);
    m_bKeyboard = false;
}

void CXPMenuBar::RecalcLayout()
{
    std::vector<CItemBox> boxes = Boxes();
    const bool bHorizontal = IsHorizontal();
    const CInsets insets = Insets();
    if (bHorizontal)
        WrapMenuBar(boxes, width() - insets.nLeft - insets.nRight);
    const std::vector<QRect> rects = Place(boxes, QPoint(insets.nLeft, insets.nTop), bHorizontal);
    for (size_t i = 0; i < m_arrItem.size(); ++i) {
        m_arrItem[i]->ModifyState(kStateWrap, boxes[i].nState & kStateWrap);
        m_arrItem[i]->Layout(rects[i].topLeft(), bHorizontal);
    }
}

std::vector<CItemBox> CXPMenuBar::Boxes() const
{
    std::vector<CItemBox> boxes;
    boxes.reserve(m_arrItem.size());
    for (const auto& item : m_arrItem)
        boxes.push_back(item->Box());
    return boxes;
}

CInsets CXPMenuBar::Insets() const
{
    // A floating bar keeps its gripper: it is the only place to drag it by.
    return BarInsets(IsHorizontal(), isMovable());
}

int CXPMenuBar::WrapWidth() const
{
    if (isFloating() || !parentWidget())
        return INT_MAX;
    const CInsets insets = Insets();
    return parentWidget()->width() - insets.nLeft - insets.nRight;
}

int CXPMenuBar::HitTest(const QPoint& pos) const
{
    for (int i = 0; i < int(m_arrItem.size()); ++i) {
        const CBarItem& item = *m_arrItem[i];
        if ((item.Style() & kStyleHit) && !item.HasState(kStateHidden) &&
            item.ItemRect().contains(pos))
            return i;
    }
    return -1;
}

void CXPMenuBar::UpdateBar(int nState, int nIndex)
{
    if (CBarItem* previous = ItemAt(m_nCurIndex)) {
        previous->ModifyState(kStateHot | kStatePressed, 0);
        update(previous->ItemRect());
    }
    m_nCurIndex = -1;
    if (nState != TRACK_NONE) {
        if (CBarItem* item = ItemAt(nIndex)) {
            if (nState == TRACK_POPUP)
                item->ModifyState(kStateHot, kStatePressed);
            else
                item->ModifyState(kStatePressed, kStateHot);
            update(item->ItemRect());
            m_nCurIndex = nIndex;
        }
    }
    m_nTrackingState = nState;
}

// Opens the popup of button nIndex, and the next one while the user slides along the bar.
void CXPMenuBar::TrackPopupLoop(int nIndex)
{
    const QPointer<CXPMenuBar> self(this);
    m_nCurIndex = nIndex;
    m_bLoop = true;
    m_bInLoop = true;
    while (m_bLoop && ItemAt(m_nCurIndex)) {
        const int nOpen = m_nCurIndex;
        UpdateBar(TRACK_POPUP, nOpen);
        repaint();
        m_bLoop = false;
        // The filter watches the popup's input only while it is open.
        qApp->installEventFilter(this);
        if (m_bKeyboard)
            SelectFirstItemOnShow(ItemAt(nOpen)->Popup());
        ItemAt(nOpen)->TrackPopup(this);
        if (!self)
            return;
        qApp->removeEventFilter(this);
    }
    UpdateBar(TRACK_NONE, -1);
    m_bInLoop = false;
    if (m_bRebuildPending) {
        m_bRebuildPending = false;
        OnSettingChange();
    }
}

// Input while a popup is open: sliding onto another button, Left and Right, and a press on
// the open button. True when consumed.
bool CXPMenuBar::OnPopupInput(QObject* watched, QEvent* event)
{
    QWidget* popup = QApplication::activePopupWidget();
    if (!popup || (watched != popup && watched != this))
        return false;
    switch (event->type()) {
    case QEvent::MouseMove: {
        const QPoint pos =
            mapFromGlobal(static_cast<QMouseEvent*>(event)->globalPosition().toPoint());
        if (pos == m_ptMouse)
            return false;
        m_ptMouse = pos;
        const int nIndex = HitTest(pos);
        if (nIndex < 0 || nIndex == m_nCurIndex)
            return false;
        SwitchTo(nIndex);
        return true;
    }
    case QEvent::MouseButtonPress: {
        auto* mouseEvent = static_cast<QMouseEvent*>(event);
        const int nIndex = HitTest(mapFromGlobal(mouseEvent->globalPosition().toPoint()));
        if (mouseEvent->button() != Qt::LeftButton || nIndex < 0)
            return false;
        if (nIndex != m_nCurIndex) {
            SwitchTo(nIndex);
            return true;
        }
        CloseMenus();
        UpdateBar(TRACK_BUTTON, nIndex);
        m_bLoop = false;
        return true;
    }
    case QEvent::KeyPress: {
        // Left and Right step along the bar in either orientation: in a side-docked bar's
        // popups Up and Down stay with the popup's own items.
        const int nKey = static_cast<QKeyEvent*>(event)->key();
        if (nKey != Qt::Key_Left && nKey != Qt::Key_Right)
            return false;
        auto* menu = qobject_cast<QMenu*>(popup);
        const CBarItem* current = ItemAt(m_nCurIndex);
        if (nKey == Qt::Key_Left) {
            // In a cascaded popup Left goes back to its parent.
            if (!current || menu != current->Popup())
                return false;
        } else {
            // Right opens the selected item's submenu.
            const QAction* active = menu ? menu->activeAction() : nullptr;
            if (active && active->menu() && active->isEnabled())
                return false;
        }
        const int nNext = NextItem(Boxes(), m_nCurIndex, nKey == Qt::Key_Right);
        if (nNext < 0)
            return false;
        SwitchTo(nNext);
        return true;
    }
    default:
        return false;
    }
}

void CXPMenuBar::SwitchTo(int nIndex)
{
    CloseMenus();
    UpdateBar(TRACK_NONE, -1);
    m_nCurIndex = nIndex;
    m_bLoop = true;
}

void CXPMenuBar::OnTopLevelChanged(bool bFloating)
{
    // Torn off a side, the bar lies in one row. Turned once, as it leaves the dock: while it is
    // dragged its orientation previews the dock it hovers over.
    if (bFloating && orientation() != Qt::Horizontal)
        setOrientation(Qt::Horizontal); // calls OnDockChanged
    else
        OnDockChanged();
}

// Lays the buttons out afresh and asks the dock (or the floating window) for the new size.
void CXPMenuBar::OnDockChanged()
{
    RecalcLayout();
    updateGeometry();
    if (isFloating())
        resize(sizeHint());
    update();
}
