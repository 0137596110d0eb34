#pragma once

#include "edit/EditorCursors.h"
#include "edit/PixelGrid.h"

#include <QWidget>

#include <cstdint>
#include <vector>

// The magnified editing grid: one square cell per pixel of the tile, painted, picked from
// and filled with the mouse. It keeps its own copies of the pixels and the colour words and
// reports every change and pick to its owner, synchronously.
class CPixelEditor : public QWidget
{
    Q_OBJECT

public:
    static constexpr int PXN_CHANGE = 1001; // Changed()
    static constexpr int PXN_PICK = 1002;   // Picked()

    static constexpr int MODE_PAINT = 1;
    static constexpr int MODE_DROPPER = 2;
    static constexpr int MODE_FILL = 4;

    explicit CPixelEditor(QWidget* parent = nullptr);

    // Clears the pixels and sizes the window to the grid plus a 4-pixel margin right and
    // below. A cell size below 1 takes the client width divided by the width (at least 1).
    void SetGridSize(int width, int height, int cellSize);
    // Copies count colour words; none (or no colours) leaves nothing to paint with.
    void SetPalette(const std::uint16_t* colors, int count);
    // -1 keeps a colour; any other value is stored in its low 8 bits.
    void SetPenColors(int left, int right);
    // Repaints only that cell and reports nothing.
    void SetPixel(int x, int y, std::uint8_t index);
    std::uint8_t GetPixel(int x, int y) const { return m_grid.Get(x, y); }
    const CPixelGrid& Grid() const { return m_grid; }

    // The cursor follows the mode's bits: 1 paint, else 4 fill, else 2 dropper; other modes
    // keep the cursor shown.
    void SetMode(int mode);
    int Mode() const { return m_nMode; }

signals:
    void Changed();
    // A press that paints or fills, and the release of the last button held: every change
    // between them belongs to one stroke.
    void StrokeStarted();
    void StrokeEnded();
    // button: 0 left, 1 right; index: the picked pixel's colour index.
    void Picked(int button, int index);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QPoint CellUnder(const QMouseEvent* event) const;

    CPixelGrid m_grid;
    std::vector<std::uint16_t> m_colors;
    int m_nCellSize = 16;
    bool m_bLeftDown = false;
    bool m_bRightDown = false;
    bool m_bStroke = false;
    std::uint8_t m_nLeftColor = 0;
    std::uint8_t m_nRightColor = 0;
    int m_nMode = MODE_PAINT;
    CEditorCursors m_cursors;
};
