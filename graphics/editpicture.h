// The edit view's picture: one level of the map in isometric projection, with grid,
// selection outlines and the cursor box, composed as palette indices.
#pragma once

#include "graphics/bmp256.h"
#include "graphics/projection.h"
#include "graphics/viewpicture.h"

#include <array>
#include <cstdint>
#include <vector>

namespace quarvel {

using IndexMap = std::array<uint8_t, 256>;

// The faint version of each palette index: the index whose colour lies nearest (squared RGB
// distance, the lowest index on a tie) to the mean of its colour and `back`, (a + b) div 2
// in each channel, among all indices but `transparent` (any value outside 0..255 leaves
// none out).
IndexMap DimIndices(const Palette& palette, const PaletteEntry& back, int transparent);

// Projection of the edit view: top-left corner of the chip of cell (x, y).
Point EditCellToPixel(int x, int y, int zoom);
// The cell whose top face covers the pixel; may lie outside the map.
Point EditPixelToCell(int px, int py, int zoom);

// The level picture (Picture) starts with a mid grey background (BackColor 0x808080).
class TEditPicture : public TViewPicture {
public:
    TEditPicture(); // loads the six overlay images

    TBMP256 CursorImages[2], GridImages[2], SelectedImages[2];

    // The ghost: the level below drawn faintly under the level. When it is on, RedrawLevel
    // draws over the fill every chip of level - 1 (rows, then columns) with each of its
    // pixels' indices made faint (DimIndices against the fill's colour, the sheet's
    // transparent index left out), then the level as without it; RedrawCell then redraws
    // exactly what RedrawLevel draws in the cell's rectangle. Off at first.
    void SetGhost(bool on) { Ghost = on; }
    bool GetGhost() const { return Ghost; }

    void RedrawLevel(int level); // rebuilds all of Picture
    // One cell: without the ghost, the chips over its rectangle, then the grid of the cell
    // and of the two cells below it; with the ghost, RedrawRect of the cell's rectangle.
    void RedrawCell(int x, int y, int level);
    // Recomposes the pixels of Picture in columns left..right-1 and rows top..bottom-1
    // (clipped to the picture) exactly as RedrawLevel(level) draws them, and nothing else.
    // It writes only inside the rectangle and reads only the map, the sheets and the
    // overlays, so calls for rectangles that do not overlap may run at once on different
    // threads.
    void RedrawRect(int level, int left, int top, int right, int bottom);
    void MarkCell(int x, int y, bool selected);
    Point ChipCorner(int x, int y, int) const override { return EditCellToPixel(x, y, GetZoom()); }
    // The cursor cell's chip rectangle as it appears on screen: Picture under the cell with
    // the outlines and then the cursor box drawn over it. Returns the top-left corner where it
    // belongs.
    Point ComposeCursor(int cursorX, int cursorY, TBMP256& out) const;

protected:
    void ZoomChanged(const Palette& pal) override; // the overlays of the size take it too

private:
    // The dim indices for the picture's palette, fill and transparent index.
    IndexMap CurrentDim() const;
    // RedrawRect with the ghost's indices `dim` (null: no ghost).
    void ComposeRect(int level, const PixelRect& r, const IndexMap* dim);
    // The current sheet with every pixel but the transparent ones made faint, made again
    // when the palette, the fill or the sheets change (SetZoom, which loading chips calls,
    // starts it afresh).
    const TBMP256* DimmedSheet();

    bool Ghost = false;
    TBMP256 Dimmed;
    // Which pixels of each chip row of the sheet are drawn (not transparent): chip c's row v
    // is DrawnRows[c * chip height + v], bit u for column u.
    std::vector<uint64_t> DrawnRows;
    bool DimmedValid = false;
    const TBMP256* DimmedFrom = nullptr;
    Palette DimmedPalette{};
    PaletteEntry DimmedBack{};
    int DimmedKey = -1;
};

} // namespace quarvel
