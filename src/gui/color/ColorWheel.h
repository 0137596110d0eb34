#pragma once

#include <QImage>
#include <QWidget>

// The field of all hues (left to right) and saturations (bottom to top) at luminance 0.5,
// with a crosshair on the current pick. Picks land on a grid of one thirtieth of the size;
// the size must be at least 34 x 30 so that every grid step is above zero.
class CColorWheel : public QWidget
{
    Q_OBJECT

public:
    explicit CColorWheel(QWidget* parent = nullptr);

    // Pixel (x, h - 1 - j) holds the screen colour of HLSToSNES(x / w, 0.5, j / h).
    static QImage BuildField(QSize size);

    // Moves the crosshair without reporting anything.
    void SetHueSat(double hue, double sat);

    const QImage& Field() const { return m_imgField; }

    double m_dHue = 0;
    double m_dSat = 0;
    int m_nMarkerX = 50;
    int m_nMarkerY = 50;
    bool m_bTracking = false;

signals:
    // A pick, sent before the crosshair moves; the owner reads m_dHue and m_dSat.
    void Clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    // dragging: the grid of a width 4 pixels smaller, and one column added to the hue.
    void Pick(const QMouseEvent* event, bool dragging);

    QImage m_imgField;
};
