// Benchmarks of the review tools: the dump, the differences of two maps and the map checker
// on the demonstration map and on a dense map (every cell non-empty), and the checker over a
// list of 500 map files read from disk as check --list reads them.
#include "archive/datlib.h"
#include "content/demomap.h"
#include "map/chipclasses.h"
#include "map/mapcheck.h"
#include "map/mapclass.h"
#include "map/mapdiff.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <unistd.h>

using namespace quarvel;

namespace {

std::string Same(const std::string& s) {
    return s;
}

// Every cell non-empty: ground, rivers, bridges, items and bytes with no chip, unshaped, with
// objects written through SetChip and some of them broken afterwards.
const TMap& Dense() {
    static std::unique_ptr<TMap> map = [] {
        auto m = std::make_unique<TMap>();
        m->Clear();
        std::mt19937 rng(3);
        for (auto& c : m->Cells) c = uint8_t(1 + rng() % 24 + (rng() % 4 == 0 ? 59 : 0));
        for (int i = 0; i < 1500; ++i)
            m->SetChip(int(rng() % TMap::SizeX), int(rng() % TMap::SizeY),
                       int(2 + rng() % (TMap::SizeZ - 4)), uint8_t(i % 2 ? 35 : 137));
        for (int i = 0; i < 200; ++i)
            m->Cells[rng() % TMap::CellCount] =
                uint8_t(TMap::ChipCount + i % (256 - TMap::ChipCount));
        return m;
    }();
    return *map;
}

const TMap& Demo() {
    static std::unique_ptr<TMap> map = [] {
        auto m = std::make_unique<TMap>();
        BuildDemoMap(*m);
        return m;
    }();
    return *map;
}

void BM_Dump(benchmark::State& state) {
    const TMap& m = state.range(0) ? Dense() : Demo();
    for (auto _ : state) benchmark::DoNotOptimize(DumpMap(m, Same));
}
BENCHMARK(BM_Dump)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// The dense map against a copy with every eighth cell changed.
void BM_Diff(benchmark::State& state) {
    auto other = std::make_unique<TMap>(Dense());
    for (int i = 0; i < TMap::CellCount; i += 8) other->Cells[i] ^= 1;
    for (auto _ : state) benchmark::DoNotOptimize(DiffMaps(Dense(), *other, Same));
}
BENCHMARK(BM_Diff)->Unit(benchmark::kMicrosecond);

void BM_Check(benchmark::State& state) {
    const TMap& m = state.range(0) ? Dense() : Demo();
    for (auto _ : state) benchmark::DoNotOptimize(CheckMap(m));
}
BENCHMARK(BM_Check)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// 500 listed maps, each loaded and checked: all of them the demonstration map (argument 0),
// or all the dense map, with thousands of findings each (argument 1).
void BM_CheckList500(benchmark::State& state) {
    char tmpl[] = "/tmp/quarvel-bench-XXXXXX";
    const std::string dir = std::string(mkdtemp(tmpl)) + "/";
    auto map = std::make_unique<TMap>(state.range(0) ? Dense() : Demo());
    std::ofstream ini(dir + "map.ini", std::ios::binary);
    for (int i = 0; i < 500; ++i) {
        const std::string name = "m" + std::to_string(i) + ".map";
        map->SaveToFile(dir + name);
        ini << name << "\r\n";
    }
    ini.close();
    for (auto _ : state) {
        size_t findings = 0;
        for (const std::string& line : ReadListFile(dir + "map.ini")) {
            map->LoadFromFile(ListedMapFile(dir, line));
            findings += CheckMap(*map).size();
        }
        benchmark::DoNotOptimize(findings);
    }
    std::filesystem::remove_all(dir);
}
BENCHMARK(BM_CheckList500)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace
