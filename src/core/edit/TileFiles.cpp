#include "TileFiles.h"

#include "rom/ActorTables.h"
#include "rom/GlyphoxDoc.h"

#include "rom/AtomicFile.h"
#include "rom/FileIo.h"

#include <cstring>

namespace {

// The message stays the editor's own; detail says why, for the command line.
CFileResult WriteNewFile(const QString& path, const std::uint8_t* bytes, int size)
{
    const CFileResult written =
        CAtomicFile::Write(path, QByteArrayView(reinterpret_cast<const char*>(bytes), size));
    if (written.ok)
        return written;
    CFileResult failed = CFileResult::Failure(CTileFiles::CannotCreateText());
    failed.detail = written.message;
    return failed;
}

} // namespace

const QString& CTileFiles::CannotCreateText()
{
    static const QString text = QStringLiteral("Can't create export file!");
    return text;
}

const QString& CTileFiles::CannotReadText()
{
    static const QString text = QStringLiteral("Can't read import file!");
    return text;
}

const QString& CTileFiles::PaletteTooShortText()
{
    static const QString text = QStringLiteral("File too short to be 16 colours SNES palette!");
    return text;
}

QString CTileFiles::TileSetExportName(int tileSet)
{
    return QString::asprintf("tlset%03d.bin", tileSet);
}

QString CTileFiles::PaletteExportName(bool battle, int palette)
{
    return QString::asprintf("%s%03d.pal", battle ? "battl" : "ovwld", palette);
}

QString CTileFiles::TileSetExportedText(const QString& fileName)
{
    return QStringLiteral("Exported Morrow SNES Tile Set to `%1'").arg(fileName);
}

QString CTileFiles::PaletteExportedText(const QString& fileName)
{
    return QStringLiteral("Exported SNES Palette to `%1'").arg(fileName);
}

CFileResult CTileFiles::ExportTileSet(const std::uint8_t* image, int actor, const QString& path)
{
    return WriteNewFile(path, CActorTables::TileWindow(image, actor), TILESET_FILE_BYTES);
}

CFileResult CTileFiles::ExportPalette(const std::uint8_t* image, bool battle, int palette,
                                      const QString& path)
{
    return WriteNewFile(path, image + CActorTables::PaletteOffset(battle, palette),
                        PALETTE_FILE_BYTES);
}

CFileResult CTileFiles::ReadTileSetImport(int actor, const QString& path, CImageEdit* edit)
{
    QByteArray bytes;
    if (!ReadFileStart(path, TILESET_FILE_BYTES, &bytes))
        return CFileResult::Failure(CannotReadText());
    *edit = {CActorTables::TileSetOffset(actor), bytes, QStringLiteral("Import tile set"),
             CEditSite{actor, -1, -1, -1}};
    return CFileResult::Success();
}

CFileResult CTileFiles::ReadPaletteImport(bool battle, int palette, const QString& path,
                                          CImageEdit* edit)
{
    QByteArray bytes;
    if (!ReadFileStart(path, PALETTE_FILE_BYTES, &bytes))
        return CFileResult::Failure(CannotReadText());
    if (bytes.size() < PALETTE_FILE_BYTES)
        return CFileResult::Failure(PaletteTooShortText());
    *edit = {CActorTables::PaletteOffset(battle, palette), bytes, QStringLiteral("Import palette"),
             CEditSite{-1, -1, battle ? 1 : 0, palette}};
    return CFileResult::Success();
}

CFileResult CTileFiles::ImportTileSet(CGlyphoxDoc& doc, int actor, const QString& path)
{
    CImageEdit edit;
    const CFileResult read = ReadTileSetImport(actor, path, &edit);
    if (read.ok)
        doc.Apply(edit);
    return read;
}

CFileResult CTileFiles::ImportPalette(CGlyphoxDoc& doc, bool battle, int palette,
                                      const QString& path)
{
    CImageEdit edit;
    const CFileResult read = ReadPaletteImport(battle, palette, path, &edit);
    if (read.ok)
        doc.Apply(edit);
    return read;
}
