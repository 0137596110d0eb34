#pragma once

#include <QPoint>
#include <QRect>

#include <cstdint>
#include <vector>

// The pixel editor's cells: one colour index per pixel, row by row, and the operations on
// them. Coordinates outside the grid are ignored by every operation.
class CPixelGrid
{
public:
    // The dropper and the flood fill reach only this many columns and rows from the top left:
    // one tile.
    static constexpr int TOOL_AREA = 8;

    CPixelGrid() = default;
    CPixelGrid(int width, int height) { Resize(width, height); }

    // All pixels 0; a negative width or height counts as 0.
    void Resize(int width, int height);

    int Width() const { return m_nWidth; }
    int Height() const { return m_nHeight; }
    bool Contains(int x, int y) const { return x >= 0 && x < m_nWidth && y >= 0 && y < m_nHeight; }
    bool InToolArea(int x, int y) const { return Contains(x, y) && x < TOOL_AREA && y < TOOL_AREA; }
    const std::vector<std::uint8_t>& Bytes() const { return m_bytes; }

    // 0 outside the grid.
    std::uint8_t Get(int x, int y) const { return Contains(x, y) ? m_bytes[Index(x, y)] : 0; }
    // False, and nothing stored, outside the grid.
    bool Set(int x, int y, std::uint8_t index);

    // An 8 x 8 grid from and to the 32 bytes of a SNES 4-bit-plane tile.
    void LoadTile(const std::uint8_t* tileBytes);
    void StoreTile(std::uint8_t* tileBytes) const;

    void FillAll(std::uint8_t index);
    // Vacated rows and columns become 0; nothing wraps around.
    void ShiftUp();
    void ShiftDown();
    void ShiftLeft();
    void ShiftRight();
    void FlipHorizontal();
    void FlipVertical();
    // The old top row becomes the right column (clockwise) or the left column read bottom to
    // top (counter-clockwise). A grid that is not square is left as it is.
    void RotateClockwise();
    void RotateCounterClockwise();

    // Recolours the 4-connected region of the start pixel's colour within the tool area and
    // returns the cells it set, in the order set. Nothing happens when the start pixel
    // already has the colour or lies outside the tool area.
    std::vector<QPoint> FloodFill(int x, int y, std::uint8_t index);

    // The cell under a client point: signed coordinates divided with truncation toward zero,
    // so up to cellSize - 1 pixels left of or above the grid still give column or row 0.
    // (-1, -1) for a cell size below 1.
    static QPoint CellAt(int x, int y, int cellSize);
    static QRect CellRect(int x, int y, int cellSize)
    {
        return QRect(x * cellSize, y * cellSize, cellSize, cellSize);
    }

private:
    std::size_t Index(int x, int y) const { return std::size_t(y) * m_nWidth + x; }
    void FillFrom(int x, int y, std::uint8_t target, std::uint8_t index,
                  std::vector<QPoint>* changed);

    int m_nWidth = 0;
    int m_nHeight = 0;
    std::vector<std::uint8_t> m_bytes;
};
