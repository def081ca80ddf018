// Chip sheets: the 168 chip pictures of one terrain set in both sizes, read from chip files.
#pragma once

#include "graphics/bmp256.h"

#include <cstdint>
#include <string>
#include <vector>

namespace quarvel {

constexpr int ChipWidth[2] = {64, 32};
constexpr int ChipHeight[2] = {48, 24};
extern const char* const TerrainFileNames[4];  // "B_000" .. "B_030"
extern const char* const ChipFileSuffix[2];    // ".2c", "s.2c"
extern const char* const PaletteFileSuffix[2]; // ".pal", "s.pal"

// Reads the four files of terrain set `set` from `chipDir` (a folder path, with or without
// a trailing '/') into the two sheets and records their transparent indices.
// Returns false, changing nothing, when a file is missing. Throws QuarvelError, changing
// nothing, when a file is unreadable or too short. Throws std::out_of_range for a set
// outside 0..3.
bool ReadChipSheets(const std::string& chipDir, int set, TBMP256 (&sheets)[2],
                    uint8_t (&transparent)[2]);

// The chip pixel file and the palette file of `stem` at size index s in `chipDir`.
std::string ChipFilePath(const std::string& chipDir, const std::string& stem, int size);
std::string PaletteFilePath(const std::string& chipDir, const std::string& stem, int size);

// Reads one sheet as its files store it: w x 168·h pixels, each the stored byte, the
// decoded palette, the derived chips not composed. Throws QuarvelError naming the file when
// a file is missing, unreadable or too short.
TBMP256 ReadStoredChipSheet(const std::string& pixelPath, const std::string& palettePath, int size);
// Reads a palette file's 256 records as palette indices; throws as above.
Palette ReadChipPalette(const std::string& path);

// The bytes of a chip pixel file for a sheet (168 chips in q x q blocks, q = width / 4),
// and of a palette file (index n in record (n + 112) mod 256; red, green, blue, flags).
std::vector<uint8_t> EncodeChipPixels(const TBMP256& sheet);
std::vector<uint8_t> EncodeChipPalette(const Palette& palette);

// Replaces a chip pixel file and its palette file together: both are written to temporary
// files beside their targets and renamed over them, and when the second rename fails the
// first file is put back. Throws QuarvelError naming the file; both files are then as before.
void WriteChipFilePair(const std::string& pixelPath, const std::vector<uint8_t>& pixels,
                       const std::string& palettePath, const std::vector<uint8_t>& palette);

} // namespace quarvel
