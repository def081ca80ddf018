// Replacing one chip with another over a box, and finding the next cell holding a chip.
#include "editor/chipreplace.h"

#include "editor/global.h"
#include "editor/maptooldialogs.h"
#include "editor/problems.h"
#include "editor/selectarea.h"
#include "editor/texts.h"
#include "editor/windows.h"
#include "map/chipclasses.h"
#include "map/mapclass.h"
#include "map/maperror.h"

#include <algorithm>
#include <vector>

namespace quarvel {

const char* const NotFoundMessage = QUARVEL_TR_NOOP("ChipReplace", "見つかりません");
const char* const ReplaceCaption = QUARVEL_TR_NOOP("ChipReplace", "チップの置換");

namespace {

// Orders lo..hi and cuts it to 0..last; false when nothing of it lies on the map.
bool Order(int& lo, int& hi, int last) {
    if (lo > hi) std::swap(lo, hi);
    if (hi < 0 || lo > last) return false;
    lo = std::clamp(lo, 0, last);
    hi = std::clamp(hi, 0, last);
    return true;
}

} // namespace

ReplaceCount ReplaceChips(TMap& map, uint8_t from, uint8_t to, const ChipBox& box) {
    ReplaceCount count;
    if (from == to) return count;
    ChipBox b = box;
    if (!Order(b.X0, b.X1, TMap::SizeX - 1) || !Order(b.Y0, b.Y1, TMap::SizeY - 1) ||
        !Order(b.Z0, b.Z1, TMap::SizeZ - 1))
        return count;
    std::vector<int> matches; // cell indices, already in z, y, x order
    for (int z = b.Z0; z <= b.Z1; ++z) {
        const bool refused = LevelRuleWarning(z, to) != 0;
        for (int y = b.Y0; y <= b.Y1; ++y) {
            const uint8_t* row = map.Cells + TMap::Index(0, y, z);
            for (int x = b.X0; x <= b.X1; ++x) {
                if (row[x] != from) continue;
                if (refused)
                    ++count.Skipped;
                else
                    matches.push_back(TMap::Index(x, y, z));
            }
        }
    }
    if (matches.empty()) return count;
    map.UndoBuf.BeginStep();
    for (int i : matches) {
        const int z = i / TMap::LevelSize, y = i / TMap::SizeX % TMap::SizeY, x = i % TMap::SizeX;
        map.SetChip(x, y, z, to);
    }
    count.Written = int(matches.size());
    return count;
}

bool FindChip(const TMap& map, uint8_t chip, int& x, int& y, int& z) {
    const int start = TMap::Inside(x, y, z) ? TMap::Index(x, y, z) : TMap::CellCount - 1;
    for (int n = 1; n <= TMap::CellCount; ++n) {
        const int i = (start + n) % TMap::CellCount;
        if (map.Cells[i] != chip) continue;
        z = i / TMap::LevelSize;
        y = i / TMap::SizeX % TMap::SizeY;
        x = i % TMap::SizeX;
        return true;
    }
    return false;
}

std::string ReplacedMessage(const ReplaceCount& count) {
    std::string text =
        Arg(Tr("ChipReplace", "%1 個のチップを置換しました"), {std::to_string(count.Written)});
    if (count.Skipped > 0)
        text += Arg(Tr("ChipReplace", "\n（階層の制限で %1 個は置換しませんでした）"),
                    {std::to_string(count.Skipped)});
    return text;
}

ReplaceCount ReplaceChipsCommand(TEditorState& State, uint8_t from, uint8_t to,
                                 const ChipBox& box) {
    const ReplaceCount count = ReplaceChips(*State.TheMap, from, to, box);
    if (count.Written > 0) {
        State.Windows.Edit->RedrawLevel();
        State.Windows.Whole->RedrawAll();
        State.Windows.Info->UpdateInfo();
    }
    State.Windows.Messages->Show(ReplacedMessage(count), Tr("ChipReplace", ReplaceCaption),
                                 MsgButtons::Ok);
    return count;
}

bool FindNextCommand(TEditorState& State, uint8_t chip) {
    int x = State.CursorX, y = State.CursorY, z = State.CurrentLevel;
    if (!FindChip(*State.TheMap, chip, x, y, z)) {
        State.Windows.Messages->Show(Tr("ChipReplace", NotFoundMessage),
                                     Tr("ChipReplace", ReplaceCaption), MsgButtons::Ok);
        return false;
    }
    MoveCursorTo(State, x, y, z);
    return true;
}

ChipBox ReplaceRange(TEditorState& State, bool selection, bool levels, int low, int high) {
    ChipBox box;
    if (selection && State.TheSelection && State.TheSelection->Active) {
        const SelectionBox s = State.TheSelection->Box(State.CurrentLevel);
        box = {s.Left, s.Top, s.Low, s.Right, s.Bottom, s.High};
    }
    if (levels) {
        if (low > high) std::swap(low, high);
        box.Z0 = std::max(box.Z0, low);
        box.Z1 = std::min(box.Z1, high);
        if (box.Z0 > box.Z1) box.Z0 = box.Z1 = -1; // no level in common: an empty box
    }
    return box;
}

int NumberIn(const std::string& text, int lo, int hi) {
    const int value = StrToInt(text);
    if (value < lo || value > hi)
        throw QuarvelError(Arg(Tr("ChipReplace", "'%1' は %2～%3 の整数ではありません"),
                               {text, std::to_string(lo), std::to_string(hi)}));
    return value;
}

void ReplaceChipsDialog(TEditorState& State) {
    ReplaceChoices choices;
    choices.From = choices.To = State.CurrentChip < TMap::ChipCount ? State.CurrentChip : 0;
    for (;;) {
        choices.SelectionOn = State.TheSelection && State.TheSelection->Active;
        choices.InSelection = choices.InSelection && choices.SelectionOn;
        switch (State.Windows.Main->RunReplaceDialog(choices)) {
        case ReplaceAction::Replace:
            ReplaceChipsCommand(State, uint8_t(choices.From), uint8_t(choices.To),
                                ReplaceRange(State, choices.InSelection, choices.Levels,
                                             choices.Low, choices.High));
            return;
        case ReplaceAction::FindNext:
            FindNextCommand(State, uint8_t(choices.From));
            break;
        default:
            return;
        }
    }
}

} // namespace quarvel
