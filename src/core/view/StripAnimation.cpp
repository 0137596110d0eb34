#include "StripAnimation.h"

#include "edit/PaletteFile.h"
#include "rom/ActorTables.h"
#include "rom/SnesFormat.h"

#include <gif_lib.h>

#include <array>

namespace {

int AppendToByteArray(GifFileType* gif, const GifByteType* data, int size)
{
    static_cast<QByteArray*>(gif->UserData)->append(reinterpret_cast<const char*>(data), size);
    return size;
}

} // namespace

QImage CStripAnimation::IndexedStep(int strip, int step, const std::uint8_t* window,
                                    const std::uint16_t palette[16], int scale)
{
    const CActorTables::StripMap& map = CActorTables::Strip(strip);
    const int variant = CActorTables::StripVariantForStep(strip, step);
    const int cell = TILE_SIZE * scale;
    QImage image(map.width * cell, CActorTables::STRIP_ROWS * cell, QImage::Format_Indexed8);
    QList<QRgb> colors;
    for (int i = 0; i < PALETTE_COLORS; ++i)
        colors << (i == 0 ? CPaletteFile::WidenedColor(palette[i]) & 0xFFFFFF
                          : CPaletteFile::WidenedColor(palette[i]));
    image.setColorTable(colors);
    image.fill(0);
    std::uint8_t pixels[TILE_PIXELS];
    for (int c = 0; c < map.CellCount(); ++c) {
        const std::int16_t entry = map.Entry(variant, c);
        if (entry == CActorTables::EMPTY_CELL)
            continue;
        DecodeTile(window + TILE_BYTES * (entry & 0xFF), pixels);
        const bool mirrored = entry & CActorTables::MIRRORED;
        const int left = c % map.width * cell;
        const int top = c / map.width * cell;
        for (int y = 0; y < cell; ++y) {
            uchar* row = image.scanLine(top + y) + left;
            for (int x = 0; x < cell; ++x) {
                const int column = mirrored ? TILE_SIZE - 1 - x / scale : x / scale;
                row[x] = pixels[y / scale * TILE_SIZE + column];
            }
        }
    }
    return image;
}

CFileResult CStripAnimation::EncodeGif(int strip, const std::uint8_t* window,
                                       const std::uint16_t palette[16], int scale, QByteArray* out)
{
    QByteArray bytes;
    int error = 0;
    GifFileType* gif = EGifOpen(&bytes, AppendToByteArray, &error);
    if (!gif)
        return CFileResult::Failure(QStringLiteral("Cannot start the GIF encoder."));
    std::array<GifColorType, PALETTE_COLORS> colors{};
    for (int i = 0; i < PALETTE_COLORS; ++i) {
        const QRgb color = CPaletteFile::WidenedColor(palette[i]);
        colors[i] = {GifByteType(qRed(color)), GifByteType(qGreen(color)),
                     GifByteType(qBlue(color))};
    }
    ColorMapObject* map = GifMakeMapObject(PALETTE_COLORS, colors.data());
    const QImage first = IndexedStep(strip, 0, window, palette, scale);
    static const char kLoop[] = "NETSCAPE2.0";
    static const GifByteType kForever[3] = {1, 0, 0};
    EGifSetGifVersion(gif, true);
    bool ok = map && EGifPutScreenDesc(gif, first.width(), first.height(), 4, 0, map) == GIF_OK &&
              EGifPutExtensionLeader(gif, APPLICATION_EXT_FUNC_CODE) == GIF_OK &&
              EGifPutExtensionBlock(gif, 11, kLoop) == GIF_OK &&
              EGifPutExtensionBlock(gif, 3, kForever) == GIF_OK &&
              EGifPutExtensionTrailer(gif) == GIF_OK;
    for (int step = 0; ok && step < CActorTables::StripStepCount(strip); ++step) {
        const QImage frame = IndexedStep(strip, step, window, palette, scale);
        GraphicsControlBlock control{DISPOSE_BACKGROUND, false, STEP_MS / 10, 0};
        GifByteType extension[4];
        EGifGCBToExtension(&control, extension);
        ok = EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, extension) == GIF_OK &&
             EGifPutImageDesc(gif, 0, 0, frame.width(), frame.height(), false, nullptr) == GIF_OK;
        for (int y = 0; ok && y < frame.height(); ++y)
            ok = EGifPutLine(gif, const_cast<GifPixelType*>(frame.constScanLine(y)),
                             frame.width()) == GIF_OK;
    }
    ok = EGifCloseFile(gif, &error) == GIF_OK && ok;
    GifFreeMapObject(map);
    if (!ok)
        return CFileResult::Failure(QStringLiteral("The GIF encoder failed."));
    *out = bytes;
    return CFileResult::Success();
}
