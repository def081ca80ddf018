// Tests of TBMP256: checked pixel access, nearest palette index and Blit's clipping and
// transparency rule.
#include "graphics/bmp256.h"

#include <gtest/gtest.h>

#include <random>
#include <stdexcept>

using namespace quarvel;

namespace {

TBMP256 Random(int w, int h, std::mt19937& rng, int maxIndex = 255) {
    TBMP256 b;
    b.SetSize(w, h);
    std::uniform_int_distribution<int> d(0, maxIndex);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) b.SetPixel(x, y, uint8_t(d(rng)));
    return b;
}

TBMP256 Numbered(int w, int h) { // pixel (x, y) = x + 100 * (y % 2), never 255
    TBMP256 b;
    b.SetSize(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) b.SetPixel(x, y, uint8_t(x + 100 * (y % 2)));
    return b;
}

// The copy rule written out pixel by pixel: clipped against the destination only.
void ReferenceBlit(TBMP256& d, int dx, int dy, const TBMP256& src, int transparent, int sx, int sy,
                   int w, int h) {
    if (w == 0) w = src.Width();
    if (h == 0) h = src.Height();
    const int c0 = std::max(-dx, 0), r0 = std::max(-dy, 0);
    const int c1 = std::min(d.Width() - dx, w) - 1, r1 = std::min(d.Height() - dy, h) - 1;
    for (int i = c0; i <= c1; ++i)
        for (int j = r0; j <= r1; ++j) {
            const int v = src.GetPixel(sx + i, sy + j);
            if (v != transparent) d.SetPixel(dx + i, dy + j, uint8_t(v));
        }
}

bool Same(const TBMP256& a, const TBMP256& b) {
    if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
            if (a.GetPixel(x, y) != b.GetPixel(x, y)) return false;
    return true;
}

} // namespace

TEST(Bmp256Test, PixelAccessIsChecked) {
    TBMP256 b;
    b.SetSize(64, 8064);
    EXPECT_EQ(b.Width(), 64);
    EXPECT_EQ(b.Height(), 8064);
    EXPECT_EQ(b.GetPixel(63, 8063), 0);
    b.SetPixel(63, 8063, 9);
    EXPECT_EQ(b.GetPixel(63, 8063), 9);
    EXPECT_THROW(b.GetPixel(0, 8064), std::out_of_range);
    EXPECT_THROW(b.GetPixel(64, 0), std::out_of_range);
    EXPECT_THROW(b.GetPixel(-1, 0), std::out_of_range);
    EXPECT_THROW(b.SetPixel(0, -1, 1), std::out_of_range);
    EXPECT_THROW(b.SetSize(-1, 5), std::out_of_range);
    TBMP256 empty;
    EXPECT_THROW(empty.GetPixel(0, 0), std::out_of_range);
}

TEST(Bmp256Test, NearestIndexPicksClosestLowestOnTie) {
    Palette pal{};
    for (int i = 0; i < 256; ++i) pal[i] = {uint8_t(i), uint8_t(i), uint8_t(i), 0};
    EXPECT_EQ(NearestIndex(pal, RGBColor(128, 128, 128)), 128);
    EXPECT_EQ(NearestIndex(pal, RGBColor(130, 128, 126)), 128);
    pal[10] = {255, 0, 0, 0};
    pal[20] = {255, 0, 0, 0};
    EXPECT_EQ(NearestIndex(pal, RGBColor(250, 0, 0)), 10);
    // Red sits in the low byte of the colour value.
    pal[30] = {0, 0, 250, 0};
    EXPECT_EQ(NearestIndex(pal, 0xFA0000), 30);

    TBMP256 b;
    b.SetSize(3, 2);
    b.SetPalette(pal);
    b.FillColor(RGBColor(251, 1, 0));
    EXPECT_EQ(b.GetPixel(2, 1), 10);
}

TEST(Bmp256Test, BlitWithoutClipping) {
    std::mt19937 rng(1);
    const TBMP256 src = Random(64, 48, rng);
    TBMP256 d;
    d.SetSize(64, 48);
    d.Fill(7);
    d.Blit(0, 0, src, -1, 0, 0, 0, 0); // W and H 0: the whole source, index 0 and 255 too
    EXPECT_TRUE(Same(d, src));

    TBMP256 big;
    big.SetSize(200, 100);
    TBMP256 expect = big;
    big.Blit(70, 20, src, -1, 10, 5, 30, 20);
    ReferenceBlit(expect, 70, 20, src, -1, 10, 5, 30, 20);
    EXPECT_TRUE(Same(big, expect));
    EXPECT_EQ(big.GetPixel(70, 20), src.GetPixel(10, 5));
    EXPECT_EQ(big.GetPixel(99, 39), src.GetPixel(39, 24));
    EXPECT_EQ(big.GetPixel(100, 20), 0);
}

TEST(Bmp256Test, BlitClipsAgainstTheDestination) {
    const TBMP256 src = Numbered(64, 48);
    TBMP256 d;
    d.SetSize(64, 48);
    d.Fill(255);
    d.Blit(-10, -5, src, -1, 0, 0, 0, 0);
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x) {
            const bool copied = x <= 53 && y <= 42;
            ASSERT_EQ(d.GetPixel(x, y), copied ? src.GetPixel(x + 10, y + 5) : 255)
                << x << "," << y;
        }

    d.Fill(255);
    d.Blit(40, 30, src, -1, 0, 0, 0, 0);
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x) {
            const bool copied = x >= 40 && y >= 30;
            ASSERT_EQ(d.GetPixel(x, y), copied ? src.GetPixel(x - 40, y - 30) : 255)
                << x << "," << y;
        }

    // A rectangle of a taller source that sticks out below: only the part inside lands.
    TBMP256 sheet = Numbered(64, 480);
    d.Fill(255);
    d.Blit(0, 40, sheet, -1, 0, 96, 64, 48);
    EXPECT_EQ(d.GetPixel(5, 40), sheet.GetPixel(5, 96));
    EXPECT_EQ(d.GetPixel(5, 47), sheet.GetPixel(5, 103));
    EXPECT_EQ(d.GetPixel(5, 39), 255);
}

TEST(Bmp256Test, BlitWhollyOutsideChangesAndReadsNothing) {
    const TBMP256 src = Numbered(64, 48);
    TBMP256 d;
    d.SetSize(64, 48);
    d.Fill(3);
    const TBMP256 before = d;
    // Source positions far outside the source: nothing may be read when nothing lands.
    for (auto [dx, dy] : {std::pair{64, 0},
                          {0, 48},
                          {-64, 0},
                          {0, -48},
                          {1 << 30, 0},
                          {-(1 << 30), -(1 << 30)},
                          {2147483647, 2147483647},
                          {-2147483647 - 1, 0}})
        EXPECT_NO_THROW(d.Blit(dx, dy, src, -1, 100000, 100000, 64, 48));
    EXPECT_NO_THROW(d.Blit(0, 0, src, -1, 0, 0, -5, 10)); // negative size: empty
    TBMP256 empty;
    EXPECT_NO_THROW(d.Blit(0, 0, empty, -1, 0, 0, 0, 0));
    EXPECT_NO_THROW(empty.Blit(0, 0, src, -1, 0, 0, 0, 0));
    EXPECT_TRUE(Same(d, before));
}

TEST(Bmp256Test, BlitTransparentIndex) {
    TBMP256 src;
    src.SetSize(4, 1);
    src.SetPixel(0, 0, 0);
    src.SetPixel(1, 0, 255);
    src.SetPixel(2, 0, 7);
    src.SetPixel(3, 0, 0);
    TBMP256 d;
    d.SetSize(4, 1);
    auto run = [&](int transparent) {
        d.Fill(9);
        d.Blit(0, 0, src, transparent, 0, 0, 0, 0);
        return std::vector<int>{d.GetPixel(0, 0), d.GetPixel(1, 0), d.GetPixel(2, 0),
                                d.GetPixel(3, 0)};
    };
    EXPECT_EQ(run(-1), (std::vector<int>{0, 255, 7, 0}));
    EXPECT_EQ(run(0), (std::vector<int>{9, 255, 7, 9}));
    EXPECT_EQ(run(255), (std::vector<int>{0, 9, 7, 0}));
    EXPECT_EQ(run(256), (std::vector<int>{0, 255, 7, 0})); // outside 0..255: opaque
    EXPECT_EQ(run(-256), (std::vector<int>{0, 255, 7, 0}));
}

TEST(Bmp256Test, BlitMatchesThePixelRuleOnRandomRectangles) {
    std::mt19937 rng(7);
    // Few distinct indices so that the transparent one is common inside each 8-byte group.
    const TBMP256 src = Random(70, 90, rng, 3);
    std::uniform_int_distribution<int> pos(-80, 80), size(0, 70), t(-1, 3);
    for (int i = 0; i < 3000; ++i) {
        TBMP256 d = Random(1 + i % 67, 1 + i % 53, rng);
        TBMP256 expect = d;
        int w = size(rng), h = size(rng) % 60;
        const int sx = w == 0 ? 0 : std::uniform_int_distribution<int>(0, 70 - w)(rng);
        const int sy = h == 0 ? 0 : std::uniform_int_distribution<int>(0, 90 - h)(rng);
        const int dx = pos(rng), dy = pos(rng), tr = t(rng);
        d.Blit(dx, dy, src, tr, sx, sy, w, h);
        ReferenceBlit(expect, dx, dy, src, tr, sx, sy, w, h);
        ASSERT_TRUE(Same(d, expect)) << "case " << i;
    }
}

TEST(Bmp256Test, BlitRefusesASourceRectangleOutsideTheSource) {
    std::mt19937 rng(3);
    const TBMP256 src = Random(64, 48, rng);
    TBMP256 d = Random(64, 200, rng);
    const TBMP256 before = d;
    EXPECT_THROW(d.Blit(0, 0, src, -1, 0, 10, 64, 48), std::out_of_range); // runs off below
    EXPECT_THROW(d.Blit(0, 0, src, -1, 1, 0, 64, 48), std::out_of_range);  // runs off right
    EXPECT_THROW(d.Blit(0, 0, src, 0, -1, 0, 10, 10), std::out_of_range);  // left of it
    EXPECT_THROW(d.Blit(0, 0, src, 0, 0, 0, 64, 100), std::out_of_range);  // too tall
    EXPECT_TRUE(Same(d, before));
    // Clipping at the destination keeps the read inside: no error.
    EXPECT_NO_THROW(d.Blit(0, 190, src, -1, 0, 10, 64, 48));
}

TEST(Bmp256Test, BlitWithinOnePicture) {
    std::mt19937 rng(11);
    // Disjoint rectangles of one sheet, as chips are composed: same as from a copy.
    TBMP256 sheet = Random(64, 480, rng, 4);
    TBMP256 expect = sheet;
    const TBMP256 snapshot = sheet;
    sheet.Blit(0, 48 * 5, sheet, 2, 0, 48 * 4 + 16, 64, 32);
    ReferenceBlit(expect, 0, 48 * 5, snapshot, 2, 0, 48 * 4 + 16, 64, 32);
    EXPECT_TRUE(Same(sheet, expect));

    // Overlapping rectangles behave as if the source had been read first.
    for (auto [dx, dy] : {std::pair{3, 5}, {-3, -5}, {5, 0}, {-5, 0}, {0, 7}, {0, -7}})
        for (int tr : {-1, 1}) {
            TBMP256 pic = Random(40, 40, rng, 4);
            TBMP256 want = pic;
            const TBMP256 copy = pic;
            pic.Blit(10 + dx, 10 + dy, pic, tr, 10, 10, 20, 20);
            ReferenceBlit(want, 10 + dx, 10 + dy, copy, tr, 10, 10, 20, 20);
            EXPECT_TRUE(Same(pic, want)) << dx << "," << dy << " t=" << tr;
        }
}
