#pragma once

#include <QColor>

// Lightens or darkens a colour in HLS space: a positive percentage moves luminance or
// saturation that far towards its maximum, a negative one that far towards zero. Single
// precision, with the rounding of the flat menus' and bars' derived colours.
QColor HLSTransform(const QColor& base, int nLumPercent, int nSatPercent);

// The contrast ratio of two opaque colours from their relative luminances: 1 for equal
// colours up to 21 for black on white.
double ContrastRatio(const QColor& a, const QColor& b);

// color with its luminance moved away from background's in 5 % steps until the two reach
// dMinRatio, or as far as it goes; color itself when it already does.
QColor ReadableOn(const QColor& color, const QColor& background, double dMinRatio = 4.5);
