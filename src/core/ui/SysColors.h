#pragma once

#include <QColor>
#include <QPalette>

// The system colours the flat menus and bars are drawn from, read from a widget's palette
// at paint time so that a palette change shows at the next paint.
struct CSysColors
{
    QColor highlight;
    QColor face; // 3D face
    QColor windowText;
    QColor grayText;
    QColor buttonText;
    QColor buttonShadow;

    static CSysColors FromPalette(const QPalette& palette)
    {
        return {palette.color(QPalette::Active, QPalette::Highlight),
                palette.color(QPalette::Active, QPalette::Button),
                palette.color(QPalette::Active, QPalette::WindowText),
                palette.color(QPalette::Disabled, QPalette::Text),
                palette.color(QPalette::Active, QPalette::ButtonText),
                palette.color(QPalette::Active, QPalette::Dark)};
    }
};
