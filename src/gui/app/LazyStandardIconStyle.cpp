#include "LazyStandardIconStyle.h"

#include "LazyIconEngine.h"

#include <QGuiApplication>
#include <QPointer>
#include <QStyleOption>

CLazyStandardIconStyle::CLazyStandardIconStyle(QStyle* base) : QProxyStyle(base) {}

QIcon CLazyStandardIconStyle::standardIcon(StandardPixmap standardIcon, const QStyleOption* option,
                                           const QWidget* widget) const
{
    const bool extensionArrow = standardIcon == SP_ToolBarHorizontalExtensionButton ||
                                standardIcon == SP_ToolBarVerticalExtensionButton;
    // The widget may not outlive this call, and of the option the arrows depend on the
    // direction alone; a request with a widget is answered at once.
    if (!extensionArrow || widget)
        return QProxyStyle::standardIcon(standardIcon, option, widget);
    const QPointer<QStyle> base = baseStyle();
    const Qt::LayoutDirection direction =
        option ? option->direction : QGuiApplication::layoutDirection();
    return QIcon(new CLazyIconEngine(
        [base, standardIcon, direction] {
            QStyleOption directed;
            directed.direction = direction;
            return base ? base->standardIcon(standardIcon, &directed) : QIcon();
        },
        {}));
}
