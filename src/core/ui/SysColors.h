#pragma once

#include "ui/HLSTransform.h"

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
    bool bDark = false; // light text on a dark window

    static bool IsDark(const QPalette& palette)
    {
        return palette.color(QPalette::Active, QPalette::Window).lightness() <
               palette.color(QPalette::Active, QPalette::WindowText).lightness();
    }

    static CSysColors FromPalette(const QPalette& palette)
    {
        return {palette.color(QPalette::Active, QPalette::Highlight),
                palette.color(QPalette::Active, QPalette::Button),
                palette.color(QPalette::Active, QPalette::WindowText),
                palette.color(QPalette::Disabled, QPalette::Text),
                palette.color(QPalette::Active, QPalette::ButtonText),
                palette.color(QPalette::Active, QPalette::Dark),
                IsDark(palette)};
    }

    // A tint derived from base. The tints behind text move away from the text's lightness:
    // towards white under dark text, and in a dark palette, under light text, towards black.
    QColor Tint(const QColor& base, int nLumPercent, int nSatPercent) const
    {
        return HLSTransform(base, bDark ? -nLumPercent : nLumPercent, nSatPercent);
    }
};
