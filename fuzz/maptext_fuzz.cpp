// Fuzzes the text forms of maps: dump, diff and check, on maps whose cells reach every level.
// The text is safe to print (UTF-8, no control characters but the line ends); the dump has
// one line per non-empty cell, naming its place and chip; a map's diff with itself is empty
// and with a changed copy names every changed cell; check's shaping findings are exactly the
// cells that shaping changes, with the chips it writes.
//
// Input: a mode byte (even: cells written one by one, four bytes each - x, y, z, chip -, so
// that short inputs reach every level; odd: the rest repeated over every 37th cell), the 48 header
// bytes, then the cell bytes.
#include "fuzz/fuzzutil.h"
#include "map/cp932.h"
#include "map/mapcheck.h"
#include "map/mapclass.h"
#include "map/mapdiff.h"
#include "tests/maptestutil.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <set>
#include <tuple>

using namespace quarvel;
using namespace quarvel::fuzz;

namespace {

struct State {
    std::unique_ptr<TMap> Map = test::NewMap(), Copy = test::NewMap();
};

State& St() {
    static State state;
    return state;
}

// UTF-8 of shortest form, without C0 (but LF), DEL or C1 control characters.
void CheckSafeText(const std::string& text, const char* what) {
    for (size_t i = 0; i < text.size();) {
        const uint8_t c = uint8_t(text[i]);
        if (c < 0x80) {
            if ((c < 0x20 && c != '\n') || c == 0x7F) Fail(std::string(what) + ": a control byte");
            ++i;
            continue;
        }
        const size_t len = c >= 0xF0 && c <= 0xF4   ? 4
                           : c >= 0xE0              ? 3
                           : c >= 0xC2 && c <= 0xDF ? 2
                                                    : 0;
        if (len == 0 || i + len > text.size()) Fail(std::string(what) + ": not UTF-8");
        uint32_t cp = c & (0x7F >> len);
        for (size_t k = 1; k < len; ++k) {
            const uint8_t b = uint8_t(text[i + k]);
            if ((b & 0xC0) != 0x80) Fail(std::string(what) + ": not UTF-8");
            cp = cp << 6 | (b & 0x3F);
        }
        if ((len == 3 && cp < 0x800) || (len == 4 && (cp < 0x10000 || cp > 0x10FFFF)) ||
            (cp >= 0xD800 && cp <= 0xDFFF))
            Fail(std::string(what) + ": not shortest-form UTF-8");
        if (cp >= 0x80 && cp <= 0x9F) Fail(std::string(what) + ": a C1 control character");
        i += len;
    }
}

std::string Lossy(const std::string& cp932) {
    return Cp932ToUtf8Lossy(cp932);
}

void CheckDump(const TMap& m) {
    const std::string dump = DumpMap(m, Lossy);
    CheckSafeText(dump, "dump");
    Check(!dump.empty() && dump.back() == '\n', "the dump does not end a line");
    size_t pos = 0, line = 0;
    int cells = 0;
    while (pos < dump.size()) {
        const size_t end = dump.find('\n', pos);
        if (line >= 3) {
            int x, y, z, chip;
            if (std::sscanf(dump.c_str() + pos, "%d %d %d %d ", &x, &y, &z, &chip) != 4)
                Fail("a dump line is not \"x y z chip label\"");
            Check(TMap::Inside(x, y, z) && chip != 0 && m.GetChip(x, y, z) == chip,
                  "a dump line names a cell that does not hold its chip");
            ++cells;
        }
        pos = end + 1;
        ++line;
    }
    int nonEmpty = 0;
    for (uint8_t c : m.Cells) nonEmpty += c != 0;
    Check(line >= 3 && cells == nonEmpty, "the dump does not have one line per non-empty cell");
}

void CheckDiff(const TMap& m, TMap& copy, Input& in) {
    Check(DiffMaps(m, m, Lossy).empty(), "a map differs from itself");
    std::memcpy(copy.Header, m.Header, TMap::HeaderSize);
    std::memcpy(copy.Cells, m.Cells, TMap::CellCount);
    std::set<int> changed;
    for (int n = in.Byte() % 8; n > 0; --n) {
        const int i = int(uint32_t(in.Byte() << 8 | in.Byte()) * uint32_t(TMap::CellCount) / 65536);
        const uint8_t c = in.Byte();
        copy.Cells[i] = c;
        if (c != m.Cells[i])
            changed.insert(i);
        else
            changed.erase(i);
    }
    const std::string diff = DiffMaps(m, copy, Lossy);
    CheckSafeText(diff, "diff");
    size_t lines = 0;
    for (char ch : diff) lines += ch == '\n';
    Check(lines == changed.size(), "the diff does not have one line per changed cell");
}

void CheckFindings(const TMap& m, TMap& shaped) {
    const std::vector<MapFinding> findings = CheckMap(m);
    std::memcpy(shaped.Header, m.Header, TMap::HeaderSize);
    std::memcpy(shaped.Cells, m.Cells, TMap::CellCount);
    shaped.UndoBuf.Reset();
    shaped.Shape();
    std::set<std::tuple<int, int, int>> found;
    for (const MapFinding& f : findings) {
        CheckSafeText(FindingText(f), "a finding");
        Check(found.insert({f.X, f.Y, f.Z}).second, "two findings for one cell");
        if (f.Kind == FindingKind::ShapeWouldFix)
            Check(shaped.GetChip(f.X, f.Y, f.Z) == f.ShapedChip &&
                      m.GetChip(f.X, f.Y, f.Z) != f.ShapedChip,
                  "a shaping finding names a chip that shaping does not write");
    }
    for (int z = 0; z < 48; ++z)
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x)
                if (shaped.GetChip(x, y, z) != m.GetChip(x, y, z))
                    Check(found.count({x, y, z}) == 1,
                          "a cell that shaping changes has no finding");
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    St();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    State& st = St();
    TMap& m = *st.Map;
    Input in(data, size);
    const bool repeated = in.Byte() & 1;
    const std::string header = in.Take(TMap::HeaderSize);
    std::memset(m.Header, 0, TMap::HeaderSize);
    std::memcpy(m.Header, header.data(), header.size());
    std::memset(m.Cells, 0, TMap::CellCount);
    const std::string cells = in.Take(in.Left() > 64 ? in.Left() - 16 : in.Left());
    if (repeated && !cells.empty()) {
        // Every 37th cell, so that the dump stays a few hundred lines long.
        for (int i = 0, k = 0; i < TMap::CellCount; i += 37, ++k)
            m.Cells[i] = uint8_t(cells[size_t(k) % cells.size()]);
    } else {
        for (size_t i = 0; i + 4 <= cells.size(); i += 4)
            m.Cells[TMap::Index(uint8_t(cells[i]) % 32, uint8_t(cells[i + 1]) % 32,
                                uint8_t(cells[i + 2]) % 48)] = uint8_t(cells[i + 3]);
    }
    CheckDump(m);
    CheckDiff(m, *st.Copy, in);
    CheckFindings(m, *st.Copy);
    return 0;
}
