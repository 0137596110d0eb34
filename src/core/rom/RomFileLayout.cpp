#include "RomFileLayout.h"

CRomFileLayout CRomFileLayout::ForLength(qint64 length)
{
    CRomFileLayout layout;
    layout.fileLength = length;
    if (length % 1024 == 0 && length >= ROM_SIZE)
        layout.kind = Headerless;
    else if (length >= ROM_IMAGE_SIZE)
        layout.kind = Headered;
    else
        layout.kind = TooShort;
    return layout;
}
