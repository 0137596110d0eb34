#include "OffscreenDC.h"

#include <QPaintDevice>

COffscreenDC::COffscreenDC(QPainter* target, const QRect& rect)
    : m_rect(TargetRect(target, rect)), m_dc(target, m_rect)
{
    if (m_dc.Painter()->isActive())
        m_dc.Painter()->setFont(target->font());
}

QRect COffscreenDC::TargetRect(QPainter* target, const QRect& rect)
{
    if (!rect.isEmpty())
        return rect;
    if (target->hasClipping())
        return target->clipBoundingRect().toAlignedRect();
    const QPaintDevice* device = target->device();
    return device ? QRect(0, 0, device->width(), device->height()) : QRect();
}
