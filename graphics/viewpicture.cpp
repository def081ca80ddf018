// The part both view pictures share: attaching, zoom and palettes, and pixel rectangles.
#include "graphics/viewpicture.h"

#include "graphics/chipsheet.h"

#include <algorithm>

namespace quarvel {

PixelRect ClipToPicture(const TBMP256& picture, int left, int top, int right, int bottom) {
    return {std::max(left, 0), std::max(top, 0), std::min(right, picture.Width()),
            std::min(bottom, picture.Height())};
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
