// Tests of map shaping and of the whole-map chip choice.
#include "map/chipclasses.h"
#include "map/mapclass.h"
#include "tests/maptestutil.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <memory>
#include <random>

using namespace quarvel;
using namespace quarvel::test;

namespace {

// ---- Variants -----------------------------------------------------------------------------

TEST(EdgeVariant, NeighboursOnTheLowSides) {
    struct Row {
        const char* Name;
        int Chip;
        int Dx, Dy, Dz; // where the neighbour stands, relative to (5, 5, 5)
        int Want;
    };
    const Row rows[] = {
        {"none", 0, 0, 0, 0, 3},
        {"x-1 ground", 9, -1, 0, 0, 2},
        {"x-1 ground above", 9, -1, 0, 1, 2},
        {"y-1 ground", 9, 0, -1, 0, 1},
        {"y-1 river above", 87, 0, -1, 1, 1},
        {"x-1 paving", 20, -1, 0, 0, 2},
        {"x-1 nest", 113, -1, 0, 0, 2},
        {"x-1 elevator top", 121, -1, 0, 0, 2},
        {"x-1 elevator middle", 122, -1, 0, 0, 3},
        {"x-1 rock", 111, -1, 0, 0, 3},
        {"x-1 bridge", 58, -1, 0, 0, 3},
        {"x-1 ground below", 9, -1, 0, -1, 3},
        {"x+1 ground", 9, 1, 0, 0, 3},
        {"y+1 ground", 9, 0, 1, 0, 3},
        {"diagonal ground", 9, -1, -1, 0, 3},
    };
    for (const Row& r : rows) {
        auto m = NewMap();
        Put(*m, 5 + r.Dx, 5 + r.Dy, 5 + r.Dz, r.Chip);
        EXPECT_EQ(m->EdgeVariant(5, 5, 5), r.Want) << r.Name;
    }
    auto m = NewMap();
    Put(*m, 4, 5, 6, 1);
    Put(*m, 5, 4, 5, 24);
    EXPECT_EQ(m->EdgeVariant(5, 5, 5), 0);
    EXPECT_EQ(m->EdgeVariant(0, 0, 47), 3); // outside reads as empty
}

TEST(BridgeVariant, AllMasks) {
    const int want[16] = {0, 1, 0, 5, 1, 1, 4, 8, 0, 6, 0, 9, 3, 10, 7, 2};
    const int sides[4][2] = {{-1, 0}, {0, -1}, {1, 0}, {0, 1}};
    for (int mask = 0; mask < 16; ++mask) {
        for (int dz : {-1, 0, 1}) { // the side's cell on any of the three levels counts
            auto m = NewMap();
            for (int s = 0; s < 4; ++s)
                if (mask & (1 << s)) Put(*m, 5 + sides[s][0], 5 + sides[s][1], 5 + dz, 60);
            EXPECT_EQ(m->BridgeVariant(5, 5, 5), want[mask]) << mask << " " << dz;
        }
    }
    auto m = NewMap();
    Put(*m, 4, 5, 5, 9);   // ground joins
    Put(*m, 6, 5, 5, 87);  // river does not
    Put(*m, 5, 4, 7, 60);  // two levels up does not
    Put(*m, 5, 6, 5, 111); // rock does not
    EXPECT_EQ(m->BridgeVariant(5, 5, 5), 1);
    Put(*m, 6, 5, 4, 82); // stairs below at x+1
    EXPECT_EQ(m->BridgeVariant(5, 5, 5), 1);
    Put(*m, 5, 6, 6, 80); // 80 above at y+1
    EXPECT_EQ(m->BridgeVariant(5, 5, 5), 10);
}

TEST(RiverVariant, AllMasks) {
    const int want[8] = {0, 5, 6, 3, 4, 1, 2, 3};
    const int cells[3][2] = {{-1, 0}, {0, -1}, {-1, -1}};
    for (int mask = 0; mask < 8; ++mask) {
        for (int bank : {9, 95, 111, 121}) {
            auto m = NewMap();
            for (int b = 0; b < 3; ++b)
                if (mask & (1 << b)) Put(*m, 5 + cells[b][0], 5 + cells[b][1], 6, bank);
            EXPECT_EQ(m->RiverVariant(5, 5, 5), want[mask]) << mask << " " << bank;
        }
    }
    auto m = NewMap();
    Put(*m, 4, 5, 5, 9);  // same level: not a bank
    Put(*m, 5, 4, 6, 58); // a bridge: not a bank
    Put(*m, 6, 5, 6, 9);  // x+1: not looked at
    EXPECT_EQ(m->RiverVariant(5, 5, 5), 0);
}

// ---- Shape --------------------------------------------------------------------------------

TEST(Shape, EmptyMapChangesNothing) {
    auto m = NewMap();
    EXPECT_FALSE(m->Shape());
    EXPECT_FALSE(m->Undo());
    EXPECT_EQ(m->UndoBuf.Current, 0);
    EXPECT_FALSE(m->Modified);
}

TEST(Shape, LoneGroundChip) {
    auto m = NewMap();
    Put(*m, 3, 3, 0, 9);
    EXPECT_TRUE(m->Shape());
    EXPECT_EQ(m->GetChip(3, 3, 0), 12);

    m = NewMap();
    Put(*m, 3, 3, 0, 9);
    Put(*m, 3, 3, 1, 111); // rock does not cover
    m->Shape();
    EXPECT_EQ(m->GetChip(3, 3, 0), 12);
    EXPECT_EQ(m->GetChip(3, 3, 1), 111);

    m = NewMap();
    Put(*m, 3, 3, 0, 9);
    Put(*m, 3, 3, 1, 87); // a river chip covers
    m->Shape();
    EXPECT_EQ(m->GetChip(3, 3, 0), 4);
}

TEST(Shape, GroundEdgesOfABlock) {
    auto m = NewMap();
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 2; ++x) Put(*m, 10 + x, 10 + y, 0, 14);
    EXPECT_TRUE(m->Shape());
    EXPECT_EQ(m->GetChip(10, 10, 0), 16); // no low neighbour: variant 3
    EXPECT_EQ(m->GetChip(11, 10, 0), 15); // x-1: variant 2
    EXPECT_EQ(m->GetChip(10, 11, 0), 14); // y-1: variant 1
    EXPECT_EQ(m->GetChip(11, 11, 0), 13); // both: variant 0
}

TEST(Shape, GroupsAndCovering) {
    struct Row {
        int Chip, Above, Want;
    };
    const Row rows[] = {
        {1, 0, 8},                                 // covered ground no longer covered: 5..8
        {4, 9, 4},                                 // covered stays covered
        {6, 0, 8},     {10, 0, 12},   {15, 0, 16}, // open ground keeps its group
        {7, 17, 4},                                // covered by paving
        {18, 0, 24},   {22, 0, 24},                // paving: open 21..24
        {23, 5, 20},   {21, 95, 20},               // covered paving 17..20
        {112, 0, 115}, {114, 20, 4}, // nest open keeps 112..115; covered becomes ground 1..4
        {116, 0, 116}, {120, 0, 120}, {121, 0, 121},              // entrances and elevators stay
        {111, 0, 111}, {80, 0, 80},   {81, 0, 81},   {82, 0, 82}, // rock, 80, stairs stay
        {25, 0, 25},   {33, 0, 33},   {200, 0, 200},
    };
    for (const Row& r : rows) {
        auto m = NewMap();
        Put(*m, 5, 5, 5, r.Chip);
        Put(*m, 5, 5, 6, r.Above);
        m->Shape();
        EXPECT_EQ(m->GetChip(5, 5, 5), r.Want) << r.Chip << " under " << r.Above;
    }
}

TEST(Shape, Bridges) {
    auto m = NewMap();
    for (int x = 10; x <= 14; ++x) Put(*m, x, 5, 3, 66);
    Put(*m, 20, 20, 3, 62); // lone bridge
    Put(*m, 25, 5, 3, 75);  // lone broken bridge
    Put(*m, 5, 25, 3, 70);  // broken bridge ...
    Put(*m, 6, 25, 2, 81);  // ... with stairs below at x+1
    EXPECT_TRUE(m->Shape());
    for (int x = 10; x <= 14; ++x) EXPECT_EQ(m->GetChip(x, 5, 3), 59) << x;
    EXPECT_EQ(m->GetChip(20, 20, 3), 58);
    EXPECT_EQ(m->GetChip(25, 5, 3), 69);
    EXPECT_EQ(m->GetChip(5, 25, 3), 70);
    EXPECT_EQ(m->GetChip(6, 25, 2), 81);
}

TEST(Shape, BridgeCrossing) {
    auto m = NewMap();
    for (int i = 8; i <= 12; ++i) Put(*m, i, 10, 4, 58), Put(*m, 10, i, 4, 58);
    m->Shape();
    EXPECT_EQ(m->GetChip(10, 10, 4), 60); // all four sides: variant 2
    EXPECT_EQ(m->GetChip(10, 8, 4), 58);  // only y+1: straight y
    EXPECT_EQ(m->GetChip(8, 10, 4), 59);  // only x+1: straight x
}

TEST(Shape, RiverBanks) {
    auto m = NewMap();
    Put(*m, 5, 5, 2, 85); // an unnamed river number, no banks
    Put(*m, 10, 10, 2, 108);
    Put(*m, 9, 10, 3, 9); // bank at x-1
    Put(*m, 15, 15, 2, 83);
    Put(*m, 14, 14, 3, 111); // the diagonal only: rock is a bank
    Put(*m, 20, 20, 2, 90);
    Put(*m, 19, 20, 3, 9), Put(*m, 20, 19, 3, 9); // x-1 and y-1
    EXPECT_TRUE(m->Shape());
    EXPECT_EQ(m->GetChip(5, 5, 2), 83);
    EXPECT_EQ(m->GetChip(10, 10, 2), 103);
    EXPECT_EQ(m->GetChip(15, 15, 2), 99);
    EXPECT_EQ(m->GetChip(20, 20, 2), 95);
}

TEST(Shape, CoveredNestUnderPaving) {
    auto m = NewMap();
    Put(*m, 5, 5, 0, 114);
    Put(*m, 5, 5, 1, 21);
    m->Shape();
    EXPECT_EQ(m->GetChip(5, 5, 0), 4);
    EXPECT_EQ(m->GetChip(5, 5, 1), 24);
}

TEST(Shape, OneStepSecondRunNothingUndoRedo) {
    std::mt19937 rng(11);
    auto m = NewMap();
    for (auto& c : m->Cells) c = uint8_t(rng() % 3 ? rng() % 168 : 0);
    m->UndoBuf.BeginStep();
    m->SetChip(0, 0, 0, 9); // one earlier step
    const auto before = CellsOf(*m);
    const int current = m->UndoBuf.Current;
    ASSERT_TRUE(m->Shape());
    EXPECT_EQ(m->UndoBuf.Current, current + 1);
    EXPECT_TRUE(m->Modified);
    const auto shaped = CellsOf(*m);
    size_t changed = 0;
    for (size_t i = 0; i < before.size(); ++i) changed += before[i] != shaped[i];
    EXPECT_EQ(m->UndoBuf.Count(), int(changed)); // one record per changed cell, no upkeep
    EXPECT_FALSE(m->Shape());
    EXPECT_EQ(m->UndoBuf.Current, current + 1);
    EXPECT_EQ(CellsOf(*m), shaped);
    EXPECT_TRUE(m->Undo());
    EXPECT_EQ(CellsOf(*m), before);
    EXPECT_TRUE(m->Redo());
    EXPECT_EQ(CellsOf(*m), shaped);
}

TEST(Shape, RecordsInScanOrder) {
    auto m = NewMap();
    Put(*m, 2, 0, 1, 9);
    Put(*m, 1, 0, 0, 9);
    Put(*m, 0, 3, 0, 58);
    ASSERT_TRUE(m->Shape());
    EXPECT_EQ(m->UndoBuf.Slots[m->UndoBuf.Current],
              (std::vector<UndoRecord>{PackUndoRecord(1, 0, 0, 9), PackUndoRecord(2, 0, 1, 9)}));
}

TEST(Shape, MatchesTheReferenceOnRandomMaps) {
    std::mt19937 rng(5);
    for (int round = 0; round < 12; ++round) {
        auto a = NewMap(), b = NewMap();
        const int density = 1 + round % 4; // from sparse to full
        for (auto& c : a->Cells) {
            int r = int(rng() % 8);
            c = r >= 2 * density ? 0 : uint8_t(rng() % 2 ? 1 + rng() % 24 : rng() % 256);
            if (r == 0) c = uint8_t(58 + rng() % 25);
            if (r == 1) c = uint8_t(83 + rng() % 29);
        }
        std::memcpy(b->Cells, a->Cells, TMap::CellCount);
        ASSERT_EQ(a->Shape(), ReferenceShape(*b)) << round;
        ASSERT_EQ(CellsOf(*a), CellsOf(*b)) << round;
        ASSERT_EQ(a->UndoBuf.Current, b->UndoBuf.Current);
        ASSERT_EQ(a->UndoBuf.Slots[a->UndoBuf.Current], b->UndoBuf.Slots[b->UndoBuf.Current]);
    }
}

// ---- GetViewChip --------------------------------------------------------------------------

TEST(ViewChip, FieldsAreDrawnOneLevelDown) {
    auto m = NewMap();
    Put(*m, 5, 5, 6, 26);
    Put(*m, 5, 5, 5, 9);
    EXPECT_EQ(m->GetViewChip(5, 5, 5), 26);
    EXPECT_EQ(m->GetViewChip(5, 5, 6), 0);
    Put(*m, 5, 5, 10, 27);
    EXPECT_EQ(m->GetViewChip(5, 5, 10), 0);
    Put(*m, 7, 7, 0, 25); // level 0: never drawn
    EXPECT_EQ(m->GetViewChip(7, 7, 0), 0);
}

TEST(ViewChip, HiddenUnderACoveredBlock) {
    auto m = NewMap();
    Put(*m, 5, 5, 5, 5);
    for (int y = 5; y <= 6; ++y)
        for (int x = 5; x <= 6; ++x) Put(*m, x, y, 6, 9);
    EXPECT_EQ(m->GetViewChip(5, 5, 5), 0);
    Put(*m, 5, 5, 6, 26);
    EXPECT_EQ(m->GetViewChip(5, 5, 5), 26);
    Put(*m, 5, 5, 6, 9);
    Put(*m, 6, 5, 6, 26);
    EXPECT_EQ(m->GetViewChip(5, 5, 5), 5);
    for (int c : {29, 100, 130, 155}) { // other cover chips
        for (int y = 5; y <= 6; ++y)
            for (int x = 5; x <= 6; ++x) Put(*m, x, y, 6, c);
        EXPECT_EQ(m->GetViewChip(5, 5, 5), 0) << c;
    }
    for (int c : {120, 144, 160, 58, 53}) { // not cover chips
        Put(*m, 6, 6, 6, c);
        EXPECT_EQ(m->GetViewChip(5, 5, 5), 5) << c;
    }
}

TEST(ViewChip, EdgesAreNeverHidden) {
    auto m = NewMap();
    for (auto& c : m->Cells) c = 9;
    Put(*m, 31, 4, 20, 12);
    Put(*m, 4, 31, 20, 13);
    Put(*m, 4, 4, 47, 14);
    Put(*m, 6, 4, 47, 28);
    Put(*m, 4, 6, 20, 200);
    EXPECT_EQ(m->GetViewChip(31, 4, 20), 12);
    EXPECT_EQ(m->GetViewChip(4, 31, 20), 13);
    EXPECT_EQ(m->GetViewChip(4, 4, 47), 14);
    EXPECT_EQ(m->GetViewChip(6, 4, 47), 0); // a field on the top level
    EXPECT_EQ(m->GetViewChip(4, 6, 20), 0); // hidden by the level above
    EXPECT_EQ(m->GetViewChip(4, 4, 46), 0);
    Put(*m, 8, 8, 47, 200);
    EXPECT_EQ(m->GetViewChip(8, 8, 47), 200); // shown as it is

    // Any coordinates are allowed; far outside (up to the ends of the integer range) is empty.
    Put(*m, 0, 0, 0, 26);
    for (int far : {INT_MIN, -2, 32, 48, INT_MAX}) {
        EXPECT_EQ(m->GetViewChip(far, 0, 0), 0) << far;
        EXPECT_EQ(m->GetViewChip(0, far, 0), 0) << far;
        EXPECT_EQ(m->GetViewChip(0, 0, far), 0) << far;
    }
    EXPECT_EQ(m->GetViewChip(0, 0, -1), 26); // the field on level 0 is drawn at level -1
}

// The whole-map chip choice written out with plain membership lists, compared on random maps.
int ReferenceViewChip(const TMap& m, int x, int y, int z) {
    auto field = [](int c) { return c >= 25 && c <= 28; };
    auto cover = [](int c) {
        return (c >= 1 && c <= 24) || (c >= 29 && c <= 32) || (c >= 83 && c <= 119) ||
               (c >= 128 && c <= 143) || (c >= 152 && c <= 159);
    };
    int above = m.GetChip(x, y, z + 1), own = m.GetChip(x, y, z);
    int result = field(above) ? above : field(own) ? 0 : own;
    if (cover(above) && cover(m.GetChip(x + 1, y, z + 1)) && cover(m.GetChip(x, y + 1, z + 1)) &&
        cover(m.GetChip(x + 1, y + 1, z + 1)))
        result = 0;
    return result;
}

TEST(ViewChip, MatchesTheReferenceOnRandomMaps) {
    std::mt19937 rng(3);
    const uint8_t palette[] = {0, 0, 9, 9, 9, 26, 29, 58, 87, 111, 120, 130, 144, 200};
    for (int round = 0; round < 3; ++round) {
        auto m = NewMap();
        for (auto& c : m->Cells) c = palette[rng() % sizeof palette];
        for (int z = -1; z <= 48; ++z)
            for (int y = -1; y <= 32; ++y)
                for (int x = -1; x <= 32; ++x)
                    ASSERT_EQ(m->GetViewChip(x, y, z), ReferenceViewChip(*m, x, y, z))
                        << x << " " << y << " " << z;
    }
}

} // namespace
