#pragma once

#include <QColor>
#include <QPainter>
#include <QPen>

// Selects a solid one-pixel pen for the life of the object and restores the previous pen.
class CPenSelector
{
public:
    CPenSelector(QPainter* painter, const QColor& color)
        : m_pPainter(painter), m_oldPen(painter->pen()), m_color(color)
    {
        QPen pen(color, 1);
        pen.setCosmetic(true);
        painter->setPen(pen);
    }
    ~CPenSelector() { m_pPainter->setPen(m_oldPen); }

    CPenSelector(const CPenSelector&) = delete;
    CPenSelector& operator=(const CPenSelector&) = delete;

    QColor GetColor() const { return m_color; }

private:
    QPainter* m_pPainter;
    QPen m_oldPen;
    QColor m_color;
};
