// The cost of looking at the open map's file: a check when nothing changed (one stat), a check
// after a touch (stat, read and compare 49,200 bytes), and taking the file's stamp after a
// load or save. The running editor checks only on the system's notices, on coming to the
// front and, where the system cannot watch, once a second: a check must stay far below a
// millisecond.
#include "editor/diskfile.h"
#include "editor/global.h"
#include "map/mapclass.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <sys/stat.h>
#include <utime.h>

namespace {

using namespace quarvel;
namespace fs = std::filesystem;

// An editor whose map was loaded from a file of a fresh private folder. No window is needed:
// nothing changes, so nothing is shown.
struct Editor {
    TMap Map;
    TEditorState State;
    std::string Dir, Path;
    explicit Editor(bool settled) {
        std::string tmpl = (fs::temp_directory_path() / "quarvel-bench-XXXXXX").string();
        if (!mkdtemp(tmpl.data())) std::abort();
        Dir = tmpl;
        Path = Dir + "/a.map";
        Map.Clear();
        for (int i = 0; i < TMap::CellCount; i += 7) Map.Cells[i] = uint8_t(i % 167 + 1);
        Map.SaveToFile(Path);
        if (settled) { // written a minute ago: its stamp spares the read
            struct utimbuf old {};
            old.actime = old.modtime = ::time(nullptr) - 60;
            ::utime(Path.c_str(), &old);
        }
        Map.LoadFromFile(Path);
        State.TheMap = &Map;
        NoteDiskFile(State);
    }
    ~Editor() {
        std::error_code ec;
        fs::remove_all(Dir, ec);
    }
};

void BM_CheckUnchanged(benchmark::State& state) {
    Editor e(true);
    for (auto _ : state) CheckDiskFile(e.State);
    if (!e.State.DiskFile.Trusted) state.SkipWithError("the stamp should spare the read");
}
BENCHMARK(BM_CheckUnchanged);

// Every round sees a new stamp with the same content (a touch): stat, read, compare.
void BM_CheckTouched(benchmark::State& state) {
    Editor e(false);
    e.State.DiskFile.Trusted = false;
    for (auto _ : state) {
        CheckDiskFile(e.State);
        e.State.DiskFile.Trusted = false;
    }
    if (e.State.TheMap->Modified) state.SkipWithError("a touch was taken for a change");
}
BENCHMARK(BM_CheckTouched);

void BM_NoteAfterSave(benchmark::State& state) {
    Editor e(false);
    for (auto _ : state) NoteDiskFile(e.State);
}
BENCHMARK(BM_NoteAfterSave);

} // namespace
