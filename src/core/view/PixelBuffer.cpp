#include "PixelBuffer.h"

CPixelBuffer::CPixelBuffer(int width, int height, int bytesPerPixel)
    : m_nWidth(width), m_nHeight(height), m_nBytesPerPixel(bytesPerPixel == 3 ? 3 : 4),
      m_bytes(std::size_t(width) * height * m_nBytesPerPixel)
{
}

QImage CPixelBuffer::Image() const
{
    const QImage::Format format =
        m_nBytesPerPixel == 4 ? QImage::Format_RGB32 : QImage::Format_BGR888;
    return QImage(m_bytes.data(), m_nWidth, m_nHeight, Stride(), format);
}

QImage CPixelBuffer::ToRgb888() const
{
    return Image().convertToFormat(QImage::Format_RGB888);
}
