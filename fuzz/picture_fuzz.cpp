// Fuzzes the pictures of both views: on a small map made of the input, the full redraw of
// either view must equal (for a quarter of the inputs, by the mode byte) a plain composition
// (the whole-map view: every cell's view chip, level by level, pixel by pixel; the edit view:
// the faint level below when the mode turns the ghost on, then the level's chips and grid); a
// rectangle redrawn alone and a picture redrawn band by band must equal the full redraw there, and
// must leave every other pixel alone; in the whole-map view each one-cell redraw after an edit must
// equal the full redraw of the edited map in the cell's rectangle.
//
// Input: view and zoom, background colour, level, up to 16 boxes of chips, two rectangles,
// band cuts, and (whole-map view) one edit.
#include "fuzz/fuzzutil.h"
#include "graphics/editpicture.h"
#include "graphics/wholepicture.h"
#include "tests/picturetestutil.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

using namespace quarvel;
using namespace quarvel::fuzz;

namespace {

constexpr uint8_t Marker = 77; // what the picture holds where a redraw must not write

// Made once: random sheets, the map, both views at both zooms, and the last full redraw of
// each, kept with what it was drawn from so that an input drawing the same is not redrawn.
struct State {
    std::mt19937 Rng{12345};
    test::RandomSheets Sheets{Rng};
    std::unique_ptr<TMap> Map = std::make_unique<TMap>();
    TEditPicture Edit[2];
    TWholePicture Whole[2];
    TBMP256 Full[2][2]; // [view][zoom]
    std::vector<uint8_t> FullCells[2][2];
    TColor FullBack[2][2] = {};
    int FullLevel[2] = {-1, -1};
    bool FullGhost[2] = {};
    TBMP256 Expect, Cells, Plain; // scratch pictures of the one-cell redraw and full checks

    State() {
        for (int z = 0; z < 2; ++z) {
            Edit[z].Attach(Map.get(), Sheets.Sheets, Sheets.Transparent);
            Edit[z].SetZoom(z);
            Whole[z].Attach(Map.get(), Sheets.Sheets, Sheets.Transparent);
            Whole[z].SetZoom(z);
        }
    }
};

State* S;

bool AllAre(const uint8_t* p, size_t n, uint8_t v) {
    return n == 0 || (p[0] == v && std::memcmp(p, p + 1, n - 1) == 0);
}

// Whether `pic` shows `full` inside the rectangle (clipped) and Marker elsewhere.
bool RectIsRedrawn(const TBMP256& pic, const TBMP256& full, int l, int t, int r, int b) {
    const PixelRect c = {std::max(l, 0), std::max(t, 0), std::min(r, pic.Width()),
                         std::min(b, pic.Height())};
    const size_t w = size_t(pic.Width());
    for (int y = 0; y < pic.Height(); ++y) {
        const uint8_t* row = pic.Row(y);
        if (c.Empty() || y < c.Top || y >= c.Bottom) {
            if (!AllAre(row, w, Marker)) return false;
            continue;
        }
        if (!AllAre(row, size_t(c.Left), Marker) ||
            std::memcmp(row + c.Left, full.Row(y) + c.Left, size_t(c.Right - c.Left)) != 0 ||
            !AllAre(row + c.Right, w - size_t(c.Right), Marker))
            return false;
    }
    return true;
}

// Writes boxes of one chip: up to 4 x 4 cells and 4 levels each (one level deep, on the edit
// view's level or the one below it, when `level` >= 0).
void MakeMap(Input& in, int level) {
    std::memset(S->Map->Cells, 0, TMap::CellCount);
    const int boxes = in.Byte() % 17;
    for (int i = 0; i < boxes; ++i) {
        const int x = in.Byte() % 32, y = in.Byte() % 32, z = in.Byte() % 48;
        const uint8_t chip = in.Byte(), size = in.Byte();
        const int w = 1 + (size & 3), h = 1 + (size >> 2 & 3),
                  d = level >= 0 ? 1 : 1 + (size >> 4 & 3);
        for (int k = 0; k < d; ++k)
            for (int j = 0; j < h; ++j)
                for (int i2 = 0; i2 < w; ++i2) {
                    const int zz = level >= 0 ? level - (size >> 4 & 1) : z + k;
                    if (TMap::Inside(x + i2, y + j, zz))
                        S->Map->Cells[TMap::Index(x + i2, y + j, zz)] = chip;
                }
    }
}

// Rectangles of up to 300 x 200 pixels (keeping the work of an input small), mostly inside
// the picture, sometimes reaching past it or turned inside out (empty).
void ReadRect(Input& in, int w, int h, int (&rc)[4]) {
    rc[0] = in.Int(-40, w + 40);
    rc[1] = in.Int(-40, h + 40);
    rc[2] = rc[0] + in.Int(-8, 300);
    rc[3] = rc[1] + in.Int(-8, 200);
}

template <class View, class Rect>
void CheckRectsAndBands(Input& in, View& view, const TBMP256& full, Rect rect) {
    TBMP256& pic = view.Picture;
    const int w = pic.Width(), h = pic.Height();
    for (int k = 0; k < 2; ++k) {
        int rc[4];
        ReadRect(in, w, h, rc);
        pic.Fill(Marker);
        rect(rc[0], rc[1], rc[2], rc[3]);
        Check(RectIsRedrawn(pic, full, rc[0], rc[1], rc[2], rc[3]),
              "a rectangle differs from the full redraw, or a pixel outside it changed");
    }
    // Full-width bands at the input's cuts, one below the other, make up a strip of up to 240
    // rows that equals the full redraw there.
    const int top = in.Int(0, h), bottom = std::min(h, top + in.Byte() % 241);
    std::vector<int> cuts = {top, bottom};
    for (int n = in.Byte() % 4; n > 0; --n) cuts.push_back(in.Int(top, bottom));
    std::sort(cuts.begin(), cuts.end());
    pic.Fill(Marker);
    for (size_t i = 0; i + 1 < cuts.size(); ++i) rect(0, cuts[i], w, cuts[i + 1]);
    Check(RectIsRedrawn(pic, full, 0, top, w, bottom), "bands differ from the full redraw");
}

// Redraws fully unless the last full redraw of this view and zoom drew the same.
template <class Redraw>
const TBMP256& FullRedraw(int view, int zoom, TColor back, int level, TBMP256& pic, Redraw redraw) {
    std::vector<uint8_t>& cells = S->FullCells[view][zoom];
    const bool same = S->FullBack[view][zoom] == back && cells.size() == size_t(TMap::CellCount) &&
                      std::memcmp(cells.data(), S->Map->Cells, TMap::CellCount) == 0 &&
                      (view == 1 || (S->FullLevel[zoom] == level &&
                                     S->FullGhost[zoom] == S->Edit[zoom].GetGhost()));
    if (!same) {
        redraw();
        S->Full[view][zoom] = pic;
        cells.assign(S->Map->Cells, S->Map->Cells + TMap::CellCount);
        S->FullBack[view][zoom] = back;
        if (view == 0) S->FullLevel[zoom] = level, S->FullGhost[zoom] = S->Edit[zoom].GetGhost();
    }
    return S->Full[view][zoom];
}

// The level picture composed plainly: the fill, with the ghost every chip of the level below
// with each drawn pixel made faint (the index nearest to the mean of its colour and the fill's,
// the lowest on a tie, never the transparent one), then cell by cell (rows, then columns) the
// level's chip and the grid diamond.
void CheckPlainEdit(const TBMP256& full, int zoom, TColor back, int level, bool ghost) {
    TBMP256& plain = S->Plain;
    plain.SetSize(full.Width(), full.Height());
    const Palette& pal = S->Sheets.Sheets[zoom].GetPalette();
    const uint8_t fill = NearestIndex(pal, back);
    plain.Fill(fill);
    const int key = S->Sheets.Transparent[zoom], w = ChipWidth[zoom], h = ChipHeight[zoom];
    if (ghost && level > 0) {
        uint8_t faint[256];
        for (int i = 0; i < 256; ++i) {
            long best = -1;
            for (int j = 0; j < 256; ++j) {
                if (j == key) continue;
                const int r = (pal[i].Red + pal[fill].Red) / 2 - pal[j].Red,
                          g = (pal[i].Green + pal[fill].Green) / 2 - pal[j].Green,
                          b = (pal[i].Blue + pal[fill].Blue) / 2 - pal[j].Blue;
                const long dist = long(r) * r + long(g) * g + long(b) * b;
                if (best < 0 || dist < best) best = dist, faint[i] = uint8_t(j);
            }
        }
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x) {
                const int chip = S->Map->GetChip(x, y, level - 1);
                if (chip == 0 || chip > 167) continue;
                const Point p = EditCellToPixel(x, y, zoom);
                for (int v = 0; v < h; ++v)
                    for (int u = 0; u < w; ++u) {
                        const int c = S->Sheets.Sheets[zoom].GetPixel(u, chip * h + v);
                        if (c != key && unsigned(p.x + u) < unsigned(plain.Width()) &&
                            unsigned(p.y + v) < unsigned(plain.Height()))
                            plain.SetPixel(p.x + u, p.y + v, faint[c]);
                    }
            }
    }
    const TBMP256& grid = S->Edit[zoom].GridImages[zoom];
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const Point p = EditCellToPixel(x, y, zoom);
            test::PlainChip(plain, p.x, p.y, S->Sheets, zoom, S->Map->GetChip(x, y, level));
            test::PlainBlit(plain, p.x, p.y, grid, grid.GetPixel(0, 0), 0, 0, 0, 0);
        }
    Check(test::SamePixels(full, plain),
          "the level's full redraw differs from the plain composition");
}

void FuzzEdit(Input& in, int zoom, TColor back, bool ghost, bool plainCheck) {
    TEditPicture& v = S->Edit[zoom];
    v.BackColor = back;
    v.SetGhost(ghost);
    const int level = in.Byte() % 48;
    MakeMap(in, level);
    bool redrawn = false;
    const TBMP256& full = FullRedraw(0, zoom, back, level, v.Picture, [&] {
        v.RedrawLevel(level);
        redrawn = true;
    });
    if (redrawn && plainCheck) CheckPlainEdit(full, zoom, back, level, ghost);
    CheckRectsAndBands(in, v, full,
                       [&](int l, int t, int r, int b) { v.RedrawRect(level, l, t, r, b); });
}

// The whole-map picture composed plainly: the background, then every cell's view chip, level 0
// first, rows, then columns, each pixel but the sheet's transparent ones.
void CheckPlainComposition(const TBMP256& full, int zoom, TColor back) {
    TBMP256& plain = S->Plain;
    plain.SetSize(2048 / (zoom + 1), 1792 / (zoom + 1));
    plain.Fill(NearestIndex(S->Sheets.Sheets[zoom].GetPalette(), back));
    for (int z = 0; z < 48; ++z)
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x) {
                const Point p = WholeCellToPixel(x, y, z, zoom);
                test::PlainChip(plain, p.x, p.y, S->Sheets, zoom, S->Map->GetViewChip(x, y, z));
            }
    Check(full.Width() == plain.Width() && full.Height() == plain.Height() &&
              test::SamePixels(full, plain),
          "the full redraw differs from the plain composition");
}

void FuzzWhole(Input& in, int zoom, TColor back, bool plainCheck) {
    TWholePicture& v = S->Whole[zoom];
    v.BackColor = back;
    MakeMap(in, -1);
    bool redrawn = false;
    const TBMP256& full = FullRedraw(1, zoom, back, 0, v.Picture, [&] {
        v.RedrawAll();
        redrawn = true;
    });
    if (redrawn && plainCheck) CheckPlainComposition(full, zoom, back);
    CheckRectsAndBands(in, v, full, [&](int l, int t, int r, int b) { v.RedrawRect(l, t, r, b); });

    // One edit, then the one-cell redraws of the cell and the levels around it; each
    // rectangle must show what a full redraw of the edited map shows, and every pixel outside
    // them must stay as it was.
    const int x = in.Byte() % 32, y = in.Byte() % 32, z = in.Byte() % 48;
    const uint8_t chip = in.Byte();
    if (!in.Flag() || S->Map->Cells[TMap::Index(x, y, z)] == chip) return;
    TBMP256& expect = S->Expect;
    expect = full;
    v.Picture = full;
    S->Map->Cells[TMap::Index(x, y, z)] = chip;
    for (int k = -4; k <= 4; ++k) v.RedrawCell(x, y, z + k);
    TBMP256& cells = S->Cells;
    cells = v.Picture;
    v.RedrawAll();
    const int cw = ChipWidth[zoom], ch = ChipHeight[zoom];
    for (int k = -4; k <= 4; ++k) {
        if (z + k < 0 || z + k > 47) continue;
        const Point o = WholeCellToPixel(x, y, z + k, zoom);
        const PixelRect r = {std::max(o.x, 0), std::max(o.y, 0), std::min(o.x + cw, expect.Width()),
                             std::min(o.y + ch, expect.Height())};
        for (int row = r.Top; row < r.Bottom; ++row)
            std::memcpy(expect.Row(row) + r.Left, v.Picture.Row(row) + r.Left,
                        size_t(r.Right - r.Left));
    }
    Check(test::SamePixels(cells, expect),
          "a one-cell redraw differs from the full redraw, or changed a pixel outside its cell");
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    static State state;
    S = &state;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Input in(data, size);
    const uint8_t mode = in.Byte();
    const int zoom = mode & 1;
    const TColor back = RGBColor(in.Byte(), in.Byte(), in.Byte());
    if (mode & 2)
        FuzzWhole(in, zoom, back, (mode & 12) == 12); // the plain composition is slow
    else
        FuzzEdit(in, zoom, back, mode & 16, (mode & 12) == 12);
    return 0;
}
