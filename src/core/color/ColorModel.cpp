#include "ColorModel.h"

namespace {

constexpr double kOneThird = 0.3333333333333333;
constexpr double kTwoThirds = 0.6666666666666666;
constexpr double kOneSixth = 0.16666666666666666;
constexpr double kComponentScale = 31.0;
constexpr double kComponentReciprocal = 0.03225806451612903;

// Truncates toward zero and keeps the low eight bits. Values that no int can hold
// (only reachable with inputs far outside 0..1, or NaN) give 0 instead of undefined
// behaviour.
int ToComponent(double c)
{
    const double scaled = c * kComponentScale;
    if (!(scaled > -2147483648.0 && scaled < 2147483648.0))
        return 0;
    return static_cast<int>(scaled) & 0xFF;
}

} // namespace

double HueToRGB(double m1, double m2, double h)
{
    if (h < 0)
        h += 1.0;
    if (h > 1)
        h -= 1.0;
    if (h * 6 < 1)
        return (m2 - m1) * h * 6 + m1;
    if (h + h < 1)
        return m2;
    if (h * 3 < 2)
        return (m2 - m1) * (kTwoThirds - h) * 6 + m1;
    return m1;
}

std::uint16_t HLSToSNES(double hue, double lum, double sat)
{
    double red = lum;
    double green = lum;
    double blue = lum;
    if (sat != 0) {
        const double m2 = lum <= 0.5 ? (sat + 1) * lum : (lum + sat) - lum * sat;
        const double m1 = (lum + lum) - m2;
        red = HueToRGB(m1, m2, hue + kOneThird);
        green = HueToRGB(m1, m2, hue);
        blue = HueToRGB(m1, m2, hue - kOneThird);
    }
    return static_cast<std::uint16_t>(ToComponent(blue) << 10 | ToComponent(green) << 5 |
                                      ToComponent(red));
}

void SNESToHLS(std::uint16_t color, double* hue, double* sat, double* lum)
{
    const double red = (color & 31) * kComponentReciprocal;
    const double green = ((color >> 5) & 31) * kComponentReciprocal;
    const double blue = ((color >> 10) & 31) * kComponentReciprocal;
    double max = red > green ? red : green;
    max = blue > max ? blue : max;
    double min = red < green ? red : green;
    min = blue < min ? blue : min;

    *lum = (min + max) * 0.5;
    if (max == min) {
        *hue = 0;
        *sat = 0;
        return;
    }
    const double delta = max - min;
    *sat = *lum < 0.5 ? delta / (min + max) : delta / ((2 - max) - min);

    double h;
    if (red == max)
        h = (green - blue) / delta;
    else if (green == max)
        h = (blue - red) / delta + 2;
    else
        h = (red - green) / delta + 4;
    h = h * kOneSixth;
    if (h < 0)
        h += 1.0;
    *hue = h;
}

int HLSToField(double value)
{
    return static_cast<int>(value * 30.0);
}

double FieldToHLS(int value)
{
    return value * 0.03333333333333333;
}
