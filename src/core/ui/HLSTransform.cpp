#include "HLSTransform.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

// The scalings are multiplications by these stored reciprocals, not divisions.
constexpr float kOver510 = 0.0019607844f;
constexpr float kOver360 = 0.0027777778f;
constexpr float kOver255 = 0.003921569f;
constexpr float kOver60 = 0.016666668f;

struct PackedHLS
{
    int hue = 0; // 0..255 for 0..360 degrees
    int lum = 0;
    int sat = 0;
};

PackedHLS RGBToHLS(int r, int g, int b)
{
    const int max = std::max({r, g, b});
    const int min = std::min({r, g, b});
    const float l = float(max + min) * kOver510;
    float h = 0.0f;
    float s = 0.0f;
    if (max != min) {
        const float d = float(max - min);
        s = l <= 0.5f ? d / float(max + min) : d / float(510 - (max + min));
        const float rc = float(max - r) / d;
        const float gc = float(max - g) / d;
        const float bc = float(max - b) / d;
        // Later matches override earlier ones, as the order of the tests decides ties.
        if (r == max)
            h = (bc + 6.0f - gc) * 60.0f;
        if (g == max)
            h = (rc + 2.0f - bc) * 60.0f;
        if (b == max)
            h = (gc + 4.0f - rc) * 60.0f;
        if (h > 360.0f)
            h -= 360.0f;
    }
    return {int(h * 255.0f * kOver360), int(l * 255.0f), int(s * 255.0f)};
}

int Adjust(int value, int nPercent)
{
    if (nPercent > 0)
        return value + (255 - value) * nPercent / 100;
    if (nPercent < 0)
        return value * (100 + nPercent) / 100;
    return value;
}

int HueValue(float m1, float m2, float h)
{
    if (h > 360.0f)
        h -= 360.0f;
    else if (h < 0.0f)
        h += 360.0f;
    float v = m1;
    if (h < 60.0f)
        v = m1 + (m2 - m1) * h * kOver60;
    else if (h < 180.0f)
        v = m2;
    else if (h < 240.0f)
        v = m1 + (m2 - m1) * (240.0f - h) * kOver60;
    return int(v * 255.0f);
}

QColor HLSToRGB(const PackedHLS& hls)
{
    const float h = float(hls.hue * 360) * kOver255;
    const float l = float(hls.lum) * kOver255;
    const float s = float(hls.sat) * kOver255;
    if (s == 0.0f)
        return QColor(hls.lum, hls.lum, hls.lum);
    const float m2 = l <= 0.5f ? l * (1.0f + s) : l + s - l * s;
    const float m1 = 2.0f * l - m2;
    const auto channel = [](int v) { return std::clamp(v, 0, 255); };
    return QColor(channel(HueValue(m1, m2, h + 120.0f)), channel(HueValue(m1, m2, h)),
                  channel(HueValue(m1, m2, h - 120.0f)));
}

double Linear(double component)
{
    return component <= 0.03928 ? component / 12.92 : std::pow((component + 0.055) / 1.055, 2.4);
}

double RelativeLuminance(const QColor& color)
{
    return 0.2126 * Linear(color.redF()) + 0.7152 * Linear(color.greenF()) +
           0.0722 * Linear(color.blueF());
}

} // namespace

QColor HLSTransform(const QColor& base, int nLumPercent, int nSatPercent)
{
    PackedHLS hls = RGBToHLS(base.red(), base.green(), base.blue());
    hls.lum = Adjust(hls.lum, nLumPercent);
    hls.sat = Adjust(hls.sat, nSatPercent);
    return HLSToRGB(hls);
}

double ContrastRatio(const QColor& a, const QColor& b)
{
    const double la = RelativeLuminance(a);
    const double lb = RelativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor ReadableOn(const QColor& color, const QColor& background, double dMinRatio)
{
    const int nDirection = background.lightness() < 128 ? 1 : -1;
    QColor readable = color;
    for (int nPercent = 5; nPercent <= 100 && ContrastRatio(readable, background) < dMinRatio;
         nPercent += 5)
        readable = HLSTransform(color, nDirection * nPercent, 0);
    return readable;
}
