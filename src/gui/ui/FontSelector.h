#pragma once

#include <QFont>
#include <QPainter>

// Makes the painter's font bold (weight 700) or normal (400) for the life of the object,
// touching the painter only when the weight differs, and restores the previous font.
class CFontSelector
{
public:
    CFontSelector(QPainter* painter, bool bBold) : m_pPainter(painter)
    {
        const QFont font = painter->font();
        const bool bIsBold = font.weight() == QFont::Bold;
        if (bBold == bIsBold)
            return;
        m_oldFont = font;
        m_bSelected = true;
        QFont changed = font;
        changed.setWeight(bBold ? QFont::Bold : QFont::Normal);
        painter->setFont(changed);
    }
    ~CFontSelector()
    {
        if (m_bSelected)
            m_pPainter->setFont(m_oldFont);
    }

    CFontSelector(const CFontSelector&) = delete;
    CFontSelector& operator=(const CFontSelector&) = delete;

private:
    QPainter* m_pPainter;
    QFont m_oldFont;
    bool m_bSelected = false;
};
