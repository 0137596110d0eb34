#include "PixelGrid.h"

#include "rom/SnesFormat.h"

#include <algorithm>

void CPixelGrid::Resize(int width, int height)
{
    m_nWidth = std::max(width, 0);
    m_nHeight = std::max(height, 0);
    m_bytes.assign(std::size_t(m_nWidth) * m_nHeight, 0);
}

bool CPixelGrid::Set(int x, int y, std::uint8_t index)
{
    if (!Contains(x, y))
        return false;
    m_bytes[Index(x, y)] = index;
    return true;
}

void CPixelGrid::LoadTile(const std::uint8_t* tileBytes)
{
    Resize(TILE_SIZE, TILE_SIZE);
    DecodeTile(tileBytes, m_bytes.data());
}

void CPixelGrid::StoreTile(std::uint8_t* tileBytes) const
{
    EncodeTile(m_bytes.data(), tileBytes);
}

void CPixelGrid::FillAll(std::uint8_t index)
{
    std::fill(m_bytes.begin(), m_bytes.end(), index);
}

void CPixelGrid::ShiftUp()
{
    if (m_nHeight == 0)
        return;
    std::copy(m_bytes.begin() + m_nWidth, m_bytes.end(), m_bytes.begin());
    std::fill(m_bytes.end() - m_nWidth, m_bytes.end(), 0);
}

void CPixelGrid::ShiftDown()
{
    if (m_nHeight == 0)
        return;
    std::copy_backward(m_bytes.begin(), m_bytes.end() - m_nWidth, m_bytes.end());
    std::fill(m_bytes.begin(), m_bytes.begin() + m_nWidth, 0);
}

void CPixelGrid::ShiftLeft()
{
    if (m_nWidth == 0)
        return;
    for (int y = 0; y < m_nHeight; ++y) {
        const auto row = m_bytes.begin() + Index(0, y);
        std::copy(row + 1, row + m_nWidth, row);
        row[m_nWidth - 1] = 0;
    }
}

void CPixelGrid::ShiftRight()
{
    if (m_nWidth == 0)
        return;
    for (int y = 0; y < m_nHeight; ++y) {
        const auto row = m_bytes.begin() + Index(0, y);
        std::copy_backward(row, row + m_nWidth - 1, row + m_nWidth);
        row[0] = 0;
    }
}

void CPixelGrid::FlipHorizontal()
{
    for (int y = 0; y < m_nHeight; ++y) {
        const auto row = m_bytes.begin() + Index(0, y);
        std::reverse(row, row + m_nWidth);
    }
}

void CPixelGrid::FlipVertical()
{
    for (int y = 0; y < m_nHeight / 2; ++y)
        std::swap_ranges(m_bytes.begin() + Index(0, y), m_bytes.begin() + Index(0, y + 1),
                         m_bytes.begin() + Index(0, m_nHeight - 1 - y));
}

void CPixelGrid::RotateClockwise()
{
    if (m_nWidth != m_nHeight)
        return;
    const std::vector<std::uint8_t> old = m_bytes;
    const int last = m_nWidth - 1;
    for (int y = 0; y <= last; ++y)
        for (int x = 0; x <= last; ++x)
            m_bytes[Index(last - y, x)] = old[Index(x, y)];
}

void CPixelGrid::RotateCounterClockwise()
{
    if (m_nWidth != m_nHeight)
        return;
    const std::vector<std::uint8_t> old = m_bytes;
    const int last = m_nWidth - 1;
    for (int y = 0; y <= last; ++y)
        for (int x = 0; x <= last; ++x)
            m_bytes[Index(y, last - x)] = old[Index(x, y)];
}

std::vector<QPoint> CPixelGrid::FloodFill(int x, int y, std::uint8_t index)
{
    std::vector<QPoint> changed;
    if (InToolArea(x, y))
        FillFrom(x, y, Get(x, y), index, &changed);
    return changed;
}

// Recursion is at most TOOL_AREA squared levels deep.
void CPixelGrid::FillFrom(int x, int y, std::uint8_t target, std::uint8_t index,
                          std::vector<QPoint>* changed)
{
    if (!InToolArea(x, y) || index == target || m_bytes[Index(x, y)] != target)
        return;
    m_bytes[Index(x, y)] = index;
    changed->push_back(QPoint(x, y));
    FillFrom(x - 1, y, target, index, changed);
    FillFrom(x + 1, y, target, index, changed);
    FillFrom(x, y - 1, target, index, changed);
    FillFrom(x, y + 1, target, index, changed);
}

QPoint CPixelGrid::CellAt(int x, int y, int cellSize)
{
    if (cellSize < 1)
        return QPoint(-1, -1);
    return QPoint(x / cellSize, y / cellSize);
}
