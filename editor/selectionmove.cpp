// Moving the selection box with its cells, and level steps that keep the selection.
#include "editor/selectionmove.h"

#include "editor/global.h"
#include "editor/maptooldialogs.h"
#include "editor/selectarea.h"
#include "editor/windows.h"
#include "map/chipclasses.h"
#include "map/mapclass.h"

#include <algorithm>
#include <vector>

namespace quarvel {

const char* const MoveRefusedMessage = "マップからはみ出すよ？";

namespace {

bool InsideMap(long long x, long long y, long long z) {
    return x >= 0 && x <= 31 && y >= 0 && y <= 31 && z >= 0 && z <= 47;
}

int32_t Moved(int32_t v, int d, int last) {
    return int32_t(std::clamp<long long>((long long)v + d, 0, last));
}

// The edit view shows CurrentLevel afresh with the selection outlined on it; the whole-map
// view shows the box.
void ShowLevelWithSelection() {
    Windows.Edit->RedrawLevel();
    if (TheSelection->Active) {
        TheSelection->MarkAll();
        Windows.Edit->PaintView();
    }
}

} // namespace

MoveResult MoveSelection(int dx, int dy, int dz) {
    if (!TheSelection->Active || (dx == 0 && dy == 0 && dz == 0)) return MoveResult::Nothing;
    const SelectionBox box = TheSelection->Box(CurrentLevel);
    std::vector<uint8_t> block;
    block.reserve(size_t(box.Width()) * size_t(box.Height()) * size_t(box.Depth()));
    bool refused = false;
    for (int z = box.Low; z <= box.High; ++z)
        for (int y = box.Top; y <= box.Bottom; ++y)
            for (int x = box.Left; x <= box.Right; ++x) {
                const uint8_t c = TheMap->GetChip(x, y, z);
                block.push_back(c);
                refused |=
                    c != 0 && !InsideMap((long long)x + dx, (long long)y + dy, (long long)z + dz);
            }
    if (refused) return MoveResult::Refused;
    const bool empty = std::all_of(block.begin(), block.end(), [](uint8_t c) { return c == 0; });

    if (!empty) {
        TheMap->UndoBuf.BeginStep();
        for (int z = box.Low; z <= box.High; ++z)
            for (int y = box.Top; y <= box.Bottom; ++y)
                for (int x = box.Left; x <= box.Right; ++x) TheMap->SetChip(x, y, z, 0);
        size_t n = 0;
        for (int z = box.Low; z <= box.High; ++z)
            for (int y = box.Top; y <= box.Bottom; ++y)
                for (int x = box.Left; x <= box.Right; ++x) {
                    const uint8_t c = block[n++];
                    const long long tx = (long long)x + dx, ty = (long long)y + dy,
                                    tz = (long long)z + dz;
                    if (!InsideMap(tx, ty, tz)) continue; // an empty cell by the check above
                    TheMap->SetChip(int(tx), int(ty), int(tz), LevelFilter(int(tz), c));
                }
    }

    TSelectArea& s = *TheSelection;
    s.X0 = Moved(s.X0, dx, 31);
    s.X1 = Moved(s.X1, dx, 31);
    s.Y0 = Moved(s.Y0, dy, 31);
    s.Y1 = Moved(s.Y1, dy, 31);
    s.Z0 = Moved(s.Z0, dz, 47);
    CurrentLevel = Moved(CurrentLevel, dz, 47);
    ShowLevelWithSelection();
    Windows.Whole->RedrawAll();
    Windows.Whole->ShowSelection();
    Windows.Info->UpdateInfo();
    return MoveResult::Moved;
}

void MoveSelectionCommand(int dx, int dy, int dz) {
    if (MoveSelection(dx, dy, dz) == MoveResult::Refused)
        Windows.Messages->Show(MoveRefusedMessage, "エラー", MsgButtons::Ok);
}

void MoveSelectionDialog() {
    if (!TheSelection->Active) return;
    MoveOffsets offsets;
    while (Windows.Main->RunMoveDialog(offsets)) {
        if (MoveSelection(offsets.X, offsets.Y, offsets.Z) != MoveResult::Refused) return;
        Windows.Messages->Show(MoveRefusedMessage, "エラー", MsgButtons::Ok);
    }
}

void ChangeLevelKeepingSelection(int z) {
    if (z < 0 || z > 47 || z == CurrentLevel) return;
    CurrentLevel = z;
    ShowLevelWithSelection();
    if (TheSelection->Active) Windows.Whole->ShowSelection();
    Windows.Info->UpdateInfo();
}

std::string SelectionLevelsText() {
    if (!TheSelection || !TheSelection->Active) return "";
    const SelectionBox box = TheSelection->Box(CurrentLevel);
    if (box.Depth() == 1) return "";
    return "選択 Z:" + std::to_string(box.Low) + "-" + std::to_string(box.High);
}

} // namespace quarvel
