// The default chip set the program ships instead of game data: draws the 168 chips of the
// four terrain sets at both sizes and writes them as chip files.
#pragma once

#include "graphics/bmp256.h"

#include <cstdint>
#include <string>
#include <vector>

namespace quarvel {

// The chip sheet of terrain set 0..3 at size index 0 (64 x 48 chips) or 1 (32 x 24): the
// 168 chips one below the other, with the set's palette. Index 0 (ChipTransparentIndex)
// is the background of every chip; chip 0 is all background. Throws std::out_of_range for
// a set or size outside its range.
TBMP256 DrawDefaultChipSheet(int terrainSet, int size);

// Draws one chip (0..167) of terrain set 0..3 into a transparent picture of its size.
void DrawDefaultChip(int chip, int terrainSet, int size, TBMP256& out);

// Writes the 16 chip files of the four terrain sets (B_000.2c, B_000s.2c, B_000.pal,
// B_000s.pal, ... B_030s.pal) into `dir`, which is created when missing. Each file is saved
// safely (TSaveFile), so a failure leaves no half-written file. Throws QuarvelError when the
// folder or a file cannot be written.
void WriteDefaultChips(const std::string& dir);

} // namespace quarvel
