// What the edit view's and the whole-map view's pictures share: what they draw from (the map,
// the chip sheets and their transparent indices), the size index, and the back picture and
// one-chip scratch that carry a copy of the sheet's palette.
#pragma once

#include "graphics/bmp256.h"
#include "graphics/projection.h"

#include <cstdint>

namespace quarvel {

class TMap;

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
    int Zoom = 0;
    int FullHeight;
};

} // namespace quarvel
