#include "ColorSwatch.h"

#include <QPainter>

CColorSwatch::CColorSwatch(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CColorSwatch::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), m_crColor);
}
