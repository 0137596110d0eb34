#pragma once

#include "rom/FileResult.h"
#include "rom/ImageEdit.h"

#include <QString>

#include <cstdint>

class CGlyphoxDoc;

// Raw tile-set files (the 5792-byte window of an actor, no header) and palette
// files (16 little-endian colour words, 32 bytes), moved between files and the
// image buffer. A failed import leaves the buffer untouched; a failed export
// leaves no file behind.
class CTileFiles
{
public:
    static constexpr int TILESET_FILE_BYTES = 5792;
    static constexpr int PALETTE_FILE_BYTES = 32;

    static const QString& CannotCreateText();    // "Can't create export file!"
    static const QString& CannotReadText();      // "Can't read import file!"
    static const QString& PaletteTooShortText(); // "File too short to be 16 colours SNES palette!"

    // "tlset%03d.bin" and "ovwld%03d.pal" / "battl%03d.pal".
    static QString TileSetExportName(int tileSet);
    static QString PaletteExportName(bool battle, int palette);
    static QString TileSetExportedText(const QString& fileName);
    static QString PaletteExportedText(const QString& fileName);

    // image: a buffer of ROM_IMAGE_SIZE bytes; actor 0..64, palette 0..29.
    static CFileResult ExportTileSet(const std::uint8_t* image, int actor, const QString& path);
    static CFileResult ExportPalette(const std::uint8_t* image, bool battle, int palette,
                                     const QString& path);

    // The edits an import makes, read from a file: the first min(file length,
    // 5792) bytes go to the start of the actor's window; a palette needs at
    // least 32 bytes and the first 32 replace it. A failed read makes no edit.
    static CFileResult ReadTileSetImport(int actor, const QString& path, CImageEdit* edit);
    static CFileResult ReadPaletteImport(bool battle, int palette, const QString& path,
                                         CImageEdit* edit);
    // Reads and applies them to the document as one step each.
    static CFileResult ImportTileSet(CGlyphoxDoc& doc, int actor, const QString& path);
    static CFileResult ImportPalette(CGlyphoxDoc& doc, bool battle, int palette,
                                     const QString& path);
};
