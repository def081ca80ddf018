// TIndexedImage: a cached QImage view of a TBMP256.
#include "views/indexedimage.h"

namespace quarvel {

const QImage& TIndexedImage::Wrap(const TBMP256& picture) {
    if (picture.Width() <= 0 || picture.Height() <= 0) {
        Image = QImage();
        Bits = nullptr;
        Width = Height = 0;
        return Image;
    }
    const Palette& pal = picture.GetPalette();
    bool paletteChanged = ColorTable.isEmpty() || !(pal == LastPalette);
    if (paletteChanged) {
        ColorTable.resize(256);
        for (int i = 0; i < 256; ++i) ColorTable[i] = EntryColor(pal[size_t(i)]);
        LastPalette = pal;
    }
    if (Image.isNull() || picture.Bits() != Bits || picture.Width() != Width ||
        picture.Height() != Height) {
        Bits = picture.Bits();
        Width = picture.Width();
        Height = picture.Height();
        // The picture's rows are Width bytes apart; QImage reads them in place.
        Image = QImage(const_cast<uint8_t*>(Bits), Width, Height, Width, QImage::Format_Indexed8);
        Image.setColorTable(ColorTable);
    } else if (paletteChanged) {
        Image.setColorTable(ColorTable);
    }
    return Image;
}

} // namespace quarvel
