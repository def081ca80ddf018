// Map shaping and the whole-map chip choice of TMap.
#include "map/chipclasses.h"
#include "map/mapclass.h"

#include <array>
#include <cstring>

namespace quarvel {

namespace {

constexpr int8_t BridgeVariantOfMask[16] = {0, 1, 0, 5, 1, 1, 4, 8, 0, 6, 0, 9, 3, 10, 7, 2};
constexpr int8_t RiverVariantOfMask[8] = {0, 5, 6, 3, 4, 1, 2, 3};

constexpr bool IsField(uint8_t c) {
    return c >= 25 && c <= 28;
}

// What Shape does with a chip.
enum ShapeKind : uint8_t { KeepChip, EdgeChip, BridgeChip, RiverChip };

struct ShapeRule {
    ShapeKind Kind = KeepChip;
    uint8_t OpenBase = 0;    // edge chips: first chip when not covered; bridges: 58 or 69
    uint8_t CoveredBase = 0; // edge chips: first chip when covered
};

constexpr std::array<ShapeRule, 256> MakeShapeRules() {
    std::array<ShapeRule, 256> t{};
    for (int c = 1; c <= 4; ++c) t[c] = {EdgeChip, 5, 1};
    for (int c = 5; c <= 16; ++c) t[c] = {EdgeChip, uint8_t((c - 1) / 4 * 4 + 1), 1};
    for (int c = 17; c <= 24; ++c) t[c] = {EdgeChip, 21, 17};
    for (int c = 58; c <= 68; ++c) t[c] = {BridgeChip, 58, 0};
    for (int c = 69; c <= 79; ++c) t[c] = {BridgeChip, 69, 0};
    for (int c = 83; c <= 110; ++c) t[c] = {RiverChip, 83, 0};
    for (int c = 112; c <= 115; ++c) t[c] = {EdgeChip, 112, 1};
    return t;
}

constexpr std::array<ShapeRule, 256> ShapeRules = MakeShapeRules();

// The chip sets that the variant rules test, as bits of one byte per chip.
enum : uint8_t { SolidBit = 1, JoinBit = 2, BankBit = 4 };

const std::array<uint8_t, 256>& ClassBits() {
    static const std::array<uint8_t, 256> bits = [] {
        std::array<uint8_t, 256> b{};
        for (int c = 0; c < 256; ++c)
            b[c] = uint8_t((SolidChips.Contains(uint8_t(c)) ? SolidBit : 0) |
                           (BridgeJoinChips.Contains(uint8_t(c)) ? JoinBit : 0) |
                           (BankChips.Contains(uint8_t(c)) ? BankBit : 0));
        return b;
    }();
    return bits;
}

// The class bits of every cell with a border of empty cells on all six sides, so that the
// neighbour tests need no bounds checks. Shape's writes never change a chip's sets (every
// rule maps a chip into its own set), so the grid stays right during the whole scan.
constexpr int GX = TMap::SizeX + 2, GY = TMap::SizeY + 2, GZ = TMap::SizeZ + 2;
constexpr int GRow = GX, GLevel = GX * GY;
constexpr int GridIndex(int x, int y, int z) {
    return (z + 1) * GLevel + (y + 1) * GRow + (x + 1);
}

} // namespace

// The variant rules one cell at a time, reading through GetChip (the reference form).

int TMap::EdgeVariant(int x, int y, int z) const {
    int w =
        SolidChips.Contains(GetChip(x - 1, y, z)) || SolidChips.Contains(GetChip(x - 1, y, z + 1));
    int v =
        SolidChips.Contains(GetChip(x, y - 1, z)) || SolidChips.Contains(GetChip(x, y - 1, z + 1));
    return 3 - (w + 2 * v);
}

int TMap::BridgeVariant(int x, int y, int z) const {
    auto joins = [&](int sx, int sy) {
        return BridgeJoinChips.Contains(GetChip(sx, sy, z)) ||
               BridgeJoinChips.Contains(GetChip(sx, sy, z - 1)) ||
               BridgeJoinChips.Contains(GetChip(sx, sy, z + 1));
    };
    int mask = (joins(x - 1, y) ? 1 : 0) | (joins(x, y - 1) ? 2 : 0) | (joins(x + 1, y) ? 4 : 0) |
               (joins(x, y + 1) ? 8 : 0);
    return BridgeVariantOfMask[mask];
}

int TMap::RiverVariant(int x, int y, int z) const {
    int mask = (BankChips.Contains(GetChip(x - 1, y, z + 1)) ? 1 : 0) |
               (BankChips.Contains(GetChip(x, y - 1, z + 1)) ? 2 : 0) |
               (BankChips.Contains(GetChip(x - 1, y - 1, z + 1)) ? 4 : 0);
    return RiverVariantOfMask[mask];
}

uint8_t TMap::ShapedChip(int x, int y, int z) const {
    const uint8_t c = GetChip(x, y, z);
    const ShapeRule& rule = ShapeRules[c];
    switch (rule.Kind) {
    case EdgeChip:
        return uint8_t(
            (SolidChips.Contains(GetChip(x, y, z + 1)) ? rule.CoveredBase : rule.OpenBase) +
            EdgeVariant(x, y, z));
    case BridgeChip:
        return uint8_t(rule.OpenBase + BridgeVariant(x, y, z));
    case RiverChip:
        return uint8_t(83 + 4 * RiverVariant(x, y, z));
    default:
        return c;
    }
}

// The same rules over the class grid, in the scan order of Shape.
bool TMap::Shape() {
    const auto& classBits = ClassBits();
    uint8_t grid[GX * GY * GZ];
    std::memset(grid, 0, sizeof grid);
    for (int z = 0; z < SizeZ; ++z)
        for (int y = 0; y < SizeY; ++y) {
            const uint8_t* row = Cells + Index(0, y, z);
            uint8_t* g = grid + GridIndex(0, y, z);
            for (int x = 0; x < SizeX; ++x) g[x] = classBits[row[x]];
        }

    // First the new chip of every cell, collecting the cells that change without a branch
    // on the outcome (on a varied map that branch is mispredicted half the time); then the
    // writes, in the scan order. Computing all chips first gives the same result as writing
    // during the scan: a cell's rule reads only the class grid and its own chip, and Shape
    // writes only chips without partner cells, so a write changes nothing but its own cell.
    uint16_t changedCells[CellCount];
    uint8_t changedChips[CellCount];
    int count = 0;
    for (int z = 0; z < SizeZ; ++z) {
        for (int y = 0; y < SizeY; ++y) {
            for (int x = 0; x < SizeX; ++x) {
                const int i = Index(x, y, z);
                const uint8_t c = Cells[i];
                const ShapeRule& rule = ShapeRules[c];
                const uint8_t* g = grid + GridIndex(x, y, z);
                const uint8_t* up = g + GLevel;
                const int covered = up[0] & SolidBit;
                const int w = (g[-1] | up[-1]) & SolidBit;
                const int v = (g[-GRow] | up[-GRow]) & SolidBit;
                const int edge = (covered ? rule.CoveredBase : rule.OpenBase) + 3 - (w + 2 * v);
                auto side = [g](int d) {
                    return ((g[d] | g[d - GLevel] | g[d + GLevel]) & JoinBit) >> 1;
                };
                const int bridge =
                    rule.OpenBase + BridgeVariantOfMask[side(-1) | side(-GRow) << 1 | side(1) << 2 |
                                                        side(GRow) << 3];
                const int bank = (up[-1] & BankBit) >> 2 | (up[-GRow] & BankBit) >> 1 |
                                 (up[-GRow - 1] & BankBit);
                const int river = 83 + 4 * RiverVariantOfMask[bank];
                const int candidates[4] = {c, edge, bridge, river};
                const uint8_t n = uint8_t(candidates[rule.Kind]);
                changedCells[count] = uint16_t(i);
                changedChips[count] = n;
                count += n != c;
            }
        }
    }
    if (count == 0) return false;
    UndoBuf.BeginStep();
    UndoBuf.Slots[UndoBuf.Current].reserve(size_t(count));
    for (int k = 0; k < count; ++k) {
        const int i = changedCells[k];
        SetChip(i % SizeX, i / SizeX % SizeY, i / LevelSize, changedChips[k]);
    }
    return true;
}

uint8_t TMap::GetViewChip(int x, int y, int z) const {
    uint8_t own, above, aboveX, aboveY, aboveXY; // the cell and its 2x2 block on the level above
    if (unsigned(x) < unsigned(SizeX - 1) && unsigned(y) < unsigned(SizeY - 1) &&
        unsigned(z) < unsigned(SizeZ - 1)) {
        const uint8_t* p = Cells + Index(x, y, z);
        const uint8_t* q = p + Index(0, 0, 1);
        own = p[0], above = q[0], aboveX = q[1], aboveY = q[SizeX], aboveXY = q[SizeX + 1];
    } else { // at the edges: every read through GetChip
        // Farther out every read is outside the map (and x + 1 could overflow): nothing drawn.
        if (x < -1 || x >= SizeX || y < -1 || y >= SizeY || z < -1 || z >= SizeZ) return 0;
        own = GetChip(x, y, z), above = GetChip(x, y, z + 1), aboveX = GetChip(x + 1, y, z + 1);
        aboveY = GetChip(x, y + 1, z + 1), aboveXY = GetChip(x + 1, y + 1, z + 1);
    }
    const uint8_t result = IsField(above) ? above : IsField(own) ? 0 : own;
    // The chip choice stops at the first of the four that is not a cover chip; testing all four
    // gives the same answer.
    const bool hidden = CoverChips.Contains(above) & CoverChips.Contains(aboveX) &
                        CoverChips.Contains(aboveY) & CoverChips.Contains(aboveXY);
    return hidden ? 0 : result;
}

} // namespace quarvel
