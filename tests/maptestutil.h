// Small helpers shared by the map tests: a fresh map, raw cell writes, packed records.
#pragma once

#include "map/mapclass.h"
#include "map/undobuffer.h"

#include <memory>
#include <vector>

namespace quarvel::test {

using Records = std::vector<UndoRecord>;

constexpr UndoRecord R(int x, int y, int z, int chip) {
    return PackUndoRecord(x, y, z, uint8_t(chip));
}

// A new empty map, as Clear leaves it.
inline std::unique_ptr<TMap> NewMap() {
    auto m = std::make_unique<TMap>();
    m->Clear();
    return m;
}

// Writes a cell directly, without undo records or neighbour upkeep (test set-up).
inline void Put(TMap& m, int x, int y, int z, int chip) {
    m.Cells[TMap::Index(x, y, z)] = uint8_t(chip);
}

inline std::vector<uint8_t> CellsOf(const TMap& m) {
    return {m.Cells, m.Cells + TMap::CellCount};
}

} // namespace quarvel::test
