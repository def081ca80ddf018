// What the edit view's and the whole-map view's pictures share: what they draw from (the map,
// the chip sheets and their transparent indices), the size index, and the back picture and
// one-chip scratch that carry a copy of the sheet's palette.
#pragma once

#include "graphics/bmp256.h"
#include "graphics/projection.h"

#include <cstdint>
#include <vector>

namespace quarvel {

class TMap;

// The colour of the outlines drawn over the pictures (the cells changed since the last save):
// magenta, apart from the cursor's red and the selection's yellow. It lands on the nearest
// entry of the picture's palette.
constexpr TColor OutlineColor = RGBColor(255, 0, 255);

// The pixels of an outline, relative to the top-left corner of its cell's chip: a diamond
// two pixels wide set inside the cell's top face, clear of the grid and selection lines on
// its edges, so that the cell's chip, grid and selection mark stay seen. For zoom 0 or 1.
const std::vector<Point>& OutlinePixels(int zoom);

class TViewPicture {
public:
    virtual ~TViewPicture() = default;

    // What the picture draws from: the map, the two chip sheets and their transparent indices.
    void Attach(const TMap* map, const TBMP256* sheets, const uint8_t* transparent);

    TBMP256 Picture;     // the composed picture
    TBMP256 CellPicture; // one-chip scratch
    TColor BackColor;

    int GetZoom() const { return Zoom; }
    // Sets the size index (0 or 1, else std::out_of_range), resizes both pictures and gives
    // them copies of the sheet's palette; does not redraw.
    void SetZoom(int z);
    int PictureWidth() const { return ViewWidth / (Zoom + 1); }
    int PictureHeight() const { return FullHeight / (Zoom + 1); }

    // Outlines drawn over the picture and never into it: the cells of `cells` (TMap::Index
    // values in cell order; not owned, null for none) on levels low..high, each one's
    // OutlinePixels at its chip's place in OutlineColor. The picture itself stays as it is.
    void SetOutlined(const std::vector<int32_t>* cells, int low, int high);
    const std::vector<int32_t>* GetOutlined() const { return Outlined; }
    // Draws the outlines over `out`, which holds the picture's pixels from (left, top) on
    // (the cursor's cell, a part shown on screen); it writes only inside `out`.
    void DrawOutlines(TBMP256& out, int left, int top) const;
    // The pixels of `rect` (clipped to the picture) as the view shows them: `shown` takes the
    // picture's size and palette, those pixels from Picture and the outlines over them. Its
    // pixels outside the rectangle are left as they are.
    void ComposeShown(const PixelRect& rect, TBMP256& shown) const;
    // The top-left corner of the chip of cell (x, y, z) in the picture.
    virtual Point ChipCorner(int x, int y, int z) const = 0;

protected:
    // `fullHeight`: the picture's height at zoom 0; `back`: the first background colour.
    TViewPicture(int fullHeight, TColor back) : BackColor(back), FullHeight(fullHeight) {}
    // Called by SetZoom after both pictures took the palette of the new size.
    virtual void ZoomChanged(const Palette&) {}

    // The palette index the background fill lands on.
    uint8_t BackIndex() const { return NearestIndex(Picture.GetPalette(), BackColor); }

    const TMap* Map = nullptr;
    const TBMP256* Sheets = nullptr;
    const uint8_t* Transparent = nullptr;

private:
    // The outlines that reach into `clip` (pixels of `out`, which starts at picture pixel
    // (left, top)).
    void DrawOutlinesIn(TBMP256& out, int left, int top, const PixelRect& clip) const;

    const std::vector<int32_t>* Outlined = nullptr;
    int OutlinedLow = 0, OutlinedHigh = -1;

    int Zoom = 0;
    int FullHeight;
};

} // namespace quarvel
