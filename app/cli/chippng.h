// quarvel-cli: chip sheets as PNG files for image editors: an 8-bit indexed picture with
// the sheet's palette, its transparent index marked in tRNS and the palette flags bytes in a
// private "qfLG" chunk.
#pragma once

#include "graphics/bmp256.h"
#include "graphics/chipimport.h"

#include <cstdint>
#include <string>

namespace quarvel::cli {

// The private chunk that carries the 256 palette flags bytes, in palette index order.
constexpr char FlagsChunkName[5] = "qfLG";

// Writes `sheet` to `path` as an 8-bit indexed PNG: its indices, its 256 colours, index
// `transparent` fully transparent, the flags bytes in the private chunk. The file is written
// beside `path` and renamed over it when complete. Throws QuarvelError naming `path`.
void WriteSheetPng(const std::string& path, const TBMP256& sheet, uint8_t transparent);

// The largest PNG file read as a chip sheet: a large sheet (64 x 8,064 pixels) stored even
// uncompressed as red, green, blue and alpha takes about 2.07 MB.
constexpr uint64_t MaxSheetPngBytes = 2u << 20;

// Reads a PNG file (refused unread above MaxSheetPngBytes): indexed pictures (any bit depth) as
// indices with their palette, all others as red, green, blue, alpha; the flags chunk when present.
// A picture that is not `width` x `height` is returned with its size only, unread. Throws
// QuarvelError naming `path` when the file is missing or not a readable PNG. A flags chunk of the
// wrong length or with a bad checksum is left out and named in Warnings.
SheetImage ReadSheetPng(const std::string& path, int width, int height);

} // namespace quarvel::cli
