// Fuzzes the map document: a map file made of the input is loaded, edited by a few operations
// the input chooses, saved and loaded again. Every step that changes cells is undone and
// redone at once and must give back the cells before and after it; Shape must equal the
// cell-by-cell shaping; a file that is refused changes nothing. Shift and Swap are also run on
// the map with its multi-level objects completed or removed, where they must equal a plain
// per-cell move or chip exchange, and on such a map no sequence of the input's chip writes,
// undos and redos may leave an object part without its partners.
//
// Input: one byte N (ops = N % 9), N ops of five bytes, then the bytes of the map file. With
// N >= 128 the file's cells (after its 48 header bytes) are repeated to fill all 48 levels, so
// that short inputs reach every level. Only one op of an input may run over the whole map
// (shape, shift, swap): with its undo and redo it takes milliseconds under the sanitizers.
#include "fuzz/fuzzutil.h"
#include "map/chipclasses.h"
#include "map/maperror.h"
#include "map/maptools.h"
#include "tests/maptestutil.h"
#include "tests/testutil.h"

#include <cstring>
#include <memory>
#include <random>
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
    std::unique_ptr<TMap> Whole = test::NewMap(); // replays the cell writes on whole objects
    test::TempDir Dir;
    std::string In = Dir.File("in.map"), Out = Dir.File("out.map");
    uint8_t Cells[2][TMap::CellCount];
    uint8_t Plain[TMap::CellCount];

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

// Whether the part in cell i has its partners: every partner level inside the map holds the
// partner's chip, and (with `strict`) every partner level lies inside the map.
bool PartWhole(const uint8_t* cells, int i, bool strict) {
    PartnerCell partners[2];
    const int z = i / TMap::LevelSize, n = PartnersOf(cells[i], z, partners);
    for (int k = 0; k < n; ++k) {
        const int pz = partners[k].Z;
        if (pz < 0 || pz >= TMap::SizeZ) {
            if (strict) return false;
            continue;
        }
        if (cells[i + (pz - z) * TMap::LevelSize] != partners[k].Chip) return false;
    }
    return true;
}

bool AllWhole(const uint8_t* cells, bool strict) {
    for (int i = 0; i < TMap::CellCount; ++i)
        if (!PartWhole(cells, i, strict)) return false;
    return true;
}

// Completes the parts whose partner cells lie inside the map and hold chips without partners,
// then empties every part that still lacks a partner, in the columns x, y < `columns`. The
// partners of a whole part are whole too, so what is left is whole.
void MakeObjectsWhole(uint8_t* cells, int columns = 32) {
    for (int z = 0; z < TMap::SizeZ; ++z)
        for (int y = 0; y < columns; ++y)
            for (int x = 0; x < columns; ++x) {
                const int i = TMap::Index(x, y, z);
                if (PartWhole(cells, i, true)) continue;
                PartnerCell partners[2], other[2];
                const int n = PartnersOf(cells[i], z, partners);
                bool free = true;
                for (int k = 0; k < n; ++k) {
                    const int pz = partners[k].Z;
                    free = free && pz >= 0 && pz < TMap::SizeZ &&
                           PartnersOf(cells[i + (pz - z) * TMap::LevelSize], pz, other) == 0;
                }
                if (free)
                    for (int k = 0; k < n; ++k)
                        cells[i + (partners[k].Z - z) * TMap::LevelSize] = partners[k].Chip;
            }
    for (int i = 0; i < TMap::CellCount; ++i) {
        const bool inside = i % TMap::SizeX < columns && i / TMap::SizeX % TMap::SizeY < columns;
        S->Plain[i] = inside && !PartWhole(cells, i, true);
    }
    for (int i = 0; i < TMap::CellCount; ++i)
        if (S->Plain[i]) cells[i] = 0;
}

// `before` with whole objects only, into the second map with an empty history. With
// `countryRow`, row 0 of level 0 first holds every country chip once (the gates and walls
// with their upper halves on level 1), since random maps rarely hold whole gates.
TMap& WholeCopy(const uint8_t* before, bool countryRow = false) {
    TMap& w = *S->Other;
    std::memcpy(w.Cells, before, TMap::CellCount);
    if (countryRow)
        for (int k = 0; k < 32; ++k)
            w.Cells[TMap::Index(k, 0, 0)] = uint8_t(CountryChipBases[k / 4] + k % 4);
    MakeObjectsWhole(w.Cells);
    w.UndoBuf.Reset();
    return w;
}

// On a map of whole objects the shift is a plain move: what lay at (x, y, z) lies at
// (x + dx, y + dy, z + dz), the rest is empty, and a chip arriving on a level it may not
// stand on (an object cut at the bottom or top) is dropped. The upkeep of the writes then
// changes nothing.
void CheckShift(const uint8_t* before, int dx, int dy, int dz) {
    TMap& w = WholeCopy(before);
    uint8_t* plain = S->Plain;
    std::memset(plain, 0, TMap::CellCount);
    for (int z = 0; z < TMap::SizeZ; ++z)
        for (int y = 0; y < TMap::SizeY; ++y)
            for (int x = 0; x < TMap::SizeX; ++x) {
                const int tx = x + dx, ty = y + dy, tz = z + dz;
                if (!TMap::Inside(tx, ty, tz)) continue;
                const uint8_t c = w.Cells[TMap::Index(x, y, z)];
                if (LevelRuleWarning(tz, c) == 0) plain[TMap::Index(tx, ty, tz)] = c;
            }
    Check(AllWhole(plain, true), "a plain shift of whole objects left one cut");
    ShiftMap(w, dx, dy, dz);
    Check(std::memcmp(w.Cells, plain, TMap::CellCount) == 0,
          "Shift of whole objects differs from the plain move");
}

// On a map of whole objects the swap exchanges chip for chip: each country chip with the
// other country's, and the upper halves of gates and walls (which sit over a lower half of the
// same country) likewise.
void CheckSwap(const uint8_t* before, int a, int b) {
    TMap& w = WholeCopy(before, true);
    uint8_t to[256];
    for (int c = 0; c < 256; ++c) to[c] = uint8_t(c);
    for (int base : {25, 29, 128, 132, 136, 140, 152, 156, 144, 148, 160, 164}) {
        to[base + a] = uint8_t(base + b);
        to[base + b] = uint8_t(base + a);
    }
    uint8_t* plain = S->Plain;
    for (int i = 0; i < TMap::CellCount; ++i) plain[i] = to[w.Cells[i]];
    SwapCountries(w, a, b);
    Check(std::memcmp(w.Cells, plain, TMap::CellCount) == 0,
          "Swap of whole objects differs from the plain chip exchange");
}

// The cell writes of ops 0 to 2, each as one step.
void Write(TMap& m, int kind, uint8_t a, uint8_t b, uint8_t c, uint8_t d) {
    m.UndoBuf.BeginStep();
    if (kind < 2) { // one cell; a few coordinates fall outside the map
        m.SetChip(a % 34 - 1, b % 34 - 1, c % 50 - 1, d);
        return;
    }
    // A short line of writes, like a drag, or up a column (c bit 7), where objects meet.
    const bool up = c & 128;
    for (int i = 0; i <= (d & 7); ++i)
        m.SetChip((a + (up ? 0 : i)) % 32, b % 32, (c + (up ? i : 0)) % 48, uint8_t(d + i));
}

// The input's chip writes, undos and redos replayed on a map of whole objects: none may leave
// a part without its partners. There each write op becomes 16 writes, drawn from its bytes, of
// mostly object parts into 2 x 2 columns of the lowest or the highest 8 levels, so that they
// hit each other's objects and the map's ends. Parts whose partner level lies outside the map
// (a tree top written on level 0) keep what lies inside.
void ReplayOnWhole(int kind, uint8_t a, uint8_t b, uint8_t c, uint8_t d) {
    TMap& w = *S->Whole;
    if (kind >= 3 && kind <= 5) return;
    if (kind <= 2) {
        std::minstd_rand rng(uint32_t(a) | uint32_t(b) << 8 | uint32_t(c) << 16 |
                             uint32_t(d) << 24);
        const int z0 = c & 64 ? TMap::SizeZ - 8 : 0;
        w.UndoBuf.BeginStep();
        for (int i = 0; i < 16; ++i) {
            const uint32_t r = rng();
            const int part = int(r >> 8) % 49;
            const uint8_t chip =
                (r & 1) ? uint8_t(r >> 16) : uint8_t(part < 17 ? 33 + part : 136 + part - 17);
            w.SetChip(int(r >> 1) & 1, int(r >> 2) & 1, z0 + int(r >> 3) % 8, chip);
        }
    }
    if (kind == 6 && w.Undo()) w.Redo();
    if (kind == 7) w.Undo();
    if (kind == 8) w.Redo();
    // The writes reach no other column, and neither do their undos and redos.
    for (int z = 0; z < TMap::SizeZ; ++z)
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 2; ++x)
                Check(PartWhole(w.Cells, TMap::Index(x, y, z), false),
                      "a chip write, undo or redo left an object part without partners");
}

void RunOp(TMap& m, Input& in, int& wholeMapOps) {
    int kind = in.Byte() % 9;
    if (kind >= 3 && kind <= 5 && ++wholeMapOps > 1) kind = 0;
    const uint8_t a = in.Byte(), b = in.Byte(), c = in.Byte(), d = in.Byte();
    uint8_t* before = S->Cells[0];
    std::memcpy(before, m.Cells, TMap::CellCount);
    bool stepped = false;
    switch (kind) {
    case 0:
    case 1:
    case 2:
        Write(m, kind, a, b, c, d);
        stepped = true;
        break;
    case 3: {
        const bool changed = m.Shape();
        CheckShape(m, before);
        stepped = changed;
        break;
    }
    case 4:
        stepped = ShiftMap(m, int8_t(a) % 50, int8_t(b) % 50, int8_t(c) % 50);
        if (stepped) CheckShift(before, int8_t(a) % 50, int8_t(b) % 50, int8_t(c) % 50);
        break;
    case 5:
        stepped = SwapCountries(m, a % 4, b % 4);
        if (stepped) CheckSwap(before, a % 4, b % 4);
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
    ReplayOnWhole(kind, a, b, c, d);
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

    // The replayed writes use only the columns x, y < 2: the rest stays empty.
    TMap& whole = *S->Whole;
    std::memset(whole.Cells, 0, TMap::CellCount);
    for (int z = 0; z < TMap::SizeZ; ++z)
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 2; ++x)
                whole.Cells[TMap::Index(x, y, z)] = m.Cells[TMap::Index(x, y, z)];
    MakeObjectsWhole(whole.Cells, 2);
    whole.UndoBuf.Reset();
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
