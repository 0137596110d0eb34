// Opens a ROM image and saves it COUNT times, inverting every ROM byte before
// each save, so the file alternates between two images. The crash test kills it
// at random moments.
#include "rom/GlyphoxDoc.h"

#include <QCoreApplication>

#include <cstdio>
#include <cstring>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    if (argc != 3)
        return 2;
    CGlyphoxDoc doc;
    if (!doc.OnOpenDocument(QString::fromLocal8Bit(argv[1])).ok)
        return 1;
    auto other = std::make_unique<std::uint8_t[]>(ROM_IMAGE_SIZE);
    std::memcpy(other.get(), doc.m_pImage.get(), COPIER_HEADER_SIZE);
    const std::uint8_t* image = doc.m_pImage.get();
    std::uint8_t* inverted = other.get();
    for (std::uint32_t i = COPIER_HEADER_SIZE; i < ROM_IMAGE_SIZE; ++i)
        inverted[i] = static_cast<std::uint8_t>(~image[i]);

    // Tells the test that saving starts now, so that it can aim its kills.
    std::fputs("saving\n", stdout);
    std::fflush(stdout);
    const int count = std::atoi(argv[2]);
    for (int i = 0; i < count; ++i) {
        std::swap(doc.m_pImage, other);
        if (!doc.OnSaveDocument(doc.PathName()).ok)
            return 1;
    }
    return 0;
}
