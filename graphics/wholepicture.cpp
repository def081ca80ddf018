// The whole-map view's picture: projection of all 48 levels, full and one-cell redraws,
// and picking the topmost non-empty cell under a pixel.
#include "graphics/wholepicture.h"

#include "graphics/chipsheet.h"
#include "graphics/projection.h"
#include "map/mapclass.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace quarvel {

Point WholeCellToPixel(int x, int y, int z, int zoom) {
    CheckZoom(zoom);
    const long long d = zoom + 1;
    return {int((((long long)x - y) * CellStepX + OriginX) / d),
            int((((long long)x + y) * CellStepY + (TopLevel - (long long)z) * LevelStepY) / d)};
}

Point WholePixelToCell(int px, int py, int z, int zoom) {
    CheckZoom(zoom);
    const long long X = (long long)px * (zoom + 1) - TopCornerX;
    const long long Y = (long long)py * (zoom + 1) - (TopLevel - (long long)z) * LevelStepY;
    return {int((2 * Y + X + ChipW) / ChipW - 1), int((2 * Y - X + ChipW) / ChipW - 1)};
}

std::vector<Segment> WholeBoxOutline(int left, int top, int right, int bottom, int low, int high,
                                     int zoom) {
    CheckZoom(zoom);
    const int d = zoom + 1;
    // Corners of the top faces of level `high` (zoom 0): the top one is the top corner of
    // cell (left, top), then clockwise the right corner of (right, top), the bottom corner of
    // (right, bottom) and the left corner of (left, bottom).
    const Point t = WholeCellToPixel(left, top, high, 0), r = WholeCellToPixel(right, top, high, 0),
                b = WholeCellToPixel(right, bottom, high, 0),
                l = WholeCellToPixel(left, bottom, high, 0);
    const Point upper[4] = {{t.x + CellStepX, t.y},
                            {r.x + ChipW, r.y + CellStepY},
                            {b.x + CellStepX, b.y + FaceH},
                            {l.x, l.y + CellStepY}};
    // The foot of a chip's side lies SideH below its top face; each level lower is a level
    // step more.
    const int drop = SideH + (high - low) * LevelStepY;
    std::vector<Segment> edges;
    const auto scaled = [d](Point p) { return Point{p.x / d, p.y / d}; };
    for (int i = 0; i < 4; ++i) {
        const Point a = upper[i], n = upper[(i + 1) % 4];
        edges.push_back({scaled(a), scaled(n)});
        edges.push_back({scaled({a.x, a.y + drop}), scaled({n.x, n.y + drop})});
        edges.push_back({scaled(a), scaled({a.x, a.y + drop})});
    }
    return edges;
}

namespace {

// What one redraw draws from: the current sheet, its transparent index and the chip size.
// Chips without a picture in the sheet (bytes above 167 in a map file) are not drawn.
struct ChipSource {
    const TBMP256* Sheet = nullptr;
    int Transparent = -1;
    int W = 0, H = 0, Chips = 0;

    ChipSource(const TBMP256* sheets, const uint8_t* transparent, int zoom) {
        W = ChipWidth[zoom];
        H = ChipHeight[zoom];
        if (!sheets || sheets[zoom].Width() < W) return;
        Sheet = &sheets[zoom];
        Transparent = transparent ? transparent[zoom] : -1;
        Chips = Sheet->Height() / H;
    }
};

// Floor division for the small, possibly negative level differences below.
int FloorDiv(int a, int b) {
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}

// One chip to be drawn into the cell's rectangle, at (DX, DY) relative to it.
struct Layer {
    int DX, DY;
    uint8_t Chip;
};
// At most four rows of three cells on each of the 48 levels overlap one rectangle.
constexpr int MaxLayers = TMap::SizeZ * 12;

constexpr uint64_t Ones = 0x0101010101010101ull;
constexpr uint64_t Low7 = 0x7F7F7F7F7F7F7F7Full;
constexpr uint64_t High = 0x8080808080808080ull;

// The high bit of each byte of v that is not zero.
uint64_t NonZeroBytes(uint64_t v) {
    return (((v & Low7) + Low7) | v) & High;
}
// How many bytes of v (only high bits set) are marked.
int CountMarked(uint64_t v) {
    return int(((v >> 7) * Ones) >> 56);
}

// Copies the len source pixels s to d where the coverage bytes m are still 0 and the source
// pixel is not the transparent key (unless opaque), marking them 0xFF. Returns how many it
// copied.
int DrawUncovered(uint8_t* d, uint8_t* m, const uint8_t* s, int len, bool opaque, uint8_t key) {
    const uint64_t keys = Ones * key;
    int drawn = 0, k = 0;
    for (; k + 8 <= len; k += 8) {
        uint64_t sv, mv;
        std::memcpy(&mv, m + k, 8);
        if (mv == ~uint64_t(0)) continue;
        std::memcpy(&sv, s + k, 8);
        const uint64_t draw = (opaque ? High : NonZeroBytes(sv ^ keys)) & ~mv & High;
        if (draw == 0) continue;
        const uint64_t mask = (draw >> 7) * 0xFF;
        uint64_t dv;
        std::memcpy(&dv, d + k, 8);
        dv = (sv & mask) | (dv & ~mask);
        mv |= mask;
        std::memcpy(d + k, &dv, 8);
        std::memcpy(m + k, &mv, 8);
        drawn += CountMarked(draw);
    }
    for (; k < len; ++k)
        if (!m[k] && (opaque || s[k] != key)) {
            d[k] = s[k];
            m[k] = 0xFF;
            ++drawn;
        }
    return drawn;
}

// Draws the layers so that each pixel shows the last layer (in list order) whose pixel
// there is not transparent, as drawing them one over the other in list order would. The
// layers are taken from the last one back, each pixel is written once, and the walk stops
// as soon as every pixel is covered: in a busy map only the few topmost chips are read.
void ComposeFrontToBack(TBMP256& dest, const ChipSource& src, const Layer* layers, int n) {
    const int cw = dest.Width(), ch = dest.Height();
    std::vector<uint8_t> covered(size_t(cw) * size_t(ch), 0); // 0xFF once written
    long remaining = long(cw) * ch;
    const bool opaque = src.Transparent < 0;
    const uint8_t key = uint8_t(src.Transparent);
    for (int i = n - 1; i >= 0 && remaining > 0; --i) {
        const Layer& l = layers[i];
        const int c0 = std::max(0, l.DX), c1 = std::min(cw, l.DX + src.W);
        const int r0 = std::max(0, l.DY), r1 = std::min(ch, l.DY + src.H);
        if (c0 >= c1 || r0 >= r1) continue;
        for (int r = r0; r < r1; ++r)
            remaining -= DrawUncovered(
                dest.Row(r) + c0, covered.data() + size_t(r) * size_t(cw) + size_t(c0),
                src.Sheet->Row(l.Chip * src.H + r - l.DY) + (c0 - l.DX), c1 - c0, opaque, key);
    }
}

// The view chip of every cell of `map` up to level `top` (0 above), indexed as the map's
// cells.
void FillViewChips(const TMap& map, int top, std::vector<uint8_t>& view) {
    view.assign(TMap::CellCount, 0);
    // A cell's view chip comes from the cell and the level above it: where both levels are
    // empty there is nothing to draw.
    const auto empty = [&](int z) {
        if (z >= TMap::SizeZ) return true;
        const uint8_t* level = map.Cells + TMap::Index(0, 0, z);
        return std::all_of(level, level + TMap::SizeX * TMap::SizeY,
                           [](uint8_t c) { return c == 0; });
    };
    for (int z = 0; z <= top; ++z) {
        if (empty(z) && empty(z + 1)) continue;
        for (int y = 0; y < TMap::SizeY; ++y)
            for (int x = 0; x < TMap::SizeX; ++x)
                view[size_t(TMap::Index(x, y, z))] = map.GetViewChip(x, y, z);
    }
}

// Which pixels of each tile-sized block of the sheet's chips are not transparent: block
// (j, i) of chip c (rows j·th.., columns i·tw..) has row v in Rows[Of(c, j, i) + v], bit u
// for column u.
struct BlockMasks {
    int TH;
    std::vector<uint32_t> Rows;
    explicit BlockMasks(const ChipSource& src)
        : TH(src.H / 3), Rows(size_t(src.Chips) * 6 * size_t(src.H / 3)) {
        const int tw = src.W / 2; // 32 or 16: whole words of 8 pixels
        static_assert(ChipW / 2 <= 32 && ChipW / 4 % 8 == 0, "a block's row is 32 bits in words");
        const uint64_t keys = Ones * uint8_t(src.Transparent);
        for (int c = 0; c < src.Chips; ++c)
            for (int j = 0; j < 3; ++j)
                for (int v = 0; v < TH; ++v) {
                    const uint8_t* row = src.Sheet->Row(c * src.H + j * TH + v);
                    for (int i = 0; i < 2; ++i) {
                        uint32_t bits = 0;
                        for (int u = 0; u < tw; u += 8) {
                            uint64_t w;
                            std::memcpy(&w, row + i * tw + u, 8);
                            // The high bit of each byte that differs from the key, gathered.
                            const uint64_t drawn =
                                src.Transparent < 0 ? High : NonZeroBytes(w ^ keys);
                            bits |= uint32_t(((drawn >> 7) * 0x0102040810204080ull) >> 56) << u;
                        }
                        Rows[Of(c, j, i) + size_t(v)] = bits;
                    }
                }
    }
    size_t Of(int chip, int j, int i) const {
        return (size_t(chip) * 6 + size_t(j) * 2 + size_t(i)) * size_t(TH);
    }
};

// The tile grid: a chip's top-left corner lies on a corner of the grid of tiles half a chip
// wide and a third of a chip high, chip (x, y, z) at tile (x - y + OriginTiles,
// x + y + TopLevel - z), and covers 2 x 3 tiles. Over one tile (A, B), level z puts the
// blocks (j, i) of three cells, i = (A + B + z + j) mod 2, in RedrawAll's order by j from 2
// down to 0; the cell's x - y and x + y are then even apart, which needs this:
static_assert((OriginTiles + TopLevel) % 2 == 0, "tile corners of cells must match up");

// Composes the whole picture as RedrawAll draws it: the background `back` with the chips of
// `view` (the view chip of each cell, indexed as the map's cells) drawn one over the other,
// level by level up to `top`, rows and columns in order. Each tile is composed on its own:
// its blocks are taken from the last one drawn back until their pixels cover the whole
// tile, a block none of whose pixels shows (all covered by blocks drawn later) is left
// out, and the rest are drawn in order. In a busy map that is a few blocks a tile instead
// of all of them.
void ComposeTiles(TBMP256& dest, const PixelRect& r, const uint8_t* view, int top,
                  const ChipSource& src, uint8_t back) {
    const BlockMasks masks(src);
    // Levels without any chip to draw are passed over.
    bool any[TMap::SizeZ] = {};
    for (int z = 0; z <= top; ++z) {
        const uint8_t* level = view + TMap::Index(0, 0, z);
        any[z] = std::any_of(level, level + TMap::SizeX * TMap::SizeY,
                             [&](uint8_t c) { return c != 0 && c < src.Chips; });
    }
    const int tw = src.W / 2, th = src.H / 3;
    const uint32_t fullRow = tw >= 32 ? ~uint32_t(0) : (uint32_t(1) << tw) - 1;
    // The tiles that reach into r.
    const int a0 = r.Left / tw, a1 = (r.Right - 1) / tw, b0 = r.Top / th, b1 = (r.Bottom - 1) / th;
    struct Block {
        int Chip, J, I;
    };
    Block blocks[TMap::SizeZ * 3];
    for (int b = b0; b <= b1; ++b)
        for (int a = a0; a <= a1; ++a) {
            uint32_t shown[ChipH / 3] = {}; // pixels of the tile drawn by the blocks taken
            int n = 0;
            bool covered = false;
            // Only levels whose cells can reach the tile: x - y lies within +-(SizeX - 1) and
            // x + y within |x - y| .. SizeX + SizeY - 2 - |x - y|.
            const int dmin = std::min(std::abs(a - OriginTiles), std::abs(a - OriginTiles - 1));
            const int zLow = std::max(0, dmin - b + TopLevel);
            const int zHigh =
                std::min(top, TMap::SizeX + TMap::SizeY - 2 - dmin - b + TopLevel + 2);
            for (int z = zHigh; z >= zLow && !covered; --z) {
                if (!any[z]) continue;
                for (int j = 0; j < 3; ++j) {
                    const int i = (a + b + z + j) & 1;
                    const int d = a - OriginTiles - i, s = b - TopLevel + z - j; // x - y, x + y
                    const int x = (s + d) / 2, y = (s - d) / 2;
                    if (!TMap::Inside(x, y, z)) continue;
                    const uint8_t c = view[TMap::Index(x, y, z)];
                    if (c == 0 || c >= src.Chips) continue;
                    const uint32_t* m = &masks.Rows[masks.Of(c, j, i)];
                    uint32_t adds = 0, all = fullRow;
                    for (int v = 0; v < th; ++v) {
                        adds |= m[v] & ~shown[v];
                        shown[v] |= m[v];
                        all &= shown[v];
                    }
                    if (adds) blocks[n++] = {c, j, i};
                    if (all == fullRow) {
                        covered = true;
                        break;
                    }
                }
            }
            // The tile's part inside r: columns u0..u1-1 and rows v0..v1-1, at (du, dv) in it.
            const int u0 = std::max(a * tw, r.Left), u1 = std::min((a + 1) * tw, r.Right);
            const int v0 = std::max(b * th, r.Top), v1 = std::min((b + 1) * th, r.Bottom);
            const int du = u0 - a * tw, dv = v0 - b * th;
            if (!covered) // the background shows somewhere
                for (int v = v0; v < v1; ++v) std::memset(dest.Row(v) + u0, back, size_t(u1 - u0));
            for (int k = n - 1; k >= 0; --k) {
                const Block& l = blocks[k];
                dest.Blit(u0, v0, *src.Sheet, src.Transparent, l.I * tw + du,
                          l.Chip * src.H + l.J * th + dv, u1 - u0, v1 - v0);
            }
        }
}

} // namespace

void TWholePicture::RedrawAll() {
    const int zoom = GetZoom();
    const ChipSource src(Sheets, Transparent, zoom);
    if (!Map || !src.Sheet || Picture.Width() == 0) {
        Picture.FillColor(BackColor);
        return;
    }
    FillViewChips(Source(CutMap), Top, ViewChips);
    ComposeTiles(Picture, {0, 0, Picture.Width(), Picture.Height()}, ViewChips.data(), Top, src,
                 BackIndex());
}

void TWholePicture::RedrawRect(int left, int top, int right, int bottom) {
    const int zoom = GetZoom();
    const PixelRect r = ClipToPicture(Picture, left, top, right, bottom);
    if (r.Empty()) return;
    const uint8_t back = BackIndex();
    const ChipSource src(Sheets, Transparent, zoom);
    if (Map && src.Sheet) {
        // This call's own copies: calls may run side by side.
        std::unique_ptr<TMap> cut;
        std::vector<uint8_t> view;
        FillViewChips(Source(cut), Top, view);
        ComposeTiles(Picture, r, view.data(), Top, src, back);
        return;
    }
    for (int y = r.Top; y < r.Bottom; ++y)
        std::memset(Picture.Row(y) + r.Left, back, size_t(r.Right - r.Left));
}

void TWholePicture::RedrawCell(int x, int y, int z) {
    if (z < 0 || z >= TMap::SizeZ) return;
    const int zoom = GetZoom();
    CellPicture.FillColor(BackColor);
    const Point o = WholeCellToPixel(x, y, z, zoom);
    const ChipSource src(Sheets, Transparent, zoom);
    if (Map && src.Sheet) {
        const TMap& map = Source(CutMap);
        // Cell (x + a, y + b, z + dz) lies 32(a - b) right of and 16(a + b - dz) below the
        // cell (halved at the small zoom), so its chip overlaps this cell's rectangle exactly
        // when |a - b| <= 1 and |a + b - dz| <= 2. Those cells are listed in the order of
        // RedrawAll, so the chips cover one another as they do there.
        Layer layers[MaxLayers];
        int n = 0;
        for (int zz = 0; zz <= Top; ++zz) {
            const int dz = zz - z;
            const int bLow = -FloorDiv(3 - dz, 2), bHigh = FloorDiv(dz + 3, 2);
            for (int b = bLow; b <= bHigh; ++b) {
                const int yy = y + b;
                if (yy < 0 || yy >= TMap::SizeY) continue;
                const int aLow = std::max(b - 1, dz - b - 2), aHigh = std::min(b + 1, dz - b + 2);
                for (int a = aLow; a <= aHigh; ++a) {
                    const int xx = x + a;
                    if (xx < 0 || xx >= TMap::SizeX) continue;
                    const uint8_t c = map.GetViewChip(xx, yy, zz);
                    if (c == 0 || c >= src.Chips) continue;
                    const Point p = WholeCellToPixel(xx, yy, zz, zoom);
                    layers[n++] = {p.x - o.x, p.y - o.y, c};
                }
            }
        }
        ComposeFrontToBack(CellPicture, src, layers, n);
    }
    if (CellPicture.Width() > 0 && CellPicture.Height() > 0)
        Picture.Blit(o.x, o.y, CellPicture, -1, 0, 0, 0, 0);
}

bool PickCell(const TMap& map, int px, int py, int zoom, int top, int& x, int& y, int& z) {
    CheckZoom(zoom);
    for (int level = std::min(top, TMap::SizeZ - 1); level >= 0; --level) {
        const Point c = WholePixelToCell(px, py, level, zoom);
        if (map.GetChip(c.x, c.y, level) != 0) {
            x = c.x;
            y = c.y;
            z = level;
            return true;
        }
    }
    return false;
}

bool TWholePicture::Pick(int px, int py, int& x, int& y, int& z) const {
    return Map && PickCell(*Map, px, py, GetZoom(), Top, x, y, z);
}

void TWholePicture::SetTop(int top) {
    if (top < 0 || top >= TMap::SizeZ)
        throw std::out_of_range("top level out of range: " + std::to_string(top));
    Top = top;
}

const TMap& TWholePicture::Source(std::unique_ptr<TMap>& holder) const {
    if (Top >= TMap::SizeZ - 1) return *Map;
    if (!holder) holder = std::make_unique<TMap>();
    const size_t kept = size_t(TMap::Index(0, 0, Top + 1));
    std::memcpy(holder->Cells, Map->Cells, kept);
    std::memset(holder->Cells + kept, 0, sizeof holder->Cells - kept);
    return *holder;
}

} // namespace quarvel
