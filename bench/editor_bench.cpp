// Editor logic costs: a whole-level flood fill, a whole-level paste, and a drag across cells.
#include "app/cli/headless.h"
#include "editor/clipboard.h"
#include "editor/editlogic.h"
#include "editor/global.h"
#include "editor/selectarea.h"
#include "graphics/editpicture.h"
#include "map/mapclass.h"

#include <benchmark/benchmark.h>
#include <sstream>

namespace {

using namespace quarvel;

// The editor state on headless windows, for as long as one benchmark runs.
struct Editor {
    std::ostringstream Out;
    THeadlessWindows Wins{Out};
    TMap Map;
    TSelectArea Selection;
    Editor() {
        Wins.Install();
        Map.Clear();
        TheMap = &Map;
        TheSelection = &Selection;
        CurrentLevel = 5;
    }
    ~Editor() {
        TheMap = nullptr;
        TheSelection = nullptr;
        Windows = EditorWindows();
    }
};

// Fills all 1,024 cells of a level, alternating the chip so that every run fills again.
void BM_FloodFillWholeLevel(benchmark::State& state) {
    Editor ed;
    uint8_t chip = 1;
    for (auto _ : state) {
        ed.Map.UndoBuf.BeginStep();
        chip = chip == 1 ? 2 : 1;
        FloodFill(16, 16, CurrentLevel, chip);
    }
    benchmark::DoNotOptimize(ed.Map.Cells);
}
BENCHMARK(BM_FloodFillWholeLevel);

void BM_PasteWholeLevel(benchmark::State& state) {
    Editor ed;
    TheCopyBuf.Width = TheCopyBuf.Height = 32;
    TheCopyBuf.Data.assign(1024, 12);
    for (auto _ : state) {
        ed.Selection.SetActive(true);
        ed.Selection.SetCorner(0, 0, 0);
        PasteCopyBuf();
    }
    benchmark::DoNotOptimize(ed.Map.Cells);
}
BENCHMARK(BM_PasteWholeLevel);

// One press and 31 moves along a row, each drawing one cell.
void BM_DragAcrossARow(benchmark::State& state) {
    Editor ed;
    uint8_t chip = 1;
    for (auto _ : state) {
        CurrentChip = chip = chip == 1 ? 2 : 1;
        for (int x = 0; x < 32; ++x) {
            Point p = EditCellToPixel(x, 7, 0);
            MouseState s;
            s.DownL = true;
            s.NewL = x == 0;
            HandleMouse(p.x + 32, p.y + 16, s);
        }
    }
    benchmark::DoNotOptimize(ed.Map.Cells);
}
BENCHMARK(BM_DragAcrossARow);

} // namespace
