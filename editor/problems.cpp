// The problems list: changed cells found by comparing with the cells of the last update, the
// findings around them checked again, and the rows that changed as splices for the panel.
#include "editor/problems.h"

#include "editor/global.h"
#include "editor/infopanel.h"
#include "editor/texts.h"
#include "editor/viewoptions.h"
#include "editor/windows.h"
#include "map/mapclass.h"

#include <algorithm>
#include <cstring>

namespace quarvel {

namespace {

int CellOf(const MapFinding& f) {
    return TMap::Index(f.X, f.Y, f.Z);
}

bool SameFinding(const MapFinding& a, const MapFinding& b) {
    if (a.Kind != b.Kind || a.Chip != b.Chip || a.ShapedChip != b.ShapedChip ||
        a.MissingCount != b.MissingCount)
        return false;
    for (int k = 0; k < a.MissingCount; ++k)
        if (a.Expected[k].Z != b.Expected[k].Z || a.Expected[k].Chip != b.Expected[k].Chip ||
            a.Found[k] != b.Found[k])
            return false;
    return true;
}

} // namespace

ProblemChange TProblemList::Update(const TMap& map) {
    ProblemChange change;
    const uint8_t* cells = map.Cells;
    Changed.clear();
    if (Seen.size() == size_t(TMap::CellCount)) {
        // A map without changes costs one comparison of 48 KiB.
        if (std::memcmp(cells, Seen.data(), Seen.size()) == 0) return change;
        // Eight cells at a time.
        for (int i = 0; i < TMap::CellCount && Changed.size() <= WholeCheckFrom; i += 8) {
            uint64_t now, before;
            std::memcpy(&now, cells + i, 8);
            std::memcpy(&before, Seen.data() + i, 8);
            if (now == before) continue;
            for (int k = i; k < i + 8; ++k)
                if (cells[k] != Seen[size_t(k)]) Changed.push_back(k);
        }
        if (Changed.empty()) return change;
    }
    const bool whole = Seen.size() != size_t(TMap::CellCount) || Changed.size() > WholeCheckFrom;
    Seen.assign(cells, cells + TMap::CellCount);
    if (whole) {
        List = CheckMap(map);
        change.Reset = true;
        return change;
    }

    Affected.clear();
    int around[CheckNeighbourhoodSize];
    for (int i : Changed) {
        const int n = CheckNeighbourhood(i % TMap::SizeX, i / TMap::SizeX % TMap::SizeY,
                                         i / TMap::LevelSize, around);
        Affected.insert(Affected.end(), around, around + n);
    }
    std::sort(Affected.begin(), Affected.end());
    Affected.erase(std::unique(Affected.begin(), Affected.end()), Affected.end());

    // The old list with the affected cells' findings replaced, in cell order; a run of
    // replaced rows without a kept row between them is one splice.
    Next.clear();
    Next.reserve(List.size() + Affected.size());
    size_t old = 0;
    for (int cell : Affected) {
        while (old < List.size() && CellOf(List[old]) < cell) Next.push_back(List[old++]);
        const bool had = old < List.size() && CellOf(List[old]) == cell;
        MapFinding now;
        const bool has = CheckCell(map, cell % TMap::SizeX, cell / TMap::SizeX % TMap::SizeY,
                                   cell / TMap::LevelSize, now);
        if (had && has && SameFinding(List[old], now)) {
            Next.push_back(List[old++]);
            continue;
        }
        if (!had && !has) continue;
        const int row = int(Next.size());
        if (change.Splices.empty() ||
            change.Splices.back().Row + change.Splices.back().Inserted != row)
            change.Splices.push_back({row, 0, 0});
        ProblemSplice& splice = change.Splices.back();
        if (had) {
            ++splice.Removed;
            ++old;
        }
        if (has) {
            ++splice.Inserted;
            Next.push_back(now);
        }
    }
    Next.insert(Next.end(), List.begin() + std::ptrdiff_t(old), List.end());
    List.swap(Next);
    return change;
}

void TProblemList::Forget() {
    Seen.clear();
}

std::string ProblemText(const MapFinding& finding) {
    return FindingText(finding, FindingWording::Japanese,
                       [](const char* context, const char* text) { return Tr(context, text); });
}

std::string ProblemsCaption(size_t count) {
    return Arg(Tr("Problems", "問題 (%1)"), {std::to_string(count)});
}

void MoveCursorTo(TEditorState& State, int x, int y, int z) {
    if (!TMap::Inside(x, y, z)) return;
    State.CursorX = x;
    State.CursorY = y;
    ComboBox2Change(State, z); // another level, as the level list goes there
    State.Windows.Edit->ScrollToCell(x, y);
    State.Windows.Edit->PaintView();
    State.Windows.Whole->ScrollToCell(x, y, z);
    State.Windows.Whole->PaintView();
    State.Windows.Info->UpdateInfo();
}

void GoToProblem(TEditorState& State, const TProblemList& list, int row) {
    if (row < 0 || size_t(row) >= list.Findings().size() || !State.TheMap) return;
    const MapFinding& f = list.Findings()[size_t(row)];
    MoveCursorTo(State, f.X, f.Y, f.Z);
}

void ProblemsPanelClosed(TEditorState& State) {
    if (State.View.Problems) ToggleViewOption(State, ViewOption::Problems);
}

} // namespace quarvel
