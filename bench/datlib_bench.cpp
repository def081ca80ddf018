// Benchmarks of the map archive: packing and unpacking a list of 500 maps.
#include "archive/datlib.h"
#include "map/chipclasses.h"
#include "map/mapclass.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

using namespace quarvel;

namespace {

namespace fs = std::filesystem;

constexpr int MapCount = 500;

// A program folder with map/ (500 maps and map.ini), dat/ and dat/unpacked/.
class ArchiveFolder {
public:
    ArchiveFolder() {
        std::string tmpl = (fs::temp_directory_path() / "quarvel-bench-XXXXXX").string();
        if (!mkdtemp(tmpl.data())) std::abort();
        Root = tmpl + "/";
        fs::create_directories(Root + "map");
        fs::create_directories(Root + "dat/unpacked");
        std::vector<char> map(TMap::FileSize);
        const char tag[8] = "Ver1.6+";
        std::copy(tag, tag + 8, map.begin());
        std::string list;
        for (int i = 0; i < MapCount; ++i) {
            for (size_t k = TMap::HeaderSize; k < map.size(); ++k)
                map[k] = char((k * 13 + size_t(i)) % TMap::ChipCount);
            const std::string name = "map" + std::to_string(i) + ".map";
            std::ofstream(Root + "map/" + name, std::ios::binary).write(map.data(), TMap::FileSize);
            list += name + "\r\n";
        }
        std::ofstream(Root + "map/map.ini", std::ios::binary) << list;
    }
    ~ArchiveFolder() {
        std::error_code ec;
        fs::remove_all(Root, ec);
    }
    std::string Root;
};

ArchiveFolder& Folder() {
    static ArchiveFolder f;
    return f;
}

void BM_BuildDat(benchmark::State& state) {
    const std::string root = Folder().Root;
    for (auto _ : state) BuildDat(root);
    state.SetBytesProcessed(int64_t(state.iterations()) * MapCount * DatRecordSize);
}
BENCHMARK(BM_BuildDat)->Unit(benchmark::kMillisecond);

void BM_UnpackDat(benchmark::State& state) {
    const std::string root = Folder().Root;
    BuildDat(root);
    for (auto _ : state) UnpackDat(root);
    state.SetBytesProcessed(int64_t(state.iterations()) * MapCount * 49200);
}
BENCHMARK(BM_UnpackDat)->Unit(benchmark::kMillisecond);

} // namespace
