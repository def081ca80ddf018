// quarvel-cli: writes a composed 256-colour picture as an 8-bit paletted PNG file.
#pragma once

#include "graphics/bmp256.h"

#include <functional>
#include <string>

namespace quarvel::cli {

// How the image data is compressed. Rows are stored unfiltered (a palette picture gains
// little from filters and loses speed). The picture is cut into horizontal bands, one per
// thread (0: one per processor, at most 4), each deflated on its own thread; the bands are
// joined into one zlib stream. All bands but the last go through zlib, which can end a band
// on a byte boundary without ending the stream; the last, a little taller, goes through the
// faster libdeflate, whose output ends the stream.
struct PngSettings {
    int CompressionLevel = 1; // 0..9, as zlib and libdeflate count them
    int Threads = 0;
};

// Draws rows first..end-1 of the picture being written. The writer calls it once for each
// band, just before compressing that band, on the band's thread: the bands are composed and
// compressed side by side, so it must allow calls for different bands at the same time.
using RowComposer = std::function<void(int first, int end)>;

// Writes `picture` to `path`: colour type palette, bit depth 8, the picture's indices as
// they stand and its 256 palette entries (red, green, blue). The file is saved safely
// (TSaveFile): a failure leaves any earlier file untouched, and only a regular file or a new
// name is replaced. Throws QuarvelError naming `path` on failure.
void WritePalettedPng(const std::string& path, const TBMP256& picture,
                      const PngSettings& settings = {});

// The same for a picture that `compose` draws band by band while the writer compresses:
// `picture` must have its final size and palette, and its rows are read only after
// `compose` has drawn them. An exception from `compose` is passed on, and no file is made.
void WritePalettedPng(const std::string& path, const TBMP256& picture, const RowComposer& compose,
                      const PngSettings& settings = {});

} // namespace quarvel::cli
