#pragma once

#include <QColor>

// Lightens or darkens a colour in HLS space: a positive percentage moves luminance or
// saturation that far towards its maximum, a negative one that far towards zero. Single
// precision, with the rounding of the flat menus' and bars' derived colours.
QColor HLSTransform(const QColor& base, int nLumPercent, int nSatPercent);
