// quarvel-cli: the map commands new, info, shape, shift and swap.
#include "app/cli/cliargs.h"
#include "app/cli/commands.h"
#include "editor/userfolders.h"
#include "map/cp932.h"
#include "map/mapclass.h"
#include "map/mapdiff.h"
#include "map/maperror.h"
#include "map/maptools.h"

#include <cstring>
#include <functional>
#include <iostream>
#include <memory>

namespace quarvel::cli {

std::string PrintableMapName(const std::string& cp932) {
    return NameLine(cp932, Cp932ToUtf8Lossy);
}

void LoadMapFile(TMap& map, const std::string& path) {
    if (!map.LoadFromFile(path)) throw QuarvelError(ErrorKind::NotAMap, FileRole::MapFile, path);
}

namespace {

// Takes "-o OUT" out of `args`; returns the other arguments, `count` of them, and sets
// `out` to OUT ("" when absent).
std::vector<std::string> TakeOutput(const std::vector<std::string>& args, size_t count,
                                    std::string& out) {
    return CliArgs().Single("-o", out, "-o needs a file name").Parse(args, count);
}

// Loads MAP, runs `op`, saves (to OUT or in place) and says whether any cell changed.
int RunOnMap(const std::string& path, const std::string& out,
             const std::function<void(TMap&)>& op) {
    auto map = std::make_unique<TMap>();
    LoadMapFile(*map, path);
    auto before = std::make_unique<uint8_t[]>(TMap::CellCount);
    std::memcpy(before.get(), map->Cells, TMap::CellCount);
    op(*map);
    bool changed = std::memcmp(before.get(), map->Cells, TMap::CellCount) != 0;
    // A writable map in a folder the user may not write is rewritten in place.
    map->SaveToFile(out, UserStateFolder());
    std::cout << (changed ? "changed" : "unchanged") << "\n";
    return ExitOk;
}

int RunNew(const std::vector<std::string>& args) {
    ExpectCount(args, 1);
    auto map = std::make_unique<TMap>();
    map->Clear();
    map->SaveToFile(args[0]);
    return ExitOk;
}

int RunInfo(const std::vector<std::string>& args) {
    ExpectCount(args, 1);
    auto map = std::make_unique<TMap>();
    LoadMapFile(*map, args[0]);
    int cells = 0;
    for (uint8_t c : map->Cells) cells += c != 0;
    const char* tag = reinterpret_cast<const char*>(map->Header);
    std::cout << "name: " << PrintableMapName(map->GetName()) << "\n"
              << "terrain: " << map->GetTerrain() << "\n"
              << "version: " << std::string(tag, strnlen(tag, 8)) << "\n"
              << "cells: " << cells << "\n";
    return ExitOk;
}

int RunShape(const std::vector<std::string>& argsIn) {
    std::string out;
    const auto args = TakeOutput(argsIn, 1, out);
    return RunOnMap(args[0], out, [](TMap& map) { map.Shape(); });
}

int RunShift(const std::vector<std::string>& argsIn) {
    std::string out;
    const auto args = TakeOutput(argsIn, 4, out);
    int dx = ParseInt(args[1], "DX");
    int dy = ParseInt(args[2], "DY");
    int dz = ParseInt(args[3], "DZ");
    return RunOnMap(args[0], out, [=](TMap& map) { ShiftMap(map, dx, dy, dz); });
}

int RunSwap(const std::vector<std::string>& argsIn) {
    std::string out;
    const auto args = TakeOutput(argsIn, 3, out);
    int a = ParseInt(args[1], "A");
    int b = ParseInt(args[2], "B");
    if (a < 0 || a > 3 || b < 0 || b > 3) throw UsageError("countries are 0..3");
    return RunOnMap(args[0], out, [=](TMap& map) { SwapCountries(map, a, b); });
}

CliRegistration newCommand({"new", "new OUT", RunNew});
CliRegistration infoCommand({"info", "info MAP", RunInfo});
CliRegistration shapeCommand({"shape", "shape MAP [-o OUT]", RunShape});
CliRegistration shiftCommand({"shift", "shift MAP DX DY DZ [-o OUT]", RunShift});
CliRegistration swapCommand({"swap", "swap MAP A B (countries 0..3) [-o OUT]", RunSwap});

} // namespace

} // namespace quarvel::cli
