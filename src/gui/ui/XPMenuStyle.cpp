#include "XPMenuStyle.h"

#include "ui/SysColors.h"
#include "XPMenu.h"
#include "XPMenuItem.h"

#include <QAction>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QStyleOptionMenuItem>

#include <algorithm>

namespace {

// QMenu adds the widest shortcut column to the widest item by itself; the item sizes leave it
// out so that the popup ends up exactly as wide as its items are measured.
int QtShortcutColumn(const QMenu* menu)
{
    const QFontMetrics fm = menu->fontMetrics();
    int nWidth = 0;
    for (const QAction* action : menu->actions()) {
        if (!action->isVisible() || action->isSeparator())
            continue;
        const QString text = action->text();
        const qsizetype nTab = text.indexOf(u'\t');
        if (nTab >= 0)
            nWidth = std::max(nWidth, fm.horizontalAdvance(text.mid(nTab + 1)));
        else if (!action->shortcut().isEmpty())
            nWidth = std::max(nWidth, fm.horizontalAdvance(
                                          action->shortcut().toString(QKeySequence::NativeText)));
    }
    return nWidth;
}

// Runs the item as if it had been chosen with Enter, so the popups close the usual way; a
// disabled item does nothing.
void ExecuteItem(QMenu* menu, int nPosition)
{
    QAction* action = menu->actions().value(nPosition);
    if (!action)
        return;
    menu->setActiveAction(action);
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QCoreApplication::sendEvent(menu, &enter);
}

} // namespace

CXPMenuStyle::CXPMenuStyle(QObject* parent)
{
    setParent(parent);
}

int CXPMenuStyle::pixelMetric(PixelMetric metric, const QStyleOption* option,
                              const QWidget* widget) const
{
    switch (metric) {
    case PM_MenuPanelWidth:
        return 1;
    case PM_MenuHMargin:
    case PM_MenuVMargin:
        return 0;
    default:
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
}

int CXPMenuStyle::styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                            QStyleHintReturn* returnData) const
{
    // Disabled items take the selection too, and show it in the face tint.
    if (hint == SH_Menu_AllowActiveAndDisabled)
        return 1;
    return QProxyStyle::styleHint(hint, option, widget, returnData);
}

QSize CXPMenuStyle::sizeFromContents(ContentsType type, const QStyleOption* option,
                                     const QSize& size, const QWidget* widget) const
{
    const auto* menu = qobject_cast<const QMenu*>(widget);
    const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
    if (type != CT_MenuItem || !menu || !item)
        return QProxyStyle::sizeFromContents(type, option, size, widget);
    QSize itemSize =
        XPMenu::MeasureItem(menu, item->menuItemType == QStyleOptionMenuItem::Separator);
    itemSize.rwidth() -= QtShortcutColumn(menu);
    return itemSize;
}

void CXPMenuStyle::drawControl(ControlElement element, const QStyleOption* option,
                               QPainter* painter, const QWidget* widget) const
{
    const auto* menu = qobject_cast<const QMenu*>(widget);
    if (!menu) {
        QProxyStyle::drawControl(element, option, painter, widget);
        return;
    }
    const CSysColors colors = CSysColors::FromPalette(option->palette);
    switch (element) {
    case CE_MenuItem: {
        const QAction* action = menu->actionAt(option->rect.center());
        XPMenu::DrawItem(painter, CXPMenuItem(action, menu), option->rect,
                         option->state & State_Selected, colors, menu->font());
        break;
    }
    case CE_MenuEmptyArea: {
        const int nItemLeft = pixelMetric(PM_MenuPanelWidth, option, widget) +
                              pixelMetric(PM_MenuHMargin, option, widget);
        XPMenu::DrawBackground(painter, option->rect, nItemLeft, colors);
        break;
    }
    default:
        QProxyStyle::drawControl(element, option, painter, widget);
        break;
    }
}

void CXPMenuStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                                 QPainter* painter, const QWidget* widget) const
{
    if (!qobject_cast<const QMenu*>(widget)) {
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        return;
    }
    const CSysColors colors = CSysColors::FromPalette(option->palette);
    switch (element) {
    case PE_PanelMenu: {
        const int nItemLeft = pixelMetric(PM_MenuPanelWidth, option, widget) +
                              pixelMetric(PM_MenuHMargin, option, widget);
        XPMenu::DrawBackground(painter, option->rect, nItemLeft, colors);
        break;
    }
    case PE_FrameMenu: {
        // The popup's window border.
        painter->save();
        painter->setPen(colors.buttonShadow);
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(option->rect.adjusted(0, 0, -1, -1));
        painter->restore();
        break;
    }
    default:
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        break;
    }
}

void CXPMenuStyle::polish(QWidget* widget)
{
    QProxyStyle::polish(widget);
    if (qobject_cast<QMenu*>(widget))
        widget->installEventFilter(this);
}

void CXPMenuStyle::unpolish(QWidget* widget)
{
    if (qobject_cast<QMenu*>(widget))
        widget->removeEventFilter(this);
    QProxyStyle::unpolish(widget);
}

bool CXPMenuStyle::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        auto* menu = qobject_cast<QMenu*>(watched);
        const auto* key = static_cast<QKeyEvent*>(event);
        const QString text = key->text();
        const bool bCharacter = text.size() == 1 && text[0].isPrint() &&
                                !(key->modifiers() & (Qt::ControlModifier | Qt::MetaModifier));
        if (menu && bCharacter && XPMenu::IsOwnerDrawn(menu)) {
            const int nResult = XPMenu::MenuChar(menu, text[0]);
            if (nResult >> 16 == XPMenu::MNC_EXECUTE) {
                ExecuteItem(menu, nResult & 0xFFFF);
                return true;
            }
        }
    }
    return QProxyStyle::eventFilter(watched, event);
}
