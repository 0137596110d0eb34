#include "PaletteFile.h"

#include "edit/TileFiles.h"
#include "rom/ActorTables.h"
#include "rom/GlyphoxDoc.h"
#include "rom/FileIo.h"
#include "rom/SnesFormat.h"

#include <QFileInfo>
#include <QImage>
#include <QStringList>

#include <cstdlib>

namespace {

constexpr int kActTable = 768;
constexpr qint64 kMaxPaletteFile = 1 << 20;

struct Rgb
{
    int red, green, blue;
};

Rgb Components(std::uint16_t word)
{
    const QRgb color = CPaletteFile::WidenedColor(word);
    return {qRed(color), qGreen(color), qBlue(color)};
}

// Colours to 5-bit words, counting those that had to be rounded.
void ToWords(const std::vector<Rgb>& colors, CPaletteFile::Colors* out)
{
    for (const Rgb& color : colors) {
        if (out->words.size() == PALETTE_COLORS)
            break;
        const int r = CPaletteFile::Nearest(color.red);
        const int g = CPaletteFile::Nearest(color.green);
        const int b = CPaletteFile::Nearest(color.blue);
        if (CPaletteFile::Widen(r) != color.red || CPaletteFile::Widen(g) != color.green ||
            CPaletteFile::Widen(b) != color.blue)
            ++out->rounded;
        out->words.push_back(std::uint16_t(r | g << 5 | b << 10));
    }
}

// "R G B" at the start of a line, each 0..255; false for anything else.
bool ParseRgb(const QString& line, Rgb* color)
{
    const QStringList parts = line.simplified().split(QLatin1Char(' '));
    if (parts.size() < 3)
        return false;
    int values[3] = {};
    for (int i = 0; i < 3; ++i) {
        bool ok = false;
        values[i] = parts[i].toInt(&ok);
        if (!ok || values[i] < 0 || values[i] > 255)
            return false;
    }
    *color = {values[0], values[1], values[2]};
    return true;
}

CFileResult Damaged(const QString& format, int line)
{
    return CFileResult::Failure(
        QStringLiteral("The %1 palette is damaged at line %2.").arg(format).arg(line));
}

CFileResult DecodeJasc(const QStringList& lines, std::vector<Rgb>* colors)
{
    bool ok = false;
    const int count = lines.value(2).trimmed().toInt(&ok);
    if (lines.value(1).trimmed() != QLatin1String("0100") || !ok || count < 1 || count > 256)
        return Damaged(QStringLiteral("JASC-PAL"), ok ? 2 : 3);
    for (int i = 0; i < count; ++i) {
        Rgb color{};
        if (!ParseRgb(lines.value(3 + i), &color))
            return Damaged(QStringLiteral("JASC-PAL"), 4 + i);
        colors->push_back(color);
    }
    return CFileResult::Success();
}

CFileResult DecodeGimp(const QStringList& lines, std::vector<Rgb>* colors)
{
    for (int i = 1; i < lines.size(); ++i) {
        const QString line = lines[i].trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')) ||
            line.startsWith(QLatin1String("Name:")) || line.startsWith(QLatin1String("Columns:")))
            continue;
        Rgb color{};
        if (!ParseRgb(line, &color))
            return Damaged(QStringLiteral("GIMP"), i + 1);
        colors->push_back(color);
    }
    return CFileResult::Success();
}

} // namespace

int CPaletteFile::Nearest(int value)
{
    int best = 0;
    for (int c = 1; c < 32; ++c)
        if (std::abs(Widen(c) - value) < std::abs(Widen(best) - value))
            best = c;
    return best;
}

CPaletteFile::Format CPaletteFile::FormatForPath(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("gpl"))
        return Format::Gimp;
    if (suffix == QLatin1String("act"))
        return Format::Act;
    return Format::Raw;
}

bool CPaletteFile::FormatForName(const QString& name, Format* format)
{
    const struct
    {
        const char* name;
        Format format;
    } names[] = {
        {"raw", Format::Raw}, {"jasc", Format::Jasc}, {"gpl", Format::Gimp}, {"act", Format::Act}};
    for (const auto& entry : names)
        if (name == QLatin1String(entry.name)) {
            *format = entry.format;
            return true;
        }
    return false;
}

QByteArray CPaletteFile::Encode(const std::uint16_t words[16], Format format)
{
    QByteArray bytes;
    switch (format) {
    case Format::Raw:
        bytes.resize(PALETTE_BYTES);
        for (int i = 0; i < PALETTE_COLORS; ++i)
            WriteColorWord(reinterpret_cast<std::uint8_t*>(bytes.data()) + 2 * i, words[i]);
        break;
    case Format::Jasc:
        bytes = "JASC-PAL\r\n0100\r\n16\r\n";
        for (int i = 0; i < PALETTE_COLORS; ++i) {
            const Rgb c = Components(words[i]);
            bytes += QByteArray::number(c.red) + ' ' + QByteArray::number(c.green) + ' ' +
                     QByteArray::number(c.blue) + "\r\n";
        }
        break;
    case Format::Gimp:
        bytes = "GIMP Palette\nName: Glyphox SNES palette\nColumns: 16\n#\n";
        for (int i = 0; i < PALETTE_COLORS; ++i) {
            const Rgb c = Components(words[i]);
            bytes += QStringLiteral("%1 %2 %3\tIndex %4\n")
                         .arg(c.red, 3)
                         .arg(c.green, 3)
                         .arg(c.blue, 3)
                         .arg(i)
                         .toLatin1();
        }
        break;
    case Format::Act:
        // 256 colours, the count (16) and the transparent index (0), both big-endian.
        bytes = QByteArray(kActTable + 4, '\0');
        for (int i = 0; i < PALETTE_COLORS; ++i) {
            const Rgb c = Components(words[i]);
            bytes[3 * i] = char(c.red);
            bytes[3 * i + 1] = char(c.green);
            bytes[3 * i + 2] = char(c.blue);
        }
        bytes[kActTable + 1] = char(PALETTE_COLORS);
        break;
    }
    return bytes;
}

CFileResult CPaletteFile::Decode(const QByteArray& bytes, Colors* colors)
{
    *colors = {};
    std::vector<Rgb> found;
    if (bytes.startsWith("\x89PNG\r\n\x1a\n")) {
        const QImage image = QImage::fromData(bytes, "PNG");
        if (image.isNull())
            return CFileResult::Failure(QStringLiteral("The PNG file cannot be read."));
        if (image.colorTable().isEmpty())
            return CFileResult::Failure(QStringLiteral("The PNG image has no colour table."));
        for (QRgb color : image.colorTable())
            found.push_back({qRed(color), qGreen(color), qBlue(color)});
    } else if (bytes.startsWith("JASC-PAL") || bytes.startsWith("GIMP Palette")) {
        const QStringList lines = QString::fromLatin1(bytes).split(QLatin1Char('\n'));
        const CFileResult parsed =
            bytes.startsWith("JASC-PAL") ? DecodeJasc(lines, &found) : DecodeGimp(lines, &found);
        if (!parsed.ok)
            return parsed;
    } else if (bytes.size() == kActTable || bytes.size() == kActTable + 4) {
        int count = 256;
        if (bytes.size() == kActTable + 4) {
            count = std::uint8_t(bytes[kActTable]) << 8 | std::uint8_t(bytes[kActTable + 1]);
            count = count < 1 || count > 256 ? 256 : count;
        }
        for (int i = 0; i < count; ++i)
            found.push_back({std::uint8_t(bytes[3 * i]), std::uint8_t(bytes[3 * i + 1]),
                             std::uint8_t(bytes[3 * i + 2])});
    } else {
        if (bytes.size() < PALETTE_BYTES)
            return CFileResult::Failure(CTileFiles::PaletteTooShortText());
        colors->raw = true;
        for (int i = 0; i < PALETTE_COLORS; ++i)
            colors->words.push_back(
                ReadColorWord(reinterpret_cast<const std::uint8_t*>(bytes.constData()) + 2 * i));
        return CFileResult::Success();
    }
    if (found.empty())
        return CFileResult::Failure(QStringLiteral("The palette holds no colours."));
    ToWords(found, colors);
    return CFileResult::Success();
}

CFileResult CPaletteFile::Import(CGlyphoxDoc& doc, bool battle, int palette, const QString& path)
{
    QByteArray bytes;
    if (!ReadFileStart(path, kMaxPaletteFile + 1, &bytes) || bytes.size() > kMaxPaletteFile)
        return CFileResult::Failure(CTileFiles::CannotReadText());
    Colors colors;
    if (const CFileResult decoded = Decode(bytes, &colors); !decoded.ok)
        return decoded;

    // Bit 15 is no colour: a word read from a drawing program keeps the ROM's.
    const std::uint32_t at = CActorTables::PaletteOffset(battle, palette);
    QByteArray words(2 * qsizetype(colors.words.size()), Qt::Uninitialized);
    for (std::size_t i = 0; i < colors.words.size(); ++i) {
        const std::uint16_t kept =
            colors.raw ? 0 : ReadColorWord(doc.Image() + at + 2 * i) & 0x8000;
        WriteColorWord(reinterpret_cast<std::uint8_t*>(words.data()) + 2 * i,
                       std::uint16_t(colors.words[i] | kept));
    }
    doc.Apply({at, words, QStringLiteral("Import palette"), {-1, -1, battle ? 1 : 0, palette}});

    QStringList notes;
    if (colors.rounded > 0)
        notes << QStringLiteral("%1 colour(s) were off the 5-bit grid and were rounded to the "
                                "nearest SNES colour.")
                     .arg(colors.rounded);
    if (colors.words.size() < std::size_t(PALETTE_COLORS))
        notes << QStringLiteral("The file holds only %1 colour(s); entries %1 to 15 were left as "
                                "they were.")
                     .arg(colors.words.size());
    return CFileResult::Success(notes.join(QLatin1Char(' ')));
}
