// Reading 8-bit palette BMP images (the overlay resources) into a TBMP256, bounds-checked.
#pragma once

#include "graphics/bmp256.h"

#include <cstddef>
#include <cstdint>

namespace quarvel {

// Decodes an uncompressed 8-bit BMP (file header, an info header of at least 40 bytes, a
// colour table of up to 256 entries, bottom-up or top-down rows padded to four bytes) into
// `out`: its pixels as indices, its colour table as the palette. Anything malformed or
// unsupported throws QuarvelError and leaves `out` unchanged.
void ReadBMP256(const uint8_t* data, size_t size, TBMP256& out);

} // namespace quarvel
