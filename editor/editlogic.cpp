// Mouse editing of the edit view: one handler for presses and moves, single-cell writes,
// flood fill and the level rule.
#include "editor/editlogic.h"

#include "editor/global.h"
#include "editor/selectarea.h"
#include "editor/windows.h"
#include "graphics/editpicture.h"
#include "map/chipclasses.h"
#include "map/mapclass.h"

#include <algorithm>

namespace quarvel {

const char* const LevelWarnings[3] = {"", "床抜けるよ？", "天井ぶち抜くよ？"};

namespace {

// Whether the press that is going on has opened its undo step. A press that begins as a
// Ctrl selection or a Ctrl pick opens none; when Ctrl is let go during the drag and the
// press starts to draw or erase, it opens its step then, so the drawn cells never join
// the step of an earlier action.
bool PressHasStep = false;

void OpenStepOnce(bool newPress) {
    if (newPress || !PressHasStep) {
        TheMap->UndoBuf.BeginStep();
        PressHasStep = true;
    }
}

void FillAndRedraw(uint8_t chip) {
    TheMap->UndoBuf.BeginStep();
    PressHasStep = true;
    FloodFill(CursorX, CursorY, CurrentLevel, chip);
    Windows.Edit->RedrawLevel();
    Windows.Whole->RedrawAll();
}

} // namespace

void HandleMouse(int px, int py, const MouseState& s) {
    Point cell = EditPixelToCell(px, py, Windows.Edit->GetZoom());
    const bool inside = TMap::Inside(cell.x, cell.y, 0);
    const int x = std::clamp(cell.x, 0, 31);
    const int y = std::clamp(cell.y, 0, 31);
    if (x == CursorX && y == CursorY && !s.NewL && !s.NewR) return;
    CursorX = x;
    CursorY = y;

    if (s.DownL) {
        if (s.NewL) PressHasStep = false;
        TheSelection->SetActive(s.DownC);
        if (s.DownC) {
            // Selecting works outside the map too, with the clamped cell.
            if (s.NewL)
                TheSelection->SetCorner(0, CursorX, CursorY);
            else
                TheSelection->SetCorner(1, CursorX, CursorY);
        } else if (inside && s.DownS) {
            if (s.NewL) FillAndRedraw(CurrentChip);
        } else {
            OpenStepOnce(s.NewL);
            if (inside) PutChip(CursorX, CursorY, CurrentLevel, CurrentChip);
        }
    } else if (s.DownR) {
        if (s.NewR) PressHasStep = false;
        TheSelection->SetActive(false);
        if (inside && s.DownC) {
            CurrentChip = TheMap->GetChip(CursorX, CursorY, CurrentLevel);
            Windows.Info->UpdateInfo();
        } else if (inside && s.DownS) {
            if (s.NewR) FillAndRedraw(0);
        } else {
            OpenStepOnce(s.NewR);
            if (inside) PutChip(CursorX, CursorY, CurrentLevel, 0);
        }
    }
    Windows.Edit->PaintView();
    Windows.Info->UpdateInfo();
}

void PutChip(int x, int y, int z, uint8_t chip) {
    if (TheMap->GetChip(x, y, z) == chip) return;
    if (CheckLevelRule(z, chip) > 0) return;
    TheMap->SetChip(x, y, z, chip);
    Windows.Edit->RedrawCell(x, y);
    // A chip also shows on the whole-map picture of the levels around it.
    for (int k = -4; k <= 4; ++k) Windows.Whole->RedrawCell(x, y, z + k);
    Windows.Whole->PaintView();
}

void FloodFill(int x, int y, int z, uint8_t chip) {
    if (TheMap->GetChip(x, y, z) == chip) return;
    if (CheckLevelRule(z, chip) > 0) return;
    const uint8_t old = TheMap->GetChip(x, y, z);
    TheMap->SetChip(x, y, z, chip);
    // Neighbours are tested after the write, on the map as it stands now.
    if (x > 0 && TheMap->GetChip(x - 1, y, z) == old) FloodFill(x - 1, y, z, chip);
    if (y > 0 && TheMap->GetChip(x, y - 1, z) == old) FloodFill(x, y - 1, z, chip);
    if (x < 31 && TheMap->GetChip(x + 1, y, z) == old) FloodFill(x + 1, y, z, chip);
    if (y < 31 && TheMap->GetChip(x, y + 1, z) == old) FloodFill(x, y + 1, z, chip);
}

int CheckLevelRule(int z, uint8_t chip) {
    const int w = LevelRuleWarning(z, chip);
    if (w > 0) Windows.Messages->Show(LevelWarnings[w], "エラー", MsgButtons::Ok);
    return w;
}

} // namespace quarvel
