// Tests of the chip sheets: file presence, block layout, rotated palette, derived chips and
// refusing short files without changing anything.
#include "graphics/chipsheet.h"

#include "map/maperror.h"
#include "tests/testutil.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

using namespace quarvel;
using quarvel::test::TempDir;
using quarvel::test::WriteBytes;

namespace {

constexpr size_t LargeBytes = 168 * 64 * 48; // 516,096
constexpr size_t SmallBytes = 168 * 32 * 24; // 129,024

std::vector<uint8_t> RandomBytes(size_t n, std::mt19937& rng, int maxValue = 255) {
    std::uniform_int_distribution<int> d(0, maxValue);
    std::vector<uint8_t> v(n);
    for (auto& b : v) b = uint8_t(d(rng));
    return v;
}

struct ChipFiles {
    std::vector<uint8_t> Pixels[2], Pal[2];
};

// Writes the four files of `set` into dir and returns their contents.
ChipFiles WriteSet(const std::string& dir, int set, std::mt19937& rng, int maxIndex = 255) {
    ChipFiles f;
    const std::string stem = dir + "/" + TerrainFileNames[set];
    f.Pixels[0] = RandomBytes(LargeBytes, rng, maxIndex);
    f.Pixels[1] = RandomBytes(SmallBytes, rng, maxIndex);
    f.Pal[0] = RandomBytes(1024, rng);
    f.Pal[1] = RandomBytes(1024, rng);
    WriteBytes(stem + ".2c", f.Pixels[0]);
    WriteBytes(stem + "s.2c", f.Pixels[1]);
    WriteBytes(stem + ".pal", f.Pal[0]);
    WriteBytes(stem + "s.pal", f.Pal[1]);
    return f;
}

// Where pixel (x, y) of chip k lies in a chip file of size index s.
size_t FileOffset(int s, int k, int x, int y) {
    const int w = ChipWidth[s], h = ChipHeight[s], q = w / 4;
    return size_t(k) * w * h + size_t(y / q) * 4 * q * q + size_t(x / q) * q * q +
           size_t(y % q) * q + size_t(x % q);
}

bool Same(const TBMP256& a, const TBMP256& b) {
    return a.Width() == b.Width() && a.Height() == b.Height() &&
           std::equal(a.Bits(), a.Bits() + size_t(a.Width()) * a.Height(), b.Bits()) &&
           a.GetPalette() == b.GetPalette();
}

bool IsDerived(int chip) {
    return chip == 35 || chip == 38 || chip == 41 || chip == 43 || chip == 45 || chip == 47 ||
           chip == 49;
}

struct Loaded {
    TBMP256 Sheets[2];
    uint8_t Transparent[2] = {0, 0};
};

} // namespace

TEST(ChipSheetTest, FileNameTables) {
    EXPECT_STREQ(TerrainFileNames[0], "B_000");
    EXPECT_STREQ(TerrainFileNames[3], "B_030");
    EXPECT_STREQ(ChipFileSuffix[1], "s.2c");
    EXPECT_STREQ(PaletteFileSuffix[1], "s.pal");
}

TEST(ChipSheetTest, DecodesBlockLayoutOfBothSizes) {
    TempDir dir;
    std::mt19937 rng(5);
    ChipFiles f = WriteSet(dir.Path(), 1, rng);
    // The two documented example bytes get markers of their own.
    f.Pixels[0][8465] = 201;
    f.Pixels[1][609] = 202;
    WriteBytes(dir.File("B_010.2c"), f.Pixels[0]);
    WriteBytes(dir.File("B_010s.2c"), f.Pixels[1]);

    Loaded l;
    ASSERT_TRUE(ReadChipSheets(dir.Path() + "/", 1, l.Sheets, l.Transparent));
    EXPECT_EQ(l.Sheets[0].Width(), 64);
    EXPECT_EQ(l.Sheets[0].Height(), 168 * 48);
    EXPECT_EQ(l.Sheets[1].Width(), 32);
    EXPECT_EQ(l.Sheets[1].Height(), 168 * 24);
    EXPECT_EQ(FileOffset(0, 2, 17, 33), 8465u);
    EXPECT_EQ(FileOffset(1, 0, 9, 20), 609u);
    EXPECT_EQ(l.Sheets[0].GetPixel(17, 129), 201); // pixel (17, 33) of chip 2
    EXPECT_EQ(l.Sheets[1].GetPixel(9, 20), 202);   // pixel (9, 20) of chip 0

    for (int s = 0; s < 2; ++s) {
        const int w = ChipWidth[s], h = ChipHeight[s];
        for (int k = 0; k < 168; ++k) {
            if (IsDerived(k)) continue;
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x)
                    ASSERT_EQ(l.Sheets[s].GetPixel(x, k * h + y),
                              f.Pixels[s][FileOffset(s, k, x, y)])
                        << "size " << s << " chip " << k << " (" << x << "," << y << ")";
        }
    }
}

TEST(ChipSheetTest, PaletteIsRotatedBy112Records) {
    TempDir dir;
    std::mt19937 rng(6);
    const ChipFiles f = WriteSet(dir.Path(), 0, rng);
    Loaded l;
    ASSERT_TRUE(ReadChipSheets(dir.Path(), 0, l.Sheets, l.Transparent));
    for (int s = 0; s < 2; ++s) {
        const Palette& pal = l.Sheets[s].GetPalette();
        auto record = [&](int r) {
            const uint8_t* p = f.Pal[s].data() + r * 4;
            return PaletteEntry{p[0], p[1], p[2], p[3]};
        };
        EXPECT_EQ(pal[0], record(112)); // bytes 448..451
        EXPECT_EQ(pal[143], record(255));
        EXPECT_EQ(pal[144], record(0));
        EXPECT_EQ(pal[255], record(111));
        for (int n = 0; n < 256; ++n) ASSERT_EQ(pal[n], record((n + 112) % 256));
    }
}

TEST(ChipSheetTest, TransparentIndexIsTheFirstByteAndDerivedChipsUseIt) {
    TempDir dir;
    std::mt19937 rng(8);
    // Indices 0..7 only, so that index 7 also appears inside chips.
    ChipFiles f = WriteSet(dir.Path(), 2, rng, 7);
    f.Pixels[0][0] = 7;
    f.Pixels[1][0] = 3;
    WriteBytes(dir.File("B_020.2c"), f.Pixels[0]);
    WriteBytes(dir.File("B_020s.2c"), f.Pixels[1]);
    Loaded l;
    ASSERT_TRUE(ReadChipSheets(dir.Path(), 2, l.Sheets, l.Transparent));
    EXPECT_EQ(l.Transparent[0], 7);
    EXPECT_EQ(l.Transparent[1], 3);

    for (int s = 0; s < 2; ++s) {
        const int w = ChipWidth[s], h = ChipHeight[s], t = h / 3;
        const uint8_t tr = l.Transparent[s];
        auto raw = [&](int k, int x, int y) { return f.Pixels[s][FileOffset(s, k, x, y)]; };
        // The lowest part of each object also shows its upper parts, each shifted up t rows
        // per level: a pixel comes from the highest part that is not transparent there.
        // {lowest part, the part one level up, two levels up or -1}
        const int objects[7][3] = {{35, 34, 33}, {38, 37, 36}, {41, 40, -1}, {43, 42, -1},
                                   {45, 44, -1}, {47, 46, -1}, {49, 48, -1}};
        for (const auto& [low, up1, up2] : objects)
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x) {
                    uint8_t want = raw(low, x, y);
                    if (up2 >= 0 && y < t && raw(up2, x, y + 2 * t) != tr)
                        want = raw(up2, x, y + 2 * t);
                    else if (y < 2 * t && raw(up1, x, y + t) != tr)
                        want = raw(up1, x, y + t);
                    ASSERT_EQ(l.Sheets[s].GetPixel(x, low * h + y), want)
                        << "chip " << low << " size " << s << " at " << x << "," << y;
                }
    }
}

TEST(ChipSheetTest, MissingFileChangesNothing) {
    std::mt19937 rng(9);
    TempDir dir;
    WriteSet(dir.Path(), 0, rng);
    Loaded before;
    ASSERT_TRUE(ReadChipSheets(dir.Path(), 0, before.Sheets, before.Transparent));

    for (const char* missing : {".2c", "s.2c", ".pal", "s.pal"}) {
        TempDir other;
        WriteSet(other.Path(), 2, rng);
        const std::string path = other.File(std::string("B_020") + missing);
        std::filesystem::remove(path);
        Loaded l;
        ASSERT_TRUE(ReadChipSheets(dir.Path(), 0, l.Sheets, l.Transparent));
        EXPECT_FALSE(ReadChipSheets(other.Path(), 2, l.Sheets, l.Transparent)) << missing;
        EXPECT_TRUE(Same(l.Sheets[0], before.Sheets[0]));
        EXPECT_TRUE(Same(l.Sheets[1], before.Sheets[1]));
        EXPECT_EQ(l.Transparent[0], before.Transparent[0]);
        // A folder of that name is no file either.
        std::filesystem::create_directory(path);
        EXPECT_FALSE(ReadChipSheets(other.Path(), 2, l.Sheets, l.Transparent)) << missing;
        EXPECT_TRUE(Same(l.Sheets[1], before.Sheets[1]));
    }
    Loaded l;
    EXPECT_FALSE(ReadChipSheets(dir.File("nowhere"), 0, l.Sheets, l.Transparent));
    EXPECT_FALSE(ReadChipSheets(dir.Path(), 3, l.Sheets, l.Transparent)); // set 3 not there
}

TEST(ChipSheetTest, ShortFileIsAnErrorNamingItAndChangesNothing) {
    std::mt19937 rng(10);
    TempDir dir;
    WriteSet(dir.Path(), 0, rng);
    Loaded before;
    ASSERT_TRUE(ReadChipSheets(dir.Path(), 0, before.Sheets, before.Transparent));

    struct Case {
        const char* Suffix;
        size_t Length;
        const char* Needed;
    };
    for (const Case& c : {Case{".2c", LargeBytes - 1, "516096"}, Case{"s.2c", 0, "129024"},
                          Case{".pal", 1023, "1024"}, Case{"s.pal", 0, "1024"}}) {
        TempDir other;
        WriteSet(other.Path(), 1, rng);
        const std::string path = other.File(std::string("B_010") + c.Suffix);
        std::vector<uint8_t> bytes = quarvel::test::ReadBytes(path);
        bytes.resize(c.Length);
        WriteBytes(path, bytes);

        Loaded l;
        ASSERT_TRUE(ReadChipSheets(dir.Path(), 0, l.Sheets, l.Transparent));
        try {
            ReadChipSheets(other.Path(), 1, l.Sheets, l.Transparent);
            ADD_FAILURE() << "no error for a short " << c.Suffix;
        } catch (const QuarvelError& e) {
            const std::string what = e.what();
            EXPECT_NE(what.find(path), std::string::npos) << what;
            EXPECT_NE(what.find(c.Needed), std::string::npos) << what;
        }
        EXPECT_TRUE(Same(l.Sheets[0], before.Sheets[0])) << c.Suffix;
        EXPECT_TRUE(Same(l.Sheets[1], before.Sheets[1])) << c.Suffix;
        EXPECT_EQ(l.Transparent[0], before.Transparent[0]);
        EXPECT_EQ(l.Transparent[1], before.Transparent[1]);
    }
}

TEST(ChipSheetTest, BytesBeyondTheSheetsAreIgnored) {
    std::mt19937 rng(12);
    TempDir a, b;
    const ChipFiles f = WriteSet(a.Path(), 0, rng);
    for (const char* sfx : {".2c", "s.2c", ".pal", "s.pal"}) {
        std::vector<uint8_t> bytes = quarvel::test::ReadBytes(a.File(std::string("B_000") + sfx));
        bytes.insert(bytes.end(), 5000, 0xEE);
        WriteBytes(b.File(std::string("B_000") + sfx), bytes);
    }
    Loaded la, lb;
    ASSERT_TRUE(ReadChipSheets(a.Path(), 0, la.Sheets, la.Transparent));
    ASSERT_TRUE(ReadChipSheets(b.Path(), 0, lb.Sheets, lb.Transparent));
    EXPECT_TRUE(Same(la.Sheets[0], lb.Sheets[0]));
    EXPECT_TRUE(Same(la.Sheets[1], lb.Sheets[1]));
}

TEST(ChipSheetTest, SetOutOfRange) {
    TempDir dir;
    Loaded l;
    EXPECT_THROW(ReadChipSheets(dir.Path(), -1, l.Sheets, l.Transparent), std::out_of_range);
    EXPECT_THROW(ReadChipSheets(dir.Path(), 4, l.Sheets, l.Transparent), std::out_of_range);
}
