// Chip sheets from edited pictures: an image of a whole sheet (indexed, or true colour over a
// known palette) turned back into the sheet its chip files store.
#pragma once

#include "graphics/bmp256.h"

#include <cstdint>
#include <string>
#include <vector>

namespace quarvel {

// A picture as an image file holds it, before it becomes a sheet.
struct SheetImage {
    int Width = 0, Height = 0;
    bool Indexed = false;
    // Indexed: one palette index per pixel; otherwise red, green, blue, alpha per pixel.
    // Rows top first. Empty when the reader stopped at a wrong size.
    std::vector<uint8_t> Pixels;
    std::vector<PaletteEntry> Colours; // indexed: the image's own palette (flags 0)
    std::vector<uint8_t> Flags;        // the 256 palette flags bytes carried along, or empty
    std::vector<std::string> Warnings; // what the reader passed over (a broken flags chunk)
};

// What a true-colour picture is matched against.
struct SheetReference {
    const Palette* Colours = nullptr; // the palette the colours must come from
    std::string ColoursName;          // its file, for messages
    const TBMP256* Stored = nullptr;  // the sheet as stored now, if any: its index is kept
                                      // where the picture still shows that index's colour
};

// Throws QuarvelError, naming the file, when `image` is not the size of a sheet of size index
// `size` (w x 168·h).
void CheckSheetImageSize(const SheetImage& image, int size, const std::string& imageName);

// The sheet of size index `size` (w x 168·h) that `image` shows; `imageName` names the file
// in messages. Throws QuarvelError, naming the file, for a picture of another size.
// Indexed: the indices as they stand, the palette from the image's colours; palette entries
// the image lacks, and the flags when it carries none, come from `ref.Colours` (else 0).
// Without `ref.Colours`, a pixel whose index lies beyond the image's own palette is refused.
// True colour: refused with more than 256 colours; a fully transparent pixel becomes the
// transparent index (the stored sheet's first pixel, else 0); an opaque pixel keeps the
// stored index where that has the pixel's colour, else takes the lowest index of that colour
// other than the transparent one, else the transparent index if it has the colour. The first
// pixel (rows top first) that is partly transparent or whose colour is not in `ref.Colours` is
// named in the error. The palette is `ref.Colours`, which must be given.
TBMP256 SheetFromImage(const SheetImage& image, int size, const std::string& imageName,
                       const SheetReference& ref);

} // namespace quarvel
