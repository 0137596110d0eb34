#include "PaletteLayout.h"

CPaletteLayout::CPaletteLayout(int colorCount)
{
    SetColorCount(colorCount);
}

void CPaletteLayout::SetColorCount(int count)
{
    m_nColorCount = count > 0 ? count : 0;
}

QRect CPaletteLayout::GetCellRect(int index) const
{
    const int columns = Columns();
    if (columns == 0 || index < 0 || index >= m_nColorCount)
        return QRect();
    return QRect(INDICATOR_WIDTH + index % columns * CELL_SIZE, index / columns * CELL_SIZE,
                 CELL_SIZE, CELL_SIZE);
}

int CPaletteLayout::HitTest(QPoint point) const
{
    const int columns = Columns();
    // Division truncates toward zero, so points left of or above the cells are ruled out first.
    if (columns == 0 || point.x() < INDICATOR_WIDTH || point.y() < 0)
        return -1;
    const int column = (point.x() - INDICATOR_WIDTH) / CELL_SIZE;
    if (column >= columns)
        return -1;
    const long long index = static_cast<long long>(point.y() / CELL_SIZE) * columns + column;
    return index < m_nColorCount ? static_cast<int>(index) : -1;
}
