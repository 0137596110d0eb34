#include "XPToolBar.h"

#include "ui/SysColors.h"
#include "XPDraw.h"

#include <QActionEvent>
#include <QLayout>
#include <QPaintEvent>
#include <QPainter>
#include <QToolButton>

namespace {

// A button is its picture with 3 pixels above and left and 4 below and right of it.
constexpr QSize kButtonMargins(7, 7);

void FrameRect(QPainter* painter, const QRect& rect, const QColor& frame, const QColor& fill)
{
    painter->fillRect(rect, fill);
    painter->setPen(frame);
    painter->setBrush(Qt::NoBrush);
    painter->drawRect(rect.adjusted(0, 0, -1, -1));
}

} // namespace

CXPToolBar::CXPToolBar(const QString& title, QWidget* parent) : QToolBar(title, parent)
{
    ApplyBorders();
    connect(this, &QToolBar::iconSizeChanged, this, &CXPToolBar::FitButtons);
    connect(this, &QToolBar::orientationChanged, this, &CXPToolBar::ApplyBorders);
    connect(this, &QToolBar::topLevelChanged, this, &CXPToolBar::ApplyBorders);
}

// QToolBar sets its layout's margins and spacing from the style whenever the style changes.
void CXPToolBar::ApplyBorders()
{
    layout()->setContentsMargins(2, 2, 3, 2);
    layout()->setSpacing(0);
}

void CXPToolBar::changeEvent(QEvent* event)
{
    QToolBar::changeEvent(event);
    if (event->type() == QEvent::StyleChange)
        ApplyBorders();
}

void CXPToolBar::actionEvent(QActionEvent* event)
{
    QToolBar::actionEvent(event);
    if (event->type() != QEvent::ActionAdded)
        return;
    QWidget* widget = widgetForAction(event->action());
    if (qobject_cast<QToolButton*>(widget) || (widget && event->action()->isSeparator())) {
        // The bar paints its buttons and separators; they keep only their behaviour.
        widget->installEventFilter(this);
        FitButton(widget);
    }
}

bool CXPToolBar::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Paint)
        return true;
    return QToolBar::eventFilter(watched, event);
}

void CXPToolBar::FitButtons()
{
    for (QAction* action : actions()) {
        if (QWidget* widget = widgetForAction(action))
            FitButton(widget);
    }
}

void CXPToolBar::FitButton(QWidget* widget) const
{
    if (qobject_cast<QToolButton*>(widget))
        widget->setFixedSize(iconSize() + kButtonMargins);
}

void CXPToolBar::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    const CSysColors colors = CSysColors::FromPalette(palette());
    const QRect clip = event->rect();
    painter.fillRect(clip, colors.Tint(colors.face, 20, 0));
    if (isMovable() && !isFloating()) {
        XPDraw::DrawGripper(&painter, rect(), orientation() == Qt::Horizontal, colors.windowText,
                            colors.face);
    }
    for (QAction* action : actions()) {
        QWidget* widget = widgetForAction(action);
        if (!widget || !widget->isVisible() || !widget->geometry().intersects(clip))
            continue;
        if (action->isSeparator())
            DrawSeparator(&painter, widget->geometry());
        else
            DrawButton(&painter, widget, action);
    }
}

void CXPToolBar::DrawButton(QPainter* painter, QWidget* widget, QAction* action) const
{
    auto* button = qobject_cast<QToolButton*>(widget);
    if (!button)
        return;
    const CSysColors colors = CSysColors::FromPalette(palette());
    const QRect rect = button->geometry();
    const bool bEnabled = button->isEnabled();
    const bool bHot = bEnabled && button->underMouse();
    const bool bChecked = button->isChecked();
    // Qt keeps a button down only while the left button is held with the cursor inside it.
    const bool bPressed = (bHot || bChecked) && button->isDown();

    if (bHot || bChecked)
        FrameRect(painter, rect, colors.highlight, colors.Tint(colors.highlight, 50, -57));
    const QIcon icon = action->icon();
    if (icon.isNull())
        return;
    const QPixmap picture = icon.pixmap(iconSize());
    if (!bEnabled) {
        painter->fillRect(rect, colors.Tint(colors.face, 20, 0));
        // A dark palette's shadow colour would vanish into the bar.
        XPDraw::DrawSilhouette(painter, rect.topLeft() + QPoint(3, 3), picture,
                               colors.bDark ? colors.grayText : colors.buttonShadow);
    } else if (bHot && !bPressed) {
        FrameRect(painter, rect, colors.highlight, colors.Tint(colors.highlight, 75, -57));
        XPDraw::DrawSilhouette(painter, rect.topLeft() + QPoint(4, 4), picture,
                               colors.Tint(colors.highlight, 50, -66));
        XPDraw::DrawPicture(painter, rect.topLeft() + QPoint(2, 2), picture, colors);
    } else {
        XPDraw::DrawPicture(painter, rect.topLeft() + QPoint(3, 3), picture, colors);
    }
}

void CXPToolBar::DrawSeparator(QPainter* painter, const QRect& rect) const
{
    const CSysColors colors = CSysColors::FromPalette(palette());
    painter->setPen(colors.Tint(colors.face, -15, 0));
    if (orientation() == Qt::Horizontal) {
        const int x = (rect.left() + rect.right() + 1) / 2 - 1;
        painter->drawLine(x, rect.top() + 2, x, rect.bottom() - 2);
    } else {
        // Across the bar, as a separator that ends a row of buttons.
        const int y = rect.bottom() + 1 - 4;
        painter->drawLine(2, y, width() - 3, y);
    }
}
