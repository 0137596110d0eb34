#include "PaletteCtrl.h"

#include "color/EditColorDlg.h"
#include "color/MemDC.h"
#include "rom/SnesFormat.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPointer>

#include <algorithm>

namespace {

// Edges are drawn as one-pixel filled strips rather than cosmetic pens, so they keep their
// width at any device pixel ratio. Top and left take the first colour, bottom and right
// (with the two corners they share with top and left) the second.
void DrawRing(QPainter* painter, const QRect& rect, const QColor& topLeft,
              const QColor& bottomRight)
{
    painter->fillRect(QRect(rect.left(), rect.top(), rect.width() - 1, 1), topLeft);
    painter->fillRect(QRect(rect.left(), rect.top() + 1, 1, rect.height() - 2), topLeft);
    painter->fillRect(QRect(rect.left(), rect.bottom(), rect.width(), 1), bottomRight);
    painter->fillRect(QRect(rect.right(), rect.top(), 1, rect.height() - 1), bottomRight);
}

void DrawEtchedEdge(QPainter* painter, const QRect& rect, const QPalette& palette)
{
    DrawRing(painter, rect, palette.color(QPalette::Dark), palette.color(QPalette::Light));
    DrawRing(painter, rect.adjusted(1, 1, -1, -1), palette.color(QPalette::Light),
             palette.color(QPalette::Dark));
}

void DrawRaisedInnerEdge(QPainter* painter, const QRect& rect, const QPalette& palette)
{
    DrawRing(painter, rect, palette.color(QPalette::Light), palette.color(QPalette::Dark));
}

// A push button held down by a toggle: sunken edges around a face dithered with the light
// colour.
void DrawCheckedButton(QPainter* painter, const QRect& rect, const QPalette& palette)
{
    const QRect inside = rect.adjusted(2, 2, -2, -2);
    painter->fillRect(inside, palette.color(QPalette::Button));
    painter->fillRect(inside, QBrush(palette.color(QPalette::Light), Qt::Dense4Pattern));
    DrawRing(painter, rect, palette.color(QPalette::Dark), palette.color(QPalette::Light));
    DrawRing(painter, rect.adjusted(1, 1, -1, -1), palette.color(QPalette::Shadow),
             palette.color(QPalette::Midlight));
}

QColor ScreenColorOf(std::uint16_t word)
{
    const ScreenColor color = SnesToScreen(word);
    return QColor(color.red, color.green, color.blue);
}

} // namespace

CPaletteCtrl::CPaletteCtrl(QWidget* parent) : QWidget(parent)
{
    setFixedHeight(CPaletteLayout::HEIGHT);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    // Every pixel is painted, so Qt need not clear the background first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_fnEditColor = [this](std::uint16_t* pColor) { return RunEditColorDlg(pColor); };
}

QSize CPaletteCtrl::sizeHint() const
{
    return QSize(CPaletteLayout::INDICATOR_WIDTH +
                     PALETTE_COLORS / CPaletteLayout::ROWS * CPaletteLayout::CELL_SIZE,
                 CPaletteLayout::HEIGHT);
}

void CPaletteCtrl::ClearColors()
{
    m_colors.clear();
    m_layout.SetColorCount(0);
    update();
}

void CPaletteCtrl::SetColors(const std::uint16_t* colors, int count)
{
    if (!colors || count <= 0)
        return;
    m_colors.insert(m_colors.end(), colors, colors + count);
    m_layout.SetColorCount(ColorCount());
    update();
}

void CPaletteCtrl::SetForeIndex(int index)
{
    m_nForeIndex = index;
    update(CPaletteLayout::ForeColorRect());
}

void CPaletteCtrl::SetBackIndex(int index)
{
    m_nBackIndex = index;
    update(CPaletteLayout::BackColorRect());
}

QColor CPaletteCtrl::ColorAt(int index) const
{
    if (index < 0 || index >= ColorCount())
        return palette().color(QPalette::Button);
    return ScreenColorOf(m_colors[static_cast<std::size_t>(index)]);
}

void CPaletteCtrl::paintEvent(QPaintEvent*)
{
    QPainter target(this);
    CMemDC dc(&target, rect());
    const QPalette& colors = palette();

    dc->fillRect(rect(), colors.color(QPalette::Button));

    const QRect indicator = CPaletteLayout::IndicatorRect(height());
    DrawCheckedButton(dc.Painter(), indicator, colors);
    DrawEtchedEdge(dc.Painter(), indicator, colors);

    dc->fillRect(CPaletteLayout::BackBoxRect(), colors.color(QPalette::Button));
    DrawRaisedInnerEdge(dc.Painter(), CPaletteLayout::BackBoxRect(), colors);
    dc->fillRect(CPaletteLayout::BackColorRect(), ColorAt(m_nBackIndex));

    dc->fillRect(CPaletteLayout::ForeBoxRect(), colors.color(QPalette::Button));
    DrawRaisedInnerEdge(dc.Painter(), CPaletteLayout::ForeBoxRect(), colors);
    dc->fillRect(CPaletteLayout::ForeColorRect(), ColorAt(m_nForeIndex));

    // Only the rows the control shows; a colour beyond them has no visible cell.
    const int shown = std::min(ColorCount(), CPaletteLayout::ROWS * m_layout.Columns());
    for (int index = 0; index < shown; ++index) {
        const QRect cell = m_layout.GetCellRect(index);
        DrawEtchedEdge(dc.Painter(), cell, colors);
        dc->fillRect(cell.adjusted(2, 2, -2, -2), ColorAt(index));
    }
}

void CPaletteCtrl::mousePressEvent(QMouseEvent* event)
{
    const int index = HitTest(event->position().toPoint());
    if (index < 0)
        return;
    if (event->button() == Qt::LeftButton) {
        m_nForeIndex = index;
        update(CPaletteLayout::ForeColorRect());
        emit Selected(1, index);
    } else if (event->button() == Qt::RightButton) {
        m_nBackIndex = index;
        update(CPaletteLayout::BackColorRect());
        emit Selected(2, index);
    }
}

void CPaletteCtrl::mouseDoubleClickEvent(QMouseEvent* event)
{
    // The press before it has already chosen the colour for that button.
    event->accept();
    if (event->button() != Qt::LeftButton && event->button() != Qt::RightButton)
        return;
    const int index = HitTest(event->position().toPoint());
    if (index < 0 || !m_fnEditColor)
        return;
    std::uint16_t color = m_colors[static_cast<std::size_t>(index)];
    const QPointer<CPaletteCtrl> alive(this);
    if (!m_fnEditColor(&color) || !alive)
        return;
    // The owner may have replaced the palette while the dialog ran.
    if (index >= ColorCount())
        return;
    m_colors[static_cast<std::size_t>(index)] = color;
    update(CPaletteLayout::ForeColorRect());
    update(m_layout.GetCellRect(index));
    emit ColorChanged(0, index, color);
}

bool CPaletteCtrl::RunEditColorDlg(std::uint16_t* pColor)
{
    // On the heap and watched: closing the editor while the dialog runs deletes it with us.
    const QPointer<CEditColorDlg> dialog = new CEditColorDlg(this);
    dialog->m_wColor = *pColor;
    const bool accepted = dialog->exec() == QDialog::Accepted;
    if (!dialog)
        return false;
    if (accepted)
        *pColor = dialog->m_wColor;
    delete dialog;
    return accepted;
}
