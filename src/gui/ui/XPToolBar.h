#pragma once

#include <QToolBar>

class QToolButton;

// A toolbar with the flat look: a light background, a tinted framed box under the hot,
// pressed or checked button, a raised picture over a soft shadow on the hot button, grey
// silhouettes for disabled buttons, thin separators and a striped gripper. The bar paints its
// buttons itself; loading, layout, docking, tooltips and enabling stay QToolBar's.
class CXPToolBar : public QToolBar
{
    Q_OBJECT

public:
    explicit CXPToolBar(const QString& title, QWidget* parent = nullptr);

protected:
    void actionEvent(QActionEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void ApplyBorders();
    void FitButtons();
    void FitButton(QWidget* widget) const;
    void DrawButton(QPainter* painter, QWidget* widget, QAction* action) const;
    void DrawSeparator(QPainter* painter, const QRect& rect) const;
};
