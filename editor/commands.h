// The main window's commands: the menu dispatcher by tag, the save question, the file
// commands, and the tool commands. The frame's widgets only forward to these.
#pragma once

#include <string>

namespace quarvel {

class TEditorState;

// Menu tags.
enum MenuTag {
    tagNone = 0, // items without a command of their own
    tagFile = 10,
    tagNew = 11,
    tagOpen = 12,
    tagSave = 13,
    tagSaveAs = 14,
    tagSeparator1 = 15,
    tagExit = 16,
    tagEdit = 20,
    tagUndo = 21,
    tagRedo = 22,
    tagSeparator2 = 23,
    tagCut = 24,
    tagCopy = 25,
    tagPaste = 26,
    tagDelete = 27,
    tagSeparator3 = 28,
    tagSelectAll = 29,
    tagOperation = 30,
    tagUp = 31,
    tagDown = 32,
    tagSeparator4 = 33,
    tagPrev = 34,
    tagNext = 35,
    tagSeparator5 = 36,
    tagRefresh = 37,
    tagFix = 38,
    tagWindow = 40,
    tagSwitch = 41,
    tagSeparator6 = 42,
    tagCascade = 43,
    tagHTile = 44,
    tagVTile = 45,
    tagSeparator7 = 46,
    tagEZoom = 47,
    tagVZoom = 48,
    tagTool = 50,
    tagMake = 51,
    tagUnpack = 52,
    tagCommandSearch = 53, // the frame's command palette
    tagShortcuts = 54,     // the frame's dialog of the commands' keys
    tagView = 60,
    tagGhost = 61,
    tagCutAway = 62,
    tagHover = 63,
    tagChanges = 64,
    tagProblems = 65, // the problems panel
    tagShift = 210,
    tagReplace = 211,
    tagMoveSelection = 212, // the move dialog
    tagFindReplace = 213,   // the replace dialog
    // Level steps that keep the selection on.
    tagUpKeep = 311,
    tagDownKeep = 312,
    // Moves of the selection box by one cell or one level (keys only, no menu item).
    tagMoveLeft = 321,
    tagMoveRight = 322,
    tagMoveBack = 323,    // one row up the screen: -y
    tagMoveForward = 324, // one row down the screen: +y
    tagMoveUp = 325,      // one level up: +z
    tagMoveDown = 326
};

// Runs the command of a menu item. Tags 210 and 211 run SHIFT1Click; unknown tags do nothing.
// Errors of the command (a file that cannot be read or written, a broken archive)
// propagate as exceptions: the frame shows their text in an error box titled "Quarvel".
void MenuClick(TEditorState& State, int tag);
bool SavePrompt(TEditorState& State);
// Opens the map file `path` (menu Open, command line, drops, another start, recent files):
// the save question first (unless the caller asked it already), then the recovery copy of
// that file when an earlier run left one, then the file; "マップファイルじゃないよ？" when it
// is not a map. True when a map was loaded.
enum class SaveQuestion { Ask, Asked };
bool OpenMapFile(TEditorState& State, const std::string& path,
                 SaveQuestion question = SaveQuestion::Ask);
bool Save(TEditorState& State);
bool SaveAs(TEditorState& State);
// Cursor, level and chip to 0, selection off, chips of the map's terrain set (a set
// outside 0..3 keeps the loaded pictures), then every window. An error while loading the
// chips is rethrown after the windows have been redrawn.
void ResetViews(TEditorState& State);
// The shift and swap dialogs (tag 210 or 211); redraws both views when the dialog ends OK.
void SHIFT1Click(TEditorState& State, int tag);
// Background colours of the edit view (N4) and the whole-map view (N5); one colour dialog
// that remembers the last colour chosen in either.
void N4Click(TEditorState& State);
void N5Click(TEditorState& State);
// Closing the frame: false refuses the close.
bool FormClose(TEditorState& State);

} // namespace quarvel
