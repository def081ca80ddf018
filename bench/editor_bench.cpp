// Editor logic costs: a whole-level flood fill, a whole-level paste, a drag across cells, and
// copy, paste, delete and move of the whole map as one selection box with both views drawn.
// Target: each whole-map box command, undo records and redraws included, under 20 ms. The
// problems list brought up to the dense map after one painted chip, and the changed cells
// after one painted chip: under 2 ms.
#include "app/cli/headless.h"
#include "content/chippalette.h"
#include "content/defaultchips.h"
#include "editor/changes.h"
#include "editor/chipreplace.h"
#include "editor/clipboard.h"
#include "editor/commands.h"
#include "editor/editlogic.h"
#include "editor/global.h"
#include "editor/problems.h"
#include "editor/selectarea.h"
#include "editor/selectionmove.h"
#include "graphics/editpicture.h"
#include "graphics/wholepicture.h"
#include "map/mapclass.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <cstring>
#include <random>
#include <sstream>

namespace {

using namespace quarvel;

// The editor state on headless windows, for as long as one benchmark runs.
struct Editor {
    std::ostringstream Out;
    THeadlessWindows Wins{Out};
    TMap Map;
    TEditorState State;
    TSelectArea& Selection;
    Editor() : Selection(*(State.TheSelection = std::make_unique<TSelectArea>(State))) {
        Wins.Install(State);
        Map.Clear();
        State.TheMap = &Map;
        State.CurrentLevel = 5;
    }
};

// Fills all 1,024 cells of a level, alternating the chip so that every run fills again.
void BM_FloodFillWholeLevel(benchmark::State& state) {
    Editor ed;
    uint8_t chip = 1;
    for (auto _ : state) {
        ed.Map.UndoBuf.BeginStep();
        chip = chip == 1 ? 2 : 1;
        FloodFill(ed.State, 16, 16, ed.State.CurrentLevel, chip);
    }
    benchmark::DoNotOptimize(ed.Map.Cells);
}
BENCHMARK(BM_FloodFillWholeLevel);

void BM_PasteWholeLevel(benchmark::State& state) {
    Editor ed;
    ed.State.TheCopyBuf.Width = ed.State.TheCopyBuf.Height = 32;
    ed.State.TheCopyBuf.Data.assign(1024, 12);
    for (auto _ : state) {
        ed.Selection.SetActive(true);
        ed.Selection.SetCorner(0, 0, 0);
        PasteCopyBuf(ed.State);
    }
    benchmark::DoNotOptimize(ed.Map.Cells);
}
BENCHMARK(BM_PasteWholeLevel);

// One press and 31 moves along a row, each drawing one cell.
void BM_DragAcrossARow(benchmark::State& state) {
    Editor ed;
    uint8_t chip = 1;
    for (auto _ : state) {
        ed.State.CurrentChip = chip = chip == 1 ? 2 : 1;
        for (int x = 0; x < 32; ++x) {
            Point p = EditCellToPixel(x, 7, 0);
            MouseState s;
            s.DownL = true;
            s.NewL = x == 0;
            HandleMouse(ed.State, p.x + 32, p.y + 16, s);
        }
    }
    benchmark::DoNotOptimize(ed.Map.Cells);
}
BENCHMARK(BM_DragAcrossARow);

// The two map views drawing into their real pictures with the default chips of set 0, as
// the editor's windows do (without putting them on a screen).
class PictureEditView : public IEditView {
public:
    PictureEditView(TEditorState& state, const TBMP256* sheets, const uint8_t* transparent)
        : State(state) {
        Pic.Attach(State.TheMap, sheets, transparent);
        Pic.SetZoom(0);
    }
    void RedrawLevel() override { Pic.RedrawLevel(State.CurrentLevel); }
    void RedrawCell(int x, int y) override { Pic.RedrawCell(x, y, State.CurrentLevel); }
    void MarkCell(int x, int y, bool selected) override { Pic.MarkCell(x, y, selected); }
    void PaintView() override {}
    void ScrollToCell(int, int) override {}
    int GetZoom() const override { return Pic.GetZoom(); }
    void SetZoom(int z) override { Pic.SetZoom(z); }
    TColor GetBackColor() const override { return Pic.BackColor; }
    void SetBackColor(TColor c) override { Pic.BackColor = c; }
    TEditorState& State;
    TEditPicture Pic;
};

class PictureWholeView : public IWholeView {
public:
    PictureWholeView(TEditorState& state, const TBMP256* sheets, const uint8_t* transparent)
        : State(state) {
        Pic.Attach(State.TheMap, sheets, transparent);
        Pic.SetZoom(0);
    }
    void RedrawAll() override { Pic.RedrawAll(); }
    void RedrawCell(int x, int y, int z) override { Pic.RedrawCell(x, y, z); }
    void PaintView() override {}
    void ScrollToCell(int, int, int) override {}
    int GetZoom() const override { return Pic.GetZoom(); }
    void SetZoom(int z) override { Pic.SetZoom(z); }
    TColor GetBackColor() const override { return Pic.BackColor; }
    void SetBackColor(TColor c) override { Pic.BackColor = c; }
    void ShowSelection() override {
        // What the window does: the outline's edges for the box.
        const SelectionBox b = State.TheSelection->Box(State.CurrentLevel);
        benchmark::DoNotOptimize(
            WholeBoxOutline(b.Left, b.Top, b.Right, b.Bottom, b.Low, b.High, Pic.GetZoom()));
    }
    TEditorState& State;
    TWholePicture Pic;
};

// The editor with both views drawing, on a built-up map: ground on the four lowest levels,
// a third of the cells up to level 19 holding things, trees among them. Column 31 and row 31
// are empty, so that the whole box may move by one cell.
struct DrawingEditor : Editor {
    TBMP256 Sheets[2] = {DrawDefaultChipSheet(0, 0), DrawDefaultChipSheet(0, 1)};
    uint8_t Transparent[2] = {ChipTransparentIndex, ChipTransparentIndex};
    PictureEditView EditView{State, Sheets, Transparent};
    PictureWholeView WholeView{State, Sheets, Transparent};
    std::vector<uint8_t> Start;

    DrawingEditor() {
        State.Windows.Edit = &EditView;
        State.Windows.Whole = &WholeView;
        std::mt19937 rng(3);
        std::uniform_int_distribution<int> ground(1, 24), thing(50, 135), percent(0, 99);
        for (int z = 0; z < 20; ++z)
            for (int y = 0; y < 31; ++y)
                for (int x = 0; x < 31; ++x) {
                    const int p = percent(rng);
                    if (z < 4)
                        Map.SetChip(x, y, z, uint8_t(ground(rng)));
                    else if (z % 4 == 0 && p < 5)
                        Map.SetChip(x, y, z, 35); // a tree over three levels
                    else if (p < 30 && Map.GetChip(x, y, z) == 0)
                        Map.SetChip(x, y, z, uint8_t(thing(rng)));
                }
        Map.UndoBuf.Reset();
        Start.assign(Map.Cells, Map.Cells + TMap::CellCount);
    }
    // The whole map as one box: all of level 0 selected, then level 47 with the selection.
    void SelectWholeMap() {
        State.CurrentLevel = 0;
        State.TheSelection->SetActive(false);
        State.TheSelection->SetActive(true);
        State.TheSelection->SetCorner(0, 0, 0);
        State.TheSelection->SetCorner(1, 31, 31);
        ChangeLevelKeepingSelection(State, 47);
    }
    void Restore() { std::memcpy(Map.Cells, Start.data(), Start.size()); }
};

void BM_CopyWholeMapBox(benchmark::State& state) {
    DrawingEditor ed;
    for (auto _ : state) {
        state.PauseTiming();
        ed.SelectWholeMap();
        state.ResumeTiming();
        MenuClick(ed.State, tagCopy);
    }
    benchmark::DoNotOptimize(ed.State.TheCopyBuf.Data.data());
}
BENCHMARK(BM_CopyWholeMapBox)->Unit(benchmark::kMillisecond);

void BM_PasteWholeMapBox(benchmark::State& state) {
    DrawingEditor ed;
    ed.SelectWholeMap();
    MenuClick(ed.State, tagCopy);
    for (auto _ : state) {
        state.PauseTiming();
        ed.SelectWholeMap();
        state.ResumeTiming();
        MenuClick(ed.State, tagPaste);
    }
    benchmark::DoNotOptimize(ed.Map.Cells);
}
BENCHMARK(BM_PasteWholeMapBox)->Unit(benchmark::kMillisecond);

void BM_DeleteWholeMapBox(benchmark::State& state) {
    DrawingEditor ed;
    for (auto _ : state) {
        state.PauseTiming();
        ed.Restore();
        ed.SelectWholeMap();
        state.ResumeTiming();
        MenuClick(ed.State, tagDelete);
    }
    benchmark::DoNotOptimize(ed.Map.Cells);
}
BENCHMARK(BM_DeleteWholeMapBox)->Unit(benchmark::kMillisecond);

// One key press: the whole box one cell to the right, then back the next time.
void BM_MoveWholeMapBox(benchmark::State& state) {
    DrawingEditor ed;
    int dx = 1;
    for (auto _ : state) {
        state.PauseTiming();
        ed.SelectWholeMap();
        state.ResumeTiming();
        if (MoveSelection(ed.State, dx, 0, 0) != MoveResult::Moved) {
            state.SkipWithError("the move was refused");
            break;
        }
        dx = -dx;
    }
    benchmark::DoNotOptimize(ed.Map.Cells);
}
BENCHMARK(BM_MoveWholeMapBox)->Unit(benchmark::kMillisecond);

// チップの置換 over the whole map with both views redrawn: every empty cell (about 40,000
// writes) becoming a rock, and the three-level trees becoming another tree.
void BM_ReplaceWholeMap(benchmark::State& state) {
    DrawingEditor ed;
    const uint8_t from = uint8_t(state.range(0)), to = uint8_t(state.range(1));
    for (auto _ : state) {
        state.PauseTiming();
        ed.Restore();
        ed.Map.UndoBuf.Reset();
        state.ResumeTiming();
        if (ReplaceChipsCommand(ed.State, from, to, ChipBox()).Written == 0) {
            state.SkipWithError("nothing was replaced");
            break;
        }
    }
    benchmark::DoNotOptimize(ed.Map.Cells);
}
BENCHMARK(BM_ReplaceWholeMap)->Args({0, 111})->Args({35, 38})->Unit(benchmark::kMillisecond);

// The problems list after one painted chip on the dense map, the chip written with both views
// redrawn as the mouse does it; Arg 1 also writes a tree (partners two levels away), Arg 2
// checks the whole map instead (what a list without the cell-by-cell update would cost).
void BM_ProblemsAfterPaintedChip(benchmark::State& state) {
    DrawingEditor ed;
    TProblemList list;
    list.Update(ed.Map);
    const uint8_t chips[2][2] = {{1, 9}, {35, 60}};
    int n = 0, x = 0;
    size_t rows = 0;
    std::chrono::steady_clock::duration listTime{};
    for (auto _ : state) {
        ed.Map.UndoBuf.BeginStep();
        x = (x + 7) % 31;
        PutChip(ed.State, x, 9, 10, chips[state.range(0) == 1][++n & 1]);
        const auto start = std::chrono::steady_clock::now();
        if (state.range(0) == 2) {
            list.Forget();
            list.Update(ed.Map);
        } else {
            benchmark::DoNotOptimize(list.Update(ed.Map));
        }
        listTime += std::chrono::steady_clock::now() - start;
        rows = list.Findings().size();
    }
    state.counters["findings"] = double(rows);
    // The list's part of each step, without the chip's write and redraws.
    state.counters["list_us"] =
        std::chrono::duration<double, std::micro>(listTime).count() / double(state.iterations());
}
BENCHMARK(BM_ProblemsAfterPaintedChip)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

// The list's update when nothing changed: what every round of events costs while it is shown.
void BM_ProblemsUnchanged(benchmark::State& state) {
    DrawingEditor ed;
    TProblemList list;
    list.Update(ed.Map);
    for (auto _ : state) benchmark::DoNotOptimize(list.Update(ed.Map));
}
BENCHMARK(BM_ProblemsUnchanged)->Unit(benchmark::kMicrosecond);
// 変更箇所を表示 on: one chip painted with the mouse on level 5 (undo record, both pictures'
// cells redrawn), then the changed cells taken anew as each view and the panel take them.
// The baseline differs from the map in range(0) cells besides the painted one: a few edits,
// or every cell (a new map's baseline against the built-up map); -1: the option off, the
// paint alone.
void BM_ChangesAfterOnePaintedChip(benchmark::State& state) {
    DrawingEditor ed;
    ed.State.View.Changes = state.range(0) >= 0;
    KeepBaseline(ed.State);
    const int differing = int(state.range(0));
    for (int i = 0; i < differing; ++i) ed.State.Baseline->Cells[i * 7 % TMap::CellCount] ^= 1;
    const Point p = EditCellToPixel(10, 6, 0);
    uint8_t chip = 1;
    size_t count = 0;
    for (auto _ : state) {
        ed.State.CurrentChip = chip = chip == 1 ? 2 : 1;
        MouseState s;
        s.DownL = s.NewL = true;
        ed.State.CursorX = ed.State.CursorY = -1; // the press is on a new cell
        HandleMouse(ed.State, p.x + 32, p.y + 16, s);
        if (ed.State.View.Changes) count = UpdateChanges(ed.State).size();
    }
    benchmark::DoNotOptimize(count);
}
BENCHMARK(BM_ChangesAfterOnePaintedChip)
    ->Arg(-1)
    ->Arg(0)
    ->Arg(1000)
    ->Arg(TMap::CellCount)
    ->Unit(benchmark::kMicrosecond);

// The comparison alone: the map against a baseline that differs in range(0) cells.
void BM_UpdateChanges(benchmark::State& state) {
    DrawingEditor ed;
    ed.State.View.Changes = true;
    KeepBaseline(ed.State);
    for (int i = 0; i < int(state.range(0)); ++i)
        ed.State.Baseline->Cells[i * 7 % TMap::CellCount] ^= 1;
    for (auto _ : state) benchmark::DoNotOptimize(UpdateChanges(ed.State).data());
}
BENCHMARK(BM_UpdateChanges)->Arg(1)->Arg(1000)->Arg(TMap::CellCount)->Unit(benchmark::kMicrosecond);

} // namespace
