// The changed cells' outlines over the two views' pictures, checked against the cells' top
// faces as the projections pick them: an outlined pixel lies in the face of a cell that is
// outlined, every such cell gets a ring round its face's centre, and nothing else changes.
#include "graphics/editpicture.h"
#include "graphics/wholepicture.h"
#include "map/mapclass.h"
#include "tests/picturetestutil.h"
#include "tests/testutil.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <random>
#include <set>
#include <vector>

using namespace quarvel;
using namespace quarvel::test;

namespace {

// The outline colour gets an entry of its own that no chip, overlay or fill uses, so that an
// outlined pixel is exactly one that differs from the picture.
constexpr uint8_t OutlineIndex = 250;

void ReserveOutlineIndex(RandomSheets& s) {
    for (TBMP256& sheet : s.Sheets) {
        Palette pal = sheet.GetPalette();
        for (auto& e : pal)
            if (e.Red == 255 && e.Green == 0 && e.Blue == 255) e.Green = 1;
        pal[OutlineIndex] = {255, 0, 255, 0};
        sheet.SetPalette(pal);
        for (int y = 0; y < sheet.Height(); ++y)
            for (int x = 0; x < sheet.Width(); ++x)
                if (sheet.Row(y)[x] == OutlineIndex) sheet.Row(y)[x] = OutlineIndex + 1;
    }
}

// A random, sorted set of cells on levels low..high.
std::vector<int32_t> RandomCells(std::mt19937& rng, int low, int high, double share) {
    std::bernoulli_distribution pick(share);
    std::vector<int32_t> cells;
    for (int i = TMap::Index(0, 0, low); i < TMap::Index(0, 0, high + 1); ++i)
        if (pick(rng)) cells.push_back(i);
    return cells;
}

struct Cell {
    int X, Y, Z;
};
Cell CellOf(int32_t i) {
    return {i % TMap::SizeX, i / TMap::SizeX % TMap::SizeY, i / TMap::LevelSize};
}

// Whether the pixels of `shown` starting at picture pixel (left, top) ring the centre of the
// cell's face: walking left, right, up and down from the centre, an outlined pixel comes before
// the walk leaves the face. `inFace` tells whether a picture pixel belongs to the face.
template <class InFace>
bool RingsTheFace(const TBMP256& shown, int left, int top, Point corner, int zoom,
                  const InFace& inFace) {
    const int cx = corner.x + ChipWidth[zoom] / 2, cy = corner.y + ChipHeight[zoom] / 3;
    for (const Point step : {Point{-1, 0}, Point{1, 0}, Point{0, -1}, Point{0, 1}}) {
        bool hit = false;
        for (int x = cx, y = cy; inFace(x, y) && !hit; x += step.x, y += step.y)
            hit = x - left >= 0 && y - top >= 0 && x - left < shown.Width() &&
                  y - top < shown.Height() && shown.GetPixel(x - left, y - top) == OutlineIndex;
        if (!hit) return false;
    }
    return true;
}

} // namespace

TEST(OutlinesTest, EditViewOutlinesExactlyTheChangedCellsOfItsLevel) {
    std::mt19937 rng(20);
    for (int round = 0; round < (Sampled ? 2 : 6); ++round) {
        const int zoom = round % 2;
        RandomSheets sheets(rng);
        ReserveOutlineIndex(sheets);
        TMap map;
        RandomMap(map, rng, 0.5);
        TEditPicture pic;
        pic.Attach(&map, sheets.Sheets, sheets.Transparent);
        pic.SetZoom(zoom);
        pic.SetGhost(round >= 2);
        const int level = std::uniform_int_distribution<int>(0, TMap::SizeZ - 1)(rng);
        pic.RedrawLevel(level);
        for (int k = 0; k < 40; ++k) pic.MarkCell(int(rng() % 32), int(rng() % 32), true);
        const TBMP256 plain = pic.Picture;
        // Cells of the levels around too: only the level's own are outlined.
        const std::vector<int32_t> cells =
            RandomCells(rng, std::max(level - 1, 0), std::min(level + 1, TMap::SizeZ - 1), 0.3);
        const std::set<int32_t> changed(cells.begin(), cells.end());
        const PixelRect all{0, 0, plain.Width(), plain.Height()};

        TBMP256 shown;
        pic.ComposeShown(all, shown); // no outlines set: the picture as it is
        ASSERT_TRUE(SamePixels(shown, plain));
        pic.SetOutlined(&cells, level, level);
        pic.ComposeShown(all, shown);
        ASSERT_TRUE(SamePixels(pic.Picture, plain)) << "the outlines went into the picture";
        ASSERT_EQ(NearestIndex(shown.GetPalette(), OutlineColor), OutlineIndex);

        for (int y = 0; y < shown.Height(); ++y)
            for (int x = 0; x < shown.Width(); ++x) {
                if (shown.GetPixel(x, y) == plain.GetPixel(x, y)) continue;
                ASSERT_EQ(shown.GetPixel(x, y), OutlineIndex);
                const Point c = EditPixelToCell(x, y, zoom);
                ASSERT_TRUE(TMap::Inside(c.x, c.y, level) &&
                            changed.count(TMap::Index(c.x, c.y, level)))
                    << "pixel " << x << "," << y << " outlines cell " << c.x << "," << c.y;
            }
        const TBMP256& grid = pic.GridImages[zoom];
        for (int y = 0; y < TMap::SizeY; ++y)
            for (int x = 0; x < TMap::SizeX; ++x) {
                const Point corner = EditCellToPixel(x, y, zoom);
                const auto inFace = [&](int px, int py) {
                    return EditPixelToCell(px, py, zoom) == Point{x, y};
                };
                const bool isChanged = changed.count(TMap::Index(x, y, level)) > 0;
                ASSERT_EQ(RingsTheFace(shown, 0, 0, corner, zoom, inFace), isChanged)
                    << "round " << round << " cell " << x << "," << y;
                // The grid and selection lines on the face's edge stay seen.
                for (int v = 0; v < grid.Height(); ++v)
                    for (int u = 0; u < grid.Width(); ++u)
                        if (grid.GetPixel(u, v) != grid.GetPixel(0, 0)) {
                            ASSERT_NE(shown.GetPixel(corner.x + u, corner.y + v), OutlineIndex);
                        }
            }

        // The cursor box goes over the outlines, as over the picture.
        for (int k = 0; k < 20; ++k) {
            const int cx = int(rng() % 32), cy = int(rng() % 32);
            TBMP256 cursor, bare;
            const Point at = pic.ComposeCursor(cx, cy, cursor);
            const TBMP256& box = pic.CursorImages[zoom];
            for (int v = 0; v < cursor.Height(); ++v)
                for (int u = 0; u < cursor.Width(); ++u)
                    if (box.GetPixel(u, v) == box.GetPixel(0, 0)) {
                        ASSERT_EQ(cursor.GetPixel(u, v), shown.GetPixel(at.x + u, at.y + v));
                    }
        }
    }
}

TEST(OutlinesTest, WholeViewOutlinesTheChangedCellsOfTheLevelsItShows) {
    std::mt19937 rng(21);
    for (int round = 0; round < (Sampled ? 2 : 4); ++round) {
        const int zoom = round % 2;
        RandomSheets sheets(rng);
        ReserveOutlineIndex(sheets);
        TMap map;
        RandomMap(map, rng, 0.3);
        TWholePicture pic;
        pic.Attach(&map, sheets.Sheets, sheets.Transparent);
        pic.SetZoom(zoom);
        const int top = round < 2 ? TMap::SizeZ - 1 : 10 + int(rng() % 30);
        pic.SetTop(top);
        pic.RedrawAll();
        const TBMP256 plain = pic.Picture;
        const std::vector<int32_t> cells = RandomCells(rng, 0, TMap::SizeZ - 1, 0.02);
        pic.SetOutlined(&cells, 0, top);

        // Each cell's outline on its own, drawn over its chip's rectangle: it rings the cell's
        // face and stays in it.
        const int w = ChipWidth[zoom], h = ChipHeight[zoom];
        std::set<std::pair<int, int>> expected;
        for (const int32_t i : cells) {
            const Cell c = CellOf(i);
            if (c.Z > top) continue;
            const std::vector<int32_t> one{i};
            pic.SetOutlined(&one, 0, top);
            const Point corner = WholeCellToPixel(c.X, c.Y, c.Z, zoom);
            TBMP256 part;
            part.SetSize(w, h); // index 0: no outline pixel yet
            pic.DrawOutlines(part, corner.x, corner.y);
            const auto inFace = [&](int px, int py) {
                return WholePixelToCell(px, py, c.Z, zoom) == Point{c.X, c.Y};
            };
            ASSERT_TRUE(RingsTheFace(part, corner.x, corner.y, corner, zoom, inFace));
            for (int v = 0; v < h; ++v)
                for (int u = 0; u < w; ++u)
                    if (part.GetPixel(u, v) == OutlineIndex) {
                        ASSERT_TRUE(inFace(corner.x + u, corner.y + v));
                        expected.insert({corner.x + u, corner.y + v});
                    }
        }

        // All of them over a random part of the picture: the union of the single outlines
        // there, nothing of the levels cut away, nothing outside the part.
        pic.SetOutlined(&cells, 0, top);
        const int l = int(rng() % 1000) / (zoom + 1), t = int(rng() % 900) / (zoom + 1);
        const PixelRect part{l, t, l + 700 / (zoom + 1), t + 800 / (zoom + 1)};
        TBMP256 shown;
        shown.SetSize(plain.Width(), plain.Height());
        shown.Fill(7);
        pic.ComposeShown(part, shown);
        ASSERT_TRUE(SamePixels(pic.Picture, plain));
        for (int y = 0; y < shown.Height(); ++y)
            for (int x = 0; x < shown.Width(); ++x) {
                const bool inside =
                    x >= part.Left && x < part.Right && y >= part.Top && y < part.Bottom;
                const uint8_t want = !inside                  ? 7
                                     : expected.count({x, y}) ? OutlineIndex
                                                              : plain.GetPixel(x, y);
                ASSERT_EQ(shown.GetPixel(x, y), want) << "round " << round << " " << x << "," << y;
            }
    }
}
