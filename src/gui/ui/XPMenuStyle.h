#pragma once

#include <QProxyStyle>

// The flat popup menus' owner draw: measures and paints every item through XPMenu, draws the
// panel without margins so items start at the client's left edge, and answers typed
// characters with the items' "&" mnemonics. Set it on each QMenu that should look flat.
class CXPMenuStyle : public QProxyStyle
{
    Q_OBJECT

public:
    explicit CXPMenuStyle(QObject* parent = nullptr);

    int pixelMetric(PixelMetric metric, const QStyleOption* option = nullptr,
                    const QWidget* widget = nullptr) const override;
    int styleHint(StyleHint hint, const QStyleOption* option = nullptr,
                  const QWidget* widget = nullptr,
                  QStyleHintReturn* returnData = nullptr) const override;
    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                           const QWidget* widget) const override;
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget = nullptr) const override;
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget = nullptr) const override;

    using QProxyStyle::polish;
    using QProxyStyle::unpolish;
    void polish(QWidget* widget) override;
    void unpolish(QWidget* widget) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
