#include "DemoRom.h"

#include "rom/AtomicFile.h"

#include "color/ColorModel.h"
#include "rom/ActorTables.h"
#include "rom/RomFileLayout.h"
#include "rom/SnesFormat.h"

#include <QDir>
#include <QFileInfo>

#include <cmath>
#include <cstring>

namespace {

// Palette layout of the demo sprites.
enum Ink : std::uint8_t
{
    Clear = 0,
    Outline = 1,
    Skin = 2,  // 2..4, light to dark
    Body = 6,  // 6..9
    Legs = 10, // 10..12
    Hair = 13,
    Eye = 14,
    Gold = 15,
};

class Random
{
public:
    explicit Random(std::uint32_t seed) : m_state(seed * 2654435761u + 0x9E3779B9u) {}
    std::uint32_t Next()
    {
        m_state ^= m_state << 13;
        m_state ^= m_state >> 17;
        m_state ^= m_state << 5;
        return m_state;
    }
    int Below(int n) { return int(Next() % std::uint32_t(n)); }

private:
    std::uint32_t m_state;
};

// The look of one actor's figure.
struct Figure
{
    int headRadius;
    int bodyHalfWidth;
    bool hat;
    bool cape;
};

// Colour index of pixel (x, y) of a 16 x 24 figure in a pose: head, body, arms
// that move with the pose and legs that walk.
std::uint8_t FigurePixel(const Figure& f, int pose, int x, int y)
{
    const double dx = x - 7.5;
    const double dy = y - 5.5;
    const double head = std::sqrt(dx * dx + dy * dy);
    if (head <= f.headRadius + 0.5) {
        if (head > f.headRadius - 0.6)
            return Outline;
        if ((y == 5) && (x == 6 || x == 9) && pose % 5 != 4)
            return Eye;
        if (f.hat && y <= 3)
            return Hair;
        return static_cast<std::uint8_t>(Skin + (x > 8) + (y > 7));
    }
    if (f.hat && y == 1 && x >= 4 && x <= 11)
        return Gold;
    const int left = 8 - f.bodyHalfWidth;
    const int right = 7 + f.bodyHalfWidth;
    if (y >= 11 && y <= 17 && x >= left && x <= right) {
        if (x == left || x == right || y == 11 || y == 17)
            return Outline;
        return static_cast<std::uint8_t>(Body + (y - 12) / 2);
    }
    // Arms: swing by pose, one pixel wide lines from the shoulders.
    const int swing = pose % 4 - 1;
    for (int side = 0; side < 2; ++side) {
        const int shoulder = side == 0 ? left - 1 : right + 1;
        const int reach = side == 0 ? -swing : swing;
        for (int k = 0; k < 5; ++k) {
            const int ax = shoulder + (side == 0 ? -1 : 1) * (k * std::abs(reach) / 3);
            const int ay = 12 + (reach < 0 ? -k : k);
            if (x == ax && y == ay)
                return k == 4 ? Gold : Skin;
        }
    }
    if (f.cape && y >= 12 && y <= 19 && (x == left - 1 || x == right + 1))
        return Hair;
    // Legs: two columns of three pixels, one stepping forward every other pose.
    if (y >= 18) {
        const int step = pose % 2;
        const int legLeft = 5 - step;
        const int legRight = 9 + step;
        if ((x >= legLeft && x < legLeft + 3) || (x >= legRight && x < legRight + 3))
            return static_cast<std::uint8_t>(y == 23 ? Outline : Legs + (y - 18) / 2);
    }
    return Clear;
}

// Tiles go in poses of six: two across, three down, numbered row by row.
void DrawActorTiles(std::uint8_t* window, int tiles, const Figure& figure)
{
    for (int t = 0; t < tiles; ++t) {
        const int pose = t / 6;
        const int part = t % 6;
        std::uint8_t pixels[TILE_PIXELS];
        for (int y = 0; y < TILE_SIZE; ++y)
            for (int x = 0; x < TILE_SIZE; ++x)
                pixels[8 * y + x] =
                    FigurePixel(figure, pose, 8 * (part % 2) + x, 8 * (part / 2) + y);
        EncodeTile(pixels, window + TILE_BYTES * t);
    }
}

int OwnTiles(int actor)
{
    if (actor + 1 < CActorTables::ACTOR_COUNT)
        return int(CActorTables::TileSetOffset(actor + 1) - CActorTables::TileSetOffset(actor)) /
               TILE_BYTES;
    return 40;
}

std::uint16_t Shade(double hue, double lum, double sat)
{
    return HLSToSNES(hue - std::floor(hue), lum, sat);
}

void WritePalette(std::uint8_t* at, double hue, double bankLum)
{
    const std::uint16_t words[PALETTE_COLORS] = {
        0x5AD6,                // grey: transparent in sprites, shown in the pixel editor
        Shade(hue, 0.08, 0.3), // outline
        Shade(0.07, 0.80 * bankLum, 0.6),
        Shade(0.07, 0.65 * bankLum, 0.55),
        Shade(0.07, 0.50 * bankLum, 0.5),
        Shade(0.07, 0.35 * bankLum, 0.5),
        Shade(hue, 0.70 * bankLum, 0.9),
        Shade(hue, 0.55 * bankLum, 0.9),
        Shade(hue, 0.42 * bankLum, 0.9),
        Shade(hue, 0.30 * bankLum, 0.9),
        Shade(hue + 0.5, 0.60 * bankLum, 0.7),
        Shade(hue + 0.5, 0.45 * bankLum, 0.7),
        Shade(hue + 0.5, 0.30 * bankLum, 0.7),
        Shade(hue + 0.25, 0.45, 0.8), // hair and hats
        0x7FFF,                       // eyes
        Shade(0.14, 0.55, 1.0),       // gold
    };
    for (int i = 0; i < PALETTE_COLORS; ++i)
        WriteColorWord(at + 2 * i, words[i]);
}

} // namespace

QByteArray CDemoRom::Build(std::uint32_t seed)
{
    QByteArray bytes(ROM_IMAGE_SIZE, '\0');
    auto* image = reinterpret_cast<std::uint8_t*>(bytes.data());
    Random random(seed);

    // Background noise, so that nothing outside the sprite data looks meaningful.
    for (std::uint32_t i = COPIER_HEADER_SIZE; i < ROM_IMAGE_SIZE; ++i)
        image[i] = static_cast<std::uint8_t>(random.Next() & random.Next() & 0xFF);
    const QByteArray label =
        QByteArrayLiteral("GLYPHOX DEMO ROM IMAGE - SEED ") + QByteArray::number(seed);
    std::memcpy(image, label.constData(), label.size());

    for (int actor = 0; actor < CActorTables::ACTOR_COUNT; ++actor) {
        const Figure figure{3 + random.Below(2), 3 + random.Below(2), random.Below(3) == 0,
                            random.Below(4) == 0};
        DrawActorTiles(image + CActorTables::TileSetOffset(actor), OwnTiles(actor), figure);
    }

    const double hueShift = random.Below(1000) / 1000.0;
    for (int p = 0; p < CActorTables::PALETTE_COUNT; ++p) {
        const double hue = hueShift + p * 0.137;
        WritePalette(image + CActorTables::PaletteOffset(true, p), hue, 1.0);
        WritePalette(image + CActorTables::PaletteOffset(false, p), hue + 0.05, 0.85);
    }
    return bytes;
}

CFileResult CDemoRom::Write(const QString& path, bool headerless, std::uint32_t seed,
                            bool overwrite)
{
    const QString name = QDir::toNativeSeparators(path);
    const QFileInfo info(path);
    if (info.isDir())
        return CFileResult::Failure(QStringLiteral("“%1” is a folder.").arg(name));
    if (info.exists() && !overwrite)
        return CFileResult::Failure(
            QStringLiteral("“%1” already exists; use --force to replace it.").arg(name));

    const QByteArray image = Build(seed);
    const QByteArray content = headerless ? image.mid(COPIER_HEADER_SIZE) : image;
    return CAtomicFile::Write(path, content);
}
