// Fuzzes the map document: a map file made of the input is loaded, edited by a few operations
// the input chooses, saved and loaded again. Every step that changes cells is undone and
// redone at once and must give back the cells before and after it; Shape must equal the
// cell-by-cell shaping; a file that is refused changes nothing.
//
// Input: one byte N (ops = N % 9), N ops of five bytes, then the bytes of the map file. With
// N >= 128 the file's cells (after its 48 header bytes) are repeated to fill all 48 levels, so
// that short inputs reach every level. Only one op of an input may run over the whole map
// (shape, shift, swap): with its undo and redo it takes milliseconds under the sanitizers.
#include "fuzz/fuzzutil.h"
#include "map/maperror.h"
#include "map/maptools.h"
#include "tests/maptestutil.h"
#include "tests/testutil.h"

#include <cstring>
#include <memory>
#include <string>

using namespace quarvel;
using namespace quarvel::fuzz;

namespace {

// Reused by every input: two maps, what the first holds before each load, and the folder
// that holds the loaded and the saved file.
struct State {
    std::unique_ptr<TMap> Map = test::NewMap();
    std::unique_ptr<TMap> Other = test::NewMap();
    std::unique_ptr<TMap> Before = test::NewMap();
    test::TempDir Dir;
    std::string In = Dir.File("in.map"), Out = Dir.File("out.map");
    uint8_t Cells[2][TMap::CellCount];

    State() {
        Before->FileName = "earlier.map";
        Before->UndoBuf.BeginStep();
        Before->SetChip(3, 4, 5, 42); // a two-level object: three records
        Before->SetName("before");
    }
};

State* S; // created at start-up, removed (with its folder) at exit

bool SameDocument(const TMap& a, const TMap& b) {
    if (std::memcmp(a.Header, b.Header, TMap::HeaderSize) != 0 ||
        std::memcmp(a.Cells, b.Cells, TMap::CellCount) != 0 || a.FileName != b.FileName ||
        a.Modified != b.Modified || a.UndoBuf.Current != b.UndoBuf.Current ||
        a.UndoBuf.RedoCount != b.UndoBuf.RedoCount)
        return false;
    for (int i = 0; i < TUndoBuf::SlotCount; ++i)
        if (a.UndoBuf.Slots[i] != b.UndoBuf.Slots[i]) return false;
    return true;
}

// The step just made holds `records` records and turned cells `before` into the map's cells:
// Undo must give back `before`, Redo the cells after, and both keep the step's size.
void CheckUndoRedo(TMap& m, const uint8_t* before) {
    uint8_t* after = S->Cells[1];
    std::memcpy(after, m.Cells, TMap::CellCount);
    const int records = m.UndoBuf.Count(), current = m.UndoBuf.Current;
    Check(m.Undo(), "Undo after a step did nothing");
    Check(std::memcmp(m.Cells, before, TMap::CellCount) == 0, "Undo did not restore the cells");
    Check(m.UndoBuf.RedoCount == 1, "Undo did not count one redo");
    Check(m.Redo(), "Redo after Undo did nothing");
    Check(std::memcmp(m.Cells, after, TMap::CellCount) == 0, "Redo did not restore the cells");
    Check(m.UndoBuf.Current == current && m.UndoBuf.Count() == records,
          "Undo and Redo changed the step");
    Check(m.UndoBuf.RedoCount == 0, "Redo left a redo count");
}

void CheckShape(TMap& m, const uint8_t* before) {
    TMap& ref = *S->Other;
    std::memcpy(ref.Cells, before, TMap::CellCount);
    ref.UndoBuf.Reset();
    const bool refChanged = test::ReferenceShape(ref);
    Check(std::memcmp(m.Cells, ref.Cells, TMap::CellCount) == 0,
          "Shape differs from the cell-by-cell shaping");
    if (refChanged)
        Check(m.UndoBuf.Slots[m.UndoBuf.Current] == ref.UndoBuf.Slots[ref.UndoBuf.Current],
              "Shape's records differ from the cell-by-cell shaping");
}

void RunOp(TMap& m, Input& in, int& wholeMapOps) {
    int kind = in.Byte() % 9;
    if (kind >= 3 && kind <= 5 && ++wholeMapOps > 1) kind = 0;
    const uint8_t a = in.Byte(), b = in.Byte(), c = in.Byte(), d = in.Byte();
    uint8_t* before = S->Cells[0];
    std::memcpy(before, m.Cells, TMap::CellCount);
    bool stepped = false;
    switch (kind) {
    case 0: // one cell write as its own step; a few coordinates fall outside the map
    case 1:
        m.UndoBuf.BeginStep();
        m.SetChip(a % 34 - 1, b % 34 - 1, c % 50 - 1, d);
        stepped = true;
        break;
    case 2: { // a short line of writes as one step, like a drag
        m.UndoBuf.BeginStep();
        for (int i = 0; i <= (d & 7); ++i) m.SetChip((a + i) % 32, b % 32, c % 48, uint8_t(d + i));
        stepped = true;
        break;
    }
    case 3: {
        const bool changed = m.Shape();
        CheckShape(m, before);
        stepped = changed;
        break;
    }
    case 4:
        stepped = ShiftMap(m, int8_t(a) % 50, int8_t(b) % 50, int8_t(c) % 50);
        break;
    case 5:
        stepped = SwapCountries(m, a % 4, b % 4);
        break;
    case 6: { // plain undo, and redo when it did something
        if (m.Undo()) {
            Check(m.Redo(), "Redo after an Undo did nothing");
            Check(std::memcmp(m.Cells, before, TMap::CellCount) == 0,
                  "Undo then Redo did not give back the cells");
        }
        break;
    }
    case 7:
        m.Undo();
        break;
    default:
        m.Redo();
        break;
    }
    // A step without records (a swap that matched nothing) is passed over by Undo.
    if (stepped && m.UndoBuf.Count() > 0) CheckUndoRedo(m, before);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    UseMemoryTempFolder();
    static State state;
    S = &state;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Input in(data, size);
    const uint8_t first = in.Byte();
    const int ops = first % 9;
    const std::string opBytes = in.Take(size_t(ops) * 5);
    std::string file = in.Rest();
    if (first >= 128 && file.size() > size_t(TMap::HeaderSize)) {
        const std::string cells = file.substr(TMap::HeaderSize);
        file.resize(TMap::HeaderSize);
        while (file.size() < size_t(TMap::FileSize)) file += cells;
        file.resize(TMap::FileSize);
    }
    WriteFile(S->In, file);

    TMap& m = *S->Map;
    m = *S->Before;
    bool loaded = false;
    try {
        loaded = m.LoadFromFile(S->In);
    } catch (const QuarvelError&) {
    }
    if (!loaded) {
        Check(SameDocument(m, *S->Before), "a refused map file changed the map");
        return 0;
    }
    // A short file leaves the rest zero; a longer one's rest is ignored.
    std::string expect = file.substr(0, TMap::FileSize);
    expect.resize(TMap::FileSize, '\0');
    Check(std::memcmp(m.Header, expect.data(), TMap::HeaderSize) == 0 &&
              std::memcmp(m.Cells, expect.data() + TMap::HeaderSize, TMap::CellCount) == 0,
          "the loaded map differs from the file");
    Check(!m.Modified && m.FileName == S->In && m.UndoBuf.Current == 0 &&
              m.UndoBuf.RedoCount == 0 && m.UndoBuf.Count() == 0,
          "a load left state behind");

    Input opsIn(reinterpret_cast<const uint8_t*>(opBytes.data()), opBytes.size());
    int wholeMapOps = 0;
    for (int i = 0; i < ops; ++i) RunOp(m, opsIn, wholeMapOps);

    Check(m.SaveToFile(S->Out), "save refused");
    Check(!m.Modified && m.FileName == S->Out, "save left the map modified");
    TMap& again = *S->Other;
    Check(again.LoadFromFile(S->Out), "the saved map does not load");
    Check(std::memcmp(again.Header, m.Header, TMap::HeaderSize) == 0 &&
              std::memcmp(again.Cells, m.Cells, TMap::CellCount) == 0,
          "the saved map differs after loading it again");
    const Listing files = ListTree(S->Dir.Path(), false);
    Check(files.size() == 2 && files.count("in.map") && files.count("out.map"),
          "saving left another file in the folder");
    return 0;
}
