// Moving the selection box with its cells, and level steps that keep the selection.
#include "editor/selectionmove.h"

#include "editor/global.h"
#include "editor/maptooldialogs.h"
#include "editor/selectarea.h"
#include "editor/texts.h"
#include "editor/windows.h"
#include "map/chipclasses.h"
#include "map/mapclass.h"

#include <algorithm>
#include <limits>
#include <vector>

namespace quarvel {

const char* const MoveRefusedMessage = QUARVEL_TR_NOOP("SelectionMove", "マップからはみ出すよ？");

namespace {

// TMap::Inside for coordinates that an offset may have carried beyond int's range.
bool InsideMap(long long x, long long y, long long z) {
    const auto narrow = [](long long v) {
        return int(std::clamp<long long>(v, -1, std::numeric_limits<int>::max()));
    };
    return TMap::Inside(narrow(x), narrow(y), narrow(z));
}

int32_t Moved(int32_t v, int d, int last) {
    return int32_t(std::clamp<long long>((long long)v + d, 0, last));
}

// The edit view shows CurrentLevel afresh with the selection outlined on it; the whole-map
// view shows the box.
void ShowLevelWithSelection(TEditorState& State) {
    State.Windows.Edit->RedrawLevel();
    if (State.TheSelection->Active) {
        State.TheSelection->MarkAll();
        State.Windows.Edit->PaintView();
    }
}

} // namespace

MoveResult MoveSelection(TEditorState& State, int dx, int dy, int dz) {
    if (!State.TheSelection->Active || (dx == 0 && dy == 0 && dz == 0)) return MoveResult::Nothing;
    const SelectionBox box = State.TheSelection->Box(State.CurrentLevel);
    std::vector<uint8_t> block;
    block.reserve(size_t(box.Width()) * size_t(box.Height()) * size_t(box.Depth()));
    bool refused = false;
    for (int z = box.Low; z <= box.High; ++z)
        for (int y = box.Top; y <= box.Bottom; ++y)
            for (int x = box.Left; x <= box.Right; ++x) {
                const uint8_t c = State.TheMap->GetChip(x, y, z);
                block.push_back(c);
                refused |=
                    c != 0 && !InsideMap((long long)x + dx, (long long)y + dy, (long long)z + dz);
            }
    if (refused) return MoveResult::Refused;
    const bool empty = std::all_of(block.begin(), block.end(), [](uint8_t c) { return c == 0; });

    if (!empty) {
        State.TheMap->UndoBuf.BeginStep();
        for (int z = box.Low; z <= box.High; ++z)
            for (int y = box.Top; y <= box.Bottom; ++y)
                for (int x = box.Left; x <= box.Right; ++x) State.TheMap->SetChip(x, y, z, 0);
        size_t n = 0;
        for (int z = box.Low; z <= box.High; ++z)
            for (int y = box.Top; y <= box.Bottom; ++y)
                for (int x = box.Left; x <= box.Right; ++x) {
                    const uint8_t c = block[n++];
                    const long long tx = (long long)x + dx, ty = (long long)y + dy,
                                    tz = (long long)z + dz;
                    if (!InsideMap(tx, ty, tz)) continue; // an empty cell by the check above
                    State.TheMap->SetChip(int(tx), int(ty), int(tz), LevelFilter(int(tz), c));
                }
    }

    TSelectArea& s = *State.TheSelection;
    s.X0 = Moved(s.X0, dx, TMap::SizeX - 1);
    s.X1 = Moved(s.X1, dx, TMap::SizeX - 1);
    s.Y0 = Moved(s.Y0, dy, TMap::SizeY - 1);
    s.Y1 = Moved(s.Y1, dy, TMap::SizeY - 1);
    s.Z0 = Moved(s.Z0, dz, TMap::SizeZ - 1);
    State.CurrentLevel = Moved(State.CurrentLevel, dz, TMap::SizeZ - 1);
    ShowLevelWithSelection(State);
    State.Windows.Whole->RedrawAll();
    State.Windows.Whole->ShowSelection();
    State.Windows.Info->UpdateInfo();
    return MoveResult::Moved;
}

void MoveSelectionCommand(TEditorState& State, int dx, int dy, int dz) {
    if (MoveSelection(State, dx, dy, dz) == MoveResult::Refused)
        State.Windows.Messages->Show(Tr("SelectionMove", MoveRefusedMessage),
                                     Tr("Messages", "エラー"), MsgButtons::Ok);
}

void MoveSelectionDialog(TEditorState& State) {
    if (!State.TheSelection->Active) return;
    MoveOffsets offsets;
    while (State.Windows.Main->RunMoveDialog(offsets)) {
        if (MoveSelection(State, offsets.X, offsets.Y, offsets.Z) != MoveResult::Refused) return;
        State.Windows.Messages->Show(Tr("SelectionMove", MoveRefusedMessage),
                                     Tr("Messages", "エラー"), MsgButtons::Ok);
    }
}

void ChangeLevelKeepingSelection(TEditorState& State, int z) {
    if (z < 0 || z >= TMap::SizeZ || z == State.CurrentLevel) return;
    State.CurrentLevel = z;
    ShowLevelWithSelection(State);
    LevelChanged(State);
    if (State.TheSelection->Active) State.Windows.Whole->ShowSelection();
    State.Windows.Info->UpdateInfo();
}

std::string SelectionLevelsText(TEditorState& State) {
    if (!State.TheSelection || !State.TheSelection->Active) return "";
    const SelectionBox box = State.TheSelection->Box(State.CurrentLevel);
    if (box.Depth() == 1) return "";
    return Arg(Tr("SelectionMove", "選択 Z:%1-%2"),
               {std::to_string(box.Low), std::to_string(box.High)});
}

} // namespace quarvel
