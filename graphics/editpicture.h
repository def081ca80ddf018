// The edit view's picture: one level of the map in isometric projection, with grid,
// selection outlines and the cursor box, composed as palette indices.
#pragma once

#include "graphics/bmp256.h"
#include "graphics/projection.h"
#include "graphics/viewpicture.h"

namespace quarvel {

// Projection of the edit view: top-left corner of the chip of cell (x, y).
Point EditCellToPixel(int x, int y, int zoom);
// The cell whose top face covers the pixel; may lie outside the map.
Point EditPixelToCell(int px, int py, int zoom);

// The level picture (Picture) starts with a mid grey background (BackColor 0x808080).
class TEditPicture : public TViewPicture {
public:
    TEditPicture(); // loads the six overlay images

    TBMP256 CursorImages[2], GridImages[2], SelectedImages[2];

    void RedrawLevel(int level);              // rebuilds all of Picture
    void RedrawCell(int x, int y, int level); // one cell and the grid around it
    // Recomposes the pixels of Picture in columns left..right-1 and rows top..bottom-1
    // (clipped to the picture) exactly as RedrawLevel(level) draws them, and nothing else.
    // It writes only inside the rectangle and reads only the map, the sheets and the
    // overlays, so calls for rectangles that do not overlap may run at once on different
    // threads.
    void RedrawRect(int level, int left, int top, int right, int bottom);
    void MarkCell(int x, int y, bool selected);
    // The cursor cell's chip rectangle as it appears on screen: Picture under the cell with
    // the cursor box drawn over it. Returns the top-left corner where it belongs.
    Point ComposeCursor(int cursorX, int cursorY, TBMP256& out) const;

protected:
    void ZoomChanged(const Palette& pal) override; // the overlays of the size take it too
};

} // namespace quarvel
