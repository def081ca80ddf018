// quarvel-cli edit: script commands that run the editor's own mouse and clipboard logic on
// the script's map, with a window set that prints message boxes instead of showing them.
#include "app/cli/editscript.h"

#include "app/cli/headless.h"
#include "editor/chipreplace.h"
#include "editor/clipboard.h"
#include "editor/commands.h"
#include "editor/editlogic.h"
#include "editor/global.h"
#include "editor/infopanel.h"
#include "editor/selectarea.h"
#include "editor/selectionmove.h"
#include "map/mapclass.h"

#include <memory>
#include <ostream>
#include <string>

namespace quarvel::cli {

namespace {

// The editor state of one script: its TheMap is the script's map, with a fresh selection
// and windows that print message box texts to the script's output. No chip sheets are
// needed: the headless views draw nothing.
struct ScriptEditor : ScriptExtension {
    explicit ScriptEditor(ScriptContext& ctx) : Headless(ctx.Out) {
        Headless.Install(State);
        State.TheMap = &ctx.Map;
        State.TheSelection = std::make_unique<TSelectArea>(State);
    }
    THeadlessWindows Headless;
    TEditorState State;
};

TEditorState& EditorOf(ScriptContext& ctx) {
    return static_cast<ScriptEditor&>(*ctx.Editor).State;
}

void BeginEditor(ScriptContext& ctx) {
    ctx.Editor = std::make_unique<ScriptEditor>(ctx);
}

void EndEditor(ScriptContext& ctx) {
    ctx.Editor.reset();
}

ScriptHookRegistration editorHook({BeginEditor, EndEditor});

void CellAndChip(ScriptContext& ctx, const std::vector<std::string>& w, int& x, int& y, int& z,
                 uint8_t& chip) {
    ctx.ExpectArgs(w, 4, 4);
    x = ctx.IntIn(w[1], "X", 0, TMap::SizeX - 1);
    y = ctx.IntIn(w[2], "Y", 0, TMap::SizeY - 1);
    z = ctx.IntIn(w[3], "Z", 0, TMap::SizeZ - 1);
    chip = uint8_t(ctx.IntIn(w[4], "CHIP", 0, 255));
}

// The edit view's write of one cell: an unchanged cell is skipped, a refused chip prints the
// warning. Like `set`, it opens no undo step: `step` groups writes as one mouse press does.
void CmdPut(ScriptContext& ctx, const std::vector<std::string>& w) {
    TEditorState& State = EditorOf(ctx);
    int x, y, z;
    uint8_t chip;
    CellAndChip(ctx, w, x, y, z, chip);
    PutChip(State, x, y, z, chip);
}

// The edit view's fill of the 4-connected area of equal chips, in the current undo step.
void CmdFill(ScriptContext& ctx, const std::vector<std::string>& w) {
    TEditorState& State = EditorOf(ctx);
    int x, y, z;
    uint8_t chip;
    CellAndChip(ctx, w, x, y, z, chip);
    FloodFill(State, x, y, z, chip);
}

// The info panel's level list: a new level switches the selection off.
void CmdLevel(ScriptContext& ctx, const std::vector<std::string>& w) {
    TEditorState& State = EditorOf(ctx);
    ctx.ExpectArgs(w, 1, 1);
    ComboBox2Change(State, ctx.IntIn(w[1], "Z", 0, TMap::SizeZ - 1));
}

void CmdSelect(ScriptContext& ctx, const std::vector<std::string>& w) {
    TEditorState& State = EditorOf(ctx);
    ctx.ExpectArgs(w, 4, 4);
    const int x0 = ctx.IntIn(w[1], "X0", 0, TMap::SizeX - 1),
              y0 = ctx.IntIn(w[2], "Y0", 0, TMap::SizeY - 1);
    const int x1 = ctx.IntIn(w[3], "X1", 0, TMap::SizeX - 1),
              y1 = ctx.IntIn(w[4], "Y1", 0, TMap::SizeY - 1);
    State.TheSelection->SetActive(true);
    State.TheSelection->SetCorner(0, x0, y0);
    State.TheSelection->SetCorner(1, x1, y1);
}

// The level commands that keep the selection: the current level becomes Z.
void CmdExtend(ScriptContext& ctx, const std::vector<std::string>& w) {
    TEditorState& State = EditorOf(ctx);
    ctx.ExpectArgs(w, 1, 1);
    ChangeLevelKeepingSelection(State, ctx.IntIn(w[1], "Z", 0, TMap::SizeZ - 1));
}

// Moves the selection box with its cells: "ok", "refused" (a chip would leave the map) or
// "cancel" (no selection, or a zero offset).
void CmdMove(ScriptContext& ctx, const std::vector<std::string>& w) {
    TEditorState& State = EditorOf(ctx);
    ctx.ExpectArgs(w, 3, 3);
    const int dx = ctx.Int(w[1], "DX"), dy = ctx.Int(w[2], "DY"), dz = ctx.Int(w[3], "DZ");
    switch (MoveSelection(State, dx, dy, dz)) {
    case MoveResult::Moved:
        ctx.Out << "ok\n";
        break;
    case MoveResult::Refused:
        ctx.Out << "refused\n";
        break;
    default:
        ctx.Out << "cancel\n";
        break;
    }
}

// The edit view's cursor goes to column X, row Y (the level stays).
void CmdCursor(ScriptContext& ctx, const std::vector<std::string>& w) {
    TEditorState& State = EditorOf(ctx);
    ctx.ExpectArgs(w, 2, 2);
    State.CursorX = ctx.IntIn(w[1], "X", 0, TMap::SizeX - 1);
    State.CursorY = ctx.IntIn(w[2], "Y", 0, TMap::SizeY - 1);
}

uint8_t ChipArg(ScriptContext& ctx, const std::string& word, const char* what) {
    return uint8_t(ctx.IntIn(word, what, 0, TMap::ChipCount - 1));
}

// Replaces chip A with B over the box between two corners (the whole map without them), as
// one undo step: prints "written skipped".
void CmdReplace(ScriptContext& ctx, const std::vector<std::string>& w) {
    ctx.ExpectArgs(w, 2, 8);
    if (w.size() != 3 && w.size() != 9) ctx.Malformed("replace: give no corner or both corners");
    const uint8_t from = ChipArg(ctx, w[1], "A"), to = ChipArg(ctx, w[2], "B");
    ChipBox box;
    if (w.size() == 9) {
        box.X0 = ctx.IntIn(w[3], "X0", 0, TMap::SizeX - 1);
        box.Y0 = ctx.IntIn(w[4], "Y0", 0, TMap::SizeY - 1);
        box.Z0 = ctx.IntIn(w[5], "Z0", 0, TMap::SizeZ - 1);
        box.X1 = ctx.IntIn(w[6], "X1", 0, TMap::SizeX - 1);
        box.Y1 = ctx.IntIn(w[7], "Y1", 0, TMap::SizeY - 1);
        box.Z1 = ctx.IntIn(w[8], "Z1", 0, TMap::SizeZ - 1);
    }
    const ReplaceCount count = ReplaceChips(ctx.Map, from, to, box);
    ctx.Out << count.Written << " " << count.Skipped << "\n";
}

// The next cell holding chip A after the cursor cell: prints "x y z" and moves the cursor
// and level there, or prints "none".
void CmdFind(ScriptContext& ctx, const std::vector<std::string>& w) {
    TEditorState& State = EditorOf(ctx);
    ctx.ExpectArgs(w, 1, 1);
    const uint8_t chip = ChipArg(ctx, w[1], "A");
    int x = State.CursorX, y = State.CursorY, z = State.CurrentLevel;
    if (!FindChip(ctx.Map, chip, x, y, z)) {
        ctx.Out << "none\n";
        return;
    }
    State.CursorX = x;
    State.CursorY = y;
    ComboBox2Change(State, z);
    ctx.Out << x << " " << y << " " << z << "\n";
}

template <int Tag> void CmdMenu(ScriptContext& ctx, const std::vector<std::string>& w) {
    TEditorState& State = EditorOf(ctx);
    ctx.ExpectArgs(w, 0, 0);
    MenuClick(State, Tag);
}

// "WIDTH HEIGHT" (and " DEPTH" for more than one level), then the chips level by level, row
// by row, all on one line.
void CmdCopyBuf(ScriptContext& ctx, const std::vector<std::string>& w) {
    TEditorState& State = EditorOf(ctx);
    ctx.ExpectArgs(w, 0, 0);
    std::string text =
        std::to_string(State.TheCopyBuf.Width) + " " + std::to_string(State.TheCopyBuf.Height);
    if (State.TheCopyBuf.Depth > 1) text += " " + std::to_string(State.TheCopyBuf.Depth);
    for (uint8_t b : State.TheCopyBuf.Data) text += " " + std::to_string(int(b));
    ctx.Out << text << "\n";
}

ScriptRegistration editorCommands[] = {
    ScriptRegistration({"put", "put X Y Z CHIP", CmdPut}),
    ScriptRegistration({"fill", "fill X Y Z CHIP", CmdFill}),
    ScriptRegistration({"level", "level Z", CmdLevel}),
    ScriptRegistration({"select", "select X0 Y0 X1 Y1", CmdSelect}),
    ScriptRegistration({"selectall", "selectall", CmdMenu<tagSelectAll>}),
    ScriptRegistration({"copy", "copy", CmdMenu<tagCopy>}),
    ScriptRegistration({"cut", "cut", CmdMenu<tagCut>}),
    ScriptRegistration({"paste", "paste", CmdMenu<tagPaste>}),
    ScriptRegistration({"delete", "delete", CmdMenu<tagDelete>}),
    ScriptRegistration({"copybuf", "copybuf", CmdCopyBuf}),
    ScriptRegistration({"extend", "extend Z", CmdExtend}),
    ScriptRegistration({"move", "move DX DY DZ", CmdMove}),
    ScriptRegistration({"cursor", "cursor X Y", CmdCursor}),
    ScriptRegistration({"replace", "replace A B [X0 Y0 Z0 X1 Y1 Z1]", CmdReplace}),
    ScriptRegistration({"find", "find A", CmdFind}),
};

} // namespace

} // namespace quarvel::cli
