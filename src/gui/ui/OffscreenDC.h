#pragma once

#include "color/MemDC.h"

#include <QPainter>
#include <QRect>

// Paints an item off screen in the target's coordinates and copies it to the target in one
// transfer when it goes out of scope. An empty rectangle stands for the target's clip box.
class COffscreenDC
{
public:
    COffscreenDC(QPainter* target, const QRect& rect = QRect());

    COffscreenDC(const COffscreenDC&) = delete;
    COffscreenDC& operator=(const COffscreenDC&) = delete;

    QPainter* Painter() { return m_dc.Painter(); }
    QPainter* operator->() { return m_dc.Painter(); }
    const QRect& Rect() const { return m_rect; }

private:
    static QRect TargetRect(QPainter* target, const QRect& rect);

    QRect m_rect;
    CMemDC m_dc;
};
