#pragma once

#include "color/PaletteLayout.h"

#include <QWidget>

#include <cstdint>
#include <functional>
#include <vector>

// The strip of palette swatches: a left press chooses the foreground colour, a right press
// the background colour, and the two boxes at the left end show both choices.
class CPaletteCtrl : public QWidget
{
    Q_OBJECT

public:
    static constexpr int PCN_SELECT = 1;
    static constexpr int PCN_COLORCHANGE = 2;

    explicit CPaletteCtrl(QWidget* parent = nullptr);

    void ClearColors();
    // Appends, so an owner replacing the palette calls ClearColors first.
    void SetColors(const std::uint16_t* colors, int count);
    void SetForeIndex(int index);
    void SetBackIndex(int index);

    int ForeIndex() const { return m_nForeIndex; }
    int BackIndex() const { return m_nBackIndex; }
    int ColorCount() const { return static_cast<int>(m_colors.size()); }

    QRect GetCellRect(int index) const { return m_layout.GetCellRect(index); }
    int HitTest(QPoint point) const { return m_layout.HitTest(point); }

    QSize sizeHint() const override;

    // Has the user edit one colour word in place; false when the edit was cancelled.
    // Runs the modal Edit Color dialog unless replaced (tests, scripted use).
    std::function<bool(std::uint16_t* pColor)> m_fnEditColor;

signals:
    // PCN_SELECT: button 1 is the left button, 2 the right one.
    void Selected(int button, int index);
    // PCN_COLORCHANGE: button 0 and the new colour word.
    void ColorChanged(int button, int index, std::uint16_t color);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    // The screen colour of a colour index, or the face colour for an index without a colour.
    QColor ColorAt(int index) const;
    bool RunEditColorDlg(std::uint16_t* pColor);

    int m_nForeIndex = 0;
    int m_nBackIndex = 1;
    std::vector<std::uint16_t> m_colors;
    CPaletteLayout m_layout;
};
