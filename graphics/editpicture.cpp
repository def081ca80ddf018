// The edit view's picture: projection, level and cell redraws, grid and selection marks,
// and the cursor box.
#include "graphics/editpicture.h"

#include "graphics/chipsheet.h"
#include "graphics/overlays.h"
#include "graphics/projection.h"
#include "map/mapclass.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <string>

namespace quarvel {

// dest.Blit(DX, DY, Src, Transparent, SrcX, SrcY, W, H) restricted to `clip` (which lies
// inside dest): writes exactly the pixels inside `clip` that the full Blit writes, no others.
static void BlitWithin(TBMP256& dest, const PixelRect& clip, int DX, int DY, const TBMP256& Src,
                       int Transparent, int SrcX, int SrcY, int W, int H) {
    if (W == 0) W = Src.Width();
    if (H == 0) H = Src.Height();
    // Pixel (DX + i, DY + j) comes from (SrcX + i, SrcY + j): keep the i and j whose pixel
    // lies inside the clip and copy just that part of the source rectangle.
    const long long x0 = std::max<long long>(DX, clip.Left);
    const long long y0 = std::max<long long>(DY, clip.Top);
    const long long x1 = std::min<long long>((long long)DX + W, clip.Right);
    const long long y1 = std::min<long long>((long long)DY + H, clip.Bottom);
    if (x0 >= x1 || y0 >= y1) return;
    dest.Blit(int(x0), int(y0), Src, Transparent, int(SrcX + (x0 - DX)), int(SrcY + (y0 - DY)),
              int(x1 - x0), int(y1 - y0));
}

// BlitWithin with each copied index i written as map[i].
static void BlitWithinMapped(TBMP256& dest, const PixelRect& clip, int DX, int DY,
                             const TBMP256& Src, int Transparent, int SrcX, int SrcY, int W, int H,
                             const IndexMap& map) {
    const long long x0 = std::max<long long>(DX, clip.Left);
    const long long y0 = std::max<long long>(DY, clip.Top);
    const long long x1 = std::min<long long>((long long)DX + W, clip.Right);
    const long long y1 = std::min<long long>((long long)DY + H, clip.Bottom);
    if (x0 >= x1 || y0 >= y1) return;
    const long long sx = SrcX + (x0 - DX), sy = SrcY + (y0 - DY);
    if (sx < 0 || sy < 0 || sx + (x1 - x0) > Src.Width() || sy + (y1 - y0) > Src.Height())
        throw std::out_of_range("Blit reads outside the source picture");
    const size_t n = size_t(x1 - x0);
    for (long long y = y0; y < y1; ++y) {
        uint8_t* d = dest.Row(int(y)) + x0;
        const uint8_t* s = Src.Row(int(sy + (y - y0))) + sx;
        for (size_t k = 0; k < n; ++k)
            if (s[k] != Transparent) d[k] = map[s[k]];
    }
}

IndexMap DimIndices(const Palette& palette, const PaletteEntry& back, int transparent) {
    IndexMap dim{};
    for (int i = 0; i < 256; ++i) {
        const PaletteEntry& c = palette[size_t(i)];
        const int r = (c.Red + back.Red) / 2, g = (c.Green + back.Green) / 2,
                  b = (c.Blue + back.Blue) / 2;
        int best = -1;
        long bestDistance = 0;
        for (int j = 0; j < 256; ++j) {
            if (j == transparent) continue;
            const PaletteEntry& e = palette[size_t(j)];
            const long d = long(e.Red - r) * (e.Red - r) + long(e.Green - g) * (e.Green - g) +
                           long(e.Blue - b) * (e.Blue - b);
            if (best < 0 || d < bestDistance) {
                best = j;
                bestDistance = d;
            }
        }
        dim[size_t(i)] = uint8_t(best);
    }
    return dim;
}

Point EditCellToPixel(int x, int y, int zoom) {
    CheckZoom(zoom);
    const long long d = zoom + 1;
    return {int((((long long)x - y) * CellStepX + OriginX) / d),
            int((((long long)x + y) * CellStepY) / d)};
}

Point EditPixelToCell(int px, int py, int zoom) {
    CheckZoom(zoom);
    const long long X = (long long)px * (zoom + 1) - TopCornerX;
    const long long Y = 2 * (long long)py * (zoom + 1);
    return {int((Y + X + ChipW) / ChipW - 1), int((Y - X + ChipW) / ChipW - 1)};
}

TEditPicture::TEditPicture() : TViewPicture(EditViewHeight, 0x808080) {
    static const char* const suffixes[2] = {"", "_s"};
    for (int s = 0; s < 2; ++s) {
        LoadOverlay(std::string("cur") + suffixes[s], CursorImages[s]);
        LoadOverlay(std::string("grid") + suffixes[s], GridImages[s]);
        LoadOverlay(std::string("selected") + suffixes[s], SelectedImages[s]);
    }
}

void TEditPicture::ZoomChanged(const Palette& pal) {
    DimmedValid = false;
    const int z = GetZoom();
    GridImages[z].SetPalette(pal);
    CursorImages[z].SetPalette(pal);
    SelectedImages[z].SetPalette(pal);
}

// Copies chip `chip` of the current sheet to (px, py) of `dest`. Chips without a picture in
// the sheet (bytes above 167 in a map file, or no sheet yet) are not drawn.
static void DrawChip(TBMP256& dest, int px, int py, const TBMP256* sheets,
                     const uint8_t* transparent, int zoom, uint8_t chip) {
    if (chip == 0 || !sheets) return;
    const TBMP256& sheet = sheets[zoom];
    const int w = ChipWidth[zoom], h = ChipHeight[zoom];
    if (sheet.Width() < w || (chip + 1) * h > sheet.Height()) return;
    dest.Blit(px, py, sheet, transparent ? transparent[zoom] : -1, 0, chip * h, w, h);
}

// Draws an overlay image with its own pixel (0, 0) as the transparent index.
static void DrawOverlay(TBMP256& dest, int px, int py, const TBMP256& image) {
    if (image.Width() == 0 || image.Height() == 0) return;
    dest.Blit(px, py, image, image.GetPixel(0, 0), 0, 0, 0, 0);
}

IndexMap TEditPicture::CurrentDim() const {
    const int zoom = GetZoom();
    const Palette& pal = Picture.GetPalette();
    return DimIndices(pal, pal[BackIndex()], Transparent ? Transparent[zoom] : -1);
}

const TBMP256* TEditPicture::DimmedSheet() {
    const int zoom = GetZoom();
    const int w = ChipWidth[zoom];
    if (!Sheets || Sheets[zoom].Width() < w) return nullptr;
    const TBMP256& sheet = Sheets[zoom];
    const Palette& pal = Picture.GetPalette();
    const PaletteEntry back = pal[BackIndex()];
    const int key = Transparent ? Transparent[zoom] : -1;
    if (DimmedValid && DimmedFrom == &sheet && DimmedKey == key && DimmedBack == back &&
        DimmedPalette == pal)
        return &Dimmed;
    const IndexMap dim = DimIndices(pal, back, key);
    Dimmed.SetSize(sheet.Width(), sheet.Height());
    const size_t n = size_t(sheet.Width()) * size_t(sheet.Height());
    const uint8_t* s = sheet.Bits();
    uint8_t* d = Dimmed.Bits();
    // A transparent pixel stays transparent: no faint index is the transparent one.
    for (size_t k = 0; k < n; ++k) d[k] = s[k] == key ? s[k] : dim[s[k]];
    static_assert(ChipW <= 64, "a chip row must fit 64 bits");
    DrawnRows.assign(size_t(sheet.Height()), 0);
    for (int v = 0; v < sheet.Height(); ++v)
        for (int u = 0; u < w; ++u)
            if (sheet.Row(v)[u] != key) DrawnRows[size_t(v)] |= uint64_t(1) << u;
    DimmedValid = true;
    DimmedFrom = &sheet;
    DimmedKey = key;
    DimmedBack = back;
    DimmedPalette = pal;
    return &Dimmed;
}

void TEditPicture::RedrawLevel(int level) {
    const int zoom = GetZoom();
    Picture.FillColor(BackColor);
    if (Ghost && Map && level > 0)
        if (const TBMP256* dimmed = DimmedSheet()) {
            const int key = Transparent ? Transparent[zoom] : -1;
            for (int y = 0; y < TMap::SizeY; ++y)
                for (int x = 0; x < TMap::SizeX; ++x) {
                    const uint8_t chip = Map->GetChip(x, y, level - 1);
                    const int w = ChipWidth[zoom], h = ChipHeight[zoom];
                    if (chip == 0 || (chip + 1) * h > dimmed->Height()) continue;
                    // Nothing of it shows where the level's own chip in the cell, drawn later
                    // in the same place, covers every pixel it draws.
                    const uint8_t own = Map->GetChip(x, y, level);
                    if (own != 0 && (own + 1) * h <= dimmed->Height()) {
                        const uint64_t* below = &DrawnRows[size_t(chip) * size_t(h)];
                        const uint64_t* over = &DrawnRows[size_t(own) * size_t(h)];
                        uint64_t shows = 0;
                        for (int v = 0; v < h; ++v) shows |= below[v] & ~over[v];
                        if (shows == 0) continue;
                    }
                    const Point p = EditCellToPixel(x, y, zoom);
                    Picture.Blit(p.x, p.y, *dimmed, key, 0, chip * h, w, h);
                }
        }
    const TBMP256& grid = GridImages[zoom];
    for (int y = 0; y < TMap::SizeY; ++y)
        for (int x = 0; x < TMap::SizeX; ++x) {
            const Point p = EditCellToPixel(x, y, zoom);
            if (Map)
                DrawChip(Picture, p.x, p.y, Sheets, Transparent, zoom, Map->GetChip(x, y, level));
            DrawOverlay(Picture, p.x, p.y, grid);
        }
}

void TEditPicture::RedrawRect(int level, int left, int top, int right, int bottom) {
    const PixelRect r = ClipToPicture(Picture, left, top, right, bottom);
    if (r.Empty()) return;
    if (Ghost && level > 0) {
        const IndexMap dim = CurrentDim(); // this call's own: calls may run side by side
        ComposeRect(level, r, &dim);
    } else {
        ComposeRect(level, r, nullptr);
    }
}

void TEditPicture::ComposeRect(int level, const PixelRect& r, const IndexMap* dim) {
    const int zoom = GetZoom();
    const uint8_t back = BackIndex();
    for (int y = r.Top; y < r.Bottom; ++y)
        std::memset(Picture.Row(y) + r.Left, back, size_t(r.Right - r.Left));
    // The draws of RedrawLevel in its order, each cut to the rectangle.
    const TBMP256& grid = GridImages[zoom];
    const bool hasGrid = grid.Width() > 0 && grid.Height() > 0;
    const int gridKey = hasGrid ? grid.GetPixel(0, 0) : -1;
    const int w = ChipWidth[zoom], h = ChipHeight[zoom];
    const TBMP256* sheet = Sheets && Sheets[zoom].Width() >= w ? &Sheets[zoom] : nullptr;
    const int key = Transparent ? Transparent[zoom] : -1;
    if (dim && Map && sheet)
        for (int y = 0; y < TMap::SizeY; ++y)
            for (int x = 0; x < TMap::SizeX; ++x) {
                const uint8_t chip = Map->GetChip(x, y, level - 1);
                if (chip == 0 || (chip + 1) * h > sheet->Height()) continue;
                const Point p = EditCellToPixel(x, y, zoom);
                BlitWithinMapped(Picture, r, p.x, p.y, *sheet, key, 0, chip * h, w, h, *dim);
            }
    for (int y = 0; y < TMap::SizeY; ++y)
        for (int x = 0; x < TMap::SizeX; ++x) {
            const Point p = EditCellToPixel(x, y, zoom);
            if (Map && sheet) {
                const uint8_t chip = Map->GetChip(x, y, level);
                if (chip != 0 && (chip + 1) * h <= sheet->Height())
                    BlitWithin(Picture, r, p.x, p.y, *sheet, key, 0, chip * h, w, h);
            }
            if (hasGrid) BlitWithin(Picture, r, p.x, p.y, grid, gridKey, 0, 0, 0, 0);
        }
}

void TEditPicture::RedrawCell(int x, int y, int level) {
    const int zoom = GetZoom();
    if (Ghost) {
        const Point p = EditCellToPixel(x, y, zoom);
        RedrawRect(level, p.x, p.y, p.x + ChipWidth[zoom], p.y + ChipHeight[zoom]);
        return;
    }
    CellPicture.FillColor(BackColor);
    const Point p = EditCellToPixel(x, y, zoom);
    // The chips of the cell and its eight neighbours cover every pixel of its rectangle.
    if (Map)
        for (int r = y - 1; r <= y + 1; ++r)
            for (int c = x - 1; c <= x + 1; ++c) {
                const uint8_t k = Map->GetChip(c, r, level);
                if (k == 0) continue;
                const Point q = EditCellToPixel(c, r, zoom);
                DrawChip(CellPicture, q.x - p.x, q.y - p.y, Sheets, Transparent, zoom, k);
            }
    if (CellPicture.Width() > 0 && CellPicture.Height() > 0)
        Picture.Blit(p.x, p.y, CellPicture, -1, 0, 0, 0, 0);
    // Grid lines last: this cell's diamond and those of the cells right and left below it,
    // which also restore the edges shared with the cell straight below.
    const TBMP256& grid = GridImages[zoom];
    const int halfW = CellPicture.Width() / 2, thirdH = CellPicture.Height() / 3;
    DrawOverlay(Picture, p.x, p.y, grid);
    if (x < TMap::SizeX - 1) DrawOverlay(Picture, p.x + halfW, p.y + thirdH, grid);
    if (y < TMap::SizeY - 1) DrawOverlay(Picture, p.x - halfW, p.y + thirdH, grid);
}

void TEditPicture::MarkCell(int x, int y, bool selected) {
    const int zoom = GetZoom();
    const Point p = EditCellToPixel(x, y, zoom);
    DrawOverlay(Picture, p.x, p.y, selected ? SelectedImages[zoom] : GridImages[zoom]);
}

Point TEditPicture::ComposeCursor(int cursorX, int cursorY, TBMP256& out) const {
    const int zoom = GetZoom();
    const Point p = EditCellToPixel(cursorX, cursorY, zoom);
    const int w = ChipWidth[zoom], h = ChipHeight[zoom];
    out.SetSize(w, h);
    out.SetPalette(Picture.GetPalette());
    // The part of Picture under the cell's rectangle; whatever lies beyond the picture
    // (a cell outside the map, or no picture yet) shows the background.
    const int x0 = std::max(p.x, 0), y0 = std::max(p.y, 0);
    const int x1 = std::min(p.x + w, Picture.Width()), y1 = std::min(p.y + h, Picture.Height());
    if (x0 > p.x || y0 > p.y || x1 < p.x + w || y1 < p.y + h) out.FillColor(BackColor);
    if (x1 > x0 && y1 > y0) out.Blit(x0 - p.x, y0 - p.y, Picture, -1, x0, y0, x1 - x0, y1 - y0);
    DrawOutlines(out, p.x, p.y);
    DrawOverlay(out, 0, 0, CursorImages[zoom]);
    return p;
}

} // namespace quarvel
