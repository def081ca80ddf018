// quarvel-cli: writes a composed 256-colour picture as an 8-bit paletted PNG file.
#pragma once

#include "graphics/bmp256.h"

#include <string>

namespace quarvel::cli {

// How the image data is compressed. Rows are stored unfiltered (a palette picture gains
// little from filters and loses speed); the bands of rows are deflated side by side, on up
// to `Threads` threads (0: one per processor, at most 4), into one zlib stream.
struct PngSettings {
    int CompressionLevel = 1; // zlib 0..9
    int Strategy = 0;         // zlib strategy: 0 default, 1 filtered, 2 huffman only, 3 RLE
    int Threads = 0;
};

// Writes `picture` to `path`: colour type palette, bit depth 8, the picture's indices as
// they stand and its 256 palette entries (red, green, blue). The file is written under a
// temporary name beside `path` and renamed over it when complete, so a failure leaves any
// earlier file untouched. Throws QuarvelError naming `path` on failure.
void WritePalettedPng(const std::string& path, const TBMP256& picture,
                      const PngSettings& settings = {});

} // namespace quarvel::cli
