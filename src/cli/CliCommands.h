#pragma once

#include "rom/SnesFormat.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

class CCliArguments;
class CGlyphoxDoc;
class CPixelBuffer;

// glyphox-cli's commands. Exit status 0 on success, 1 on a failure (one line on
// stderr, no file changed), 2 on a usage error (message and usage on stderr).
class CCliCommands
{
public:
    static constexpr int EXIT_OK = 0;
    static constexpr int EXIT_FAILED = 1;
    static constexpr int EXIT_USAGE = 2;

    int Run(const QStringList& arguments);

    static QString UsageText();

private:
    using Handler = int (CCliCommands::*)(const QStringList&);
    struct Option
    {
        const char* name; // "--actor N", or a positional argument such as "ROM"
        const char* text;
    };
    struct Command
    {
        const char* name;
        Handler handler;
        std::vector<const char*> synopsis; // the arguments, one way of calling per line
        const char* summary;
        std::vector<Option> options;
    };
    static const std::vector<Command>& Commands();
    static const Command* Find(const QString& name);
    static QString SynopsisText(const Command& command, const QString& indent);
    static QString CommandUsageText(const Command& command);
    static QString CommandHelpText(const Command& command);

    int DemoRom(const QStringList& arguments);
    int Info(const QStringList& arguments);
    int Recover(const QStringList& arguments);
    int ExportTileSet(const QStringList& arguments);
    int ImportTileSet(const QStringList& arguments);
    int ExportPalette(const QStringList& arguments);
    int ImportPalette(const QStringList& arguments);
    int RenderStrip(const QStringList& arguments);
    int RenderTiles(const QStringList& arguments);
    int Color(const QStringList& arguments);
    int TileUsage(const QStringList& arguments);

    int Usage(const QString& message);
    int Fail(const QString& message);
    void Print(const QString& line);

    // Opens ROM into doc, refusing one with an interrupted save pending.
    int OpenRom(const QString& path, CGlyphoxDoc& doc);
    // Refuses to write a ROM image that an editor has open, unless --force is given.
    int CheckNotHeld(const QString& rom, const CCliArguments& args);
    // Refuses an output that is not a regular file or is the ROM image itself.
    int CheckOutput(const QString& out, const QString& rom);
    // --bank and --palette (or --auto with the actor) into bank and palette.
    int PaletteChoice(const CCliArguments& args, int actor, bool allowAuto, bool* battle,
                      int* palette);
    // The actor, the palette's colour words and the open ROM a render command draws.
    int PrepareRender(const CCliArguments& args, CGlyphoxDoc& doc, int* actor,
                      std::uint16_t words[PALETTE_COLORS]);
    int WritePicture(const CPixelBuffer& picture, const QString& out, const QString& what);

    const Command* m_command = nullptr; // the command being run, for its usage on an error
};
