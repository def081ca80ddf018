// Chip numbering and the constant chip sets that the map code tests.
#pragma once

#include "map/mapclass.h"

#include <cstdint>

namespace quarvel {

// A constant set of byte values, one bit per possible byte.
struct ChipSet {
    uint64_t Bits[4];
    constexpr bool Contains(uint8_t chip) const { return (Bits[chip >> 6] >> (chip & 63)) & 1u; }
};

extern const ChipSet GroundChips;     // 1..24, 112..121
extern const ChipSet BridgeChips;     // 58..82
extern const ChipSet RiverChips;      // 83..110
extern const ChipSet SolidChips;      // Ground + River
extern const ChipSet BridgeJoinChips; // Ground + Bridge
extern const ChipSet BankChips;       // Ground + River + rock 111
extern const ChipSet CoverChips;      // hides the cell below in the whole-map view

// Level rule: the chips refused (edit view, with a warning) or dropped (paste, shift)
// on the levels whose partner levels would leave the map.
// Returns 0 when `chip` may stand on level z, 1 (floor) or 2 (ceiling) otherwise.
int LevelRuleWarning(int z, uint8_t chip);
// The same rule as a filter: the chip that may stand on level z (0 when refused).
inline uint8_t LevelFilter(int z, uint8_t chip) {
    return LevelRuleWarning(z, chip) ? 0 : chip;
}

// The 168 chip names of the info panel's chip list, UTF-8.
extern const char* const ChipNames[TMap::ChipCount];

} // namespace quarvel
