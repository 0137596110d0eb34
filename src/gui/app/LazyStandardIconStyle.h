#pragma once

#include <QProxyStyle>

// The application's style with the toolbars' extension arrows read only when drawn. Every
// toolbar asks for its arrow while it is made, and reading the arrow's image files loads
// the image format plugins; the arrow is drawn only when a toolbar is too short.
class CLazyStandardIconStyle : public QProxyStyle
{
    Q_OBJECT

public:
    // base: the style to forward to; the proxy owns it.
    explicit CLazyStandardIconStyle(QStyle* base);

    QIcon standardIcon(StandardPixmap standardIcon, const QStyleOption* option = nullptr,
                       const QWidget* widget = nullptr) const override;
};
