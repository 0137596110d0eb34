#include "TileFiles.h"

#include "rom/ActorTables.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cstring>

namespace {

CFileResult WriteNewFile(const QString& path, const std::uint8_t* bytes, int size)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(reinterpret_cast<const char*>(bytes), size) != size || !file.commit())
        return CFileResult::Failure(CTileFiles::CannotCreateText());
    return CFileResult::Success();
}

// Reads up to maxBytes from the start of a regular file; false if it cannot be read.
bool ReadStart(const QString& path, int maxBytes, QByteArray* bytes)
{
    QFile file(path);
    if (QFileInfo(path).isDir() || !file.open(QIODevice::ReadOnly))
        return false;
    *bytes = file.read(maxBytes);
    return file.error() == QFileDevice::NoError;
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

CFileResult CTileFiles::ImportTileSet(std::uint8_t* image, int actor, const QString& path)
{
    QByteArray bytes;
    if (!ReadStart(path, TILESET_FILE_BYTES, &bytes))
        return CFileResult::Failure(CannotReadText());
    std::memcpy(CActorTables::TileWindow(image, actor), bytes.constData(), bytes.size());
    return CFileResult::Success();
}

CFileResult CTileFiles::ExportPalette(const std::uint8_t* image, bool battle, int palette,
                                      const QString& path)
{
    return WriteNewFile(path, image + CActorTables::PaletteOffset(battle, palette),
                        PALETTE_FILE_BYTES);
}

CFileResult CTileFiles::ImportPalette(std::uint8_t* image, bool battle, int palette,
                                      const QString& path)
{
    QByteArray bytes;
    if (!ReadStart(path, PALETTE_FILE_BYTES, &bytes))
        return CFileResult::Failure(CannotReadText());
    if (bytes.size() < PALETTE_FILE_BYTES)
        return CFileResult::Failure(PaletteTooShortText());
    std::memcpy(image + CActorTables::PaletteOffset(battle, palette), bytes.constData(),
                PALETTE_FILE_BYTES);
    return CFileResult::Success();
}
