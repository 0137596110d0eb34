#pragma once

#include <QBrush>
#include <QColor>
#include <QPainter>

// "No colour": selects the null brush, so shapes are outlined only.
inline const QColor CLR_NONE = QColor();

// Selects a solid brush (or the null brush for CLR_NONE) for the life of the object and
// restores the previous brush.
class CBrushSelector
{
public:
    CBrushSelector(QPainter* painter, const QColor& color)
        : m_pPainter(painter), m_oldBrush(painter->brush())
    {
        SetColor(color);
    }
    ~CBrushSelector() { m_pPainter->setBrush(m_oldBrush); }

    CBrushSelector(const CBrushSelector&) = delete;
    CBrushSelector& operator=(const CBrushSelector&) = delete;

    void SetColor(const QColor& color)
    {
        m_pPainter->setBrush(color.isValid() ? QBrush(color) : QBrush(Qt::NoBrush));
    }

private:
    QPainter* m_pPainter;
    QBrush m_oldBrush;
};
