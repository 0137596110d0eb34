#pragma once

#include <QPainter>
#include <QPixmap>
#include <QRect>

// Paints one area of a target off screen: everything drawn through this object, in the
// target's coordinates, reaches the target in a single copy when the object is destroyed.
// The caller covers the whole rectangle, since the pixmap starts with undefined content.
class CMemDC
{
public:
    CMemDC(QPainter* target, const QRect& rect);
    ~CMemDC();

    CMemDC(const CMemDC&) = delete;
    CMemDC& operator=(const CMemDC&) = delete;

    QPainter* Painter() { return &m_painter; }
    QPainter* operator->() { return &m_painter; }

private:
    QPixmap m_bitmap;
    QPainter* m_pTarget;
    QRect m_rect;
    QPainter m_painter;
};
