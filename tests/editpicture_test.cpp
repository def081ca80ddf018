// Tests of the edit view's picture: projection and hit test, and the composed level, cell,
// mark and cursor pictures against a plain pixel-by-pixel composition.
#include "graphics/editpicture.h"

#include "graphics/overlays.h"
#include "tests/picturetestutil.h"
#include "tests/testutil.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <thread>
#include <utility>
#include <vector>

using namespace quarvel;
using namespace quarvel::test;

namespace {

// The faint index of each index by a plain search: all indices but the transparent one
// ranked by distance to the mean colour, then by index.
IndexMap PlainDim(const Palette& pal, const PaletteEntry& back, int transparent) {
    IndexMap dim{};
    for (int i = 0; i < 256; ++i) {
        const int r = (pal[i].Red + back.Red) / 2, g = (pal[i].Green + back.Green) / 2,
                  b = (pal[i].Blue + back.Blue) / 2;
        std::vector<std::pair<long, int>> ranked;
        for (int j = 0; j < 256; ++j)
            if (j != transparent)
                ranked.push_back({long(pal[j].Red - r) * (pal[j].Red - r) +
                                      long(pal[j].Green - g) * (pal[j].Green - g) +
                                      long(pal[j].Blue - b) * (pal[j].Blue - b),
                                  j});
        dim[size_t(i)] = uint8_t(std::min_element(ranked.begin(), ranked.end())->second);
    }
    return dim;
}

// The same composition written plainly from the drawing rules, on its own pictures.
struct PlainEditView {
    const TMap& Map;
    const RandomSheets& S;
    const TEditPicture& View; // only for its overlay images, zoom and colour
    TBMP256 Picture;

    PlainEditView(const TMap& map, const RandomSheets& s, const TEditPicture& view)
        : Map(map), S(s), View(view) {
        Picture.SetSize(2048 / (view.GetZoom() + 1), 1040 / (view.GetZoom() + 1));
        Picture.SetPalette(s.Sheets[view.GetZoom()].GetPalette());
    }
    uint8_t Back() const {
        return NearestIndex(S.Sheets[View.GetZoom()].GetPalette(), View.BackColor);
    }
    void Overlay(TBMP256& d, int px, int py, const TBMP256& img) {
        PlainBlit(d, px, py, img, img.GetPixel(0, 0), 0, 0, 0, 0);
    }
    void RedrawLevel(int level) {
        Picture.Fill(Back());
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x) {
                const Point p = EditCellToPixel(x, y, View.GetZoom());
                PlainChip(Picture, p.x, p.y, S, View.GetZoom(), Map.GetChip(x, y, level));
                Overlay(Picture, p.x, p.y, View.GridImages[View.GetZoom()]);
            }
    }
    // The level below first, each drawn pixel's index made faint by a plain search.
    void RedrawLevelWithGhost(int level) {
        const int z = View.GetZoom(), w = ChipWidth[z], h = ChipHeight[z];
        const Palette& pal = S.Sheets[z].GetPalette();
        const IndexMap dim = PlainDim(pal, pal[Back()], S.Transparent[z]);
        TBMP256 faint = S.Sheets[z];
        for (int y = 0; y < faint.Height(); ++y)
            for (int x = 0; x < faint.Width(); ++x)
                if (faint.GetPixel(x, y) != S.Transparent[z])
                    faint.SetPixel(x, y, dim[faint.GetPixel(x, y)]);
        Picture.Fill(Back());
        for (int y = 0; level > 0 && y < 32; ++y)
            for (int x = 0; x < 32; ++x) {
                const int chip = Map.GetChip(x, y, level - 1);
                if (chip == 0 || chip > 167) continue;
                const Point p = EditCellToPixel(x, y, z);
                PlainBlit(Picture, p.x, p.y, faint, S.Transparent[z], 0, chip * h, w, h);
            }
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x) {
                const Point p = EditCellToPixel(x, y, z);
                PlainChip(Picture, p.x, p.y, S, z, Map.GetChip(x, y, level));
                Overlay(Picture, p.x, p.y, View.GridImages[z]);
            }
    }
    void RedrawCell(int x, int y, int level) {
        const int z = View.GetZoom(), w = ChipWidth[z], h = ChipHeight[z];
        TBMP256 cell;
        cell.SetSize(w, h);
        cell.Fill(Back());
        const Point p = EditCellToPixel(x, y, z);
        for (int r = y - 1; r <= y + 1; ++r)
            for (int c = x - 1; c <= x + 1; ++c) {
                const Point q = EditCellToPixel(c, r, z);
                PlainChip(cell, q.x - p.x, q.y - p.y, S, z, Map.GetChip(c, r, level));
            }
        PlainBlit(Picture, p.x, p.y, cell, -1, 0, 0, 0, 0);
        Overlay(Picture, p.x, p.y, View.GridImages[z]);
        if (x < 31) Overlay(Picture, p.x + w / 2, p.y + h / 3, View.GridImages[z]);
        if (y < 31) Overlay(Picture, p.x - w / 2, p.y + h / 3, View.GridImages[z]);
    }
};

struct Fixture {
    std::mt19937 Rng;
    RandomSheets Sheets;
    std::unique_ptr<TMap> Map = std::make_unique<TMap>();
    TEditPicture View;

    Fixture(unsigned seed, double density, int zoom) : Rng(seed), Sheets(Rng) {
        RandomMap(*Map, Rng, density);
        View.Attach(Map.get(), Sheets.Sheets, Sheets.Transparent);
        View.BackColor = RGBColor(uint8_t(Rng()), uint8_t(Rng()), uint8_t(Rng()));
        View.SetZoom(zoom);
    }
};

} // namespace

TEST(EditPictureTest, ProjectionExamples) {
    EXPECT_EQ(EditCellToPixel(0, 0, 0), (Point{992, 0}));
    EXPECT_EQ(EditCellToPixel(31, 0, 0), (Point{1984, 496}));
    EXPECT_EQ(EditCellToPixel(0, 31, 0), (Point{0, 496}));
    EXPECT_EQ(EditCellToPixel(31, 31, 0), (Point{992, 992}));
    EXPECT_EQ(EditCellToPixel(0, 0, 1), (Point{496, 0}));
    EXPECT_EQ(EditCellToPixel(31, 0, 1), (Point{992, 248}));
    EXPECT_EQ(EditCellToPixel(0, 31, 1), (Point{0, 248}));
    EXPECT_EQ(EditCellToPixel(31, 31, 1), (Point{496, 496}));
    EXPECT_EQ(EditPixelToCell(1024, 16, 0), (Point{0, 0}));
    EXPECT_EQ(EditPixelToCell(512, 8, 1), (Point{0, 0}));
    EXPECT_EQ(EditPixelToCell(0, 0, 0), (Point{-16, 16}));
    // Negative quotients truncate toward zero (flooring would give one less), at both zooms.
    EXPECT_EQ(EditPixelToCell(1, 0, 0), (Point{-15, 15}));
    EXPECT_EQ(EditPixelToCell(2047, 0, 0), (Point{15, -15}));
    EXPECT_EQ(EditPixelToCell(1, 0, 1), (Point{-15, 15}));
    EXPECT_EQ(EditPixelToCell(1023, 0, 1), (Point{15, -15}));
    EXPECT_THROW(EditCellToPixel(0, 0, 2), std::out_of_range);
}

TEST(EditPictureTest, HitTestCoversEachTopFace) {
    // Every pixel of a cell's top face (the half-open diamond: upper-left edges belong to
    // the cell) maps back to that cell, at both zooms.
    for (int zoom = 0; zoom < 2; ++zoom)
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x) {
                const Point p = EditCellToPixel(x, y, zoom);
                for (int v = 0; v < 32 / (zoom + 1); ++v)
                    for (int u = 0; u < 64 / (zoom + 1); ++u) {
                        const int U = u * (zoom + 1), V = v * (zoom + 1);
                        const bool inside =
                            U + 2 * V >= 32 && U + 2 * V < 96 && 2 * V - U >= -32 && 2 * V - U < 32;
                        if (!inside) continue;
                        ASSERT_EQ(EditPixelToCell(p.x + u, p.y + v, zoom), (Point{x, y}))
                            << "zoom " << zoom << " cell " << x << "," << y << " +" << u << ","
                            << v;
                    }
            }
}

TEST(EditPictureTest, SetZoomSizesPicturesAndHandsOutPalettes) {
    Fixture f(1, 0.3, 1);
    EXPECT_EQ(f.View.Picture.Width(), 1024);
    EXPECT_EQ(f.View.Picture.Height(), 520);
    EXPECT_EQ(f.View.CellPicture.Width(), 32);
    EXPECT_EQ(f.View.CellPicture.Height(), 24);
    const Palette& small = f.Sheets.Sheets[1].GetPalette();
    EXPECT_EQ(f.View.Picture.GetPalette(), small);
    EXPECT_EQ(f.View.GridImages[1].GetPalette(), small);
    EXPECT_EQ(f.View.CursorImages[1].GetPalette(), small);
    EXPECT_EQ(f.View.SelectedImages[1].GetPalette(), small);
    EXPECT_FALSE(f.View.GridImages[0].GetPalette() == small); // the other size is untouched
    f.View.SetZoom(0);
    EXPECT_EQ(f.View.Picture.Width(), 2048);
    EXPECT_EQ(f.View.Picture.Height(), 1040);
    EXPECT_EQ(f.View.CellPicture.Width(), 64);
    EXPECT_EQ(f.View.Picture.GetPalette(), f.Sheets.Sheets[0].GetPalette());
    EXPECT_THROW(f.View.SetZoom(-1), std::out_of_range);
}

TEST(EditPictureTest, RedrawLevelMatchesPlainComposition) {
    for (int zoom = 0; zoom < 2; ++zoom)
        for (double density : {0.0, 0.4, 1.0}) {
            Fixture f(10 + zoom, density, zoom);
            PlainEditView plain(*f.Map, f.Sheets, f.View);
            for (int level : {0, 17, 47}) {
                f.View.RedrawLevel(level);
                plain.RedrawLevel(level);
                ASSERT_TRUE(SamePixels(f.View.Picture, plain.Picture))
                    << "zoom " << zoom << " density " << density << " level " << level;
            }
        }
    // An empty level: background with the grid diamond on every cell.
    Fixture f(3, 0.0, 0);
    f.View.RedrawLevel(5);
    const uint8_t back = NearestIndex(f.Sheets.Sheets[0].GetPalette(), f.View.BackColor);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const Point p = EditCellToPixel(x, y, 0);
            ASSERT_EQ(f.View.Picture.GetPixel(p.x + 30, p.y), 164);
            ASSERT_EQ(f.View.Picture.GetPixel(p.x + 32, p.y + 16), back);
        }
}

TEST(EditPictureTest, RedrawCellMatchesPlainCompositionAfterEdits) {
    for (int zoom = 0; zoom < 2; ++zoom) {
        Fixture f(20 + zoom, 0.5, zoom);
        PlainEditView plain(*f.Map, f.Sheets, f.View);
        const int level = 9;
        f.View.RedrawLevel(level);
        plain.RedrawLevel(level);
        std::uniform_int_distribution<int> cell(0, 31), chip(0, 167);
        std::vector<Point> cells = {{0, 0}, {31, 0}, {0, 31}, {31, 31}, {15, 16}};
        for (int i = 0; i < 60; ++i) cells.push_back({cell(f.Rng), cell(f.Rng)});
        for (const Point& c : cells) {
            f.Map->Cells[TMap::Index(c.x, c.y, level)] = uint8_t(chip(f.Rng));
            f.View.RedrawCell(c.x, c.y, level);
            plain.RedrawCell(c.x, c.y, level);
            ASSERT_TRUE(SamePixels(f.View.Picture, plain.Picture))
                << "zoom " << zoom << " cell " << c.x << "," << c.y;
        }
    }
}

TEST(EditPictureTest, MarkCellDrawsSelectionOrGrid) {
    Fixture f(30, 0.6, 0);
    PlainEditView plain(*f.Map, f.Sheets, f.View);
    f.View.RedrawLevel(3);
    plain.RedrawLevel(3);
    for (auto [x, y, sel] :
         {std::tuple{4, 5, true}, {4, 6, true}, {4, 5, false}, {0, 0, true}, {31, 31, true}}) {
        f.View.MarkCell(x, y, sel);
        const Point p = EditCellToPixel(x, y, 0);
        plain.Overlay(plain.Picture, p.x, p.y,
                      sel ? f.View.SelectedImages[0] : f.View.GridImages[0]);
        ASSERT_TRUE(SamePixels(f.View.Picture, plain.Picture));
    }
    const Point p = EditCellToPixel(4, 6, 0);
    EXPECT_EQ(f.View.Picture.GetPixel(p.x + 30, p.y), 251);
}

TEST(EditPictureTest, ComposeCursorPutsTheBoxOverThePicture) {
    for (int zoom = 0; zoom < 2; ++zoom) {
        Fixture f(40 + zoom, 0.5, zoom);
        f.View.RedrawLevel(2);
        const TBMP256 before = f.View.Picture;
        for (auto [cx, cy] : {std::pair{0, 0}, {31, 0}, {0, 31}, {31, 31}, {12, 7}}) {
            TBMP256 out;
            const Point p = f.View.ComposeCursor(cx, cy, out);
            EXPECT_EQ(p, EditCellToPixel(cx, cy, zoom));
            TBMP256 want;
            want.SetSize(ChipWidth[zoom], ChipHeight[zoom]);
            PlainBlit(want, -p.x, -p.y, f.View.Picture, -1, 0, 0, 0, 0);
            PlainBlit(want, 0, 0, f.View.CursorImages[zoom], 0, 0, 0, 0, 0);
            ASSERT_TRUE(SamePixels(out, want));
            EXPECT_EQ(out.GetPalette(), f.View.Picture.GetPalette());
        }
        EXPECT_TRUE(SamePixels(f.View.Picture, before)); // never drawn into the picture
        // Cells beyond the map do not read outside the picture.
        TBMP256 out;
        EXPECT_NO_THROW(f.View.ComposeCursor(-3, 40, out));
    }
}

TEST(EditPictureTest, WorksBeforeSheetsOrSizeExist) {
    TEditPicture view;
    EXPECT_NO_THROW(view.RedrawLevel(0)); // nothing attached, no size yet
    EXPECT_NO_THROW(view.RedrawCell(3, 3, 0));
    TMap map;
    map.Cells[TMap::Index(3, 3, 0)] = 200; // a byte without a picture
    view.Attach(&map, nullptr, nullptr);
    view.SetZoom(0);
    EXPECT_NO_THROW(view.RedrawLevel(0));
    EXPECT_NO_THROW(view.RedrawCell(3, 3, 0));
    // Not a size index: refused rather than read past the overlay images later.
    EXPECT_THROW(view.SetZoom(2), std::out_of_range);
    EXPECT_EQ(view.GetZoom(), 0);
}

TEST(EditPictureTest, DimIndicesAreTheNearestColourOfTheMean) {
    std::mt19937 rng(50);
    std::uniform_int_distribution<int> byte(0, 255), few(0, 3);
    for (int round = 0; round < 6; ++round) {
        Palette pal;
        // Some rounds with few distinct colours, so that ties are common.
        for (auto& e : pal)
            e = round % 2
                    ? PaletteEntry{uint8_t(few(rng) * 85), uint8_t(few(rng) * 85),
                                   uint8_t(few(rng) * 85), 0}
                    : PaletteEntry{uint8_t(byte(rng)), uint8_t(byte(rng)), uint8_t(byte(rng)), 0};
        const PaletteEntry back = pal[size_t(byte(rng))];
        for (int transparent : {-1, 0, byte(rng), 255})
            ASSERT_EQ(DimIndices(pal, back, transparent), PlainDim(pal, back, transparent))
                << "round " << round << " transparent " << transparent;
    }
    // One colour everywhere: every index ties, the lowest one not transparent wins.
    Palette grey;
    grey.fill({128, 128, 128, 0});
    const IndexMap dim = DimIndices(grey, grey[0], 0);
    EXPECT_TRUE(std::all_of(dim.begin(), dim.end(), [](uint8_t d) { return d == 1; }));
}

TEST(EditPictureTest, GhostIsTheLevelBelowFaintUnderTheLevel) {
    for (int zoom = 0; zoom < 2; ++zoom)
        for (double density : {0.4, 1.0}) {
            SCOPED_TRACE(testing::Message() << "zoom " << zoom << " density " << density);
            Fixture f(60 + zoom + int(density * 10), density, zoom);
            // Chip 1 draws every pixel, chip 2 all but its top row: where they stand on the
            // level, the chip below is hidden wholly or all but a row.
            for (int c : {1, 2})
                for (int v = c - 1; v < ChipHeight[zoom]; ++v)
                    for (int u = 0; u < ChipWidth[zoom]; ++u) {
                        uint8_t& px = f.Sheets.Sheets[zoom].Row(c * ChipHeight[zoom] + v)[u];
                        if (px == f.Sheets.Transparent[zoom]) px = 7;
                    }
            for (int i = 0; i < TMap::CellCount; i += 3) f.Map->Cells[i] = uint8_t(1 + i / 3 % 2);
            f.View.SetZoom(zoom); // the sheet changed
            f.View.SetGhost(true);
            const int w = f.View.PictureWidth(), h = f.View.PictureHeight();
            for (int round = test::Sampled ? 1 : 0; round < 2; ++round) {
                if (round) f.View.BackColor = RGBColor(10, 200, 90); // the faint copy follows
                PlainEditView plain(*f.Map, f.Sheets, f.View);
                for (int level : {0, 1, 30, 47}) {
                    plain.RedrawLevelWithGhost(level);
                    f.View.RedrawLevel(level);
                    ASSERT_TRUE(SamePixels(f.View.Picture, plain.Picture))
                        << "level " << level << " round " << round;
                    // The command line's bands, two of them side by side.
                    f.View.Picture.Fill(77);
                    std::thread other([&] { f.View.RedrawRect(level, 0, h / 2, w, h); });
                    f.View.RedrawRect(level, 0, 0, w, h / 2);
                    other.join();
                    ASSERT_TRUE(SamePixels(f.View.Picture, plain.Picture)) << "bands " << level;
                }
            }
        }
}

TEST(EditPictureTest, GhostRedrawCellEqualsRedrawLevelAfterEdits) {
    for (int zoom = 0; zoom < 2; ++zoom) {
        Fixture f(70 + zoom, 0.5, zoom);
        f.View.SetGhost(true);
        std::uniform_int_distribution<int> cell(0, 31), chip(0, 167);
        for (int level : {0, 9}) {
            f.View.RedrawLevel(level);
            std::vector<Point> cells = {{0, 0}, {31, 0}, {0, 31}, {31, 31}};
            for (int i = 0; i < (test::Sampled ? 6 : 30); ++i)
                cells.push_back({cell(f.Rng), cell(f.Rng)});
            int n = 0;
            for (const Point& c : cells) {
                // The cell, and now and then the one below it (an object's lower part).
                f.Map->Cells[TMap::Index(c.x, c.y, level)] = uint8_t(chip(f.Rng));
                if (level > 0 && ++n % 3 == 0)
                    f.Map->Cells[TMap::Index(c.x, c.y, level - 1)] = uint8_t(chip(f.Rng));
                f.View.RedrawCell(c.x, c.y, level);
                const TBMP256 patched = f.View.Picture;
                f.View.RedrawLevel(level);
                ASSERT_TRUE(SamePixels(patched, f.View.Picture))
                    << "zoom " << zoom << " level " << level << " cell " << c.x << "," << c.y;
            }
        }
    }
}
