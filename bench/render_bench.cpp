// Benchmarks of `quarvel-cli render` as a whole process (start, chip loading, composition,
// PNG encoding and writing) on the default chip set, and of the composition it does in
// process: the whole-map picture drawn in bands, as the render command draws it, against
// RedrawAll. Target: the whole process for a dense map under 45 ms.
#include "content/defaultchips.h"
#include "graphics/chipsheet.h"
#include "graphics/wholepicture.h"
#include "map/chipclasses.h"
#include "map/mapclass.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <random>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

using namespace quarvel;

namespace {

namespace fs = std::filesystem;

// quarvel-cli of the same build: build/Quarvel/quarvel-cli beside build/bench/.
std::string CliPath() {
    if (const char* env = std::getenv("QUARVEL_CLI")) return env;
    char buf[4096];
    const ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0) return "quarvel-cli";
    const fs::path self(std::string(buf, size_t(n)));
    return (self.parent_path().parent_path() / "Quarvel" / "quarvel-cli").string();
}

// A folder with the default chip set and the maps the benchmarks draw.
class RenderFolder {
public:
    RenderFolder() {
        std::string tmpl = (fs::temp_directory_path() / "quarvel-render-XXXXXX").string();
        if (!mkdtemp(tmpl.data())) std::abort();
        Root = tmpl + "/";
        WriteDefaultChips(Root + "chip");

        // Every cell holds a chip that hides nothing: all 49,152 chips are drawn.
        auto map = std::make_unique<TMap>();
        map->Clear();
        std::mt19937 rng(2);
        std::uniform_int_distribution<int> chip(1, TMap::ChipCount - 1);
        for (auto& c : map->Cells) {
            int k;
            do k = chip(rng);
            while (CoverChips.Contains(uint8_t(k)) || (k >= 25 && k <= 28));
            c = uint8_t(k);
        }
        map->SaveToFile(Root + "dense.map");

        // Ground on the lowest four levels, a third of the cells up to level 19 filled.
        map->Clear();
        std::uniform_int_distribution<int> ground(1, 24), thing(33, TMap::ChipCount - 1),
            percent(0, 99);
        for (int z = 0; z < 20; ++z)
            for (int i = 0; i < TMap::SizeX * TMap::SizeY; ++i) {
                uint8_t& c = map->Cells[TMap::Index(0, 0, z) + i];
                if (z < 4)
                    c = uint8_t(ground(rng));
                else if (percent(rng) < 30)
                    c = uint8_t(thing(rng));
            }
        map->SaveToFile(Root + "town.map");
    }
    ~RenderFolder() {
        std::error_code ec;
        fs::remove_all(Root, ec);
    }
    std::string Root;
};

RenderFolder& Folder() {
    static RenderFolder f;
    return f;
}

// Runs quarvel-cli with `args` and waits for it; false when it did not exit with 0.
bool Run(const std::vector<std::string>& args) {
    std::vector<char*> argv;
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    pid_t pid;
    if (posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return false;
    int status = 0;
    if (waitpid(pid, &status, 0) != pid) return false;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// User and system time of all waited-for child processes, in milliseconds.
double ChildCpuMs() {
    rusage u{};
    getrusage(RUSAGE_CHILDREN, &u);
    return (u.ru_utime.tv_sec + u.ru_stime.tv_sec) * 1e3 +
           (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e3;
}

void RenderProcess(benchmark::State& state, const char* map, std::vector<std::string> extra) {
    const std::string root = Folder().Root;
    std::vector<std::string> args = {CliPath(),        "render",  root + map,
                                     root + "out.png", "--chips", root + "chip"};
    args.insert(args.end(), extra.begin(), extra.end());
    const double cpuBefore = ChildCpuMs();
    for (auto _ : state)
        if (!Run(args)) {
            state.SkipWithError(("quarvel-cli render failed: " + args[0]).c_str());
            break;
        }
    // The processor time of the runs (user + system): less disturbed by other load than
    // the elapsed time on a shared machine.
    if (state.iterations() > 0)
        state.counters["child_cpu_ms"] = (ChildCpuMs() - cpuBefore) / double(state.iterations());
}

void BM_RenderDenseWholeMap(benchmark::State& state) {
    RenderProcess(state, "dense.map", {});
}
void BM_RenderTownWholeMap(benchmark::State& state) {
    RenderProcess(state, "town.map", {});
}
void BM_RenderDenseLevel(benchmark::State& state) {
    RenderProcess(state, "dense.map", {"--level", "3"});
}
void BM_RenderDenseWholeMapSmall(benchmark::State& state) {
    RenderProcess(state, "dense.map", {"--zoom", "1"});
}

// The whole-map picture of a map of the render folder, with the default chips, in process.
struct Composition {
    std::unique_ptr<TMap> Map = std::make_unique<TMap>();
    TBMP256 Sheets[2];
    uint8_t Transparent[2] = {0, 0};
    TWholePicture View;
    bool Ok = false;

    Composition(const char* map, int zoom) {
        const std::string root = Folder().Root;
        Ok = Map->LoadFromFile(root + map) &&
             ReadChipSheets(root + "chip", Map->GetTerrain(), Sheets, Transparent);
        View.Attach(Map.get(), Sheets, Transparent);
        View.SetZoom(zoom);
    }
};

void ComposeRedrawAll(benchmark::State& state, const char* map) {
    Composition c(map, int(state.range(0)));
    if (!c.Ok) state.SkipWithError("cannot load the map or the chips");
    for (auto _ : state) {
        c.View.RedrawAll();
        benchmark::DoNotOptimize(c.View.Picture.Bits());
    }
}

// RedrawRect over the whole picture on one thread.
void ComposeRect(benchmark::State& state, const char* map) {
    Composition c(map, int(state.range(0)));
    if (!c.Ok) state.SkipWithError("cannot load the map or the chips");
    const int w = c.View.PictureWidth(), h = c.View.PictureHeight();
    for (auto _ : state) {
        c.View.RedrawRect(0, 0, w, h);
        benchmark::DoNotOptimize(c.View.Picture.Bits());
    }
}

// The lower of the two bands that the PNG writer cuts (3 : 4) and composes side by side on
// two processors: the longer one, so the time the composition takes there.
void ComposeLowerBand(benchmark::State& state, const char* map) {
    Composition c(map, int(state.range(0)));
    if (!c.Ok) state.SkipWithError("cannot load the map or the chips");
    const int w = c.View.PictureWidth(), h = c.View.PictureHeight();
    for (auto _ : state) {
        c.View.RedrawRect(0, h * 3 / 7, w, h);
        benchmark::DoNotOptimize(c.View.Picture.Bits());
    }
}

void BM_ComposeDenseRedrawAll(benchmark::State& state) {
    ComposeRedrawAll(state, "dense.map");
}
void BM_ComposeDenseRect(benchmark::State& state) {
    ComposeRect(state, "dense.map");
}
void BM_ComposeDenseLowerBand(benchmark::State& state) {
    ComposeLowerBand(state, "dense.map");
}
void BM_ComposeTownRedrawAll(benchmark::State& state) {
    ComposeRedrawAll(state, "town.map");
}
void BM_ComposeTownRect(benchmark::State& state) {
    ComposeRect(state, "town.map");
}
void BM_ComposeTownLowerBand(benchmark::State& state) {
    ComposeLowerBand(state, "town.map");
}

BENCHMARK(BM_RenderDenseWholeMap)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_RenderTownWholeMap)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_RenderDenseLevel)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_RenderDenseWholeMapSmall)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ComposeDenseRedrawAll)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ComposeDenseRect)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ComposeDenseLowerBand)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ComposeTownRedrawAll)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ComposeTownRect)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ComposeTownLowerBand)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace
