// The state all windows of the editor share, the selection and copy buffer, and the
// editor's start-up and shut-down.
#pragma once

#include "editor/diskfile.h"
#include "editor/session.h"
#include "editor/viewoptions.h"
#include "editor/windows.h"
#include "graphics/bmp256.h"
#include "graphics/chipsheet.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace quarvel {

class TMap;
class TSelectArea;

struct TCopyBuf {
    int32_t Width = 0;
    int32_t Height = 0;
    // Level by level, bottom first, each row by row: Data[(k * Height + i) * Width + j].
    std::vector<uint8_t> Data;
    int32_t Depth = 1; // levels copied
};

// Everything one editor works on: its map, selection, copy buffer, cursor, chips, windows
// and session. The program owns one; the CLI makes one per edit script; tests make one per
// test. Two states never share anything, so two maps can be edited side by side.
class TEditorState {
public:
    TEditorState();
    ~TEditorState(); // frees what StartEditor created
    TEditorState(const TEditorState&) = delete;
    TEditorState& operator=(const TEditorState&) = delete;

    // The two chip sheets (0 large, 1 small). They are allocated as one array, so
    // ChipSheet[1] == ChipSheet[0] + 1 and the pictures can be attached to ChipSheet[0] as
    // a pair. Null before StartEditor and after StopEditor.
    TBMP256* ChipSheet[2] = {nullptr, nullptr};
    uint8_t TransparentIndex[2] = {0, 0};
    // The map being edited: the one StartEditor made (OwnedMap), or one that the owner of
    // the state keeps (a script's map, a test's). Null before StartEditor.
    TMap* TheMap = nullptr;
    std::unique_ptr<TMap> OwnedMap;
    int32_t CursorX = 0;
    int32_t CursorY = 0;
    int32_t CurrentLevel = 0;
    uint8_t CurrentChip = 0;
    int32_t CurrentTerrain = 0;
    std::unique_ptr<TSelectArea> TheSelection;
    TCopyBuf TheCopyBuf;

    // The folder that holds the program (with a trailing '/'); chip/, map/ and dat/ lie in
    // it. Empty means the current directory. The program entry sets it before StartEditor.
    std::string ProgramFolder;
    // The windows of this editor; all set before StartEditor.
    EditorWindows Windows;
    // The recovery copy and the recent files, when the program installed them.
    EditorSession Session;
    // The map's file on disk as last loaded or saved, and what of its changes was reported.
    TDiskFile DiskFile;

    // The map as its file was last loaded or saved (the empty map of 新規作成 for a map
    // without a file; null until the first), and the cells that differ from it while
    // 変更箇所を表示 is on (TMap::Index values in cell order): editor/changes.h.
    std::unique_ptr<TMap> Baseline;
    std::vector<int32_t> Changes;

    // The 表示 menu's options, and where they are kept (null: nowhere, as in tests and scripts).
    TViewOptions View;
    IViewOptionsStore* ViewStore = nullptr;

    // The colour the colour dialog opens on (the last one chosen; black at first).
    TColor LastChosenColor = 0;
    // Hooks of the archive commands (DAT構築, DAT分解):
    // Cp932ToFileName turns an entry name of map.ini (code page 932 bytes) into the name
    // the file system knows the file by (UTF-8); it throws QuarvelError for bytes that are
    // not code page 932. Empty means the bytes are used as they are.
    std::function<std::string(const std::string& cp932)> Cp932ToFileName;
    // Set by the GUI: called after each archived or unpacked entry with (done, total), so
    // the GUI can show a progress dialog for long lists; empty means no progress is shown.
    std::function<void(size_t done, size_t total)> ArchiveProgress;

    // Whether the mouse press that is going on in the edit view has opened its undo step.
    bool PressHasStep = false;

    // The storage of ChipSheet.
    std::unique_ptr<TBMP256[]> SheetPair;
};

// Reads terrain set `set` into the chip sheets; tells the views. False when a file is
// missing (nothing changes); throws QuarvelError when a file is short (nothing changes).
// A set outside 0..3 throws std::out_of_range.
bool LoadChips(TEditorState& State, int set);

// Creates TheMap, TheSelection and the chip sheets, loads terrain set 0 and arranges the
// windows (all of `Windows` must be set). When a chip file of set 0 is missing it shows
// "チップデータが見つかりません" and terminates the application. When a chip file exists but
// cannot be read or is too short, it catches the error, shows its text (naming the file)
// in an error box titled "Quarvel" and terminates the application: StartEditor never
// throws for chip files, and the caller only has to run the message loop (which ends at
// once after Terminate). Called again, it first frees what an earlier call created.
void StartEditor(TEditorState& State);

// Empties `map` as a new map (TMap::Clear), named "新規マップ" as shown in the language of the
// texts: a translation in plain ASCII (which code page 932 holds as it is) replaces the name.
// Unmodified either way.
void ClearToNewMap(TMap& map);
// Frees TheMap, TheSelection and the chip sheets and leaves the pointers null.
void StopEditor(TEditorState& State);

} // namespace quarvel
