// Fuzzes the reading of a terrain set's four chip files: missing, a folder, short, empty,
// longer than needed, or a dangling link, with any bytes. A read that fails (false or an
// error) leaves both sheets and both transparent indices exactly as they were; one that
// succeeds holds what a plain decoding of the files gives, derived chips included.
//
// Input: the terrain set read, the set the files are written for, per file its kind and a
// length change, then the bytes the files are filled with (repeated).
#include "fuzz/fuzzutil.h"
#include "graphics/chipsheet.h"
#include "map/maperror.h"
#include "tests/picturetestutil.h"
#include "tests/testutil.h"

#include <cstring>
#include <filesystem>
#include <unistd.h>

using namespace quarvel;
using namespace quarvel::fuzz;

namespace {

namespace fs = std::filesystem;

constexpr int Chips = 168;

size_t FullSize(int file) { // files 0, 1: pixels of both sizes; 2, 3: palettes
    return file < 2 ? size_t(Chips) * ChipWidth[file] * ChipHeight[file] : 1024;
}

struct State {
    test::TempDir Dir;
    std::string Files[4]; // what the files hold (reused buffers)
    std::string Written;  // the input part that made the files now in the folder
    TBMP256 Earlier[2];
    uint8_t EarlierIndex[2] = {7, 9};
    State() {
        for (int s = 0; s < 2; ++s) {
            Earlier[s].SetSize(3 + s, 2);
            Earlier[s].Fill(uint8_t(40 + s));
        }
    }
};

State& St() {
    static State state;
    return state;
}

// The chips that other chips' upper parts are drawn into after decoding.
bool IsDerived(int chip) {
    return chip == 35 || chip == 38 || (chip >= 41 && chip <= 49 && chip % 2 == 1);
}

void CheckDecoded(const TBMP256 (&sheets)[2], const uint8_t (&index)[2],
                  const std::string (&files)[4]) {
    for (int s = 0; s < 2; ++s) {
        const int w = ChipWidth[s], h = ChipHeight[s], q = w / 4;
        const std::string& px = files[s];
        Check(sheets[s].Width() == w && sheets[s].Height() == Chips * h,
              "a sheet has a wrong size");
        Check(index[s] == uint8_t(px[0]), "the transparent index is not the first byte");
        // The pixel (x, y) of chip k as its file blocks hold it: row y of block b is q bytes at
        // (band y / q, block b, row y % q) of the chip.
        auto raw = [&](int k, int x, int y) {
            const int b = x / q;
            const size_t at = size_t(k) * w * h + size_t(y / q) * 4 * q * q + size_t(b) * q * q +
                              size_t(y % q) * q + size_t(x % q);
            return uint8_t(px[at]);
        };
        const uint8_t tr = index[s];
        const int t = h / 3;
        for (int k = 0; k < Chips; ++k) {
            // A derived chip shows the parts one and two levels up of its object, shifted up
            // t rows per level, wherever they are not transparent; the highest part wins.
            if (!IsDerived(k)) { // whole block rows at once
                for (int y = 0; y < h; ++y)
                    for (int b = 0; b < 4; ++b) {
                        const size_t at = size_t(k) * w * h + size_t(y / q) * 4 * q * q +
                                          size_t(b) * q * q + size_t(y % q) * q;
                        if (std::memcmp(sheets[s].Row(k * h + y) + b * q, px.data() + at,
                                        size_t(q)))
                            Fail("chip " + std::to_string(k) + " differs from its file blocks");
                    }
                continue;
            }
            const int up1 = k - 1, up2 = k == 35 || k == 38 ? k - 2 : -1;
            for (int y = 0; y < h; ++y) {
                const uint8_t* row = sheets[s].Row(k * h + y);
                for (int x = 0; x < w; ++x) {
                    uint8_t want = raw(k, x, y);
                    if (up2 >= 0 && y < t && raw(up2, x, y + 2 * t) != tr)
                        want = raw(up2, x, y + 2 * t);
                    else if (y < 2 * t && raw(up1, x, y + t) != tr)
                        want = raw(up1, x, y + t);
                    if (row[x] != want)
                        Fail("chip " + std::to_string(k) +
                             " differs from its file blocks and the parts drawn into it");
                }
            }
        }
        const std::string& pal = files[2 + s];
        for (int n = 0; n < 256; ++n) {
            const size_t r = size_t((n + 112) % 256) * 4;
            const PaletteEntry e{uint8_t(pal[r]), uint8_t(pal[r + 1]), uint8_t(pal[r + 2]),
                                 uint8_t(pal[r + 3])};
            Check(sheets[s].GetPalette()[size_t(n)] == e,
                  "a palette entry differs from its record");
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    UseMemoryTempFolder();
    St();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    State& st = St();
    Input in(data, size);
    const int readSet = in.Byte() % 4, writtenSet = in.Flag() ? (readSet + 1) % 4 : readSet;
    uint8_t kind[4];
    int change[4];
    for (int f = 0; f < 4; ++f) {
        kind[f] = in.Byte();
        change[f] = in.Int(1, 1024);
    }
    const bool slash = in.Flag();
    std::string fill = in.Rest();
    if (fill.empty()) fill = "\x03";

    // The files are made again only when the input asks for other files than the last one.
    const std::string base = st.Dir.Path() + "/" + TerrainFileNames[writtenSet];
    const std::string names[4] = {base + ChipFileSuffix[0], base + ChipFileSuffix[1],
                                  base + PaletteFileSuffix[0], base + PaletteFileSuffix[1]};
    std::string(&files)[4] = st.Files;
    std::string recipe(1, char(writtenSet));
    for (int f = 0; f < 4; ++f)
        recipe += std::to_string(kind[f] % 8) + ":" + std::to_string(change[f]) + ",";
    recipe += fill;
    const bool same = recipe == st.Written;
    st.Written = recipe;
    std::error_code ec;
    if (!same)
        for (const auto& e : fs::directory_iterator(st.Dir.Path())) fs::remove_all(e.path(), ec);
    for (int f = 0; f < 4 && !same; ++f) {
        files[f].clear();
        size_t n = FullSize(f);
        switch (kind[f] % 8) {
        case 0:
            continue; // missing
        case 1:
            fs::create_directory(names[f]);
            continue;
        case 2:
            ::symlink("nowhere", names[f].c_str());
            continue;
        case 3:
            n = 0;
            break;
        case 4:
            n -= std::min(n, size_t(change[f]));
            break; // short
        case 5:
            n += size_t(change[f]);
            break; // longer
        default:
            break; // complete
        }
        std::string& bytes = files[f]; // the fill bytes repeated, doubling
        bytes.reserve(n);
        bytes.assign(fill, 0, std::min(fill.size(), n));
        while (bytes.size() < n)
            bytes.append(bytes.data(), std::min(bytes.size(), n - bytes.size()));
        WriteFile(names[f], files[f]);
    }

    TBMP256 sheets[2] = {st.Earlier[0], st.Earlier[1]};
    uint8_t index[2] = {st.EarlierIndex[0], st.EarlierIndex[1]};
    bool read = false;
    try {
        read = ReadChipSheets(st.Dir.Path() + (slash ? "/" : ""), readSet, sheets, index);
    } catch (const QuarvelError&) {
    }
    if (!read) {
        for (int s = 0; s < 2; ++s)
            Check(test::SamePixels(sheets[s], st.Earlier[s]) &&
                      sheets[s].GetPalette() == st.Earlier[s].GetPalette() &&
                      index[s] == st.EarlierIndex[s],
                  "a failed read changed the sheets");
        return 0;
    }
    for (int f = 0; f < 4; ++f)
        Check(files[f].size() >= FullSize(f), "a missing or short file was read");
    CheckDecoded(sheets, index, files);
    return 0;
}
