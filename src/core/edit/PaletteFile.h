#pragma once

#include "rom/FileResult.h"

#include <QByteArray>
#include <QColor>
#include <QString>

#include <cstdint>
#include <vector>

class CGlyphoxDoc;

// Palette files in the formats drawing programs keep: raw SNES words (32 bytes,
// little-endian), JASC-PAL text, GIMP palettes and Adobe colour tables. Colours
// leave as 5-bit components widened to 8 bits (c << 3 | c >> 2) and come back
// rounded to the nearest 5-bit value, so an exported palette imports unchanged.
class CPaletteFile
{
public:
    enum class Format
    {
        Raw,
        Jasc,
        Gimp,
        Act
    };

    struct Colors
    {
        std::vector<std::uint16_t> words; // at most 16, bit 15 clear unless raw
        int rounded = 0;                  // colours that were off the 5-bit grid
        bool raw = false;
    };

    // ".gpl" GIMP, ".act" Adobe; ".pal", ".bin" and anything else raw.
    static Format FormatForPath(const QString& path);
    // "raw", "jasc", "gpl" or "act"; false for any other name.
    static bool FormatForName(const QString& name, Format* format);

    static QByteArray Encode(const std::uint16_t words[16], Format format);
    // Tells the format from the content (PNG signature, "JASC-PAL", "GIMP Palette",
    // a 768- or 772-byte table, otherwise raw) and reads the first 16 colours.
    static CFileResult Decode(const QByteArray& bytes, Colors* colors);

    // Reads a palette file of any format into a palette of the document, as one
    // step; the result's message says what was rounded or left out.
    static CFileResult Import(CGlyphoxDoc& doc, bool battle, int palette, const QString& path);

    static int Widen(int component) { return component << 3 | component >> 2; }
    // A colour word's three components widened, as an opaque screen colour.
    static QRgb WidenedColor(std::uint16_t word)
    {
        return qRgb(Widen(word & 31), Widen(word >> 5 & 31), Widen(word >> 10 & 31));
    }
    static int Nearest(int value);
};
