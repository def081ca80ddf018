// Tests of the edit view's picture: projection and hit test, and the composed level, cell,
// mark and cursor pictures against a plain pixel-by-pixel composition.
#include "graphics/editpicture.h"

#include "graphics/overlays.h"
#include "tests/picturetestutil.h"

#include <gtest/gtest.h>

#include <memory>

using namespace quarvel;
using namespace quarvel::test;

namespace {

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
