// Whole-map tools: shift the map by (dx, dy, dz), swap two countries.
#include "map/maptools.h"

#include "map/chipclasses.h"
#include "map/mapclass.h"

#include <cstring>
#include <stdexcept>

namespace quarvel {

const uint8_t CountryChipBases[8] = {25, 29, 128, 132, 136, 140, 152, 156};

namespace {

// An offset of magnitude 48 already moves everything off the map; larger ones act the same
// and would overflow x - dx near the ends of the integer range.
int ClampOffset(int d) {
    return d > TMap::SizeZ ? TMap::SizeZ : d < -TMap::SizeZ ? -TMap::SizeZ : d;
}

} // namespace

bool ShiftMap(TMap& map, int dx, int dy, int dz) {
    dx = ClampOffset(dx);
    dy = ClampOffset(dy);
    dz = ClampOffset(dz);
    if (dx == 0 && dy == 0 && dz == 0) return false;
    map.UndoBuf.BeginStep();
    map.UndoBuf.Slots[map.UndoBuf.Current].reserve(TMap::CellCount);

    static_assert(sizeof map.Cells == TMap::CellCount, "one byte per cell");
    uint8_t snapshot[TMap::CellCount];
    std::memcpy(snapshot, map.Cells, sizeof snapshot);
    for (int z = 0; z < TMap::SizeZ; ++z) {
        const int sz = z - dz;
        for (int y = 0; y < TMap::SizeY; ++y) {
            const int sy = y - dy;
            for (int x = 0; x < TMap::SizeX; ++x) {
                const int sx = x - dx;
                uint8_t c = 0;
                if (TMap::Inside(sx, sy, sz)) c = LevelFilter(z, snapshot[TMap::Index(sx, sy, sz)]);
                map.SetChip(x, y, z, c);
            }
        }
    }
    return true;
}

bool SwapCountries(TMap& map, int a, int b) {
    if (a < 0 || a > 3 || b < 0 || b > 3)
        throw std::invalid_argument("SwapCountries: countries are 0..3");
    if (a == b) return false;
    map.UndoBuf.BeginStep();

    uint8_t swapped[256]; // chip -> chip of the other country; 0 where the cell is not written
    std::memset(swapped, 0, sizeof swapped);
    for (uint8_t base : CountryChipBases) {
        swapped[base + a] = uint8_t(base + b);
        swapped[base + b] = uint8_t(base + a);
    }
    for (int z = 0; z < TMap::SizeZ; ++z)
        for (int y = 0; y < TMap::SizeY; ++y)
            for (int x = 0; x < TMap::SizeX; ++x) {
                // Read now: a cell above a rewritten lower half already holds its new chip.
                const uint8_t n = swapped[map.GetChip(x, y, z)];
                if (n != 0) map.SetChip(x, y, z, n);
            }
    return true;
}

} // namespace quarvel
