#pragma once

#include <QColor>
#include <QWidget>

// A box of one solid colour. The owner writes m_crColor and calls update().
class CColorSwatch : public QWidget
{
    Q_OBJECT

public:
    explicit CColorSwatch(QWidget* parent = nullptr);

    QColor m_crColor = Qt::black;

protected:
    void paintEvent(QPaintEvent* event) override;
};
