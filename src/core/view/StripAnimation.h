#pragma once

#include "rom/FileResult.h"

#include <QByteArray>
#include <QImage>

#include <cstdint>

// A strip's poses as indexed pictures: each pixel the colour index of its tile
// (mirrored cells mirrored, empty cells and index 0 transparent), magnified 1 to 8
// times, with the palette as colour table; and the strip's whole animation cycle
// (4 steps, 2 or 1, 250 ms each) as a looping GIF written with giflib.
class CStripAnimation
{
public:
    static constexpr int STEP_MS = 250;
    static constexpr int MAX_SCALE = 8;

    static QImage IndexedStep(int strip, int step, const std::uint8_t* window,
                              const std::uint16_t palette[16], int scale);
    static CFileResult EncodeGif(int strip, const std::uint8_t* window,
                                 const std::uint16_t palette[16], int scale, QByteArray* gif);
};
