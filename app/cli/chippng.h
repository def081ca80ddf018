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

// Reads a PNG file: indexed pictures (any bit depth) as indices with their palette, all others
// as red, green, blue, alpha; the flags chunk when present. A picture that is not
// `width` x `height` is returned with its size only, unread. Throws QuarvelError naming
// `path` when the file is missing or not a readable PNG.
SheetImage ReadSheetPng(const std::string& path, int width, int height);

} // namespace quarvel::cli
