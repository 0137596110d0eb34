#include "XPMenu.h"

#include "BrushSelector.h"
#include "FontSelector.h"
#include "OffscreenDC.h"
#include "PenSelector.h"
#include "ui/SysColors.h"
#include "XPDraw.h"
#include "XPMenuItem.h"

#include <QAction>
#include <QCoreApplication>
#include <QEvent>
#include <QFontMetrics>
#include <QMainWindow>
#include <QMenu>
#include <QToolBar>

#include <algorithm>

namespace {

// The text an action had when it was converted; its absence marks a new item.
constexpr char kConvertedProperty[] = "XPMenu.convertedText";
constexpr char kMetricsProperty[] = "XPMenu.metrics";

constexpr int kIconColumn = 22; // right edge of the light column behind the pictures
constexpr int kTextLeft = 30;
constexpr int kShortcutGap = 12;

// The toolbars of the owner's frame, in the order they were made.
QList<QToolBar*> ControlBars(QWidget* owner)
{
    for (QWidget* widget = owner; widget; widget = widget->parentWidget()) {
        if (auto* frame = qobject_cast<QMainWindow*>(widget))
            return frame->findChildren<QToolBar*>();
    }
    return {};
}

// An item stays converted while its text is the one stored for its command; a rewritten
// text, or another item of the same command storing its own, makes it new again.
bool IsConverted(const QAction* action)
{
    const QVariant converted = action->property(kConvertedProperty);
    if (!converted.isValid() || converted.toString() != action->text())
        return false;
    const int nId = CXPMenuItem::CommandId(action);
    return nId == 0 || XPMenu::ItemTexts().value(nId) == action->text();
}

void Convert(QAction* action, const QList<QToolBar*>& bars)
{
    action->setProperty(kConvertedProperty, action->text());
    const int nId = CXPMenuItem::CommandId(action);
    if (nId == 0)
        return;
    XPMenu::ItemTexts().insert(nId, action->text());
    for (QToolBar* bar : bars) {
        const QList<QAction*> buttons = bar->actions();
        const auto found = std::find_if(buttons.cbegin(), buttons.cend(), [nId](QAction* button) {
            return CXPMenuItem::CommandId(button) == nId;
        });
        if (found != buttons.cend() && !(*found)->icon().isNull()) {
            XPMenu::ItemImages().insert(nId, (*found)->icon().pixmap(bar->iconSize()));
            return;
        }
    }
}

XPMenu::ItemMetrics Measure(const QMenu* popup)
{
    const QFontMetrics normal(popup->font());
    QFont boldFont = popup->font();
    boldFont.setWeight(QFont::Bold);
    const QFontMetrics bold(boldFont);

    XPMenu::ItemMetrics metrics;
    const int h = normal.height();
    metrics.nItemHeight = std::max(h + 2, 16) + 4;
    metrics.nSeparatorHeight = h / 2 + 2;
    for (const QAction* action : popup->actions()) {
        const CXPMenuItem item(action, popup);
        if (!action->isVisible() || item.IsSeparator())
            continue;
        const QFontMetrics& fm = item.IsDefault() ? bold : normal;
        QString label = item.Label();
        const qsizetype nAmp = label.indexOf(u'&');
        if (nAmp >= 0)
            label.remove(nAmp, 1);
        metrics.nLabelWidth = std::max(metrics.nLabelWidth, fm.horizontalAdvance(label));
        metrics.nShortcutWidth =
            std::max(metrics.nShortcutWidth, fm.horizontalAdvance(item.Shortcut()));
    }
    return metrics;
}

void FrameRect(QPainter* painter, const QRect& rect, const QColor& frame, const QColor& fill)
{
    CPenSelector pen(painter, frame);
    CBrushSelector brush(painter, fill);
    painter->drawRect(rect.adjusted(0, 0, -1, -1));
}

// The menu check mark, a 7 x 7 tick.
void DrawCheckMark(QPainter* painter, const QPoint& topLeft, const QColor& color)
{
    static constexpr int kRows[7][2] = {{6, 6}, {5, 6}, {0, 6}, {0, 5}, {0, 4}, {1, 3}, {2, 2}};
    static constexpr int kGap[7][2] = {{7, 7}, {7, 7}, {1, 3}, {2, 2}, {7, 7}, {7, 7}, {7, 7}};
    for (int y = 0; y < 7; ++y) {
        for (int x = kRows[y][0]; x <= kRows[y][1]; ++x) {
            if (x >= kGap[y][0] && x <= kGap[y][1])
                continue;
            painter->fillRect(QRect(topLeft + QPoint(x, y), QSize(1, 1)), color);
        }
    }
}

} // namespace

namespace XPMenu {

QHash<int, QString>& ItemTexts()
{
    static QHash<int, QString> texts;
    return texts;
}

QHash<int, QPixmap>& ItemImages()
{
    static QHash<int, QPixmap> images;
    return images;
}

void PrepareMenu(QMenu* popup, QWidget* owner)
{
    const QList<QToolBar*> bars = ControlBars(owner);
    for (QAction* action : popup->actions()) {
        if (action->isVisible() && !IsConverted(action))
            Convert(action, bars);
    }
    const ItemMetrics metrics = Measure(popup);
    const QVariant old = popup->property(kMetricsProperty);
    popup->setProperty(kMetricsProperty, QVariant::fromValue(metrics));
    if (!old.isValid() || !(old.value<ItemMetrics>() == metrics)) {
        // QMenu keeps its item layout until something it watches changes.
        QEvent change(QEvent::StyleChange);
        QCoreApplication::sendEvent(popup, &change);
    }
}

ItemMetrics Metrics(const QMenu* popup)
{
    const QVariant stored = popup->property(kMetricsProperty);
    return stored.isValid() ? stored.value<ItemMetrics>() : Measure(popup);
}

QSize MeasureItem(const QMenu* popup, bool bSeparator)
{
    const ItemMetrics metrics = Metrics(popup);
    return {metrics.nLabelWidth + metrics.nShortcutWidth + 42,
            bSeparator ? metrics.nSeparatorHeight : metrics.nItemHeight};
}

void DrawItem(QPainter* painter, const CXPMenuItem& item, const QRect& rect, bool bSelected,
              const CSysColors& colors, const QFont& font)
{
    COffscreenDC dc(painter, rect);
    QPainter* p = dc.Painter();
    if (!p->isActive())
        return;
    p->setFont(font);
    const int x0 = rect.left();
    const int nBottom = rect.top() + rect.height(); // one past the last row

    if (bSelected) {
        FrameRect(p, rect, colors.highlight,
                  item.IsDisabled() ? colors.Tint(colors.face, 20, 0)
                                    : colors.Tint(colors.highlight, 70, -57));
    } else {
        DrawBackground(p, rect, x0, colors);
    }

    if (item.IsSeparator()) {
        const int y = (rect.top() + nBottom) / 2;
        CPenSelector pen(p, colors.Tint(colors.face, -18, 0));
        p->drawLine(x0 + kTextLeft, y, rect.right() - 1, y);
        return;
    }
    const QString label = item.Label();
    if (label.isEmpty())
        return;

    CFontSelector bold(p, item.IsDefault());
    const QColor text = item.IsDisabled() ? colors.Tint(colors.face, -18, 0) : colors.windowText;
    p->setPen(text);
    const int nFlags = Qt::AlignVCenter | Qt::TextSingleLine | Qt::TextShowMnemonic;
    const QRect textRect(QPoint(x0 + kTextLeft, rect.top()), rect.bottomRight());
    p->drawText(textRect, nFlags | Qt::AlignLeft, label);
    const QString shortcut = item.Shortcut();
    if (!shortcut.isEmpty())
        p->drawText(textRect.adjusted(0, 0, -kShortcutGap, 0), nFlags | Qt::AlignRight, shortcut);

    QColor boxFill;
    if (item.IsChecked()) {
        boxFill = item.IsDisabled() ? colors.Tint(colors.face, 73, 0)
                  : bSelected       ? colors.Tint(colors.highlight, 50, -50)
                                    : colors.Tint(colors.highlight, 70, -57);
        FrameRect(p, QRect(QPoint(x0 + 1, rect.top() + 1), QPoint(x0 + 19, nBottom - 2)),
                  colors.highlight, boxFill);
    }

    const QPixmap& picture = item.Picture();
    if (!picture.isNull()) {
        const QPoint origin(x0, rect.top());
        const bool bHotShadow = !item.IsDisabled() && bSelected && !item.IsChecked();
        if (item.IsDisabled())
            XPDraw::DrawSilhouette(p, origin + QPoint(3, 3), picture,
                                   colors.Tint(colors.face, -27, 0));
        else if (bHotShadow)
            XPDraw::DrawSilhouette(p, origin + QPoint(4, 4), picture,
                                   colors.Tint(colors.highlight, 50, -66));
        if (!item.IsDisabled())
            XPDraw::DrawPicture(p, origin + (bHotShadow ? QPoint(2, 2) : QPoint(3, 3)), picture,
                                colors);
    } else if (item.IsChecked()) {
        DrawCheckMark(p, QPoint(x0 + 7, rect.top() + (rect.height() - 7) / 2), text);
    }
}

void DrawBackground(QPainter* painter, const QRect& rect, int nItemLeft, const CSysColors& colors)
{
    const int nColumnRight = nItemLeft + kIconColumn; // one past the column
    const QRect column(QPoint(rect.left(), rect.top()),
                       QPoint(std::min(nColumnRight, rect.right() + 1) - 1, rect.bottom()));
    const QRect rest(QPoint(std::max(nColumnRight, rect.left()), rect.top()), rect.bottomRight());
    if (column.isValid())
        painter->fillRect(column, colors.Tint(colors.face, 20, 0));
    if (rest.isValid())
        painter->fillRect(rest, colors.Tint(colors.face, 75, 0));
}

bool IsOwnerDrawn(const QMenu* popup)
{
    const QList<QAction*> actions = popup->actions();
    return !actions.isEmpty() && actions.constFirst()->property(kConvertedProperty).isValid();
}

int MenuChar(const QMenu* popup, QChar character)
{
    const QChar key = character.toUpper();
    const QList<QAction*> actions = popup->actions();
    for (qsizetype i = 0; i < actions.size() && i <= 0xFFFF; ++i) {
        if (!actions[i]->isVisible())
            continue;
        const QString label = CXPMenuItem(actions[i], popup).Label().toUpper();
        for (qsizetype j = label.size() - 2; j >= 0; --j) {
            if (label[j] == u'&' && label[j + 1] == key && (j == 0 || label[j - 1] != u'&'))
                return (MNC_EXECUTE << 16) | int(i);
        }
    }
    return 0;
}

} // namespace XPMenu
