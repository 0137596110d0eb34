#include "CommandTable.h"

#include <algorithm>

namespace {

// clang-format off
constexpr CCommandInfo kCommands[] = {
    {ID_FILE_NEW,       nullptr,                    "Create a new document\nNew",               {"Ctrl+N"}},
    {ID_FILE_OPEN,      "&Open...\tCtrl+O",         "Open an existing document\nOpen",          {"Ctrl+O"}},
    {ID_FILE_SAVE,      "&Save\tCtrl+S",            "Save the active document\nSave",           {"Ctrl+S"}},
    {ID_FILE_SAVE_AS,   "Save &As...",              "Save the active document with a new name\nSave As", {}},
    {ID_FILE_MRU_FILE1, "Recent File",              "Open this document",                       {}},
    {ID_APP_EXIT,       "E&xit",                    "Quit the application; prompts to save documents\nExit", {}},
    {ID_TILE_COPY,      "Tile copy",                "Copy current tile\nCopy current tile",     {}},
    {ID_TILE_PASTE,     "Paste tile",               "Paste tile\nPaste tile",                   {}},
    {ID_ERASE_ALL,      "Erase all tiles",          "Erase all tiles for this actor\nErase all set", {}},
    {ID_MODE_PAINT,     "Paint mode",               "Paint mode\nPaint mode",                   {}},
    {ID_MODE_DROPPER,   "Droper mode",              "Droper mode\nDroper mode",                 {}},
    {ID_MODE_FILL,      "Fill mode",                "Fill mode\nFill mode",                     {}},
    {ID_SHIFT_LEFT,     "Shift left",               "Shift tile left\nShift tile left",         {}},
    {ID_SHIFT_UP,       "Shift up",                 "Shift tile up\nShift tile up",             {}},
    {ID_SHIFT_RIGHT,    "Shift right",              "Shift tile right",                         {}},
    {ID_SHIFT_DOWN,     "Shift down",               "Shift tile down\nShift tile down",         {}},
    {ID_FLIP_HORZ,      "Flip tile horizontally",   "Flip tile horizontally\nFlip tile horizontally", {}},
    {ID_FLIP_VERT,      "Flip tile verticaly",      "Flip tile vertically\nFlip tile vertically", {}},
    {ID_ROTATE_LEFT,    "Rotate left",              "Rotate tile counter clock wize\nRotate tile counter clock wize", {}},
    {ID_ROTATE_RIGHT,   "Rotate right",             "Rotate tile clock wize\nRotate tile clock wize", {}},
    {ID_TILE_FILL,      nullptr,                    "Fill tile with selected colour\nFill tile with selected colour", {}},
    {ID_EXPORT_TILESET, "&Export tile set",         "Export tile set\nExport tile set",         {}},
    {ID_IMPORT_TILESET, "&Import tile set",         "Import tile set\nImport tile set",         {}},
    {ID_EXPORT_PALETTE, "Export palette",           "Export palette\nExport palette",           {}},
    {ID_IMPORT_PALETTE, "Import palette",           "Import palette\nImport palette",           {}},
    {ID_EXPORT_TILESET_IMAGE, "Export tile set as image...", "Export the tile set as an indexed PNG image in the shown palette\nExport tile set as image", {}},
    {ID_IMPORT_TILESET_IMAGE, "Import tile set from image...", "Import the tile set from an indexed PNG image, index for index\nImport tile set from image", {}},
    {ID_EXPORT_POSES,   "Export poses as animation...", "Export a strip's poses as an animated GIF, or its shown step as an indexed PNG\nExport poses as animation", {}},
    {ID_EXPORT_PALETTE_AS, "Export palette as...",  "Export the palette as a raw, JASC, GIMP or Adobe palette file\nExport palette as", {}},
    {ID_IMPORT_PALETTE_FROM, "Import palette from...", "Import a palette from a palette file of any format or a PNG image\nImport palette from", {}},
    {ID_APP_ABOUT,      "&About Glyphox...",        "Display program information, version number and copyright\nAbout", {}},
    {ID_EDIT_UNDO,      "Undo",                     "Undo the last action\nUndo",               {"Ctrl+Z", "Alt+Backspace"}},
    {ID_EDIT_REDO,      "Redo",                     "Redo the previously undone action\nRedo",  {"Ctrl+Y", "Ctrl+Shift+Z"}},
    {ID_EDIT_CUT,       nullptr,                    "Cut the selection and put it on the Clipboard\nCut", {"Ctrl+X", "Shift+Del"}},
    {ID_EDIT_COPY,      nullptr,                    "Copy the selection and put it on the Clipboard\nCopy", {"Ctrl+C", "Ctrl+Ins"}},
    {ID_EDIT_PASTE,     nullptr,                    "Insert Clipboard contents\nPaste",         {"Ctrl+V", "Shift+Ins"}},
    {ID_NEXT_PANE,      nullptr,                    "Switch to the next window pane\nNext Pane", {"F6"}},
    {ID_PREV_PANE,      nullptr,                    "Switch back to the previous window pane\nPrevious Pane", {"Shift+F6"}},
};

constexpr int kFileMenu[] = {
    ID_FILE_OPEN, ID_FILE_SAVE, ID_FILE_SAVE_AS, ID_SEPARATOR, ID_FILE_MRU_FILE1, ID_SEPARATOR, ID_APP_EXIT,
};
constexpr int kEditMenu[] = {
    ID_EDIT_UNDO, ID_EDIT_REDO, ID_SEPARATOR,
    ID_TILE_COPY, ID_TILE_PASTE, ID_SEPARATOR,
    ID_ERASE_ALL, ID_SEPARATOR,
    ID_MODE_PAINT, ID_MODE_DROPPER, ID_MODE_FILL, ID_SEPARATOR,
    ID_SHIFT_LEFT, ID_SHIFT_UP, ID_SHIFT_RIGHT, ID_SHIFT_DOWN, ID_SEPARATOR,
    ID_FLIP_HORZ, ID_FLIP_VERT, ID_SEPARATOR,
    ID_ROTATE_LEFT, ID_ROTATE_RIGHT,
};
constexpr int kImportExportMenu[] = {
    ID_EXPORT_TILESET, ID_IMPORT_TILESET, ID_SEPARATOR, ID_EXPORT_PALETTE, ID_IMPORT_PALETTE,
    ID_SEPARATOR, ID_EXPORT_TILESET_IMAGE, ID_IMPORT_TILESET_IMAGE, ID_EXPORT_PALETTE_AS,
    ID_IMPORT_PALETTE_FROM, ID_EXPORT_POSES,
};
constexpr int kHelpMenu[] = {ID_APP_ABOUT};

constexpr CMenuInfo kMenus[] = {
    {"&File", kFileMenu},
    {"&Edit", kEditMenu},
    {"Import/Export", kImportExportMenu},
    {"&Help", kHelpMenu},
};

constexpr int kMainToolbar[] = {ID_FILE_OPEN, ID_FILE_SAVE, ID_SEPARATOR, ID_APP_ABOUT};
constexpr int kEditToolbar[] = {
    ID_EDIT_UNDO, ID_EDIT_REDO, ID_SEPARATOR,
    ID_TILE_COPY, ID_TILE_PASTE, ID_SEPARATOR,
    ID_TILE_FILL, ID_SEPARATOR,
    ID_MODE_PAINT, ID_MODE_DROPPER, ID_MODE_FILL, ID_SEPARATOR,
    ID_SHIFT_LEFT, ID_SHIFT_UP, ID_SHIFT_DOWN, ID_SHIFT_RIGHT, ID_SEPARATOR,
    ID_FLIP_HORZ, ID_FLIP_VERT, ID_SEPARATOR,
    ID_ROTATE_LEFT, ID_ROTATE_RIGHT,
};

constexpr int kEditCommands[] = {
    ID_EXPORT_TILESET, ID_IMPORT_TILESET, ID_EXPORT_PALETTE, ID_IMPORT_PALETTE, ID_TILE_COPY,
    ID_TILE_PASTE, ID_TILE_FILL, ID_MODE_PAINT, ID_MODE_DROPPER, ID_MODE_FILL, ID_SHIFT_LEFT,
    ID_SHIFT_UP, ID_SHIFT_RIGHT, ID_SHIFT_DOWN, ID_FLIP_HORZ, ID_FLIP_VERT, ID_ROTATE_LEFT,
    ID_ROTATE_RIGHT, ID_ERASE_ALL, ID_FILE_SAVE, ID_FILE_SAVE_AS, ID_EXPORT_PALETTE_AS,
    ID_IMPORT_PALETTE_FROM, ID_EXPORT_TILESET_IMAGE, ID_IMPORT_TILESET_IMAGE, ID_EXPORT_POSES,
};
// clang-format on

constexpr bool IsListed(std::span<const int> ids)
{
    for (int nId : ids) {
        if (nId == ID_SEPARATOR)
            continue;
        if (std::none_of(std::begin(kCommands), std::end(kCommands),
                         [nId](const CCommandInfo& info) { return info.nId == nId; }))
            return false;
    }
    return true;
}
static_assert(IsListed(kFileMenu) && IsListed(kEditMenu) && IsListed(kImportExportMenu) &&
              IsListed(kHelpMenu) && IsListed(kMainToolbar) && IsListed(kEditToolbar) &&
              IsListed(kEditCommands));

} // namespace

namespace CommandTable {

std::span<const CCommandInfo> Commands()
{
    return kCommands;
}

const CCommandInfo* Find(int nId)
{
    const auto* found = std::find_if(std::begin(kCommands), std::end(kCommands),
                                     [nId](const CCommandInfo& info) { return info.nId == nId; });
    return found == std::end(kCommands) ? nullptr : found;
}

std::span<const CMenuInfo> Menus()
{
    return kMenus;
}

std::span<const int> MainToolbar()
{
    return kMainToolbar;
}

std::span<const int> EditToolbar()
{
    return kEditToolbar;
}

bool IsEditCommand(int nId)
{
    return std::find(std::begin(kEditCommands), std::end(kEditCommands), nId) !=
           std::end(kEditCommands);
}

bool IsHistoryCommand(int nId)
{
    return nId == ID_EDIT_UNDO || nId == ID_EDIT_REDO;
}

QString ToolTip(const CCommandInfo& info)
{
    const QString prompt = QString::fromUtf8(info.pszPrompt);
    const qsizetype nBreak = prompt.indexOf(u'\n');
    return nBreak < 0 ? QString() : prompt.mid(nBreak + 1);
}

QString StatusPrompt(const CCommandInfo& info)
{
    return QString::fromUtf8(info.pszPrompt).section(u'\n', 0, 0);
}

} // namespace CommandTable
