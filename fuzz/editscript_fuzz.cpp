// Fuzzes the edit scripts of quarvel-cli edit in a fresh folder per input: every load and
// save path is rewritten into that folder first. Whatever the script does, the editor state
// it borrowed is given back, only the files it saved appear (each a whole map file, no
// temporary file left), and the map it leaves saves and loads again unchanged.
//
// Input: the script text.
#include "app/cli/editscript.h"
#include "fuzz/fuzzutil.h"
#include "map/mapclass.h"
#include "map/maperror.h"
#include "tests/testutil.h"

#include <cstring>
#include <memory>
#include <set>
#include <sstream>

using namespace quarvel;
using namespace quarvel::fuzz;

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// A file name made of the safe characters of `word` (never empty, never leading dots).
std::string SafeName(const std::string& word) {
    std::string name;
    for (char c : word)
        if ((std::isalnum(uint8_t(c)) || c == '.' || c == '_' || c == '-') && name.size() < 16 &&
            !(name.empty() && c == '.'))
            name += c;
    return name.empty() ? "x.map" : name;
}

// The script with the path of each load and save line replaced by a file in `folder`; the
// names it may save to are collected.
std::string Sandboxed(const std::string& script, const std::string& folder,
                      std::set<std::string>& saved) {
    std::string out;
    std::set<std::string> loaded; // a bare "save" writes the map back to a file loaded before
    size_t start = 0;
    while (start < script.size()) {
        size_t end = script.find('\n', start);
        if (end == std::string::npos) end = script.size();
        std::string line = script.substr(start, end - start);
        start = end + 1;
        size_t i = 0;
        while (i < line.size() && IsBlank(line[i])) ++i;
        size_t w = i;
        while (w < line.size() && !IsBlank(line[w])) ++w;
        const std::string command = line.substr(i, w - i);
        size_t a = w;
        while (a < line.size() && IsBlank(line[a])) ++a;
        size_t b = a;
        while (b < line.size() && !IsBlank(line[b])) ++b;
        if ((command == "load" || command == "save") && b > a) {
            const std::string name = SafeName(line.substr(a, b - a));
            (command == "save" ? saved : loaded).insert(name);
            line = line.substr(0, a) + folder + "/" + name + line.substr(b);
        } else if (command == "save") {
            saved.insert(loaded.begin(), loaded.end());
        }
        out += line + "\n";
    }
    return out;
}

struct State {
    std::string MapFile = Pattern();
    std::unique_ptr<TMap> Map = std::make_unique<TMap>();
    std::unique_ptr<TMap> Again = std::make_unique<TMap>();

    // A map with a few objects, the file scripts find as "a.map".
    static std::string Pattern() {
        TMap m;
        m.Clear();
        m.SetChip(3, 3, 3, 42);
        m.SetChip(4, 3, 3, 33);
        m.SetChip(5, 5, 0, 9);
        m.SetChip(6, 5, 0, 26);
        std::string bytes(reinterpret_cast<const char*>(m.Header), TMap::HeaderSize);
        bytes.append(reinterpret_cast<const char*>(m.Cells), TMap::CellCount);
        return bytes;
    }
};

State& St() {
    static State state;
    return state;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    UseMemoryTempFolder();
    St();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    State& st = St();
    test::TempDir dir;
    WriteFile(dir.File("a.map"), st.MapFile);
    WriteFile(dir.File("t.txt"), "not a map");
    std::set<std::string> saved;
    const std::string script =
        Sandboxed(std::string(reinterpret_cast<const char*>(data), size), dir.Path(), saved);

    TMap& map = *st.Map;
    map.Clear();
    std::ostringstream out;
    std::istringstream in(script);
    cli::ScriptContext ctx(map, out);
    try {
        cli::RunScript(ctx, in);
    } catch (const cli::ScriptLineError&) {
    } catch (const QuarvelError&) {
    }
    Check(!ctx.Editor, "the script's editor state outlived the script");

    // Only the files saved to, each a whole map file; the seeds as they were unless saved to.
    for (const auto& [name, bytes] : ListTree(dir.Path())) {
        if (!saved.count(name)) {
            Check(name == "a.map" ? bytes == st.MapFile : name == "t.txt" && bytes == "not a map",
                  "a file appeared or changed that no save named");
            continue;
        }
        if (name == "t.txt" && bytes == "not a map") continue; // a save that failed
        Check(bytes.size() == size_t(TMap::FileSize) && bytes.compare(0, 8, st.MapFile, 0, 8) == 0,
              "a saved file is no whole map file");
    }

    // The map as the script left it saves and loads again unchanged.
    Check(map.SaveToFile(dir.File("final.map")), "the final map does not save");
    Check(st.Again->LoadFromFile(dir.File("final.map")) &&
              std::memcmp(st.Again->Header, map.Header, TMap::HeaderSize) == 0 &&
              std::memcmp(st.Again->Cells, map.Cells, TMap::CellCount) == 0,
          "the final map differs after saving and loading it");
    return 0;
}
