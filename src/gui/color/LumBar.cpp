#include "LumBar.h"

#include "color/ColorModel.h"
#include "rom/SnesFormat.h"
#include "ui/SysColors.h"

#include <QCursor>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

CLumBar::CLumBar(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CLumBar::SetBarGeometry(const QRect& bar)
{
    setGeometry(bar.adjusted(0, -MARGIN_Y, MARGIN_RIGHT, MARGIN_Y));
}

QRect CLumBar::BarRect() const
{
    return QRect(0, MARGIN_Y, std::max(width() - MARGIN_RIGHT, 0),
                 std::max(height() - 2 * MARGIN_Y, 0));
}

void CLumBar::SetLum(double lum)
{
    m_dLum = lum;
    m_nMarkerY = int(BarRect().height() * (1 - lum));
    update();
}

void CLumBar::paintEvent(QPaintEvent*)
{
    const int w = BarRect().width(), h = BarRect().height();
    if (m_imgField.size() != BarRect().size())
        m_imgField = QImage(BarRect().size(), QImage::Format_RGB32);
    for (int j = 0; j < h; ++j) {
        const std::uint16_t word = HLSToSNES(m_dHue, double(j) / h, m_dSat);
        auto* row = reinterpret_cast<std::uint32_t*>(m_imgField.scanLine(h - 1 - j));
        std::fill(row, row + w, 0xFF000000u | SnesToPixel(word));
    }

    QPainter painter(this);
    const QColor face = palette().color(QPalette::Window);
    // The margins left of the erase strip and above and below the bar show the surface.
    painter.fillRect(QRect(w, 0, 2, height()), face);
    painter.fillRect(QRect(w + 7, 0, width() - w - 7, height()), face);
    painter.fillRect(QRect(0, 0, w, MARGIN_Y), face);
    painter.fillRect(QRect(0, MARGIN_Y + h, w, height() - MARGIN_Y - h), face);

    painter.translate(0, MARGIN_Y);
    painter.drawImage(0, 0, m_imgField);
    painter.fillRect(QRect(w + 2, -MARGIN_Y, 5, h + 2 * MARGIN_Y), face);
    // Black would vanish on a dark face: there the marker takes the text colour.
    const QColor marker =
        CSysColors::IsDark(palette()) ? palette().color(QPalette::WindowText) : QColor(Qt::black);
    // Each line ends one column short of w + 7, as a line's end point is not drawn.
    for (int k = 0; k < 10; ++k) {
        const int from = k < 5 ? w + 6 - k : w + 7 - (9 - k);
        if (from < w + 7)
            painter.fillRect(QRect(from, m_nMarkerY - 4 + k, w + 7 - from, 1), marker);
    }
}

void CLumBar::Pick(const QMouseEvent* event)
{
    const QRect bar = BarRect();
    const int h = bar.height(), step = h / 30;
    if (step <= 0)
        return;
    // Where the pointer cannot be confined, a position above or below counts as the edge.
    const int y = std::clamp(event->position().toPoint().y() - bar.top(), 0, h - 1);
    m_nMarkerY = y / step * step;
    m_dLum = double(h - m_nMarkerY) / h;
    emit Clicked();
    update();
}

void CLumBar::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    m_bTracking = true;
    mouseMoveEvent(event);
}

void CLumBar::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_bTracking)
        return;
    // Up and down only: an 8-pixel strip over the bar's right edge and the marker.
    const QRect bar = BarRect();
    const QRect strip(bar.right() - 1, bar.top(), 8, bar.height());
    const QPoint point = event->position().toPoint();
    const QPoint inside(std::clamp(point.x(), strip.left(), strip.right()),
                        std::clamp(point.y(), strip.top(), strip.bottom()));
    if (inside != point)
        QCursor::setPos(mapToGlobal(inside));
    Pick(event);
}

void CLumBar::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        m_bTracking = false;
}
