#include "TileSheetImage.h"

#include "edit/PaletteFile.h"
#include "rom/ActorTables.h"
#include "rom/GlyphoxDoc.h"
#include "edit/TileFiles.h"
#include "rom/FileIo.h"
#include "rom/SnesFormat.h"

#include <QImage>

#include <png.h>

namespace {

constexpr qint64 kMaxImageFile = 16 << 20;

// Pixel (x, y) of the sheet belongs to tile (y / 8) * 16 + x / 8, row y % 8, column x % 8.
int TileAt(int x, int y)
{
    return (y / TILE_SIZE) * CTileSheetImage::COLUMNS + x / TILE_SIZE;
}

void AppendToByteArray(png_structp png, png_bytep data, png_size_t size)
{
    static_cast<QByteArray*>(png_get_io_ptr(png))
        ->append(reinterpret_cast<const char*>(data), qsizetype(size));
}

// The colour index a true-colour pixel stands for: 0 when fully transparent, else the
// first palette entry with the same 5-bit components; -1 when there is none.
int IndexOfColor(QRgb pixel, const std::uint16_t palette[16])
{
    if (qAlpha(pixel) == 0)
        return 0;
    const int word = qRed(pixel) >> 3 | (qGreen(pixel) >> 3) << 5 | (qBlue(pixel) >> 3) << 10;
    for (int i = 0; i < PALETTE_COLORS; ++i)
        if ((palette[i] & 0x7FFF) == word)
            return i;
    return -1;
}

} // namespace

bool CTileSheetImage::IsPngFile(const QString& path)
{
    QByteArray signature;
    return ReadFileStart(path, 8, &signature) && signature == QByteArray("\x89PNG\r\n\x1a\n", 8);
}

CFileResult CTileSheetImage::EncodePng(const std::uint8_t* window, const std::uint16_t palette[16],
                                       QByteArray* out)
{
    // Index rows, two pixels a byte, high nibble first; tiles past the window stay 0.
    QByteArray rows(HEIGHT * WIDTH / 2, '\0');
    std::uint8_t pixels[TILE_PIXELS];
    for (int tile = 0; tile < CActorTables::WINDOW_TILES; ++tile) {
        DecodeTile(window + TILE_BYTES * tile, pixels);
        const int left = tile % COLUMNS * TILE_SIZE;
        const int top = tile / COLUMNS * TILE_SIZE;
        for (int i = 0; i < TILE_PIXELS; ++i) {
            const int x = left + i % TILE_SIZE;
            const int y = top + i / TILE_SIZE;
            rows[y * WIDTH / 2 + x / 2] =
                char(rows[y * WIDTH / 2 + x / 2] | (pixels[i] & 15) << (x % 2 ? 0 : 4));
        }
    }

    QByteArray png;
    png_structp writer = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = writer ? png_create_info_struct(writer) : nullptr;
    if (!info) {
        png_destroy_write_struct(&writer, nullptr);
        return CFileResult::Failure(QStringLiteral("Cannot start the PNG encoder."));
    }
    if (setjmp(png_jmpbuf(writer))) {
        png_destroy_write_struct(&writer, &info);
        return CFileResult::Failure(QStringLiteral("The PNG encoder failed."));
    }
    png_set_write_fn(writer, &png, AppendToByteArray, nullptr);
    png_set_IHDR(writer, info, WIDTH, HEIGHT, 4, PNG_COLOR_TYPE_PALETTE, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_color colors[PALETTE_COLORS];
    for (int i = 0; i < PALETTE_COLORS; ++i) {
        const QRgb color = CPaletteFile::WidenedColor(palette[i]);
        colors[i] = {png_byte(qRed(color)), png_byte(qGreen(color)), png_byte(qBlue(color))};
    }
    png_set_PLTE(writer, info, colors, PALETTE_COLORS);
    png_byte transparent = 0;
    png_set_tRNS(writer, info, &transparent, 1, nullptr);
    png_write_info(writer, info);
    for (int y = 0; y < HEIGHT; ++y)
        png_write_row(writer, reinterpret_cast<png_const_bytep>(rows.constData() + y * WIDTH / 2));
    png_write_end(writer, nullptr);
    png_destroy_write_struct(&writer, &info);
    *out = png;
    return CFileResult::Success();
}

CFileResult CTileSheetImage::Decode(const QByteArray& file, const std::uint16_t palette[16],
                                    QByteArray* window)
{
    const QImage image = QImage::fromData(file, "PNG");
    if (image.isNull())
        return CFileResult::Failure(QStringLiteral("The file is not a readable PNG image."));
    if (image.width() != WIDTH || image.height() != HEIGHT)
        return CFileResult::Failure(
            QStringLiteral("The image is %1 x %2 pixels; a tile sheet is %3 x %4.")
                .arg(image.width())
                .arg(image.height())
                .arg(WIDTH)
                .arg(HEIGHT));
    const bool indexed = image.format() == QImage::Format_Indexed8 ||
                         image.format() == QImage::Format_Mono ||
                         image.format() == QImage::Format_MonoLSB;
    QByteArray result(CActorTables::WINDOW_BYTES, '\0');
    std::uint8_t pixels[CActorTables::WINDOW_TILES][TILE_PIXELS] = {};
    for (int y = 0; y < HEIGHT; ++y) {
        for (int x = 0; x < WIDTH; ++x) {
            const int tile = TileAt(x, y);
            if (tile >= CActorTables::WINDOW_TILES)
                continue; // the padding of the last row
            const int index =
                indexed ? image.pixelIndex(x, y) : IndexOfColor(image.pixel(x, y), palette);
            if (indexed && index > 15)
                return CFileResult::Failure(
                    QStringLiteral("Pixel (%1, %2) has colour index %3; tiles use indices 0 to 15.")
                        .arg(x)
                        .arg(y)
                        .arg(index));
            if (index < 0)
                return CFileResult::Failure(
                    QStringLiteral("Pixel (%1, %2) has colour #%3, which is not one of the "
                                   "palette's 16 colours.")
                        .arg(x)
                        .arg(y)
                        .arg(image.pixel(x, y) & 0xFFFFFF, 6, 16, QLatin1Char('0')));
            pixels[tile][y % TILE_SIZE * TILE_SIZE + x % TILE_SIZE] = std::uint8_t(index);
        }
    }
    for (int tile = 0; tile < CActorTables::WINDOW_TILES; ++tile)
        EncodeTile(pixels[tile],
                   reinterpret_cast<std::uint8_t*>(result.data()) + TILE_BYTES * tile);
    *window = result;
    return CFileResult::Success();
}

CFileResult CTileSheetImage::Import(CGlyphoxDoc& doc, int actor, const std::uint16_t palette[16],
                                    const QString& path)
{
    QByteArray bytes;
    if (!ReadFileStart(path, kMaxImageFile + 1, &bytes) || bytes.size() > kMaxImageFile)
        return CFileResult::Failure(CTileFiles::CannotReadText());
    QByteArray window;
    if (const CFileResult decoded = Decode(bytes, palette, &window); !decoded.ok)
        return decoded;
    doc.Apply({CActorTables::TileSetOffset(actor),
               window,
               QStringLiteral("Import tile set from image"),
               {actor, -1, -1, -1}});
    return CFileResult::Success();
}
