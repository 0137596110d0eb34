#pragma once

#include "rom/FileResult.h"

#include <QByteArray>
#include <QString>

#include <cstdint>

// A made-up ROM image with recognisable sprites in every actor's tile set and
// colourful palettes in both banks, so that the editor and its tests can be used
// without a game ROM. The same seed always gives the same bytes.
class CDemoRom
{
public:
    // ROM_IMAGE_SIZE bytes: a 512-byte header (zeros and a label) then the ROM.
    static QByteArray Build(std::uint32_t seed);
    // Writes the image (without its header when headerless); refuses to replace
    // an existing file unless overwrite is set.
    static CFileResult Write(const QString& path, bool headerless, std::uint32_t seed,
                             bool overwrite);
};
