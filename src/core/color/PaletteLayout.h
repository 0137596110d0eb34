#pragma once

#include <QPoint>
#include <QRect>

// Where the palette control draws, in client pixels: the indicator area with the two
// colour boxes at the left, then the swatches, colour i in column i mod Columns() of row
// i div Columns(). Kept free of widgets so the view and the tests share it.
class CPaletteLayout
{
public:
    static constexpr int ROWS = 2;
    static constexpr int CELL_SIZE = 16;
    static constexpr int INDICATOR_WIDTH = 31;
    static constexpr int HEIGHT = ROWS * CELL_SIZE;

    explicit CPaletteLayout(int colorCount = 0);

    int ColorCount() const { return m_nColorCount; }
    void SetColorCount(int count);
    // Fewer colours than rows give no column, and so no cell at all.
    int Columns() const { return m_nColorCount / ROWS; }

    // A null rectangle for an index without a cell.
    QRect GetCellRect(int index) const;
    // The colour whose cell holds the point (left and top edges inside), or -1.
    int HitTest(QPoint point) const;

    static QRect IndicatorRect(int clientHeight)
    {
        return QRect(0, 0, INDICATOR_WIDTH, clientHeight);
    }
    // Each box is framed by a one-pixel edge and a one-pixel face ring around its colour.
    static QRect BackBoxRect() { return QRect(11, 12, 15, 15); }
    static QRect BackColorRect() { return QRect(13, 14, 11, 11); }
    // Drawn after the background box, so it covers that box's upper left corner.
    static QRect ForeBoxRect() { return QRect(4, 5, 15, 15); }
    static QRect ForeColorRect() { return QRect(6, 7, 11, 11); }

private:
    int m_nColorCount = 0;
};
