#include "MemDC.h"

CMemDC::CMemDC(QPainter* target, const QRect& rect) : m_pTarget(target), m_rect(rect)
{
    // Sized in device pixels so the copy stays sharp on high-density screens.
    const qreal ratio = target->device() ? target->device()->devicePixelRatioF() : 1.0;
    m_bitmap = QPixmap(rect.size() * ratio);
    m_bitmap.setDevicePixelRatio(ratio);
    if (m_bitmap.isNull())
        return;
    m_painter.begin(&m_bitmap);
    m_painter.translate(-rect.topLeft());
}

CMemDC::~CMemDC()
{
    if (!m_painter.isActive())
        return;
    m_painter.end();
    // A plain copy, whatever the target would otherwise blend.
    const QPainter::CompositionMode mode = m_pTarget->compositionMode();
    m_pTarget->setCompositionMode(QPainter::CompositionMode_Source);
    m_pTarget->drawPixmap(m_rect.topLeft(), m_bitmap);
    m_pTarget->setCompositionMode(mode);
}
