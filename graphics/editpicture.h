// The edit view's picture: one level of the map in isometric projection, with grid,
// selection outlines and the cursor box, composed as palette indices.
#pragma once

#include "graphics/bmp256.h"
#include "graphics/projection.h"

namespace quarvel {

class TMap;

struct Point {
    int x = 0;
    int y = 0;
    bool operator==(const Point& o) const { return x == o.x && y == o.y; }
};

// The pixels of columns Left..Right-1 and rows Top..Bottom-1.
struct PixelRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    bool Empty() const { return Left >= Right || Top >= Bottom; }
};

// The part of `rect` that lies inside `picture`.
PixelRect ClipToPicture(const TBMP256& picture, int left, int top, int right, int bottom);

// Projection of the edit view: top-left corner of the chip of cell (x, y).
Point EditCellToPixel(int x, int y, int zoom);
// The cell whose top face covers the pixel; may lie outside the map.
Point EditPixelToCell(int px, int py, int zoom);

class TEditPicture {
public:
    TEditPicture(); // loads the six overlay images

    // What the picture draws from: the map, the two chip sheets and their transparent indices.
    void Attach(const TMap* map, const TBMP256* sheets, const uint8_t* transparent);

    TBMP256 Picture;     // the composed level
    TBMP256 CellPicture; // one-chip scratch
    TBMP256 CursorImages[2], GridImages[2], SelectedImages[2];
    int Zoom = 0;
    TColor BackColor = 0x808080;

    int GetZoom() const { return Zoom; }
    void SetZoom(int z); // resizes the pictures and hands out copies of the sheet's palette
    int PictureWidth() const { return ViewWidth / (Zoom + 1); }
    int PictureHeight() const { return EditViewHeight / (Zoom + 1); }

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

private:
    const TMap* Map = nullptr;
    const TBMP256* Sheets = nullptr;
    const uint8_t* Transparent = nullptr;
};

} // namespace quarvel
