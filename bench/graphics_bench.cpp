// Benchmarks of the pictures: reading a chip set, full and partial redraws of both views.
#include "graphics/chipsheet.h"
#include "graphics/editpicture.h"
#include "graphics/wholepicture.h"
#include "map/chipclasses.h"
#include "map/mapclass.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <stdexcept>

using namespace quarvel;

namespace {

// Chip sheets shaped like the real ones: each chip is a box (top face and two sides) of
// varied indices on a transparent background (index 0).
struct Sheets {
    TBMP256 S[2];
    uint8_t Transparent[2] = {0, 0};
    Sheets() {
        std::mt19937 rng(1);
        std::uniform_int_distribution<int> index(1, 255);
        for (int s = 0; s < 2; ++s) {
            const int w = ChipWidth[s], h = ChipHeight[s], t = h / 3;
            S[s].SetSize(w, TMap::ChipCount * h);
            for (int k = 1; k < TMap::ChipCount; ++k)
                for (int v = 0; v < h; ++v)
                    for (int u = 0; u < w; ++u) {
                        const int du = std::abs(2 * u + 1 - w); // distance from the middle, x2
                        const bool inside = v < t       ? du <= 4 * v + 2
                                            : v < 2 * t ? true
                                                        : du <= 4 * (h - 1 - v) + 2;
                        S[s].Row(k * h + v)[u] = inside ? uint8_t(index(rng)) : 0;
                    }
            Palette pal;
            for (int i = 0; i < 256; ++i) pal[i] = {uint8_t(i), uint8_t(i), uint8_t(i), 0};
            S[s].SetPalette(pal);
        }
    }
};

const Sheets& TheSheets() {
    static const Sheets s;
    return s;
}

// Every cell holds a chip that hides nothing: all 49,152 chips are drawn.
std::unique_ptr<TMap> DenseMap() {
    auto map = std::make_unique<TMap>();
    std::mt19937 rng(2);
    std::uniform_int_distribution<int> chip(1, TMap::ChipCount - 1);
    for (auto& c : map->Cells) {
        int k;
        do k = chip(rng);
        while (CoverChips.Contains(uint8_t(k)) || (k >= 25 && k <= 28));
        c = uint8_t(k);
    }
    return map;
}

// Like a demonstration map: ground on the bottom level, a few objects standing on it.
std::unique_ptr<TMap> DemoMap() {
    auto map = std::make_unique<TMap>();
    std::mt19937 rng(3);
    std::uniform_int_distribution<int> ground(1, 24), object(33, 57), cell(0, TMap::SizeX - 1),
        level(1, 4);
    for (int y = 0; y < TMap::SizeY; ++y)
        for (int x = 0; x < TMap::SizeX; ++x)
            map->Cells[TMap::Index(x, y, 0)] = uint8_t(ground(rng));
    for (int i = 0; i < 150; ++i)
        map->Cells[TMap::Index(cell(rng), cell(rng), level(rng))] = uint8_t(object(rng));
    return map;
}

void WriteFile(const std::string& path, size_t size, std::mt19937& rng) {
    std::vector<char> bytes(size);
    for (auto& b : bytes) b = char(rng());
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), std::streamsize(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path);
}

} // namespace

static void BM_ReadChipSheets(benchmark::State& state) {
    std::string dir = (std::filesystem::temp_directory_path() / "quarvel-bench-XXXXXX").string();
    if (!mkdtemp(dir.data())) {
        state.SkipWithError("cannot create a temporary folder");
        return;
    }
    std::mt19937 rng(4);
    WriteFile(dir + "/B_000.2c", TMap::ChipCount * ChipWidth[0] * ChipHeight[0], rng);
    WriteFile(dir + "/B_000s.2c", TMap::ChipCount * ChipWidth[1] * ChipHeight[1], rng);
    WriteFile(dir + "/B_000.pal", 1024, rng);
    WriteFile(dir + "/B_000s.pal", 1024, rng);
    TBMP256 sheets[2];
    uint8_t transparent[2];
    for (auto _ : state) {
        const bool ok = ReadChipSheets(dir, 0, sheets, transparent);
        benchmark::DoNotOptimize(ok);
    }
    std::filesystem::remove_all(dir);
}
BENCHMARK(BM_ReadChipSheets)->Unit(benchmark::kMillisecond);

static void WholeRedrawAll(benchmark::State& state, std::unique_ptr<TMap> map) {
    TWholePicture view;
    view.Attach(map.get(), TheSheets().S, TheSheets().Transparent);
    view.SetZoom(int(state.range(0)));
    for (auto _ : state) {
        view.RedrawAll();
        benchmark::DoNotOptimize(view.Picture.Bits());
    }
}

static void BM_WholeRedrawAllDense(benchmark::State& state) {
    WholeRedrawAll(state, DenseMap());
}
BENCHMARK(BM_WholeRedrawAllDense)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

static void BM_WholeRedrawAllDemo(benchmark::State& state) {
    WholeRedrawAll(state, DemoMap());
}
BENCHMARK(BM_WholeRedrawAllDemo)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The refresh after a one-cell edit: levels z - 4 .. z + 4 of one cell.
static void BM_WholeRedrawCellNine(benchmark::State& state) {
    auto map = DenseMap();
    TWholePicture view;
    view.Attach(map.get(), TheSheets().S, TheSheets().Transparent);
    view.SetZoom(0);
    view.RedrawAll();
    for (auto _ : state) {
        for (int k = -4; k <= 4; ++k) view.RedrawCell(16, 16, 20 + k);
        benchmark::DoNotOptimize(view.Picture.Bits());
    }
}
BENCHMARK(BM_WholeRedrawCellNine)->Unit(benchmark::kMicrosecond);

static void BM_EditRedrawLevel(benchmark::State& state) {
    auto map = DenseMap();
    TEditPicture view;
    view.Attach(map.get(), TheSheets().S, TheSheets().Transparent);
    view.SetZoom(int(state.range(0)));
    for (auto _ : state) {
        view.RedrawLevel(10);
        benchmark::DoNotOptimize(view.Picture.Bits());
    }
}
BENCHMARK(BM_EditRedrawLevel)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

static void BM_EditRedrawCell(benchmark::State& state) {
    auto map = DenseMap();
    TEditPicture view;
    view.Attach(map.get(), TheSheets().S, TheSheets().Transparent);
    view.SetZoom(0);
    view.RedrawLevel(10);
    for (auto _ : state) {
        view.RedrawCell(16, 16, 10);
        benchmark::DoNotOptimize(view.Picture.Bits());
    }
}
BENCHMARK(BM_EditRedrawCell)->Unit(benchmark::kMicrosecond);

// A level step as the editor draws it with the ghost and the cut-away on: the edit picture
// of the new level with the level below faint under it, and the whole map cut at that level.
// Steps between levels 46 and 47, where the most is drawn.
static void BM_LevelStepGhostCut(benchmark::State& state) {
    auto map = DenseMap();
    TEditPicture edit;
    TWholePicture whole;
    edit.Attach(map.get(), TheSheets().S, TheSheets().Transparent);
    whole.Attach(map.get(), TheSheets().S, TheSheets().Transparent);
    edit.SetZoom(0);
    whole.SetZoom(0);
    edit.SetGhost(true);
    int level = TMap::SizeZ - 1;
    for (auto _ : state) {
        level = level == TMap::SizeZ - 1 ? level - 1 : level + 1;
        edit.RedrawLevel(level);
        whole.SetTop(level);
        whole.RedrawAll();
        benchmark::DoNotOptimize(edit.Picture.Bits());
        benchmark::DoNotOptimize(whole.Picture.Bits());
    }
}
BENCHMARK(BM_LevelStepGhostCut)->Unit(benchmark::kMillisecond);

// Painting one chip with the ghost and the cut-away on: the edit picture's cell and the
// whole map's nine levels around it.
static void BM_PaintChipGhostCut(benchmark::State& state) {
    auto map = DenseMap();
    TEditPicture edit;
    TWholePicture whole;
    edit.Attach(map.get(), TheSheets().S, TheSheets().Transparent);
    whole.Attach(map.get(), TheSheets().S, TheSheets().Transparent);
    edit.SetZoom(0);
    whole.SetZoom(0);
    edit.SetGhost(true);
    const int level = 20;
    whole.SetTop(level);
    edit.RedrawLevel(level);
    whole.RedrawAll();
    uint8_t chip = 1;
    for (auto _ : state) {
        chip = chip == 1 ? 2 : 1;
        map->Cells[TMap::Index(16, 16, level)] = chip;
        edit.RedrawCell(16, 16, level);
        for (int k = -4; k <= 4; ++k) whole.RedrawCell(16, 16, level + k);
        benchmark::DoNotOptimize(edit.Picture.Bits());
        benchmark::DoNotOptimize(whole.Picture.Bits());
    }
}
BENCHMARK(BM_PaintChipGhostCut)->Unit(benchmark::kMicrosecond);
