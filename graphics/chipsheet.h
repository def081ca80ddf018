// Chip sheets: the 168 chip pictures of one terrain set in both sizes, read from chip files.
#pragma once

#include "graphics/bmp256.h"

#include <string>

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

} // namespace quarvel
