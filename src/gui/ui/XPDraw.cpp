#include "XPDraw.h"

#include "ui/HLSTransform.h"
#include "ui/SysColors.h"

#include <QImage>
#include <QPainter>

namespace XPDraw {

void DrawGripper(QPainter* painter, const QRect& rect, bool bHorizontal, const QColor& text,
                 const QColor& face)
{
    const QRect strip = bHorizontal ? QRect(rect.left() + 4, rect.top() + 6, 3, rect.height() - 12)
                                    : QRect(rect.left() + 6, rect.top() + 4, rect.width() - 12, 3);
    if (strip.isEmpty())
        return;
    painter->fillRect(strip, face);
    if (bHorizontal) {
        for (int y = strip.top() + ((strip.top() & 1) ? 0 : 1); y <= strip.bottom(); y += 2)
            painter->fillRect(QRect(strip.left(), y, strip.width(), 1), text);
    } else {
        for (int x = strip.left() + ((strip.left() & 1) ? 0 : 1); x <= strip.right(); x += 2)
            painter->fillRect(QRect(x, strip.top(), 1, strip.height()), text);
    }
}

void DrawSilhouette(QPainter* painter, const QPoint& topLeft, const QPixmap& picture,
                    const QColor& color)
{
    if (picture.isNull())
        return;
    QImage shape = picture.toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QPainter shapePainter(&shape);
    shapePainter.setCompositionMode(QPainter::CompositionMode_SourceIn);
    shapePainter.fillRect(shape.rect(), color);
    shapePainter.end();
    painter->drawImage(topLeft, shape);
}

void DrawPicture(QPainter* painter, const QPoint& topLeft, const QPixmap& picture,
                 const CSysColors& colors)
{
    if (colors.bDark) {
        const QColor outline = HLSTransform(colors.face, 50, 0);
        for (const QPoint& step : {QPoint(-1, 0), QPoint(1, 0), QPoint(0, -1), QPoint(0, 1)})
            DrawSilhouette(painter, topLeft + step, picture, outline);
    }
    painter->drawPixmap(topLeft, picture);
}

} // namespace XPDraw
