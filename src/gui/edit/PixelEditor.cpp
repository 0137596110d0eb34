#include "PixelEditor.h"

#include "rom/SnesFormat.h"

#include <QMouseEvent>
#include <QPainter>
#include <QtMath>

#include <algorithm>

CPixelEditor::CPixelEditor(QWidget* parent) : QWidget(parent)
{
    // The margin right of and below the grid is never painted: the parent shows through it.
    setAttribute(Qt::WA_NoSystemBackground);
    setCursor(m_cursors.Paint());
}

void CPixelEditor::SetGridSize(int width, int height, int cellSize)
{
    m_grid.Resize(width, height);
    if (cellSize > 0)
        m_nCellSize = cellSize;
    else
        m_nCellSize = std::max(1, m_grid.Width() > 0 ? this->width() / m_grid.Width() : 1);
    const auto side = [this](int cells) {
        return int(std::min<qint64>(qint64(m_nCellSize) * cells + 4, QWIDGETSIZE_MAX));
    };
    resize(side(m_grid.Width()), side(m_grid.Height()));
    update();
}

void CPixelEditor::SetPalette(const std::uint16_t* colors, int count)
{
    if (colors && count > 0)
        m_colors.assign(colors, colors + count);
    else
        m_colors.clear();
    update();
}

void CPixelEditor::SetPenColors(int left, int right)
{
    if (left != -1)
        m_nLeftColor = std::uint8_t(left);
    if (right != -1)
        m_nRightColor = std::uint8_t(right);
}

void CPixelEditor::SetPixel(int x, int y, std::uint8_t index)
{
    if (m_grid.Set(x, y, index))
        update(CPixelGrid::CellRect(x, y, m_nCellSize));
}

void CPixelEditor::SetMode(int mode)
{
    m_nMode = mode;
    if (mode & MODE_PAINT)
        setCursor(m_cursors.Paint());
    else if (mode & MODE_FILL)
        setCursor(m_cursors.Fill());
    else if (mode & MODE_DROPPER)
        setCursor(m_cursors.Dropper());
}

// A pixel without a colour-table entry is painted black.
void CPixelEditor::paintEvent(QPaintEvent*)
{
    if (m_grid.Bytes().empty() || m_colors.empty())
        return;
    QPainter painter(this);
    for (int y = 0; y < m_grid.Height(); ++y) {
        for (int x = 0; x < m_grid.Width(); ++x) {
            const std::uint8_t index = m_grid.Get(x, y);
            QColor color(Qt::black);
            if (index < m_colors.size()) {
                const ScreenColor screen = SnesToScreen(m_colors[index]);
                color.setRgb(screen.red, screen.green, screen.blue);
            }
            painter.fillRect(CPixelGrid::CellRect(x, y, m_nCellSize), color);
        }
    }
    // A line at every cell start; none closes the right and bottom edges.
    const QColor grey(192, 192, 192);
    const int right = m_nCellSize * m_grid.Width();
    const int bottom = m_nCellSize * m_grid.Height();
    for (int y = 0; y < bottom; y += m_nCellSize)
        painter.fillRect(0, y, right, 1, grey);
    for (int x = 0; x < right; x += m_nCellSize)
        painter.fillRect(x, 0, 1, bottom, grey);
}

QPoint CPixelEditor::CellUnder(const QMouseEvent* event) const
{
    const QPointF at = event->position();
    return CPixelGrid::CellAt(qFloor(at.x()), qFloor(at.y()), m_nCellSize);
}

void CPixelEditor::mousePressEvent(QMouseEvent* event)
{
    int button;
    if (event->button() == Qt::LeftButton) {
        m_bLeftDown = true;
        button = 0;
    } else if (event->button() == Qt::RightButton) {
        m_bRightDown = true;
        button = 1;
    } else {
        QWidget::mousePressEvent(event);
        return;
    }
    const std::uint8_t color = button == 0 ? m_nLeftColor : m_nRightColor;
    const QPoint cell = CellUnder(event);
    if (!m_bStroke && m_nMode != MODE_DROPPER) {
        m_bStroke = true;
        emit StrokeStarted();
    }
    switch (m_nMode) {
    case MODE_PAINT:
        SetPixel(cell.x(), cell.y(), color);
        emit Changed();
        break;
    case MODE_DROPPER:
        if (m_grid.InToolArea(cell.x(), cell.y()))
            emit Picked(button, m_grid.Get(cell.x(), cell.y()));
        break;
    case MODE_FILL:
        for (const QPoint& changed : m_grid.FloodFill(cell.x(), cell.y(), color))
            update(CPixelGrid::CellRect(changed.x(), changed.y(), m_nCellSize));
        emit Changed();
        break;
    }
}

// The left button wins while both are held. The implicit grab keeps moves coming outside
// the window; cells off the grid are ignored.
void CPixelEditor::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_bLeftDown && !m_bRightDown)
        return;
    const int button = m_bLeftDown ? 0 : 1;
    const std::uint8_t color = button == 0 ? m_nLeftColor : m_nRightColor;
    const QPoint cell = CellUnder(event);
    if (m_nMode == MODE_PAINT) {
        if (m_grid.Contains(cell.x(), cell.y()) && m_grid.Get(cell.x(), cell.y()) != color) {
            SetPixel(cell.x(), cell.y(), color);
            emit Changed();
        }
    } else if (m_nMode == MODE_DROPPER && m_grid.InToolArea(cell.x(), cell.y())) {
        emit Picked(button, m_grid.Get(cell.x(), cell.y()));
    }
}

void CPixelEditor::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        m_bLeftDown = false;
    else if (event->button() == Qt::RightButton)
        m_bRightDown = false;
    else
        QWidget::mouseReleaseEvent(event);
    if (m_bStroke && !m_bLeftDown && !m_bRightDown) {
        m_bStroke = false;
        emit StrokeEnded();
    }
}
