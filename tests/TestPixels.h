#pragma once

#include "ui/HLSTransform.h"

#include <QColor>
#include <QImage>
#include <QList>
#include <QPalette>
#include <QPoint>
#include <QRect>
#include <QtTest>

#include <algorithm>
#include <cstdint>
#include <utility>

// Pixel assertions: where, and how often, a colour shows in a picture.
namespace TestPixels {

// The pixels of one colour inside an area of an image (all of it when null): their count and
// bounding rectangle. With anyAlpha, a pixel counts whatever its alpha.
inline std::pair<int, QRect> Find(const QImage& image, const QColor& colour, QRect area = {},
                                  bool anyAlpha = false)
{
    std::pair<int, QRect> found;
    area = area.isNull() ? image.rect() : area;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            if (anyAlpha ? pixel.rgb() == colour.rgb() : pixel == colour) {
                ++found.first;
                found.second |= QRect(x, y, 1, 1);
            }
        }
    }
    return found;
}

// One expected pixel, relative to an origin.
struct Pixel
{
    int x;
    int y;
    QRgb rgb;
};
using Pixels = QList<Pixel>;

inline void ComparePixels(const QImage& image, const QPoint& origin, const Pixels& pixels)
{
    for (const Pixel& pixel : pixels) {
        const QRgb rgb = image.pixel(origin + QPoint(pixel.x, pixel.y));
        QVERIFY2(
            rgb == pixel.rgb,
            qPrintable(QStringLiteral("(%1, %2) is %3").arg(pixel.x).arg(pixel.y).arg(rgb, 8, 16)));
    }
}

inline int Count(const QImage& image, const QColor& colour, bool anyAlpha = false)
{
    return Find(image, colour, {}, anyAlpha).first;
}

// The best contrast any pixel of area has against background: how well text there reads.
inline double StrongestContrast(const QImage& image, const QRect& area, const QColor& background)
{
    double dBest = 1.0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            dBest = std::max(dBest, ContrastRatio(image.pixelColor(x, y), background));
    return dBest;
}

// A dark desktop's colours: light text on dark grey faces, a mid blue highlight.
inline QPalette DarkPalette()
{
    QPalette palette(QColor(53, 53, 53), QColor(53, 53, 53)); // button, window
    palette.setColor(QPalette::WindowText, QColor(230, 230, 230));
    palette.setColor(QPalette::Highlight, QColor(42, 130, 218));
    return palette;
}

// The screen colour of a colour word: each 5-bit component times 8; bit 15 is no colour.
inline QColor Screen(std::uint16_t word)
{
    return QColor((word & 31) * 8, (word >> 5 & 31) * 8, (word >> 10 & 31) * 8);
}

} // namespace TestPixels
