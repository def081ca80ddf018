// TIndexedImage: shows a TBMP256 through a QImage that wraps the picture's own bytes, with a
// colour table rebuilt only when the picture's palette or buffer changes.
#pragma once

#include "graphics/bmp256.h"

#include <QImage>
#include <QList>

namespace quarvel {

class TIndexedImage {
public:
    // The picture as an 8-bit indexed QImage sharing its pixel bytes; a null image for an
    // empty picture. Valid until the picture is resized or freed.
    const QImage& Wrap(const TBMP256& picture);

    // The colour of a palette entry as Qt shows it.
    static QRgb EntryColor(const PaletteEntry& e) { return qRgb(e.Red, e.Green, e.Blue); }

private:
    QImage Image;
    const uint8_t* Bits = nullptr;
    int Width = 0;
    int Height = 0;
    Palette LastPalette{};
    QList<QRgb> ColorTable;
};

} // namespace quarvel
