// Mouse editing of the edit view: one handler for presses and moves, single-cell writes,
// flood fill and the level rule.
#include "editor/editlogic.h"

#include "editor/global.h"
#include "editor/selectarea.h"
#include "editor/texts.h"
#include "editor/windows.h"
#include "graphics/editpicture.h"
#include "map/chipclasses.h"
#include "map/mapclass.h"

#include <algorithm>

namespace quarvel {

const char* const LevelWarnings[3] = {"", QUARVEL_TR_NOOP("EditLogic", "床抜けるよ？"),
                                      QUARVEL_TR_NOOP("EditLogic", "天井ぶち抜くよ？")};

namespace {

// State.PressHasStep: whether the press that is going on has opened its undo step. A press
// that begins as a Ctrl selection or a Ctrl pick opens none; when Ctrl is let go during the
// drag and the press starts to draw or erase, it opens its step then, so the drawn cells
// never join the step of an earlier action.
void OpenStepOnce(TEditorState& State, bool newPress) {
    if (newPress || !State.PressHasStep) {
        State.TheMap->UndoBuf.BeginStep();
        State.PressHasStep = true;
    }
}

void FillAndRedraw(TEditorState& State, uint8_t chip) {
    State.TheMap->UndoBuf.BeginStep();
    State.PressHasStep = true;
    FloodFill(State, State.CursorX, State.CursorY, State.CurrentLevel, chip);
    State.Windows.Edit->RedrawLevel();
    State.Windows.Whole->RedrawAll();
}

} // namespace

void HandleMouse(TEditorState& State, int px, int py, const MouseState& s) {
    Point cell = EditPixelToCell(px, py, State.Windows.Edit->GetZoom());
    const bool inside = TMap::Inside(cell.x, cell.y, 0);
    const int x = std::clamp(cell.x, 0, TMap::SizeX - 1);
    const int y = std::clamp(cell.y, 0, TMap::SizeY - 1);
    if (x == State.CursorX && y == State.CursorY && !s.NewL && !s.NewR) return;
    State.CursorX = x;
    State.CursorY = y;

    if (s.DownL) {
        if (s.NewL) State.PressHasStep = false;
        State.TheSelection->SetActive(s.DownC);
        if (s.DownC) {
            // Selecting works outside the map too, with the clamped cell.
            if (s.NewL)
                State.TheSelection->SetCorner(0, State.CursorX, State.CursorY);
            else
                State.TheSelection->SetCorner(1, State.CursorX, State.CursorY);
        } else if (inside && s.DownS) {
            if (s.NewL) FillAndRedraw(State, State.CurrentChip);
        } else {
            OpenStepOnce(State, s.NewL);
            if (inside)
                PutChip(State, State.CursorX, State.CursorY, State.CurrentLevel, State.CurrentChip);
        }
    } else if (s.DownR) {
        if (s.NewR) State.PressHasStep = false;
        State.TheSelection->SetActive(false);
        if (inside && s.DownC) {
            State.CurrentChip =
                State.TheMap->GetChip(State.CursorX, State.CursorY, State.CurrentLevel);
            State.Windows.Info->UpdateInfo();
        } else if (inside && s.DownS) {
            if (s.NewR) FillAndRedraw(State, 0);
        } else {
            OpenStepOnce(State, s.NewR);
            if (inside) PutChip(State, State.CursorX, State.CursorY, State.CurrentLevel, 0);
        }
    }
    State.Windows.Edit->PaintView();
    State.Windows.Info->UpdateInfo();
}

void PutChip(TEditorState& State, int x, int y, int z, uint8_t chip) {
    if (State.TheMap->GetChip(x, y, z) == chip) return;
    if (CheckLevelRule(State, z, chip) > 0) return;
    State.TheMap->SetChip(x, y, z, chip);
    State.Windows.Edit->RedrawCell(x, y);
    // A chip also shows on the whole-map picture of the levels around it.
    for (int k = -4; k <= 4; ++k) State.Windows.Whole->RedrawCell(x, y, z + k);
    State.Windows.Whole->PaintView();
}

void FloodFill(TEditorState& State, int x, int y, int z, uint8_t chip) {
    if (State.TheMap->GetChip(x, y, z) == chip) return;
    if (CheckLevelRule(State, z, chip) > 0) return;
    const uint8_t old = State.TheMap->GetChip(x, y, z);
    State.TheMap->SetChip(x, y, z, chip);
    // Neighbours are tested after the write, on the map as it stands now.
    if (x > 0 && State.TheMap->GetChip(x - 1, y, z) == old) FloodFill(State, x - 1, y, z, chip);
    if (y > 0 && State.TheMap->GetChip(x, y - 1, z) == old) FloodFill(State, x, y - 1, z, chip);
    if (x < TMap::SizeX - 1 && State.TheMap->GetChip(x + 1, y, z) == old)
        FloodFill(State, x + 1, y, z, chip);
    if (y < TMap::SizeY - 1 && State.TheMap->GetChip(x, y + 1, z) == old)
        FloodFill(State, x, y + 1, z, chip);
}

int CheckLevelRule(TEditorState& State, int z, uint8_t chip) {
    const int w = LevelRuleWarning(z, chip);
    if (w > 0)
        State.Windows.Messages->Show(Tr("EditLogic", LevelWarnings[w]), Tr("Messages", "エラー"),
                                     MsgButtons::Ok);
    return w;
}

} // namespace quarvel
