#pragma once

#include "rom/SnesFormat.h"

#include <QImage>

#include <cstdint>
#include <vector>

// A caller-owned pixel buffer in the renderers' layout: blue, green, red
// (and a 0 at 4 bytes per pixel), rows back to back.
class CPixelBuffer
{
public:
    CPixelBuffer(int width, int height, int bytesPerPixel);

    int Width() const { return m_nWidth; }
    int Height() const { return m_nHeight; }
    int BytesPerPixel() const { return m_nBytesPerPixel; }
    int Stride() const { return m_nWidth * m_nBytesPerPixel; }
    std::uint8_t* Bits() { return m_bytes.data(); }
    const std::uint8_t* Bits() const { return m_bytes.data(); }
    std::size_t SizeInBytes() const { return m_bytes.size(); }

    // A QImage over these bytes (no copy): Format_RGB32 at 4 bytes per pixel,
    // Format_BGR888 at 3. Valid while the buffer lives and is not resized.
    QImage Image() const;
    // A deep copy in 8-bit RGB, as written to PNG files.
    QImage ToRgb888() const;

private:
    int m_nWidth;
    int m_nHeight;
    int m_nBytesPerPixel;
    std::vector<std::uint8_t> m_bytes;
};
