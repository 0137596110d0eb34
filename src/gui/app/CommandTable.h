#pragma once

#include <QString>

#include <span>

// The program's command vocabulary: ids, menu texts, prompt strings ("status prompt\ntooltip"),
// accelerators, and the orders of the menus and toolbars.
enum ECommandId : int
{
    ID_SEPARATOR = 0,
    ID_EXPORT_TILESET = 32771,
    ID_IMPORT_TILESET = 32772,
    ID_EXPORT_PALETTE = 32773,
    ID_IMPORT_PALETTE = 32774,
    ID_TILE_COPY = 32775,
    ID_TILE_FILL = 32777,
    ID_MODE_PAINT = 32778,
    ID_MODE_DROPPER = 32779,
    ID_MODE_FILL = 32780,
    ID_SHIFT_LEFT = 32781,
    ID_SHIFT_DOWN = 32783,
    ID_SHIFT_RIGHT = 32784,
    ID_FLIP_HORZ = 32785,
    ID_ROTATE_LEFT = 32787,
    ID_TILE_PASTE = 32789,
    ID_SHIFT_UP = 32790,
    ID_FLIP_VERT = 32791,
    ID_ROTATE_RIGHT = 32792,
    ID_ERASE_ALL = 32795,
    ID_EXPORT_PALETTE_AS = 32800,
    ID_IMPORT_PALETTE_FROM = 32801,
    ID_EXPORT_TILESET_IMAGE = 32802,
    ID_IMPORT_TILESET_IMAGE = 32803,
    ID_EXPORT_POSES = 32804,
    ID_FILE_NEW = 57600,
    ID_FILE_OPEN = 57601,
    ID_FILE_SAVE = 57603,
    ID_FILE_SAVE_AS = 57604,
    ID_FILE_MRU_FILE1 = 57616,
    ID_EDIT_COPY = 57634,
    ID_EDIT_CUT = 57635,
    ID_EDIT_PASTE = 57637,
    ID_EDIT_UNDO = 57643,
    ID_EDIT_REDO = 57644,
    ID_APP_ABOUT = 57664,
    ID_APP_EXIT = 57665,
    ID_NEXT_PANE = 57680,
    ID_PREV_PANE = 57681,
};

struct CCommandInfo
{
    int nId;
    const char* pszMenuText; // null: the command has no menu item
    const char* pszPrompt;   // status prompt, then optionally "\n" and the tooltip
    const char* pszKeys[2];  // accelerators in QKeySequence text form
};

struct CMenuInfo
{
    const char* pszTitle;
    std::span<const int> items; // ID_SEPARATOR between groups
};

namespace CommandTable {

std::span<const CCommandInfo> Commands();
const CCommandInfo* Find(int nId);

std::span<const CMenuInfo> Menus();
std::span<const int> MainToolbar();
std::span<const int> EditToolbar();

// Commands enabled exactly while an image is loaded: editing, import, export and Save.
bool IsEditCommand(int nId);

// Undo and Redo: enabled while the history has a step to take.
bool IsHistoryCommand(int nId);

// The tooltip part of a prompt string; empty when the prompt has none.
QString ToolTip(const CCommandInfo& info);
QString StatusPrompt(const CCommandInfo& info);

} // namespace CommandTable
