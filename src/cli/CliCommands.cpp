#include "CliCommands.h"

#include "cli/CliArguments.h"
#include "cli/TileUsageReport.h"
#include "color/ColorModel.h"
#include "edit/PaletteFile.h"
#include "edit/TileFiles.h"
#include "edit/TileSheetImage.h"
#include "rom/ActorTables.h"
#include "rom/AtomicFile.h"
#include "rom/DemoRom.h"
#include "rom/EditorLock.h"
#include "rom/GlyphoxDoc.h"
#include "rom/SaveJournal.h"
#include "rom/TileUsage.h"
#include "view/StripAnimation.h"
#include "view/StripRenderer.h"
#include "view/TileSheetRenderer.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QBuffer>

#include <cstdio>

namespace {

QString Shown(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

CFileResult SavePng(const QImage& image, const QString& path)
{
    QByteArray png;
    QBuffer buffer(&png);
    if (!buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "PNG"))
        return CFileResult::Failure(QStringLiteral("Cannot encode the picture as PNG."));
    return CAtomicFile::Write(path, png);
}

// "MESSAGE (OUT)" or, where the message is short, "MESSAGE (OUT): WHY".
QString OutputFailure(const CFileResult& result, const QString& out)
{
    const QString line = QStringLiteral("%1 (%2)").arg(result.message, Shown(out));
    return result.detail.isEmpty() ? line : line + QStringLiteral(": ") + result.detail;
}

QString ColorLine(std::uint16_t word, int hue, int sat, int lum)
{
    const ScreenColor rgb = SnesToScreen(word);
    return QString::asprintf("word=0x%04X rgb=%d,%d,%d hue=%d sat=%d lum=%d", word, rgb.red,
                             rgb.green, rgb.blue, hue, sat, lum);
}

} // namespace

// One row per command: the overall usage and the command's own --help are both made from
// these rows. A synopsis line may hold '\n' where it continues on the next line.
const std::vector<CCliCommands::Command>& CCliCommands::Commands()
{
    static const std::vector<Command> commands = {
        {"demo-rom",
         &CCliCommands::DemoRom,
         {"OUT [--headerless] [--seed N] [--force]"},
         "write a demo ROM image with sprites in every actor's tile set",
         {{"OUT", "the file to write"},
          {"--headerless", "leave out the 512-byte copier header (3,145,728 bytes instead of "
                           "3,146,240)"},
          {"--seed N", "seed of the made-up sprites and palettes, 0 to 2147483647 (default 1)"},
          {"--force", "replace OUT if it exists"}}},
        {"info",
         &CCliCommands::Info,
         {"ROM"},
         "size, copier header, whether the editor can edit it, pending save",
         {{"ROM", "the ROM image to look at"}}},
        {"recover",
         &CCliCommands::Recover,
         {"ROM [--force]"},
         "settle an interrupted save as the editor does when it opens the file",
         {{"ROM", "the ROM image whose interrupted save is settled"},
          {"--force", "go on even though an editor has ROM open"}}},
        {"export-tileset",
         &CCliCommands::ExportTileSet,
         {"ROM --actor N -o OUT", "ROM --actor N -o OUT.png [--bank B (--palette P | --auto)]"},
         "write an actor's 181 tiles as raw 5792 bytes, or as a 4-bit indexed PNG",
         {{"ROM", "the ROM image"},
          {"--actor N", "the actor, 0 to 64"},
          {"-o OUT", "the file to write; a name ending in .png gets a PNG"},
          {"--bank B", "PNG colour table from the battle or overworld bank"},
          {"--palette P", "palette of the bank, 0 to 29"},
          {"--auto", "the actor's own palette in the bank (the default: its battle palette)"}}},
        {"import-tileset",
         &CCliCommands::ImportTileSet,
         {"ROM --actor N IN [--force]",
          "ROM --actor N IN.png --bank B (--palette P | --auto) [--force]"},
         "replace an actor's tiles from a raw tile set or a PNG, and save ROM",
         {{"ROM", "the ROM image, saved in place"},
          {"--actor N", "the actor, 0 to 64"},
          {"IN", "a raw tile set (its first 5792 bytes are used) or a PNG of 128 x 96"},
          {"--bank B", "for a true-colour PNG: the battle or overworld bank of its colours"},
          {"--palette P", "palette of the bank, 0 to 29"},
          {"--auto", "the actor's own palette in the bank"},
          {"--force", "go on even though an editor has ROM open"}}},
        {"export-palette",
         &CCliCommands::ExportPalette,
         {"ROM --bank battle|overworld --palette P -o OUT\n[--format raw|jasc|gpl|act]"},
         "write a palette as raw SNES words or as a JASC-PAL, GIMP or Adobe palette",
         {{"ROM", "the ROM image"},
          {"--bank B", "battle or overworld"},
          {"--palette P", "palette of the bank, 0 to 29"},
          {"-o OUT", "the file to write; .gpl and .act choose their format, others raw"},
          {"--format F", "raw, jasc, gpl or act, whatever OUT's name"}}},
        {"import-palette",
         &CCliCommands::ImportPalette,
         {"ROM --bank battle|overworld --palette P IN [--force]"},
         "replace a palette's 16 colours from a palette file or a PNG, and save ROM",
         {{"ROM", "the ROM image, saved in place"},
          {"--bank B", "battle or overworld"},
          {"--palette P", "palette of the bank, 0 to 29"},
          {"IN", "raw, JASC-PAL, GIMP, 768/772-byte table or PNG, told by its content"},
          {"--force", "go on even though an editor has ROM open"}}},
        {"render-strip",
         &CCliCommands::RenderStrip,
         {"ROM --actor N --bank B (--palette P | --auto)\n"
          "--strip 1|2|3 [--step K] [--labels] -o OUT.png",
          "ROM --actor N --bank B (--palette P | --auto)\n"
          "--strip 1|2|3 --animate [--scale K] -o OUT.gif"},
         "draw a pose strip as the editor shows it, or its animation as a GIF",
         {{"ROM", "the ROM image"},
          {"--actor N", "the actor, 0 to 64"},
          {"--bank B", "battle or overworld"},
          {"--palette P", "palette of the bank, 0 to 29"},
          {"--auto", "the actor's own palette in the bank"},
          {"--strip S", "the strip, 1 to 3"},
          {"--step K", "the animation step to draw (default 0)"},
          {"--labels", "write each cell's tile number"},
          {"--animate", "write the strip's whole cycle as a looping GIF"},
          {"--scale K", "magnification of the GIF, 1 to 8 (default 3)"},
          {"-o OUT", "the PNG or GIF to write"}}},
        {"render-tiles",
         &CCliCommands::RenderTiles,
         {"ROM --actor N --bank B (--palette P | --auto) -o OUT.png"},
         "draw the actor's thumbnail sheet (4344 x 24, tile t at x = 24t)",
         {{"ROM", "the ROM image"},
          {"--actor N", "the actor, 0 to 64"},
          {"--bank B", "battle or overworld"},
          {"--palette P", "palette of the bank, 0 to 29"},
          {"--auto", "the actor's own palette in the bank"},
          {"-o OUT", "the PNG to write"}}},
        {"tile-usage",
         &CCliCommands::TileUsage,
         {"ROM --actor N [--tile T] [--json]"},
         "which strip cells show each tile, and the tiles none of the actor's poses use",
         {{"ROM", "the ROM image"},
          {"--actor N", "the actor, 0 to 64"},
          {"--tile T", "only tile T, 0 to 180 (or 0x0 to 0xB4)"},
          {"--json", "print the listing as JSON"}}},
        {"color",
         &CCliCommands::Color,
         {"WORD", "--hls H,S,L"},
         "print a colour's SNES word, RGB and the colour dialog's HLS values",
         {{"WORD", "a SNES colour word, 0 to 0xFFFF, decimal or 0x hex"},
          {"--hls H,S,L", "hue, saturation and luminance, each 0 to 30"}}},
    };
    return commands;
}

const CCliCommands::Command* CCliCommands::Find(const QString& name)
{
    for (const Command& command : Commands())
        if (name == QLatin1String(command.name))
            return &command;
    return nullptr;
}

QString CCliCommands::SynopsisText(const Command& command, const QString& indent)
{
    QString text;
    const QString lead = indent + QLatin1String(command.name) + QLatin1Char(' ');
    for (const char* line : command.synopsis) {
        const QStringList parts = QString::fromUtf8(line).split(QLatin1Char('\n'));
        text += lead + parts.first() + QLatin1Char('\n');
        for (const QString& more : parts.mid(1))
            text += QString(lead.size(), QLatin1Char(' ')) + more + QLatin1Char('\n');
    }
    return text;
}

QString CCliCommands::CommandUsageText(const Command& command)
{
    return SynopsisText(command, QStringLiteral("       glyphox-cli ")).replace(0, 6, "Usage:");
}

QString CCliCommands::UsageText()
{
    QString text = QStringLiteral("Usage: glyphox-cli COMMAND [ARGUMENTS]\n\nCommands:\n");
    for (const Command& command : Commands())
        text += SynopsisText(command, QStringLiteral("  ")) +
                QStringLiteral("      %1\n").arg(QString::fromUtf8(command.summary));
    return text + QStringLiteral(
                      "\n"
                      "Actors are 0 to 64, palettes 0 to 29, HLS values 0 to 30, colour words 0 "
                      "to 0xFFFF.\n"
                      "Options: --help, --version; 'glyphox-cli COMMAND --help' describes a "
                      "command's options.\n");
}

QString CCliCommands::CommandHelpText(const Command& command)
{
    // The summary as a sentence.
    QString summary = QString::fromUtf8(command.summary);
    summary[0] = summary[0].toUpper();
    QString text = CommandUsageText(command) + QLatin1Char('\n') + summary + QStringLiteral(".\n");
    int width = 0;
    for (const Option& option : command.options)
        width = qMax(width, int(qstrlen(option.name)));
    for (const bool arguments : {true, false}) {
        text += arguments ? QStringLiteral("\nArguments:\n") : QStringLiteral("\nOptions:\n");
        for (const Option& option : command.options)
            if ((option.name[0] != '-') == arguments)
                text += QStringLiteral("  %1  %2\n")
                            .arg(QLatin1String(option.name), -width)
                            .arg(QString::fromUtf8(option.text));
        if (!arguments)
            text += QStringLiteral("  %1  %2\n")
                        .arg(QLatin1String("--help"), -width)
                        .arg(QStringLiteral("show this help"));
    }
    return text;
}

int CCliCommands::Run(const QStringList& arguments)
{
    if (arguments.isEmpty())
        return Usage(QStringLiteral("no command given"));
    const QString name = arguments.first();
    const QStringList rest = arguments.mid(1);
    if (name == QLatin1String("--version") || name == QLatin1String("-v")) {
        Print(QStringLiteral("glyphox-cli %1").arg(QStringLiteral(GLYPHOX_VERSION)));
        return EXIT_OK;
    }
    const bool help = name == QLatin1String("--help") || name == QLatin1String("-h") ||
                      name == QLatin1String("help");
    if (help && rest.isEmpty()) {
        std::fputs(qPrintable(UsageText()), stdout);
        return EXIT_OK;
    }
    // "help COMMAND" is "COMMAND --help".
    m_command = Find(help ? rest.first() : name);
    if (!m_command)
        return Usage(QStringLiteral("unknown command \"%1\"").arg(help ? rest.first() : name));
    if (help || rest.contains(QLatin1String("--help")) || rest.contains(QLatin1String("-h"))) {
        std::fputs(qPrintable(CommandHelpText(*m_command)), stdout);
        return EXIT_OK;
    }
    return (this->*m_command->handler)(rest);
}

// A usage error of a known command shows that command's synopsis, otherwise the whole usage.
int CCliCommands::Usage(const QString& message)
{
    const QString usage = m_command
                              ? CommandUsageText(*m_command) +
                                    QStringLiteral("Run 'glyphox-cli %1 --help' for its options.\n")
                                        .arg(QLatin1String(m_command->name))
                              : UsageText();
    std::fprintf(stderr, "glyphox-cli: %s\n\n%s", qPrintable(message), qPrintable(usage));
    return EXIT_USAGE;
}

int CCliCommands::Fail(const QString& message)
{
    std::fprintf(stderr, "glyphox-cli: %s\n", qPrintable(message));
    return EXIT_FAILED;
}

void CCliCommands::Print(const QString& line)
{
    std::fprintf(stdout, "%s\n", qPrintable(line));
}

int CCliCommands::OpenRom(const QString& path, CGlyphoxDoc& doc)
{
    const CFileResult opened = doc.OnOpenDocument(path, CGlyphoxDoc::Pending::Refuse);
    if (opened.ok)
        return EXIT_OK;
    if (CSaveJournal::IsPending(path))
        return Fail(
            QStringLiteral("%1 Run 'glyphox-cli recover %2' first.").arg(opened.message, path));
    return Fail(opened.message);
}

int CCliCommands::CheckNotHeld(const QString& rom, const CCliArguments& args)
{
    const CEditorLock::Holder holder = CEditorLock::HolderOf(rom);
    if (!holder.held || args.Has(QStringLiteral("--force")))
        return EXIT_OK;
    return Fail(QStringLiteral("“%1” is open in %2; close it there first, or use --force.")
                    .arg(Shown(rom), CEditorLock::Describe(holder)));
}

int CCliCommands::CheckOutput(const QString& out, const QString& rom)
{
    const CFileResult usable = CAtomicFile::CheckTarget(out, {rom});
    return usable.ok ? EXIT_OK : Fail(usable.message);
}

int CCliCommands::PaletteChoice(const CCliArguments& args, int actor, bool allowAuto, bool* battle,
                                int* palette)
{
    QString error;
    const QString bank = args.Value(QStringLiteral("--bank"));
    if (!args.Has(QStringLiteral("--bank")))
        return Usage(QStringLiteral("option --bank is required"));
    if (bank != QLatin1String("battle") && bank != QLatin1String("overworld"))
        return Usage(QStringLiteral("--bank must be battle or overworld, not \"%1\"").arg(bank));
    *battle = bank == QLatin1String("battle");

    const bool automatic = allowAuto && args.Has(QStringLiteral("--auto"));
    if (automatic && args.Has(QStringLiteral("--palette")))
        return Usage(QStringLiteral("give either --palette or --auto, not both"));
    if (automatic) {
        *palette = CActorTables::AutoPalette(actor, *battle);
        return EXIT_OK;
    }
    if (!args.Int(QStringLiteral("--palette"), 0, CActorTables::PALETTE_COUNT - 1, palette, &error))
        return Usage(allowAuto && !args.Has(QStringLiteral("--palette"))
                         ? QStringLiteral("give --palette P or --auto")
                         : error);
    return EXIT_OK;
}

int CCliCommands::DemoRom(const QStringList& arguments)
{
    CCliArguments args;
    QString error;
    if (!args.Parse(arguments, {QStringLiteral("--seed")},
                    {QStringLiteral("--headerless"), QStringLiteral("--force")}, 1, &error))
        return Usage(error);
    int seed = 1;
    if (args.Has(QStringLiteral("--seed")) &&
        !args.Int(QStringLiteral("--seed"), 0, 0x7FFFFFFF, &seed, &error))
        return Usage(error);
    const QString out = args.Positionals().first();
    const bool headerless = args.Has(QStringLiteral("--headerless"));
    const CFileResult written =
        CDemoRom::Write(out, headerless, std::uint32_t(seed), args.Has(QStringLiteral("--force")));
    if (!written.ok)
        return Fail(written.message);
    Print(QStringLiteral("Wrote demo ROM image %1 (%2 bytes, %3, seed %4)")
              .arg(Shown(out))
              .arg(headerless ? ROM_SIZE : ROM_IMAGE_SIZE)
              .arg(headerless ? QStringLiteral("no copier header")
                              : QStringLiteral("512-byte copier header"))
              .arg(seed));
    return EXIT_OK;
}

int CCliCommands::Info(const QStringList& arguments)
{
    CCliArguments args;
    QString error;
    if (!args.Parse(arguments, {}, {}, 1, &error))
        return Usage(error);
    const QString path = args.Positionals().first();
    const QFileInfo info(path);
    if (!info.exists())
        return Fail(QStringLiteral("“%1” does not exist.").arg(Shown(path)));
    if (info.isDir())
        return Fail(QStringLiteral("“%1” is a folder, not a ROM image.").arg(Shown(path)));

    const CRomFileLayout layout = CRomFileLayout::ForLength(info.size());
    const CFileResult usable = CGlyphoxDoc::Inspect(path);
    Print(QStringLiteral("File: %1").arg(Shown(path)));
    Print(QStringLiteral("Size: %1 bytes").arg(info.size()));
    switch (layout.kind) {
    case CRomFileLayout::Headered:
        Print(QStringLiteral("Copier header: yes (512 bytes)"));
        break;
    case CRomFileLayout::Headerless:
        Print(QStringLiteral("Copier header: no"));
        break;
    case CRomFileLayout::TooShort:
        Print(QStringLiteral("Copier header: unknown (file too short)"));
        break;
    }
    Print(usable.ok ? QStringLiteral("Editable: yes")
                    : QStringLiteral("Editable: no: %1").arg(usable.message));
    Print(CSaveJournal::IsPending(path)
              ? QStringLiteral("Interrupted save: pending; run 'glyphox-cli recover %1'").arg(path)
              : QStringLiteral("Interrupted save: none"));
    return EXIT_OK;
}

int CCliCommands::Recover(const QStringList& arguments)
{
    CCliArguments args;
    QString error;
    if (!args.Parse(arguments, {}, {QStringLiteral("--force")}, 1, &error))
        return Usage(error);
    const QString path = args.Positionals().first();
    if (const int status = CheckNotHeld(path, args))
        return status;
    const CFileResult settled = CGlyphoxDoc::SettlePending(path);
    if (!settled.ok)
        return Fail(settled.message);
    Print(settled.message.isEmpty()
              ? QStringLiteral("No interrupted save is pending for %1; nothing to do.")
                    .arg(Shown(path))
              : settled.message);
    return EXIT_OK;
}

int CCliCommands::ExportTileSet(const QStringList& arguments)
{
    CCliArguments args;
    QString error;
    int actor = 0;
    if (!args.Parse(arguments,
                    {QStringLiteral("--actor"), QStringLiteral("-o"), QStringLiteral("--bank"),
                     QStringLiteral("--palette")},
                    {QStringLiteral("--auto")}, 1, &error) ||
        !args.Int(QStringLiteral("--actor"), 0, CActorTables::ACTOR_COUNT - 1, &actor, &error))
        return Usage(error);
    if (!args.Has(QStringLiteral("-o")))
        return Usage(QStringLiteral("option -o OUT is required"));
    const QString rom = args.Positionals().first();
    const QString out = args.Value(QStringLiteral("-o"));
    const bool image = out.endsWith(QLatin1String(".png"), Qt::CaseInsensitive);
    // Without a palette choice a sheet is drawn in the actor's own battle palette.
    const bool chosen = args.Has(QStringLiteral("--bank")) ||
                        args.Has(QStringLiteral("--palette")) || args.Has(QStringLiteral("--auto"));
    bool battle = true;
    int palette = CActorTables::AutoPalette(actor, true);
    if (image && chosen)
        if (const int status = PaletteChoice(args, actor, true, &battle, &palette))
            return status;
    if (const int status = CheckOutput(out, rom))
        return status;
    CGlyphoxDoc doc;
    if (const int status = OpenRom(rom, doc))
        return status;
    if (image) {
        std::uint16_t words[PALETTE_COLORS];
        CActorTables::LoadPalette(doc.Image(), battle, palette, words);
        QByteArray png;
        CFileResult written =
            CTileSheetImage::EncodePng(CActorTables::TileWindow(doc.Image(), actor), words, &png);
        if (written.ok)
            written = CAtomicFile::Write(out, png);
        if (!written.ok)
            return Fail(written.message);
        Print(QStringLiteral("Wrote the tiles of actor %1 as a 4-bit indexed PNG (128 x 96) to %2")
                  .arg(actor)
                  .arg(Shown(out)));
        return EXIT_OK;
    }
    const CFileResult exported = CTileFiles::ExportTileSet(doc.Image(), actor, out);
    if (!exported.ok)
        return Fail(OutputFailure(exported, out));
    Print(CTileFiles::TileSetExportedText(Shown(out)));
    return EXIT_OK;
}

int CCliCommands::ImportTileSet(const QStringList& arguments)
{
    CCliArguments args;
    QString error;
    int actor = 0;
    if (!args.Parse(
            arguments,
            {QStringLiteral("--actor"), QStringLiteral("--bank"), QStringLiteral("--palette")},
            {QStringLiteral("--force"), QStringLiteral("--auto")}, 2, &error) ||
        !args.Int(QStringLiteral("--actor"), 0, CActorTables::ACTOR_COUNT - 1, &actor, &error))
        return Usage(error);
    const QString rom = args.Positionals().at(0);
    const QString in = args.Positionals().at(1);
    const bool image = CTileSheetImage::IsPngFile(in);
    bool battle = false;
    int palette = 0;
    if (image)
        if (const int status = PaletteChoice(args, actor, true, &battle, &palette))
            return status;
    if (const int status = CheckNotHeld(rom, args))
        return status;
    CGlyphoxDoc doc;
    if (const int status = OpenRom(rom, doc))
        return status;
    std::uint16_t words[PALETTE_COLORS];
    CActorTables::LoadPalette(doc.Image(), battle, palette, words);
    const CFileResult imported = image ? CTileSheetImage::Import(doc, actor, words, in)
                                       : CTileFiles::ImportTileSet(doc, actor, in);
    if (!imported.ok)
        return Fail(QStringLiteral("%1 (%2)").arg(imported.message, Shown(in)));
    const CFileResult saved = doc.OnSaveDocument(rom);
    if (!saved.ok)
        return Fail(saved.message);
    Print(QStringLiteral("Imported %1 into the tile set of actor %2 and saved %3")
              .arg(Shown(in))
              .arg(actor)
              .arg(Shown(rom)));
    return EXIT_OK;
}

int CCliCommands::ExportPalette(const QStringList& arguments)
{
    CCliArguments args;
    QString error;
    if (!args.Parse(arguments,
                    {QStringLiteral("--bank"), QStringLiteral("--palette"), QStringLiteral("-o"),
                     QStringLiteral("--format")},
                    {}, 1, &error))
        return Usage(error);
    bool battle = false;
    int palette = 0;
    if (const int status = PaletteChoice(args, 0, false, &battle, &palette))
        return status;
    if (!args.Has(QStringLiteral("-o")))
        return Usage(QStringLiteral("option -o OUT is required"));
    const QString rom = args.Positionals().first();
    const QString out = args.Value(QStringLiteral("-o"));
    CPaletteFile::Format format = CPaletteFile::FormatForPath(out);
    if (args.Has(QStringLiteral("--format")) &&
        !CPaletteFile::FormatForName(args.Value(QStringLiteral("--format")), &format))
        return Usage(QStringLiteral("--format must be raw, jasc, gpl or act, not \"%1\"")
                         .arg(args.Value(QStringLiteral("--format"))));
    if (const int status = CheckOutput(out, rom))
        return status;
    CGlyphoxDoc doc;
    if (const int status = OpenRom(rom, doc))
        return status;
    std::uint16_t words[PALETTE_COLORS];
    CActorTables::LoadPalette(doc.Image(), battle, palette, words);
    if (const CFileResult exported = CAtomicFile::Write(out, CPaletteFile::Encode(words, format));
        !exported.ok)
        return Fail(exported.message);
    Print(CTileFiles::PaletteExportedText(Shown(out)));
    return EXIT_OK;
}

int CCliCommands::ImportPalette(const QStringList& arguments)
{
    CCliArguments args;
    QString error;
    if (!args.Parse(arguments, {QStringLiteral("--bank"), QStringLiteral("--palette")},
                    {QStringLiteral("--force")}, 2, &error))
        return Usage(error);
    bool battle = false;
    int palette = 0;
    if (const int status = PaletteChoice(args, 0, false, &battle, &palette))
        return status;
    const QString rom = args.Positionals().at(0);
    const QString in = args.Positionals().at(1);
    if (const int status = CheckNotHeld(rom, args))
        return status;
    CGlyphoxDoc doc;
    if (const int status = OpenRom(rom, doc))
        return status;
    const CFileResult imported = CPaletteFile::Import(doc, battle, palette, in);
    if (!imported.ok)
        return Fail(QStringLiteral("%1 (%2)").arg(imported.message, Shown(in)));
    if (!imported.message.isEmpty())
        Print(imported.message);
    const CFileResult saved = doc.OnSaveDocument(rom);
    if (!saved.ok)
        return Fail(saved.message);
    Print(QStringLiteral("Imported %1 into %2 palette %3 and saved %4")
              .arg(Shown(in), battle ? QStringLiteral("battle") : QStringLiteral("overworld"))
              .arg(palette)
              .arg(Shown(rom)));
    return EXIT_OK;
}

int CCliCommands::PrepareRender(const CCliArguments& args, CGlyphoxDoc& doc, int* actor,
                                std::uint16_t words[PALETTE_COLORS])
{
    QString error;
    if (!args.Int(QStringLiteral("--actor"), 0, CActorTables::ACTOR_COUNT - 1, actor, &error))
        return Usage(error);
    bool battle = false;
    int palette = 0;
    if (const int status = PaletteChoice(args, *actor, true, &battle, &palette))
        return status;
    if (!args.Has(QStringLiteral("-o")))
        return Usage(QStringLiteral("option -o OUT.png is required"));
    if (const int status =
            CheckOutput(args.Value(QStringLiteral("-o")), args.Positionals().first()))
        return status;
    if (const int status = OpenRom(args.Positionals().first(), doc))
        return status;
    CActorTables::LoadPalette(doc.Image(), battle, palette, words);
    return EXIT_OK;
}

int CCliCommands::WritePicture(const CPixelBuffer& picture, const QString& out, const QString& what)
{
    if (const CFileResult saved = SavePng(picture.ToRgb888(), out); !saved.ok)
        return Fail(saved.message);
    Print(QStringLiteral("Wrote %1 (%2 x %3) to %4")
              .arg(what)
              .arg(picture.Width())
              .arg(picture.Height())
              .arg(Shown(out)));
    return EXIT_OK;
}

int CCliCommands::RenderStrip(const QStringList& arguments)
{
    CCliArguments args;
    QString error;
    int strip = 1;
    int step = 0;
    if (!args.Parse(
            arguments,
            {QStringLiteral("--actor"), QStringLiteral("--bank"), QStringLiteral("--palette"),
             QStringLiteral("--strip"), QStringLiteral("--step"), QStringLiteral("-o"),
             QStringLiteral("--scale")},
            {QStringLiteral("--auto"), QStringLiteral("--labels"), QStringLiteral("--animate")}, 1,
            &error) ||
        !args.Int(QStringLiteral("--strip"), 1, CActorTables::STRIP_COUNT, &strip, &error) ||
        (args.Has(QStringLiteral("--step")) &&
         !args.Int(QStringLiteral("--step"), 0, 0x7FFFFFFF, &step, &error)))
        return Usage(error);
    CGlyphoxDoc doc;
    int actor = 0;
    std::uint16_t words[PALETTE_COLORS];
    if (const int status = PrepareRender(args, doc, &actor, words))
        return status;

    if (args.Has(QStringLiteral("--animate")) || args.Has(QStringLiteral("--scale"))) {
        int scale = CStripRenderer::MAGNIFICATION;
        if (args.Has(QStringLiteral("--scale")) &&
            !args.Int(QStringLiteral("--scale"), 1, CStripAnimation::MAX_SCALE, &scale, &error))
            return Usage(error);
        if (!args.Has(QStringLiteral("--animate")))
            return Usage(QStringLiteral("--scale goes with --animate"));
        QByteArray gif;
        CFileResult written = CStripAnimation::EncodeGif(
            strip - 1, CActorTables::TileWindow(doc.Image(), actor), words, scale, &gif);
        if (written.ok)
            written = CAtomicFile::Write(args.Value(QStringLiteral("-o")), gif);
        if (!written.ok)
            return Fail(written.message);
        Print(QStringLiteral("Wrote the %1-step animation of strip %2 of actor %3 to %4")
                  .arg(CActorTables::StripStepCount(strip - 1))
                  .arg(strip)
                  .arg(actor)
                  .arg(Shown(args.Value(QStringLiteral("-o")))));
        return EXIT_OK;
    }
    CStripRenderer renderer;
    const CPixelBuffer& image = renderer.DrawStrip(
        strip - 1, CActorTables::StripVariantForStep(strip - 1, step),
        CActorTables::TileWindow(doc.Image(), actor), words, args.Has(QStringLiteral("--labels")));
    return WritePicture(image, args.Value(QStringLiteral("-o")),
                        QStringLiteral("strip %1 of actor %2").arg(strip).arg(actor));
}

int CCliCommands::RenderTiles(const QStringList& arguments)
{
    CCliArguments args;
    QString error;
    if (!args.Parse(arguments,
                    {QStringLiteral("--actor"), QStringLiteral("--bank"),
                     QStringLiteral("--palette"), QStringLiteral("-o")},
                    {QStringLiteral("--auto")}, 1, &error))
        return Usage(error);
    CGlyphoxDoc doc;
    int actor = 0;
    std::uint16_t words[PALETTE_COLORS];
    if (const int status = PrepareRender(args, doc, &actor, words))
        return status;

    CTileSheetRenderer renderer;
    const CPixelBuffer& sheet = renderer.Draw(CActorTables::TileWindow(doc.Image(), actor), words);
    return WritePicture(sheet, args.Value(QStringLiteral("-o")),
                        QStringLiteral("the tiles of actor %1").arg(actor));
}

int CCliCommands::Color(const QStringList& arguments)
{
    CCliArguments args;
    QString error;
    if (arguments.size() == 2 && arguments.first() == QLatin1String("--hls")) {
        const QStringList parts = arguments.at(1).split(QLatin1Char(','));
        int hls[3] = {};
        bool ok = parts.size() == 3;
        for (int i = 0; ok && i < 3; ++i)
            ok = CCliArguments::ParseInt(parts[i], 0, 30, false, &hls[i]);
        if (!ok)
            return Usage(QStringLiteral("--hls takes H,S,L, three whole numbers from 0 to 30, "
                                        "not \"%1\"")
                             .arg(arguments.at(1)));
        const std::uint16_t word =
            HLSToSNES(FieldToHLS(hls[0]), FieldToHLS(hls[2]), FieldToHLS(hls[1]));
        Print(ColorLine(word, hls[0], hls[1], hls[2]));
        return EXIT_OK;
    }
    if (!args.Parse(arguments, {}, {}, 1, &error))
        return Usage(error);
    int word = 0;
    if (!CCliArguments::ParseInt(args.Positionals().first(), 0, 0xFFFF, true, &word))
        return Usage(QStringLiteral("a colour word is a number from 0 to 0xFFFF, not \"%1\"")
                         .arg(args.Positionals().first()));
    double hue = 0;
    double sat = 0;
    double lum = 0;
    SNESToHLS(std::uint16_t(word), &hue, &sat, &lum);
    Print(ColorLine(std::uint16_t(word), HLSToField(hue), HLSToField(sat), HLSToField(lum)));
    return EXIT_OK;
}

int CCliCommands::TileUsage(const QStringList& arguments)
{
    CCliArguments args;
    QString error;
    int actor = 0;
    int tile = -1;
    if (!args.Parse(arguments, {QStringLiteral("--actor"), QStringLiteral("--tile")},
                    {QStringLiteral("--json")}, 1, &error) ||
        !args.Int(QStringLiteral("--actor"), 0, CActorTables::ACTOR_COUNT - 1, &actor, &error))
        return Usage(error);
    if (args.Has(QStringLiteral("--tile")) &&
        !CCliArguments::ParseInt(args.Value(QStringLiteral("--tile")), 0,
                                 CActorTables::WINDOW_TILES - 1, true, &tile))
        return Usage(QStringLiteral("--tile must be a tile number from 0 to 180 (or 0x0 to "
                                    "0xB4), not \"%1\"")
                         .arg(args.Value(QStringLiteral("--tile"))));
    // The usage comes from the strip maps, but a file that is no ROM image is still refused.
    CGlyphoxDoc doc;
    if (const int status = OpenRom(args.Positionals().first(), doc))
        return status;
    const CTileUsage usage(actor);
    if (args.Has(QStringLiteral("--json")))
        std::fputs(CTileUsageReport::Json(usage, tile).constData(), stdout);
    else
        Print(CTileUsageReport::Text(usage, tile));
    return EXIT_OK;
}
