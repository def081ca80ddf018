// Whole-map operations of the map tools: shift by (dx, dy, dz) and swap of two countries.
#pragma once

#include <cstdint>

namespace quarvel {

class TMap;

// The first chips of the eight country families; country i owns base + i.
extern const uint8_t CountryChipBases[8]; // 25, 29, 128, 132, 136, 140, 152, 156

// Moves every cell's content by (dx, dy, dz) as one undo step. False (nothing done, no step)
// when all three offsets are 0; true otherwise. Offsets of magnitude above 48 act as 48.
bool ShiftMap(TMap& map, int dx, int dy, int dz);
// Exchanges the chips of countries a and b (0..3) as one undo step. False (nothing done)
// when a equals b; true otherwise, even when no cell matched. Throws std::invalid_argument for
// a country outside 0..3.
bool SwapCountries(TMap& map, int a, int b);

} // namespace quarvel
