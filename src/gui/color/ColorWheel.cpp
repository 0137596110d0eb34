#include "ColorWheel.h"

#include "color/ColorModel.h"
#include "color/MemDC.h"
#include "rom/SnesFormat.h"

#include <QCursor>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace {

// Keeps the pointer inside a widget's rectangle while a button is held; platforms that
// cannot place the pointer ignore it, and the picks clamp the position instead.
void ConfinePointer(const QWidget* widget, const QRect& local, const QMouseEvent* event)
{
    const QPoint inside(std::clamp(event->position().toPoint().x(), local.left(), local.right()),
                        std::clamp(event->position().toPoint().y(), local.top(), local.bottom()));
    if (inside != event->position().toPoint())
        QCursor::setPos(widget->mapToGlobal(inside));
}

} // namespace

CColorWheel::CColorWheel(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QImage CColorWheel::BuildField(QSize size)
{
    const int w = size.width(), h = size.height();
    QImage image(size, QImage::Format_RGB32);
    for (int j = 0; j < h; ++j) {
        auto* row = reinterpret_cast<std::uint32_t*>(image.scanLine(h - 1 - j));
        const double sat = double(j) / h;
        for (int x = 0; x < w; ++x)
            row[x] = 0xFF000000u | SnesToPixel(HLSToSNES(double(x) / w, 0.5, sat));
    }
    return image;
}

void CColorWheel::SetHueSat(double hue, double sat)
{
    m_dHue = hue;
    m_dSat = sat;
    m_nMarkerX = int(width() * hue - 1);
    m_nMarkerY = int(height() * (1 - sat) - 1);
    update();
}

void CColorWheel::resizeEvent(QResizeEvent*)
{
    // Built once for the size the owner gives; the wheel is not meant to be resized.
    if (m_imgField.size() != size())
        m_imgField = BuildField(size());
}

void CColorWheel::paintEvent(QPaintEvent*)
{
    QPainter target(this);
    CMemDC dc(&target, rect());
    dc->drawImage(0, 0, m_imgField);
    dc->setClipRect(rect());
    const int mx = m_nMarkerX, my = m_nMarkerY;
    // Four arms around an open 9 x 9 square, so the picked colour stays visible.
    for (const QRect& arm : {QRect(mx + 5, my - 1, 5, 3), QRect(mx - 1, my + 5, 3, 5),
                             QRect(mx - 9, my - 1, 5, 3), QRect(mx - 1, my - 9, 3, 5)})
        dc->fillRect(arm, Qt::black);
}

void CColorWheel::Pick(const QMouseEvent* event, bool dragging)
{
    const int w = dragging ? width() - 4 : width(), h = height();
    const QPoint point = event->position().toPoint();
    const bool keepColumn = event->modifiers() & Qt::ControlModifier;
    const bool keepRow = event->modifiers() & Qt::ShiftModifier;
    // Where the pointer cannot be confined, a position outside counts as the nearest edge.
    const int x = std::clamp(keepColumn ? m_nMarkerX : point.x(), 0, width() - 1);
    const int y = std::clamp(keepRow ? m_nMarkerY : point.y(), 0, h - 1);
    const int stepX = w / 30, stepY = h / 30;
    if (stepX <= 0 || stepY <= 0)
        return;
    const int snapX = x / stepX * stepX, snapY = y / stepY * stepY;
    // On a drag the added column can reach past the last hue; it stops at the full circle.
    m_dHue = dragging ? std::min(double(snapX + 1) / w, 1.0) : double(snapX) / w;
    m_dSat = double(h - snapY) / h;
    emit Clicked();
    m_nMarkerX = snapX;
    m_nMarkerY = snapY;
    update();
}

void CColorWheel::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    m_bTracking = true;
    ConfinePointer(this, rect(), event);
    Pick(event, false);
}

void CColorWheel::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_bTracking)
        return;
    ConfinePointer(this, rect(), event);
    Pick(event, true);
}

void CColorWheel::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        m_bTracking = false;
}
