// Tests of the whole-map picture: projection, full redraw against a plain composition,
// one-cell redraws against the full redraw, and picking the topmost stored chip.
#include "graphics/wholepicture.h"

#include "map/chipclasses.h"
#include "tests/picturetestutil.h"
#include "tests/testutil.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <memory>
#include <thread>
#include <utility>
#include <vector>

using namespace quarvel;
using namespace quarvel::test;

namespace {

struct Fixture {
    std::mt19937 Rng;
    RandomSheets Sheets;
    std::unique_ptr<TMap> Map = std::make_unique<TMap>();
    TWholePicture View;

    Fixture(unsigned seed, double density, int zoom) : Rng(seed), Sheets(Rng) {
        RandomMap(*Map, Rng, density);
        View.Attach(Map.get(), Sheets.Sheets, Sheets.Transparent);
        View.BackColor = RGBColor(uint8_t(Rng()), uint8_t(Rng()), uint8_t(Rng()));
        View.SetZoom(zoom);
    }
    uint8_t Back() const {
        return NearestIndex(Sheets.Sheets[View.GetZoom()].GetPalette(), View.BackColor);
    }
    // Every cell's view chip, level by level, pixel by pixel.
    TBMP256 PlainAll() const {
        TBMP256 pic;
        pic.SetSize(2048 / (View.GetZoom() + 1), 1792 / (View.GetZoom() + 1));
        pic.Fill(Back());
        for (int z = 0; z < 48; ++z)
            for (int y = 0; y < 32; ++y)
                for (int x = 0; x < 32; ++x) {
                    const Point p = WholeCellToPixel(x, y, z, View.GetZoom());
                    PlainChip(pic, p.x, p.y, Sheets, View.GetZoom(), Map->GetViewChip(x, y, z));
                }
        return pic;
    }
    // The one-cell redraw as a full pass over the map into a chip-sized scratch.
    void PlainCell(TBMP256& pic, int x, int y, int z) const {
        if (z < 0 || z > 47) return;
        TBMP256 cell;
        cell.SetSize(ChipWidth[View.GetZoom()], ChipHeight[View.GetZoom()]);
        cell.Fill(Back());
        const Point o = WholeCellToPixel(x, y, z, View.GetZoom());
        for (int zz = 0; zz < 48; ++zz)
            for (int yy = 0; yy < 32; ++yy)
                for (int xx = 0; xx < 32; ++xx) {
                    const Point p = WholeCellToPixel(xx, yy, zz, View.GetZoom());
                    PlainChip(cell, p.x - o.x, p.y - o.y, Sheets, View.GetZoom(),
                              Map->GetViewChip(xx, yy, zz));
                }
        PlainBlit(pic, o.x, o.y, cell, -1, 0, 0, 0, 0);
    }
};

} // namespace

TEST(WholePictureTest, ProjectionExamples) {
    EXPECT_EQ(WholeCellToPixel(0, 0, 47, 0), (Point{992, 0}));
    EXPECT_EQ(WholeCellToPixel(31, 31, 0, 0), (Point{992, 1744}));
    EXPECT_EQ(WholeCellToPixel(31, 0, 5, 0).x, 1984);
    EXPECT_EQ(WholeCellToPixel(0, 31, 5, 0).x, 0);
    EXPECT_EQ(WholeCellToPixel(31, 31, 0, 1), (Point{496, 872}));
    EXPECT_EQ(WholeCellToPixel(0, 0, 47, 1), (Point{496, 0}));
    EXPECT_EQ(WholePixelToCell(1024, 16, 47, 0), (Point{0, 0}));
    EXPECT_EQ(WholePixelToCell(1024, 768, 0, 0), (Point{0, 0}));
    EXPECT_EQ(WholePixelToCell(512, 384, 0, 1), (Point{0, 0}));
    // Negative quotients truncate toward zero (flooring would give one less), at both zooms.
    EXPECT_EQ(WholePixelToCell(1, 0, 47, 0), (Point{-15, 15}));
    EXPECT_EQ(WholePixelToCell(1024, 0, 0, 0), (Point{-23, -23}));
    EXPECT_EQ(WholePixelToCell(1, 0, 47, 1), (Point{-15, 15}));
    EXPECT_EQ(WholePixelToCell(512, 0, 0, 1), (Point{-23, -23}));
    EXPECT_THROW(WholePixelToCell(0, 0, 0, 3), std::out_of_range);
    // All chips fit the picture exactly.
    int maxX = 0, maxY = 0;
    for (int z = 0; z < 48; ++z)
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x) {
                const Point p = WholeCellToPixel(x, y, z, 0);
                ASSERT_GE(p.x, 0);
                ASSERT_GE(p.y, 0);
                maxX = std::max(maxX, p.x + 64);
                maxY = std::max(maxY, p.y + 48);
            }
    EXPECT_EQ(maxX, 2048);
    EXPECT_EQ(maxY, 1792);
}

TEST(WholePictureTest, BoxOutlineFollowsTheCornerCells) {
    for (int zoom = 0; zoom < 2; ++zoom) {
        const auto edges = WholeBoxOutline(2, 3, 5, 7, 10, 12, zoom);
        ASSERT_EQ(edges.size(), 12u);
        // Every third edge stands upright: three levels of 16 pixels (8 at the small zoom).
        std::vector<Point> corners;
        for (size_t i = 0; i < 12; i += 3) {
            const Segment& up = edges[i + 2];
            EXPECT_EQ(up.A.x, up.B.x);
            EXPECT_EQ(up.B.y - up.A.y, 48 / (zoom + 1));
            EXPECT_EQ(edges[i].A, up.A);
            corners.push_back(up.A);
        }
        // Just inside each corner of the top diamond lies the box's corner cell on level 12.
        const Point cells[4] = {{2, 3}, {5, 3}, {5, 7}, {2, 7}};
        const int s = 2 / (zoom + 1) + 1;
        const Point inward[4] = {{0, s}, {-2 * s, 0}, {0, -s}, {2 * s, 0}};
        for (int i = 0; i < 4; ++i) {
            const Point p{corners[size_t(i)].x + inward[i].x, corners[size_t(i)].y + inward[i].y};
            EXPECT_EQ(WholePixelToCell(p.x, p.y, 12, zoom), cells[i]) << zoom << " " << i;
        }
    }
    // One cell on the top level: the diamond of its chip and the foot of its side.
    const auto one = WholeBoxOutline(0, 0, 0, 0, 47, 47, 0);
    EXPECT_EQ(one[0], (Segment{{1024, 0}, {1056, 16}}));
    EXPECT_EQ(one[1], (Segment{{1024, 16}, {1056, 32}}));
}

TEST(WholePictureTest, HitTestCoversEachTopFace) {
    for (int zoom = 0; zoom < 2; ++zoom)
        for (int z : {0, 23, 47})
            for (int y = 0; y < 32; ++y)
                for (int x = 0; x < 32; ++x) {
                    const Point p = WholeCellToPixel(x, y, z, zoom);
                    for (int v = 0; v < 32 / (zoom + 1); ++v)
                        for (int u = 0; u < 64 / (zoom + 1); ++u) {
                            const int U = u * (zoom + 1), V = v * (zoom + 1);
                            if (U + 2 * V < 32 || U + 2 * V >= 96 || 2 * V - U < -32 ||
                                2 * V - U >= 32)
                                continue;
                            ASSERT_EQ(WholePixelToCell(p.x + u, p.y + v, z, zoom), (Point{x, y}))
                                << zoom << " " << x << "," << y << "," << z;
                        }
                }
}

TEST(WholePictureTest, SetZoomSizesPictures) {
    Fixture f(1, 0.0, 1);
    EXPECT_EQ(f.View.Picture.Width(), 1024);
    EXPECT_EQ(f.View.Picture.Height(), 896);
    EXPECT_EQ(f.View.CellPicture.Width(), 32);
    EXPECT_EQ(f.View.CellPicture.Height(), 24);
    EXPECT_EQ(f.View.Picture.GetPalette(), f.Sheets.Sheets[1].GetPalette());
    f.View.SetZoom(0);
    EXPECT_EQ(f.View.Picture.Width(), 2048);
    EXPECT_EQ(f.View.Picture.Height(), 1792);
    EXPECT_EQ(f.View.CellPicture.GetPalette(), f.Sheets.Sheets[0].GetPalette());
}

TEST(WholePictureTest, RedrawAllMatchesPlainComposition) {
    struct Case {
        int Zoom;
        double Density;
    };
    for (const Case& c : {Case{0, 0.0}, Case{0, 0.08}, Case{1, 0.3}}) {
        Fixture f(100 + int(c.Density * 10) + c.Zoom, c.Density, c.Zoom);
        f.View.RedrawAll();
        ASSERT_TRUE(SamePixels(f.View.Picture, f.PlainAll())) << c.Zoom << " " << c.Density;
    }
    // An empty map is the background only.
    Fixture f(2, 0.0, 0);
    f.View.RedrawAll();
    EXPECT_EQ(f.View.Picture.GetPixel(0, 0), f.Back());
    EXPECT_EQ(f.View.Picture.GetPixel(2047, 1791), f.Back());
}

TEST(WholePictureTest, RedrawCellEqualsRedrawAllThereAfterEdits) {
    for (int zoom = 0; zoom < 2; ++zoom) {
        Fixture f(200 + zoom, 0.3, zoom);
        const int w = ChipWidth[zoom], h = ChipHeight[zoom];
        std::uniform_int_distribution<int> cell(0, 31), level(0, 47), chip(0, 167);
        std::vector<std::array<int, 3>> edits = {
            {0, 0, 0}, {31, 31, 47}, {31, 0, 3}, {0, 31, 44}, {16, 16, 24}};
        for (int i = 0; i < 7; ++i) edits.push_back({cell(f.Rng), cell(f.Rng), level(f.Rng)});
        int n = 0;
        for (const auto& [x, y, z] : edits) {
            f.View.RedrawAll();
            const TBMP256 before = f.View.Picture;
            f.Map->Cells[TMap::Index(x, y, z)] = uint8_t(chip(f.Rng));
            // A field chip above changes what the edited cell shows.
            if (z + 1 < 48 && ++n % 2) f.Map->Cells[TMap::Index(x, y, z + 1)] = uint8_t(25 + n % 4);
            TBMP256 plain = before;
            for (int k = -4; k <= 4; ++k) {
                f.View.RedrawCell(x, y, z + k);
                f.PlainCell(plain, x, y, z + k);
            }
            // Exactly the full-pass redraw, and nothing outside the nine rectangles changed.
            ASSERT_TRUE(SamePixels(f.View.Picture, plain)) << x << "," << y << "," << z;
            // Each rectangle shows what a full redraw of the edited map draws there.
            f.View.RedrawAll();
            for (int k = -4; k <= 4; ++k) {
                if (z + k < 0 || z + k > 47) continue;
                const Point o = WholeCellToPixel(x, y, z + k, zoom);
                ASSERT_TRUE(SameArea(plain, f.View.Picture, o.x, o.y, w, h))
                    << x << "," << y << "," << z << " level " << z + k;
            }
        }
    }
}

TEST(WholePictureTest, EachRedrawCellIsExactAtDenseSpots) {
    // A full map: every rectangle gets chips from many cells and levels.
    Fixture f(300, 1.0, 0);
    for (auto& c : f.Map->Cells)
        if (CoverChips.Contains(c)) c = 50; // nothing hidden
    f.View.RedrawAll();
    const TBMP256 all = f.View.Picture;
    std::uniform_int_distribution<int> cell(0, 31), level(0, 47);
    for (int i = 0; i < 40; ++i) {
        const int x = cell(f.Rng), y = cell(f.Rng), z = level(f.Rng);
        f.View.Picture.Fill(77);
        f.View.RedrawCell(x, y, z);
        const Point o = WholeCellToPixel(x, y, z, 0);
        ASSERT_TRUE(SameArea(f.View.Picture, all, o.x, o.y, 64, 48)) << x << "," << y << "," << z;
    }
}

TEST(WholePictureTest, RedrawCellIgnoresLevelsOutsideTheMap) {
    Fixture f(4, 0.3, 0);
    f.View.RedrawAll();
    const TBMP256 before = f.View.Picture;
    f.Map->Cells[TMap::Index(3, 3, 0)] = 9;
    f.View.RedrawCell(3, 3, -1);
    f.View.RedrawCell(3, 3, 48);
    EXPECT_TRUE(SamePixels(f.View.Picture, before));
}

// Whether the picture shows `all` inside the rectangle (clipped to the picture) and `outside`
// everywhere else.
bool RectIsRedrawn(const TBMP256& pic, const TBMP256& all, uint8_t outside, int left, int top,
                   int right, int bottom) {
    for (int y = 0; y < pic.Height(); ++y)
        for (int x = 0; x < pic.Width(); ++x) {
            const bool inside = x >= left && x < right && y >= top && y < bottom;
            if (pic.Row(y)[x] != (inside ? all.Row(y)[x] : outside)) return false;
        }
    return true;
}

TEST(WholePictureTest, RedrawRectEqualsRedrawAllThere) {
    struct Case {
        int Zoom;
        double Density;
    };
    for (const Case& c : {Case{0, 1.0}, Case{1, 1.0}, Case{0, 0.3}, Case{1, 0.3}}) {
        SCOPED_TRACE(testing::Message() << "zoom " << c.Zoom << " density " << c.Density);
        Fixture f(400 + c.Zoom + int(c.Density * 10), c.Density, c.Zoom);
        if (c.Density == 1.0)
            for (auto& k : f.Map->Cells)
                if (CoverChips.Contains(k)) k = uint8_t(40 + k % 100); // nothing hidden
        f.View.RedrawAll();
        const TBMP256 all = f.View.Picture;
        const int w = f.View.PictureWidth(), h = f.View.PictureHeight();

        // Horizontal bands at uneven cuts, one after the other, put together the whole picture.
        std::uniform_int_distribution<int> row(1, h - 1), column(0, w), any(-100, 2100);
        for (int n : {2, 3, 7}) {
            std::vector<int> cuts = {0, h};
            for (int i = 1; i < n; ++i) cuts.push_back(row(f.Rng));
            std::sort(cuts.begin(), cuts.end());
            f.View.Picture.Fill(77);
            for (size_t i = 0; i + 1 < cuts.size(); ++i)
                f.View.RedrawRect(0, cuts[i], w, cuts[i + 1]);
            ASSERT_TRUE(SamePixels(f.View.Picture, all)) << n << " bands";
        }

        // Two bands composed at once on two threads.
        f.View.Picture.Fill(77);
        const int cut = row(f.Rng);
        std::thread other([&] { f.View.RedrawRect(0, cut, w, h); });
        f.View.RedrawRect(0, 0, w, cut);
        other.join();
        ASSERT_TRUE(SamePixels(f.View.Picture, all)) << "threads, cut at " << cut;

        // Any rectangle, also reaching past the picture, and empty ones: exactly the full
        // redraw inside, nothing touched outside.
        for (int i = 0; i < 12; ++i) {
            int l = column(f.Rng), r = column(f.Rng), t = row(f.Rng), b = row(f.Rng);
            if (i % 3 == 0) l = any(f.Rng), r = any(f.Rng), t = any(f.Rng), b = any(f.Rng);
            if (i % 4 != 3) { // the last of four stays unordered, and so empty
                if (l > r) std::swap(l, r);
                if (t > b) std::swap(t, b);
            }
            f.View.Picture.Fill(77);
            f.View.RedrawRect(l, t, r, b);
            ASSERT_TRUE(RectIsRedrawn(f.View.Picture, all, 77, l, t, r, b))
                << l << "," << t << " - " << r << "," << b;
        }
    }
}

TEST(WholePictureTest, PickFindsTheTopmostStoredChip) {
    Fixture f(5, 0.0, 0);
    int x = -1, y = -1, z = -1;
    // An empty map: nothing anywhere.
    for (auto [px, py] : {std::pair{1024, 16}, {0, 0}, {1000, 1000}, {2047, 1791}})
        EXPECT_FALSE(f.View.Pick(px, py, x, y, z));
    // Cell (3, 4, 10) and cell (2, 3, 8) lie under the same pixel: the higher level wins.
    f.Map->Cells[TMap::Index(3, 4, 10)] = 60;
    f.Map->Cells[TMap::Index(2, 3, 8)] = 60;
    const Point p = WholeCellToPixel(3, 4, 10, 0);
    ASSERT_EQ(WholePixelToCell(p.x + 32, p.y + 16, 8, 0), (Point{2, 3}));
    ASSERT_TRUE(f.View.Pick(p.x + 32, p.y + 16, x, y, z));
    EXPECT_EQ(x, 3);
    EXPECT_EQ(y, 4);
    EXPECT_EQ(z, 10);
    f.Map->Cells[TMap::Index(3, 4, 10)] = 0;
    ASSERT_TRUE(f.View.Pick(p.x + 32, p.y + 16, x, y, z));
    EXPECT_EQ(z, 8);
    // The stored chip counts, not what is drawn: a field chip on level 0 is never drawn.
    f.Map->Cells[TMap::Index(0, 0, 0)] = 26;
    const Point q = WholeCellToPixel(0, 0, 0, 0);
    ASSERT_TRUE(f.View.Pick(q.x + 32, q.y + 16, x, y, z));
    EXPECT_EQ((std::array<int, 3>{x, y, z}), (std::array<int, 3>{0, 0, 0}));
    // At the small zoom the same cells are found at half the coordinates.
    f.View.SetZoom(1);
    ASSERT_TRUE(f.View.Pick((p.x + 32) / 2, (p.y + 16) / 2, x, y, z));
    EXPECT_EQ(z, 8);
}

// The map with every level above `top` emptied.
std::unique_ptr<TMap> EmptiedAbove(const TMap& map, int top) {
    auto cut = std::make_unique<TMap>();
    std::copy(map.Cells, map.Cells + TMap::CellCount, cut->Cells);
    for (int z = top + 1; z < 48; ++z)
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x) cut->Cells[TMap::Index(x, y, z)] = 0;
    return cut;
}

TEST(WholePictureTest, CutAwayIsTheMapWithTheUpperLevelsEmptied) {
    // Field and cover chips among them: what a chip above shows or hides changes at the cut.
    for (int zoom = 0; zoom < 2; ++zoom)
        for (double density : {0.3, 1.0}) {
            SCOPED_TRACE(testing::Message() << "zoom " << zoom << " density " << density);
            Fixture f(500 + zoom + int(density * 10), density, zoom);
            const int w = f.View.PictureWidth(), h = f.View.PictureHeight();
            // Every top at the small zoom; at the large one every other, the two densities
            // between them taking all.
            const int step = test::Sampled ? 7 : zoom ? 1 : 2;
            for (int top = zoom ? 0 : int(density); top < 48; top += step) {
                f.View.SetTop(top);
                f.View.RedrawAll();
                const auto cut = EmptiedAbove(*f.Map, top);
                TWholePicture plain; // the whole stack of the emptied map
                plain.Attach(cut.get(), f.Sheets.Sheets, f.Sheets.Transparent);
                plain.BackColor = f.View.BackColor;
                plain.SetZoom(zoom);
                plain.RedrawAll();
                ASSERT_TRUE(SamePixels(f.View.Picture, plain.Picture)) << "top " << top;
                // The bands of the command-line picture give the same.
                if (top % 7 < 2) {
                    f.View.Picture.Fill(77);
                    f.View.RedrawRect(0, 0, w, h / 3);
                    f.View.RedrawRect(0, h / 3, w, h);
                    ASSERT_TRUE(SamePixels(f.View.Picture, plain.Picture)) << "bands, top " << top;
                }
            }
        }
    // Back at the top level the picture is the whole stack again.
    Fixture f(510, 0.3, 0);
    f.View.SetTop(12);
    f.View.SetTop(47);
    f.View.RedrawAll();
    EXPECT_TRUE(SamePixels(f.View.Picture, f.PlainAll()));
    EXPECT_THROW(f.View.SetTop(48), std::out_of_range);
    EXPECT_THROW(f.View.SetTop(-1), std::out_of_range);
}

TEST(WholePictureTest, RedrawCellWithCutAwayEqualsRedrawAllThereAfterEdits) {
    for (int zoom = 0; zoom < 2; ++zoom) {
        Fixture f(600 + zoom, 0.5, zoom);
        std::uniform_int_distribution<int> cell(0, 31), level(0, 47), chip(0, 167);
        for (int i = 0; i < 12; ++i) {
            const int top = level(f.Rng), x = cell(f.Rng), y = cell(f.Rng);
            const int z = std::clamp(top + i % 5 - 2, 0, 47); // at, below and above the cut
            f.View.SetTop(top);
            f.View.RedrawAll();
            f.Map->Cells[TMap::Index(x, y, z)] = uint8_t(chip(f.Rng));
            if (z + 1 < 48 && i % 2) f.Map->Cells[TMap::Index(x, y, z + 1)] = uint8_t(25 + i % 4);
            for (int k = -4; k <= 4; ++k) f.View.RedrawCell(x, y, z + k);
            const TBMP256 patched = f.View.Picture;
            f.View.RedrawAll();
            // Each rectangle as a full redraw draws it, and so the whole picture.
            ASSERT_TRUE(SamePixels(patched, f.View.Picture))
                << "zoom " << zoom << " top " << top << " cell " << x << "," << y << "," << z;
        }
    }
}

TEST(WholePictureTest, PickWithCutAwayFindsTheHighestTopFaceUpToTheCut) {
    for (int zoom = 0; zoom < 2; ++zoom) {
        Fixture f(700 + zoom, 0.06, zoom);
        // Every non-empty cell with the pixel in its top face (the half-open diamond), the
        // highest level up to the cut winning: a search over all cells.
        const auto reference = [&](int px, int py, int top, std::array<int, 3>& found) {
            for (int z = top; z >= 0; --z)
                for (int y = 0; y < 32; ++y)
                    for (int x = 0; x < 32; ++x) {
                        if (f.Map->GetChip(x, y, z) == 0) continue;
                        const Point p = WholeCellToPixel(x, y, z, zoom);
                        const int U = (px - p.x) * (zoom + 1), V = (py - p.y) * (zoom + 1);
                        if (U + 2 * V >= 32 && U + 2 * V < 96 && 2 * V - U >= -32 &&
                            2 * V - U < 32) {
                            found = {x, y, z};
                            return true;
                        }
                    }
            return false;
        };
        std::uniform_int_distribution<int> px(-40, f.View.PictureWidth() + 40),
            py(-40, f.View.PictureHeight() + 40), level(0, 47);
        int hits = 0;
        for (int i = 0; i < 400; ++i) {
            const int x0 = px(f.Rng), y0 = py(f.Rng), top = i < 20 ? 47 : level(f.Rng);
            f.View.SetTop(top);
            std::array<int, 3> want{-1, -1, -1}, got{-1, -1, -1};
            const bool expected = reference(x0, y0, top, want);
            ASSERT_EQ(f.View.Pick(x0, y0, got[0], got[1], got[2]), expected)
                << "zoom " << zoom << " pixel " << x0 << "," << y0 << " top " << top;
            if (expected) {
                ASSERT_EQ(got, want) << "pixel " << x0 << "," << y0 << " top " << top;
            }
            hits += expected;
        }
        EXPECT_GT(hits, 50); // the map is busy enough that many pixels hit something
    }
}
