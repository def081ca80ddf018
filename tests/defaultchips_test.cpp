// Tests of the default chip set: the files quarvel-cli chips writes, read back with a decoder
// of their own and the editor's reader, and what the pictures must hold for the views.
#include "content/chippalette.h"
#include "content/defaultchips.h"
#include "graphics/chipsheet.h"
#include "tests/testutil.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

using namespace quarvel;
using namespace quarvel::test;

namespace {

constexpr int Chips = 168;
const char* const Stems[4] = {"B_000", "B_010", "B_020", "B_030"};

// A sheet decoded from chip file bytes: chip k is rows k*h .. k*h+h-1.
struct Sheet {
    int W = 0, H = 0;
    std::vector<uint8_t> Pixels;
    uint8_t At(int chip, int x, int y) const {
        return Pixels[(size_t(chip) * size_t(H) + size_t(y)) * size_t(W) + size_t(x)];
    }
};

// Decodes the q x q block layout: offset k*w*h + (y/q)*4q^2 + (x/q)*q^2 + (y%q)*q + x%q.
Sheet Decode(const std::vector<uint8_t>& bytes, int w, int h) {
    const int q = w / 4;
    Sheet s{w, h, std::vector<uint8_t>(size_t(w) * size_t(h) * Chips)};
    for (int k = 0; k < Chips; ++k)
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                s.Pixels[(size_t(k) * size_t(h) + size_t(y)) * size_t(w) + size_t(x)] =
                    bytes[size_t(k) * size_t(w * h) + size_t((y / q) * 4 * q * q) +
                          size_t((x / q) * q * q) + size_t((y % q) * q) + size_t(x % q)];
    return s;
}

// Palette index n is record (n + 112) mod 256.
PaletteEntry Entry(const std::vector<uint8_t>& pal, int index) {
    const uint8_t* r = pal.data() + ((index + 112) % 256) * 4;
    return {r[0], r[1], r[2], r[3]};
}

// Whether (x, y) lies in the outline of a whole cell's box: the top diamond in the upper two
// thirds, the two sides below, as the editor's cursor box draws it.
bool InCellBox(int x, int y, int size) {
    const int q = size == 0 ? 16 : 8, w = 4 * q;
    if (y < q) return x >= 2 * (q - 1 - y) && x <= w - 1 - 2 * (q - 1 - y);
    if (y <= 2 * q) return true;
    const int r = y - 2 * q;
    return x >= 2 * r && x <= w - 1 - 2 * r;
}

class DefaultChipFiles : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        Dir = new TempDir;
        const RunResult r = RunCli("chips '" + Dir->File("chip") + "'");
        ASSERT_EQ(r.Status, 0) << r.Err;
        for (int set = 0; set < 4; ++set) {
            const std::string base = Dir->File("chip/") + Stems[set];
            Sheets[set][0] = Decode(ReadBytes(base + ".2c"), 64, 48);
            Sheets[set][1] = Decode(ReadBytes(base + "s.2c"), 32, 24);
            Palettes[set][0] = ReadBytes(base + ".pal");
            Palettes[set][1] = ReadBytes(base + "s.pal");
        }
    }
    static void TearDownTestSuite() { delete Dir; }

    static TempDir* Dir;
    static Sheet Sheets[4][2];
    static std::vector<uint8_t> Palettes[4][2];
};
TempDir* DefaultChipFiles::Dir = nullptr;
Sheet DefaultChipFiles::Sheets[4][2];
std::vector<uint8_t> DefaultChipFiles::Palettes[4][2];

TEST_F(DefaultChipFiles, SixteenFilesOfTheFixedSizesAndNothingElse) {
    std::set<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(Dir->File("chip")))
        names.insert(e.path().filename().string());
    EXPECT_EQ(names.size(), 16u); // no temporary files left behind
    for (const char* stem : Stems) {
        const std::string base = Dir->File("chip/") + stem;
        EXPECT_EQ(std::filesystem::file_size(base + ".2c"), 516096u);
        EXPECT_EQ(std::filesystem::file_size(base + "s.2c"), 129024u);
        EXPECT_EQ(std::filesystem::file_size(base + ".pal"), 1024u);
        EXPECT_EQ(std::filesystem::file_size(base + "s.pal"), 1024u);
    }
}

TEST_F(DefaultChipFiles, ChipZeroIsTransparentAndEveryOtherChipShowsSomething) {
    for (int set = 0; set < 4; ++set) {
        for (int size = 0; size < 2; ++size) {
            const Sheet& s = Sheets[set][size];
            const uint8_t transparent = s.At(0, 0, 0);
            EXPECT_EQ(transparent, ChipTransparentIndex);
            for (int k = 0; k < Chips; ++k) {
                int shown = 0;
                for (int y = 0; y < s.H; ++y)
                    for (int x = 0; x < s.W; ++x) shown += s.At(k, x, y) != transparent;
                if (k == 0) {
                    EXPECT_EQ(shown, 0) << "set " << set << " size " << size;
                } else {
                    EXPECT_GT(shown, 0) << "chip " << k << " set " << set << " size " << size;
                }
            }
        }
    }
}

TEST_F(DefaultChipFiles, PalettesDifferBySetButKeepTheLineColours) {
    for (int set = 0; set < 4; ++set) {
        for (int size = 0; size < 2; ++size) {
            const auto& pal = Palettes[set][size];
            EXPECT_EQ(pal, Palettes[set][0]); // both sizes share the set's palette
            EXPECT_EQ(Entry(pal, 0), (PaletteEntry{212, 208, 200, 0}));
            EXPECT_EQ(Entry(pal, 164), (PaletteEntry{64, 64, 64, 0}));
            EXPECT_EQ(Entry(pal, 249), (PaletteEntry{255, 0, 0, 0}));
            EXPECT_EQ(Entry(pal, 251), (PaletteEntry{255, 255, 0, 0}));
            EXPECT_EQ(Entry(pal, 255), (PaletteEntry{255, 255, 255, 0}));
            for (int i = 0; i < 256; ++i) EXPECT_EQ(Entry(pal, i).Flags, 0);
        }
        for (int other = 0; other < set; ++other)
            EXPECT_NE(Palettes[set][0], Palettes[other][0]) << set << " vs " << other;
    }
    // The ground a set is named for looks different: grass, sand, snow, basalt.
    std::set<std::vector<uint8_t>> grounds;
    for (int set = 0; set < 4; ++set) {
        const PaletteEntry e = Entry(Palettes[set][0], RampIndex(Ramp::GroundA, 8));
        grounds.insert({e.Red, e.Green, e.Blue});
    }
    EXPECT_EQ(grounds.size(), 4u);
}

TEST_F(DefaultChipFiles, NoChipDrawsWithTheOverlayLineColours) {
    const std::set<uint8_t> lines = {GridLineIndex, CursorLineIndex, SelectLineIndex,
                                     GridLightIndex};
    for (int size = 0; size < 2; ++size)
        for (uint8_t p : Sheets[0][size].Pixels) ASSERT_EQ(lines.count(p), 0u) << int(p);
}

TEST_F(DefaultChipFiles, CountryChipsCarryTheirOwnCountrysColourOnly) {
    // fields, villages, kings, tents, gates and walls (both halves)
    const int bases[] = {25, 29, 128, 132, 136, 140, 144, 148, 152, 156, 160, 164};
    for (int size = 0; size < 2; ++size) {
        const Sheet& s = Sheets[0][size];
        for (int base : bases) {
            for (int c = 0; c < 4; ++c) {
                std::set<int> countries;
                for (int y = 0; y < s.H; ++y)
                    for (int x = 0; x < s.W; ++x)
                        for (int other = 0; other < 4; ++other)
                            for (int shade = 0; shade < RampShades; ++shade)
                                if (s.At(base + c, x, y) == RampIndex(CountryRamp(other), shade))
                                    countries.insert(other);
                EXPECT_EQ(countries, std::set<int>{c}) << "chip " << base + c << " size " << size;
            }
        }
    }
}

TEST_F(DefaultChipFiles, FullBlocksFillExactlyTheCellsBoxSoNeighboursTileWithoutGaps) {
    // ground, paving, fields, nests, entrances, the lower halves of gates and walls
    std::vector<int> blocks;
    for (int k = 1; k <= 28; ++k) blocks.push_back(k);
    for (int k = 112; k <= 119; ++k) blocks.push_back(k);
    for (int k = 136; k <= 143; ++k) blocks.push_back(k);
    for (int k = 152; k <= 159; ++k) blocks.push_back(k);
    for (int size = 0; size < 2; ++size) {
        const Sheet& s = Sheets[0][size];
        for (int k : blocks) {
            int wrong = 0;
            for (int y = 0; y < s.H; ++y)
                for (int x = 0; x < s.W; ++x) {
                    const bool inBox = InCellBox(x, y, size);
                    const bool shown = s.At(k, x, y) != ChipTransparentIndex;
                    // Fields and houses may carry things above the box, nothing may leave
                    // holes in it.
                    if (inBox != shown && (inBox || k < 25 || k > 28)) ++wrong;
                }
            EXPECT_EQ(wrong, 0) << "chip " << k << " size " << size;
        }
    }
}

TEST_F(DefaultChipFiles, EdgeVariantsDifferOnlyAlongTheOpenBackEdges) {
    for (int size = 0; size < 2; ++size) {
        const Sheet& s = Sheets[0][size];
        const int q = s.W / 4;
        for (int group : {1, 5, 9, 13, 17, 21, 112}) {
            for (int variant = 1; variant < 4; ++variant) {
                int differing = 0;
                for (int y = 0; y < s.H; ++y)
                    for (int x = 0; x < s.W; ++x) {
                        if (s.At(group, x, y) == s.At(group + variant, x, y)) continue;
                        ++differing;
                        // Within three pixel rows of the upper left
                        // (x-1), or upper right (y-1) edge of the top diamond; both edges
                        // meet at the top corner.
                        const bool left = x < 2 * q + 4 && std::abs(y - (q - 1 - x / 2)) <= 3;
                        const bool right = x >= 2 * q - 4 && std::abs(y - (x - 2 * q) / 2) <= 3;
                        EXPECT_TRUE((variant & 1 && left) || (variant & 2 && right))
                            << "chip " << group + variant << " pixel " << x << "," << y;
                    }
                EXPECT_GT(differing, 2 * q) << "chip " << group + variant << " size " << size;
            }
        }
    }
}

TEST_F(DefaultChipFiles, PartsOfObjectsOverSeveralLevelsNeverOverlapWhenStacked) {
    // {lower chip, upper chip, levels between}: the upper part seen from the lower chip
    // lies 16 (8) pixels higher per level. The loader copies the upper parts into the
    // lowest chip; they must fill its gaps, not paint over it.
    const int pairs[][3] = {{35, 34, 1}, {35, 33, 2}, {34, 33, 1}, {38, 37, 1},
                            {38, 36, 2}, {37, 36, 1}, {41, 40, 1}, {43, 42, 1},
                            {45, 44, 1}, {47, 46, 1}, {49, 48, 1}};
    for (int size = 0; size < 2; ++size) {
        const Sheet& s = Sheets[0][size];
        const int t = s.H / 3;
        for (const auto& p : pairs) {
            int overlap = 0, upperShown = 0;
            for (int y = 0; y + p[2] * t < s.H; ++y)
                for (int x = 0; x < s.W; ++x) {
                    const bool up = s.At(p[1], x, y + p[2] * t) != ChipTransparentIndex;
                    upperShown += up;
                    overlap += up && s.At(p[0], x, y) != ChipTransparentIndex;
                }
            EXPECT_EQ(overlap, 0) << p[0] << " under " << p[1] << " size " << size;
            EXPECT_GT(upperShown, 0) << p[0] << " under " << p[1] << " size " << size;
        }
    }
}

TEST_F(DefaultChipFiles, TheEditorsReaderTakesThemAndComposesWholeTrees) {
    TBMP256 sheets[2];
    uint8_t transparent[2] = {7, 7};
    ASSERT_TRUE(ReadChipSheets(Dir->File("chip"), 2, sheets, transparent));
    for (int size = 0; size < 2; ++size) {
        EXPECT_EQ(transparent[size], ChipTransparentIndex);
        const Sheet& s = Sheets[2][size];
        // The bottom of a tree now also shows the crown of the levels above it.
        int foliage = 0, ownFoliage = 0;
        for (int y = 0; y < s.H; ++y)
            for (int x = 0; x < s.W; ++x)
                for (int shade = 0; shade < RampShades; ++shade) {
                    foliage +=
                        sheets[size].GetPixel(x, 35 * s.H + y) == RampIndex(Ramp::Foliage, shade);
                    ownFoliage += s.At(35, x, y) == RampIndex(Ramp::Foliage, shade);
                }
        EXPECT_EQ(ownFoliage, 0);
        EXPECT_GT(foliage, 0);
    }
}

TEST(DefaultChips, PixelFilesUseTheBlockLayout) {
    TBMP256 sheet;
    sheet.SetSize(64, 48 * 168);
    sheet.SetPixel(17, 2 * 48 + 33, 99); // pixel (17, 33) of chip 2
    TBMP256 small;
    small.SetSize(32, 24 * 168);
    small.SetPixel(9, 20, 42); // pixel (9, 20) of chip 0
    const auto large = EncodeChipPixels(sheet), smallBytes = EncodeChipPixels(small);
    ASSERT_EQ(large.size(), 516096u);
    ASSERT_EQ(smallBytes.size(), 129024u);
    EXPECT_EQ(large[8465], 99);
    EXPECT_EQ(smallBytes[609], 42);
    EXPECT_EQ(std::count(large.begin(), large.end(), 0), 516095);
}

TEST(DefaultChips, PaletteFilesAreRotated) {
    Palette pal{};
    pal[0] = {1, 2, 3, 0};
    pal[143] = {4, 5, 6, 0};
    pal[144] = {7, 8, 9, 0};
    pal[255] = {10, 11, 12, 13};
    const auto bytes = EncodeChipPalette(pal);
    ASSERT_EQ(bytes.size(), 1024u);
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin() + 448, bytes.begin() + 452),
              (std::vector<uint8_t>{1, 2, 3, 0})); // record 112
    EXPECT_EQ(bytes[255 * 4], 4);                  // record 255
    EXPECT_EQ(bytes[0], 7);                        // record 0
    EXPECT_EQ(bytes[111 * 4 + 3], 13);             // record 111
}

TEST(DefaultChips, CommandLineErrorsLeaveExistingFilesAlone) {
    TempDir dir;
    EXPECT_EQ(RunCli("chips").Status, 2);
    EXPECT_EQ(RunCli("chips a b").Status, 2);

    // The folder is a plain file.
    WriteBytes(dir.File("file"), {1, 2, 3});
    RunResult r = RunCli("chips '" + dir.File("file") + "'");
    EXPECT_EQ(r.Status, 1);
    EXPECT_NE(r.Err.find("folder"), std::string::npos) << r.Err;
    EXPECT_EQ(ReadBytes(dir.File("file")), (std::vector<uint8_t>{1, 2, 3}));

    // A chip file's place is taken by a folder: the command fails, the folder and its
    // content stay, and no half-written file is left.
    std::filesystem::create_directories(dir.File("chip/B_000.2c"));
    WriteBytes(dir.File("chip/B_000.2c/keep"), {9});
    r = RunCli("chips '" + dir.File("chip") + "'");
    EXPECT_EQ(r.Status, 1);
    EXPECT_NE(r.Err.find("B_000.2c"), std::string::npos) << r.Err;
    EXPECT_EQ(ReadBytes(dir.File("chip/B_000.2c/keep")), std::vector<uint8_t>{9});
    for (const auto& e : std::filesystem::directory_iterator(dir.File("chip")))
        EXPECT_NE(e.path().extension(), ".tmp") << e.path();
}

} // namespace
