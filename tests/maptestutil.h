// Small helpers shared by the map tests: a fresh map, raw cell writes, packed records, and the
// cell-by-cell shaping that Shape is checked against.
#pragma once

#include "map/chipclasses.h"
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

// The shaping rule table written out with the one-cell variant functions (which read through
// GetChip), in the scan order; Shape must give the same cells and the same undo records.
// The map tests and the map fuzzer both check Shape against it.
inline bool ReferenceShape(TMap& m) {
    bool changed = false;
    for (int z = 0; z < 48; ++z)
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x) {
                const int c = m.GetChip(x, y, z);
                const bool covered = SolidChips.Contains(m.GetChip(x, y, z + 1));
                int n = c;
                if (c >= 1 && c <= 4)
                    n = (covered ? 1 : 5) + m.EdgeVariant(x, y, z);
                else if (c >= 5 && c <= 16)
                    n = (covered ? 1 : (c - 1) / 4 * 4 + 1) + m.EdgeVariant(x, y, z);
                else if (c >= 17 && c <= 24)
                    n = (covered ? 17 : 21) + m.EdgeVariant(x, y, z);
                else if (c >= 58 && c <= 68)
                    n = 58 + m.BridgeVariant(x, y, z);
                else if (c >= 69 && c <= 79)
                    n = 69 + m.BridgeVariant(x, y, z);
                else if (c >= 83 && c <= 110)
                    n = 83 + 4 * m.RiverVariant(x, y, z);
                else if (c >= 112 && c <= 115)
                    n = (covered ? 1 : 112) + m.EdgeVariant(x, y, z);
                if (n == c) continue;
                if (!changed) m.UndoBuf.BeginStep();
                m.SetChip(x, y, z, uint8_t(n));
                changed = true;
            }
    return changed;
}

} // namespace quarvel::test
