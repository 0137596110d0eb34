#pragma once

#include <QImage>
#include <QWidget>

// The luminance bar: a vertical gradient for m_dHue and m_dSat from black at the bottom,
// with a triangle right of it pointing at the current luminance. The widget reaches
// MARGIN_RIGHT pixels right of the gradient and MARGIN_Y above and below it, where the
// marker and the strip erased behind it are painted; all bar coordinates (rows, marker)
// are relative to the gradient area, BarRect().
class CLumBar : public QWidget
{
    Q_OBJECT

public:
    static constexpr int MARGIN_RIGHT = 8;
    static constexpr int MARGIN_Y = 5;

    explicit CLumBar(QWidget* parent = nullptr);

    // Places the widget so that its gradient covers the given rectangle of the parent.
    void SetBarGeometry(const QRect& bar);
    QRect BarRect() const;

    // Moves the marker without reporting anything.
    void SetLum(double lum);

    double m_dSat = 0;
    double m_dHue = 0;
    double m_dLum = 0;
    int m_nMarkerY = 0;
    bool m_bTracking = false;

signals:
    // A pick; the owner reads m_dLum.
    void Clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void Pick(const QMouseEvent* event);

    QImage m_imgField;
};
