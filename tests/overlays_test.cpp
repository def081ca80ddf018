// Tests of the embedded overlay images and of the 8-bit BMP reader they go through.
#include "graphics/overlays.h"

#include "graphics/bmpreader.h"
#include "map/maperror.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

using namespace quarvel;

namespace {

using Drawing = std::map<std::pair<int, int>, int>; // (x, y) -> index; all else 0

// The drawings of the overlays for size index s (0: 64 x 48, 1: 32 x 24).
Drawing Diamond(int s, int line, int mark) {
    Drawing d;
    const int half = 32 >> s, rows = 16 >> s;
    for (int r = 0; r < rows; ++r)
        for (int y : {r, 2 * rows - 1 - r}) {
            for (int x : {half - 2 - 2 * r, half - 1 - 2 * r, half + 2 * r, half + 1 + 2 * r})
                d[{x, y}] = line;
            d[{r % 2 == 0 ? half - 1 - 2 * r : half + 1 + 2 * r, y}] = mark;
        }
    return d;
}

Drawing Box(int s) {
    Drawing d = Diamond(s, 249, 249);
    const int w = 64 >> s, t = 16 >> s;
    for (int y = t; y <= 2 * t; ++y) d[{0, y}] = d[{w - 1, y}] = 249;
    for (int r = 0; r < t; ++r)
        for (int x : {2 * r, 2 * r + 1, w - 2 - 2 * r, w - 1 - 2 * r}) d[{x, 2 * t + r}] = 249;
    return d;
}

void ExpectDrawing(const TBMP256& img, int s, const Drawing& d, const std::string& name) {
    ASSERT_EQ(img.Width(), 64 >> s) << name;
    ASSERT_EQ(img.Height(), 48 >> s) << name;
    for (int y = 0; y < img.Height(); ++y)
        for (int x = 0; x < img.Width(); ++x) {
            auto it = d.find({x, y});
            ASSERT_EQ(img.GetPixel(x, y), it == d.end() ? 0 : it->second)
                << name << " (" << x << "," << y << ")";
        }
}

void Put32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = uint8_t(v >> (8 * i));
}

// A valid 8-bit BMP of w x h (pixel (x, y) = x + 10y), `colours` table entries, rows
// bottom-up unless topDown.
std::vector<uint8_t> MakeBmp(int w, int h, bool topDown, int colours = 256) {
    const int stride = (w + 3) & ~3;
    const size_t offset = 14 + 40 + size_t(colours) * 4;
    std::vector<uint8_t> b(offset + size_t(stride) * h, 0xCD);
    b[0] = 'B';
    b[1] = 'M';
    Put32(b, 2, uint32_t(b.size()));
    Put32(b, 6, 0);
    Put32(b, 10, uint32_t(offset));
    Put32(b, 14, 40);
    Put32(b, 18, uint32_t(w));
    Put32(b, 22, uint32_t(topDown ? -h : h));
    b[26] = 1, b[27] = 0, b[28] = 8, b[29] = 0;
    Put32(b, 30, 0);
    Put32(b, 34, 0);
    Put32(b, 38, 0);
    Put32(b, 42, 0);
    Put32(b, 46, colours == 256 ? 0 : uint32_t(colours));
    Put32(b, 50, 0);
    for (int i = 0; i < colours; ++i) {
        b[54 + i * 4] = uint8_t(i);         // blue
        b[54 + i * 4 + 1] = uint8_t(i / 2); // green
        b[54 + i * 4 + 2] = uint8_t(255 - i);
        b[54 + i * 4 + 3] = 0;
    }
    for (int y = 0; y < h; ++y) {
        const int fileRow = topDown ? y : h - 1 - y;
        for (int x = 0; x < w; ++x) b[offset + size_t(fileRow) * stride + x] = uint8_t(x + 10 * y);
    }
    return b;
}

} // namespace

TEST(OverlaysTest, ImagesMatchTheirDrawings) {
    for (int s = 0; s < 2; ++s) {
        const std::string sfx = s ? "_s" : "";
        TBMP256 img;
        LoadOverlay("grid" + sfx, img);
        ExpectDrawing(img, s, Diamond(s, 164, 255), "grid" + sfx);
        LoadOverlay("selected" + sfx, img);
        ExpectDrawing(img, s, Diamond(s, 251, 251), "selected" + sfx);
        LoadOverlay("cur" + sfx, img);
        ExpectDrawing(img, s, Box(s), "cur" + sfx);
        EXPECT_EQ(img.GetPixel(0, 0), 0); // the transparent index of every overlay
    }
    // Spot checks of single pixels of the large grid and the small cursor.
    TBMP256 grid, cur;
    LoadOverlay("GRID", grid);
    EXPECT_EQ(grid.GetPixel(31, 0), 255);
    EXPECT_EQ(grid.GetPixel(30, 0), 164);
    EXPECT_EQ(grid.GetPixel(35, 1), 255);
    EXPECT_EQ(grid.GetPixel(35, 30), 255);
    EXPECT_EQ(grid.GetPixel(63, 16), 255);
    EXPECT_EQ(grid.GetPixel(32, 32), 0);
    LoadOverlay("Cur_S", cur);
    EXPECT_EQ(cur.GetPixel(31, 16), 249);
    EXPECT_EQ(cur.GetPixel(14, 23), 249);
    EXPECT_EQ(cur.GetPixel(17, 23), 249);
    EXPECT_EQ(cur.GetPixel(13, 23), 0);
}

TEST(OverlaysTest, NamesMatchWithoutCase) {
    ASSERT_NE(FindResource("selected_s"), nullptr);
    EXPECT_EQ(FindResource("SeLeCtEd_S"), FindResource("selected_s"));
    EXPECT_EQ(FindResource("selected"), FindResource("SELECTED"));
    EXPECT_NE(FindResource("selected"), FindResource("selected_s"));
    EXPECT_EQ(FindResource("grid_"), nullptr);
    EXPECT_EQ(FindResource(""), nullptr);
    TBMP256 img;
    EXPECT_THROW(LoadOverlay("cursor", img), QuarvelError);
}

TEST(OverlaysTest, ReaderHandlesRowOrderAndPadding) {
    for (bool topDown : {false, true})
        for (int w : {1, 3, 4, 5, 30}) {
            const std::vector<uint8_t> b = MakeBmp(w, 7, topDown, 17);
            TBMP256 img;
            ReadBMP256(b.data(), b.size(), img);
            ASSERT_EQ(img.Width(), w);
            ASSERT_EQ(img.Height(), 7);
            for (int y = 0; y < 7; ++y)
                for (int x = 0; x < w; ++x)
                    ASSERT_EQ(img.GetPixel(x, y), uint8_t(x + 10 * y)) << topDown << " " << w;
            EXPECT_EQ(img.GetPalette()[5], (PaletteEntry{250, 2, 5, 0}));
            EXPECT_EQ(img.GetPalette()[17], PaletteEntry{}); // beyond the table
        }
}

TEST(OverlaysTest, ReaderRejectsTruncatedData) {
    const std::vector<uint8_t> good = MakeBmp(5, 4, false);
    TBMP256 img;
    img.SetSize(2, 2);
    img.SetPixel(1, 1, 42);
    for (size_t n = 0; n < good.size(); ++n) {
        const std::vector<uint8_t> cut(good.begin(), good.begin() + long(n));
        ASSERT_THROW(ReadBMP256(cut.data(), cut.size(), img), QuarvelError) << n;
    }
    EXPECT_THROW(ReadBMP256(nullptr, 0, img), QuarvelError);
    EXPECT_EQ(img.Width(), 2); // unchanged by every failure
    EXPECT_EQ(img.GetPixel(1, 1), 42);
    EXPECT_NO_THROW(ReadBMP256(good.data(), good.size(), img));
}

TEST(OverlaysTest, ReaderRejectsHostileHeaders) {
    struct Field {
        size_t At;
        uint32_t Value;
        bool Word;
    };
    const std::vector<Field> bad = {
        {0, 'X', false},         // not "BM"
        {10, 0xFFFFFFF0, false}, // pixel rows far beyond the end
        {10, 20, false},         // pixel rows inside the headers
        {14, 12, false},         // old 12-byte header
        {14, 0xFFFFFFFF, false}, // header larger than the data
        {18, 0, false},          // width 0
        {18, 0xFFFFFFFF, false}, // width -1
        {18, 0x7FFFFFFF, false}, // enormous width
        {22, 0, false},          // height 0
        {22, 0x80000000, false}, // height INT_MIN
        {22, 100, false},        // more rows than the data holds
        {26, 2, true},           // two planes
        {28, 24, true},          // 24 bits per pixel
        {28, 4, true},           // 4 bits per pixel
        {30, 1, false},          // run-length compressed
        {46, 257, false},        // too many colours
        {46, 0xFFFFFFFF, false},
    };
    for (const Field& f : bad) {
        std::vector<uint8_t> b = MakeBmp(6, 5, false);
        if (f.At == 0) {
            b[0] = uint8_t(f.Value);
        } else if (f.Word) {
            b[f.At] = uint8_t(f.Value);
            b[f.At + 1] = uint8_t(f.Value >> 8);
        } else {
            Put32(b, f.At, f.Value);
        }
        TBMP256 img;
        EXPECT_THROW(ReadBMP256(b.data(), b.size(), img), QuarvelError) << "field at " << f.At;
        EXPECT_EQ(img.Width(), 0);
    }
}
