// The whole-map view's picture: all 48 levels stacked in one isometric picture.
#pragma once

#include "graphics/bmp256.h"
#include "graphics/projection.h"
#include "graphics/viewpicture.h"

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

    void RedrawAll();
    // Recomposes the pixels of Picture in columns left..right-1 and rows top..bottom-1
    // (clipped to the picture) exactly as RedrawAll draws them, and nothing else. It writes
    // only inside the rectangle and reads only the map and the sheets, so calls for
    // rectangles that do not overlap may run at once on different threads.
    void RedrawRect(int left, int top, int right, int bottom);
    // Rebuilds the chip-sized area of cell (x, y, z); levels outside 0..47 are ignored.
    void RedrawCell(int x, int y, int z);
    // The topmost level whose stored chip under the pixel is not empty; false when none.
    bool Pick(int px, int py, int& x, int& y, int& z) const;
};

} // namespace quarvel
