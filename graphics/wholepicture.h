// The whole-map view's picture: all 48 levels stacked in one isometric picture.
#pragma once

#include "graphics/bmp256.h"
#include "graphics/projection.h"
#include "graphics/viewpicture.h"

#include <memory>
#include <vector>

namespace quarvel {

class TMap;

Point WholeCellToPixel(int x, int y, int z, int zoom);
Point WholePixelToCell(int px, int py, int z, int zoom);

struct Segment {
    Point A, B;
    bool operator==(const Segment& o) const { return A == o.A && B == o.B; }
};
// The twelve edges of the block of cells left..right, top..bottom, levels low..high in the
// whole-map picture: the top faces of level `high` as one diamond, the same diamond at the
// foot of level `low`'s chip sides, and the four upright edges between their corners.
std::vector<Segment> WholeBoxOutline(int left, int top, int right, int bottom, int low, int high,
                                     int zoom);

// The picture of the stacked levels starts with a black background (BackColor 0).
class TWholePicture : public TViewPicture {
public:
    TWholePicture() : TViewPicture(WholeViewHeight, 0) {}

    // The highest level drawn and picked (the cut-away): the pictures show the map as if
    // every level above it were empty, and picking looks from it down. TMap::SizeZ - 1, the
    // first value, shows the whole stack. Throws std::out_of_range outside 0..47.
    void SetTop(int top);
    int GetTop() const { return Top; }

    void RedrawAll();
    // Recomposes the pixels of Picture in columns left..right-1 and rows top..bottom-1
    // (clipped to the picture) exactly as RedrawAll draws them, and nothing else. It writes
    // only inside the rectangle and reads only the map and the sheets, so calls for
    // rectangles that do not overlap may run at once on different threads.
    void RedrawRect(int left, int top, int right, int bottom);
    // Rebuilds the chip-sized area of cell (x, y, z); levels outside 0..47 are ignored.
    void RedrawCell(int x, int y, int z);
    Point ChipCorner(int x, int y, int z) const override {
        return WholeCellToPixel(x, y, z, GetZoom());
    }
    // PickCell on this picture's map, zoom and top level.
    bool Pick(int px, int py, int& x, int& y, int& z) const;

private:
    // The map to draw from: the attached one, or with the cut-away a copy in `holder` with
    // the levels above Top emptied.
    const TMap& Source(std::unique_ptr<TMap>& holder) const;

    int Top = TMap::SizeZ - 1;
    std::unique_ptr<TMap> CutMap;   // Source's copy for RedrawAll and RedrawCell
    std::vector<uint8_t> ViewChips; // RedrawAll's view chip of every cell
};

// The cell that a left click at pixel (px, py) of the whole-map picture picks, and the one
// the pointer hovers: the highest level from `top` down to 0 whose stored chip (not the view
// chip) in the cell under the pixel is not empty. False, with x, y, z unchanged, when none.
bool PickCell(const TMap& map, int px, int py, int zoom, int top, int& x, int& y, int& z);

} // namespace quarvel
