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
    QByteArray rom(reinterpret_cast<const char*>(doc.Image()) + COPIER_HEADER_SIZE, ROM_SIZE);
    QByteArray inverted = rom;
    for (char& byte : inverted)
        byte = char(~byte);

    // Tells the test that saving starts now, so that it can aim its kills.
    std::fputs("saving\n", stdout);
    std::fflush(stdout);
    const int count = std::atoi(argv[2]);
    for (int i = 0; i < count; ++i) {
        doc.Apply({COPIER_HEADER_SIZE, i % 2 ? rom : inverted, QStringLiteral("Flip"), {}});
        if (!doc.OnSaveDocument(doc.PathName()).ok)
            return 1;
    }
    return 0;
}
