#pragma once

#include "rom/FileResult.h"

#include <QByteArray>
#include <QString>

#include <cstdint>

class CGlyphoxDoc;

// An actor's tile window as an image whose pixel values are the colour indices:
// 181 tiles in rows of 16 (128 x 96 pixels, the last row padded with index 0).
// Written as a 4-bit indexed PNG whose 16-colour table is the palette (5-bit
// components widened as c << 3 | c >> 2) with index 0 transparent; read back
// index for index from an indexed PNG of any depth, or from a true-colour one
// whose every colour is one of the palette's.
class CTileSheetImage
{
public:
    static constexpr int COLUMNS = 16;
    static constexpr int WIDTH = 128;
    static constexpr int HEIGHT = 96;

    // Whether a regular file starts with the PNG signature (never blocks).
    static bool IsPngFile(const QString& path);

    static CFileResult EncodePng(const std::uint8_t* window, const std::uint16_t palette[16],
                                 QByteArray* png);
    // The 5792 window bytes the image stands for; nothing when any pixel is invalid.
    static CFileResult Decode(const QByteArray& file, const std::uint16_t palette[16],
                              QByteArray* window);
    // Reads an image file into the actor's window as one step of the document.
    static CFileResult Import(CGlyphoxDoc& doc, int actor, const std::uint16_t palette[16],
                              const QString& path);
};
