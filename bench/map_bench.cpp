// Benchmarks of the map document on a dense map (every cell non-empty, mixed chips): shaping,
// the whole-map view's chip choice, the shift with its undo records, load and save.
#include "map/mapclass.h"
#include "map/maptools.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <unistd.h>

using namespace quarvel;

namespace {

// Ground of all kinds, rivers, bridges, stairs and plain chips in every cell, with trees,
// fences and gates placed through SetChip so their columns are complete; not yet shaped.
std::unique_ptr<TMap> DenseMap() {
    auto m = std::make_unique<TMap>();
    m->Clear();
    std::mt19937 rng(1);
    auto pick = [&]() -> uint8_t {
        int r = int(rng() % 100);
        if (r < 55) return uint8_t(1 + rng() % 24);                // ground and paving
        if (r < 65) return uint8_t(83 + rng() % 28);               // river
        if (r < 75) return uint8_t(58 + rng() % 25);               // bridges and stairs
        if (r < 80) return uint8_t(112 + rng() % 12);              // nests, entrances, elevators
        return uint8_t(50 + rng() % 8 + (rng() % 2) * (125 - 50)); // enemies, grass, items
    };
    for (auto& c : m->Cells) c = pick();
    const uint8_t objects[] = {35, 38, 41, 43, 49, 137, 154};
    for (int i = 0; i < 1500; ++i) {
        int x = int(rng() % TMap::SizeX), y = int(rng() % TMap::SizeY);
        int z = int(rng() % (TMap::SizeZ - 3)); // room for three-level objects
        m->SetChip(x, y, z, objects[rng() % sizeof objects]);
    }
    for (auto& c : m->Cells)
        if (c == 0) c = 9;
    m->UndoBuf.Reset();
    return m;
}

const TMap& Dense() {
    static std::unique_ptr<TMap> map = DenseMap();
    return *map;
}

void CopyCells(TMap& to, const TMap& from) {
    std::memcpy(to.Cells, from.Cells, sizeof to.Cells);
}

// Shape of the unshaped dense map: a fresh copy of the cells for each run (set up with the
// timer paused), so every run changes about 70 % of the cells and records them in a new undo
// step. The history is kept, as in a long session: after 100 runs each new step reuses the
// storage of the step it drops.
void BM_ShapeFresh(benchmark::State& state) {
    auto m = std::make_unique<TMap>();
    m->Clear();
    for (auto _ : state) {
        state.PauseTiming();
        CopyCells(*m, Dense());
        state.ResumeTiming();
        benchmark::DoNotOptimize(m->Shape());
    }
    state.counters["records"] = double(m->UndoBuf.Count());
}
BENCHMARK(BM_ShapeFresh)->Unit(benchmark::kMicrosecond);

// The same right after the map was loaded (history reset): the step's records go to memory
// the process touches for the first time, so this adds the system's page-fault cost.
void BM_ShapeFreshAfterReset(benchmark::State& state) {
    auto m = std::make_unique<TMap>();
    m->Clear();
    for (auto _ : state) {
        state.PauseTiming();
        CopyCells(*m, Dense());
        m->UndoBuf.Reset();
        state.ResumeTiming();
        benchmark::DoNotOptimize(m->Shape());
    }
}
BENCHMARK(BM_ShapeFreshAfterReset)->Unit(benchmark::kMicrosecond);

// Shape of the already shaped map: the scan alone, nothing changes.
void BM_ShapeAlreadyShaped(benchmark::State& state) {
    auto m = std::make_unique<TMap>();
    m->Clear();
    CopyCells(*m, Dense());
    m->Shape();
    for (auto _ : state) benchmark::DoNotOptimize(m->Shape());
}
BENCHMARK(BM_ShapeAlreadyShaped)->Unit(benchmark::kMicrosecond);

// A full redraw's chip choice: GetViewChip for all 49,152 cells.
void BM_ViewChipSweep(benchmark::State& state) {
    const TMap& m = Dense();
    for (auto _ : state) {
        unsigned sum = 0;
        for (int z = 0; z < TMap::SizeZ; ++z)
            for (int y = 0; y < TMap::SizeY; ++y)
                for (int x = 0; x < TMap::SizeX; ++x) sum += m.GetViewChip(x, y, z);
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(BM_ViewChipSweep)->Unit(benchmark::kMicrosecond);

// Shift of the whole dense map by (1, 1, 1): 49,152 SetChip calls with their upkeep and undo
// records. The cells are restored with the timer paused; the undo history is kept, so after
// 100 runs each new step drops the oldest, as in a long session.
void BM_ShiftWholeMap(benchmark::State& state) {
    auto m = std::make_unique<TMap>();
    m->Clear();
    for (auto _ : state) {
        state.PauseTiming();
        CopyCells(*m, Dense());
        state.ResumeTiming();
        benchmark::DoNotOptimize(ShiftMap(*m, 1, 1, 1));
    }
    state.counters["records"] = double(m->UndoBuf.Count());
}
BENCHMARK(BM_ShiftWholeMap)->Unit(benchmark::kMicrosecond);

// A temporary folder for the load and save runs, removed at exit.
struct BenchFolder {
    std::string Path;
    BenchFolder() {
        std::string tmpl = "/tmp/quarvel-bench-XXXXXX";
        if (!mkdtemp(tmpl.data())) std::abort();
        Path = tmpl;
    }
    ~BenchFolder() {
        std::error_code ec;
        std::filesystem::remove_all(Path, ec);
    }
};

const std::string& BenchPath(const std::string& name) {
    static BenchFolder folder;
    static std::string load = folder.Path + "/load.map", save = folder.Path + "/save.map";
    return name == "load" ? load : save;
}

void BM_Load(benchmark::State& state) {
    auto m = std::make_unique<TMap>();
    m->Clear();
    CopyCells(*m, Dense());
    const std::string& path = BenchPath("load");
    m->SaveToFile(path);
    for (auto _ : state) benchmark::DoNotOptimize(m->LoadFromFile(path));
}
BENCHMARK(BM_Load)->Unit(benchmark::kMicrosecond);

// Save into /tmp: temporary file, write, fsync, rename. The fsync waits for the disk.
void BM_Save(benchmark::State& state) {
    auto m = std::make_unique<TMap>();
    m->Clear();
    CopyCells(*m, Dense());
    const std::string& path = BenchPath("save");
    for (auto _ : state) benchmark::DoNotOptimize(m->SaveToFile(path));
}
BENCHMARK(BM_Save)->Unit(benchmark::kMicrosecond);

// The same into /dev/shm (memory), where fsync costs nothing: the program's own part.
void BM_SaveInMemory(benchmark::State& state) {
    if (!std::filesystem::is_directory("/dev/shm")) {
        state.SkipWithError("no /dev/shm");
        return;
    }
    auto m = std::make_unique<TMap>();
    m->Clear();
    CopyCells(*m, Dense());
    const std::string path = "/dev/shm/quarvel-bench-" + std::to_string(getpid()) + ".map";
    for (auto _ : state) benchmark::DoNotOptimize(m->SaveToFile(path));
    std::filesystem::remove(path);
}
BENCHMARK(BM_SaveInMemory)->Unit(benchmark::kMicrosecond);

} // namespace
