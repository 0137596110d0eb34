#include "BarItem.h"

using namespace MenuBarLayout;

void CBarItem::Layout(const QPoint& origin, bool bHorizontal)
{
    ModifyState(bHorizontal ? 0 : kStateHorz, bHorizontal ? kStateHorz : 0);
    if (HasState(kStateHidden))
        m_rcItem = QRect();
    else
        m_rcItem = QRect(origin, bHorizontal ? m_sizeHorz : m_sizeHorz.transposed());
}

void CBarItem::ModifyState(std::uint8_t nRemove, std::uint8_t nAdd)
{
    m_nState = std::uint8_t((m_nState & ~nRemove) | nAdd);
}

QSize CBarItem::HorizontalSize() const
{
    return HasState(kStateHidden) ? QSize(0, 0) : m_sizeHorz;
}
