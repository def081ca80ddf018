// The part both view pictures share: attaching, zoom and palettes, and pixel rectangles.
#include "graphics/viewpicture.h"

#include "graphics/chipsheet.h"

#include "map/mapclass.h"

#include <algorithm>
#include <cstring>

namespace quarvel {

PixelRect ClipToPicture(const TBMP256& picture, int left, int top, int right, int bottom) {
    return {std::max(left, 0), std::max(top, 0), std::min(right, picture.Width()),
            std::min(bottom, picture.Height())};
}

namespace {

// The diamond of a top face `width` pixels wide and width / 2 rows high, with its rows 2
// pixels apart as the grid draws them, moved `inset` rows in from the face's edges.
std::vector<Point> InsetDiamond(int width, int inset) {
    std::vector<Point> pixels;
    const int rows = width / 2, mid = width / 2;
    for (int v = inset; v < rows - inset; ++v) {
        const int w = std::min(v - inset, rows - 1 - inset - v);
        for (int u : {mid - 2 - 2 * w, mid - 1 - 2 * w, mid + 2 * w, mid + 1 + 2 * w})
            pixels.push_back({u, v});
    }
    return pixels;
}

} // namespace

const std::vector<Point>& OutlinePixels(int zoom) {
    CheckZoom(zoom);
    static const std::vector<Point> shapes[2] = {InsetDiamond(ChipW, 3),
                                                 InsetDiamond(ChipW / 2, 2)};
    return shapes[zoom];
}

void TViewPicture::Attach(const TMap* map, const TBMP256* sheets, const uint8_t* transparent) {
    Map = map;
    Sheets = sheets;
    Transparent = transparent;
}

void TViewPicture::SetZoom(int z) {
    CheckZoom(z);
    Zoom = z;
    const Palette pal = Sheets ? Sheets[z].GetPalette() : Palette{};
    Picture.SetSize(PictureWidth(), PictureHeight());
    Picture.SetPalette(pal);
    CellPicture.SetSize(ChipWidth[z], ChipHeight[z]);
    CellPicture.SetPalette(pal);
    ZoomChanged(pal);
}

} // namespace quarvel

namespace quarvel {

void TViewPicture::SetOutlined(const std::vector<int32_t>* cells, int low, int high) {
    Outlined = cells;
    OutlinedLow = low;
    OutlinedHigh = high;
}

void TViewPicture::DrawOutlines(TBMP256& out, int left, int top) const {
    DrawOutlinesIn(out, left, top, {0, 0, out.Width(), out.Height()});
}

void TViewPicture::ComposeShown(const PixelRect& rect, TBMP256& shown) const {
    if (shown.Width() != Picture.Width() || shown.Height() != Picture.Height())
        shown.SetSize(Picture.Width(), Picture.Height());
    shown.SetPalette(Picture.GetPalette());
    const PixelRect r = ClipToPicture(Picture, rect.Left, rect.Top, rect.Right, rect.Bottom);
    if (r.Empty()) return;
    for (int y = r.Top; y < r.Bottom; ++y)
        std::memcpy(shown.Row(y) + r.Left, Picture.Row(y) + r.Left, size_t(r.Right - r.Left));
    DrawOutlinesIn(shown, 0, 0, r);
}

void TViewPicture::DrawOutlinesIn(TBMP256& out, int left, int top, const PixelRect& clip) const {
    if (!Outlined || Outlined->empty() || OutlinedLow > OutlinedHigh) return;
    const PixelRect c = ClipToPicture(out, clip.Left, clip.Top, clip.Right, clip.Bottom);
    if (c.Empty()) return;
    const int zoom = GetZoom();
    const std::vector<Point>& shape = OutlinePixels(zoom);
    const int w = ChipWidth[zoom], faceH = ChipHeight[zoom] * 2 / 3;
    const uint8_t index = NearestIndex(Picture.GetPalette(), OutlineColor);
    // The cells of the levels drawn: a run of the list, which is in cell order.
    const auto first = std::lower_bound(Outlined->begin(), Outlined->end(),
                                        TMap::Index(0, 0, std::max(OutlinedLow, 0)));
    const auto last = std::lower_bound(
        first, Outlined->end(), TMap::Index(0, 0, std::min(OutlinedHigh, TMap::SizeZ - 1) + 1));
    for (auto it = first; it != last; ++it) {
        const int i = *it;
        const Point p =
            ChipCorner(i % TMap::SizeX, i / TMap::SizeX % TMap::SizeY, i / TMap::LevelSize);
        const int ox = p.x - left, oy = p.y - top;
        // The outline lies in the top face: pass over cells whose face misses the clip.
        if (ox >= c.Right || oy >= c.Bottom || ox + w <= c.Left || oy + faceH <= c.Top) continue;
        for (const Point& q : shape) {
            const int x = ox + q.x, y = oy + q.y;
            if (x >= c.Left && x < c.Right && y >= c.Top && y < c.Bottom) out.Row(y)[x] = index;
        }
    }
}

} // namespace quarvel
