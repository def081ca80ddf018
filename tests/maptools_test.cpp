// Tests of the map tools: the shift with its level filter, and the country swap
// with gates and walls following their lower halves.
#include "map/mapclass.h"
#include "map/maptools.h"
#include "tests/maptestutil.h"

#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <random>
#include <stdexcept>

using namespace quarvel;
using namespace quarvel::test;

namespace {

const Records& StepRecords(const TMap& m) {
    return m.UndoBuf.Slots[m.UndoBuf.Current];
}

// Chips without partners and not refused anywhere, so a shift only moves them.
std::unique_ptr<TMap> PlainRandomMap(uint32_t seed) {
    std::mt19937 rng(seed);
    auto m = NewMap();
    for (auto& c : m->Cells) c = uint8_t(rng() % 2 ? 50 + rng() % 80 : 0);
    return m;
}

// ---- Shift --------------------------------------------------------------------------------

TEST(Shift, ZeroOffsetsDoNothing) {
    auto m = PlainRandomMap(1);
    auto before = CellsOf(*m);
    EXPECT_FALSE(ShiftMap(*m, 0, 0, 0));
    EXPECT_EQ(m->UndoBuf.Current, 0);
    EXPECT_FALSE(m->Modified);
    EXPECT_EQ(CellsOf(*m), before);
}

TEST(Shift, MovesContentAndUndoes) {
    for (auto [dx, dy, dz] : {std::tuple{1, 0, 0},
                              {-1, 0, 0},
                              {0, 3, 0},
                              {0, -5, 0},
                              {0, 0, 2},
                              {0, 0, -1},
                              {2, -3, 4},
                              {-31, 31, -47}}) {
        SCOPED_TRACE(testing::Message() << dx << " " << dy << " " << dz);
        auto m = PlainRandomMap(2);
        auto before = CellsOf(*m);
        ASSERT_TRUE(ShiftMap(*m, dx, dy, dz));
        const auto shifted = CellsOf(*m);
        EXPECT_EQ(m->UndoBuf.Current, 1);
        EXPECT_EQ(m->UndoBuf.Count(), TMap::CellCount); // one record per cell, no upkeep
        EXPECT_TRUE(m->Modified);
        for (int z = 0; z < 48; ++z)
            for (int y = 0; y < 32; ++y)
                for (int x = 0; x < 32; ++x) {
                    int sx = x - dx, sy = y - dy, sz = z - dz;
                    int want = TMap::Inside(sx, sy, sz) ? before[TMap::Index(sx, sy, sz)] : 0;
                    ASSERT_EQ(m->GetChip(x, y, z), want) << x << " " << y << " " << z;
                }
        EXPECT_TRUE(m->Undo());
        EXPECT_EQ(CellsOf(*m), before);
        EXPECT_TRUE(m->Redo());
        EXPECT_EQ(CellsOf(*m), shifted);
    }
}

TEST(Shift, RecordsEveryCellInLoopOrder) {
    auto m = PlainRandomMap(3);
    auto before = CellsOf(*m);
    ASSERT_TRUE(ShiftMap(*m, 1, 0, 0));
    const Records& r = StepRecords(*m);
    ASSERT_EQ(r.size(), size_t(TMap::CellCount));
    for (int i = 0; i < TMap::CellCount; ++i)
        ASSERT_EQ(r[size_t(i)], R(i % 32, (i / 32) % 32, i / 1024, before[size_t(i)])) << i;
}

TEST(Shift, LargeOffsetsEmptyTheMap) {
    for (auto [dx, dy, dz] : {std::tuple{32, 0, 0},
                              {0, -32, 0},
                              {0, 0, 48},
                              {0, 0, -48},
                              {0, 0, 1000},
                              {INT_MIN, 0, 0},
                              {0, INT_MAX, 0},
                              {0, 0, INT_MIN}}) {
        SCOPED_TRACE(testing::Message() << dx << " " << dy << " " << dz);
        auto m = PlainRandomMap(4);
        auto before = CellsOf(*m);
        ASSERT_TRUE(ShiftMap(*m, dx, dy, dz));
        for (int i = 0; i < TMap::CellCount; ++i) ASSERT_EQ(m->Cells[i], 0);
        EXPECT_TRUE(m->Undo()); // still one undoable step
        EXPECT_EQ(CellsOf(*m), before);
    }
}

TEST(Shift, LevelFilterUpward) {
    auto m = NewMap();
    Put(*m, 1, 1, 45, 35);    // a lone tree bottom arriving on 46: dropped
    m->SetChip(2, 2, 44, 35); // a tree on 44..46 arrives on 45..47: stays
    Put(*m, 3, 3, 46, 41);    // a fence's lower half arriving on 47: dropped
    Put(*m, 4, 4, 46, 40);    // an upper half arriving on 47: stays
    Put(*m, 5, 5, 46, 138);   // a gate's lower half arriving on 47: dropped
    ASSERT_TRUE(ShiftMap(*m, 0, 0, 1));
    EXPECT_EQ(m->GetChip(1, 1, 46), 0);
    EXPECT_EQ(m->GetChip(2, 2, 45), 35);
    EXPECT_EQ(m->GetChip(2, 2, 46), 34);
    EXPECT_EQ(m->GetChip(2, 2, 47), 33);
    EXPECT_EQ(m->GetChip(3, 3, 47), 0);
    EXPECT_EQ(m->GetChip(4, 4, 47), 40);
    EXPECT_EQ(m->GetChip(4, 4, 46), 41); // its lower half, written by the upkeep
    EXPECT_EQ(m->GetChip(5, 5, 47), 0);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) EXPECT_EQ(m->GetChip(x, y, 0), 0);
}

TEST(Shift, LevelFilterDownward) {
    auto m = NewMap();
    Put(*m, 1, 1, 1, 25);    // a field arriving on 0: dropped
    Put(*m, 2, 2, 2, 33);    // a tree top arriving on 1: dropped
    m->SetChip(3, 3, 3, 33); // a tree on 1..3 arrives on 0..2: stays
    Put(*m, 4, 4, 1, 29);    // a village arriving on 0: stays
    Put(*m, 5, 5, 1, 147);   // an upper gate arriving on 0: dropped
    Put(*m, 6, 6, 2, 36);    // the other three-level top arriving on 1: dropped
    ASSERT_TRUE(ShiftMap(*m, 0, 0, -1));
    EXPECT_EQ(m->GetChip(1, 1, 0), 0);
    EXPECT_EQ(m->GetChip(2, 2, 1), 0);
    EXPECT_EQ(m->GetChip(3, 3, 2), 33);
    EXPECT_EQ(m->GetChip(3, 3, 1), 34);
    EXPECT_EQ(m->GetChip(3, 3, 0), 35);
    EXPECT_EQ(m->GetChip(3, 3, 3), 0);
    EXPECT_EQ(m->GetChip(4, 4, 0), 29);
    EXPECT_EQ(m->GetChip(5, 5, 0), 0);
    EXPECT_EQ(m->GetChip(6, 6, 1), 0);
}

TEST(Shift, WholeObjectsMoveAndUndo) {
    auto m = NewMap();
    m->SetChip(7, 7, 10, 35);  // tree on 10..12
    m->SetChip(8, 8, 20, 153); // wall on 20..21
    m->UndoBuf.Reset();
    auto before = CellsOf(*m);
    ASSERT_TRUE(ShiftMap(*m, 1, 2, 3));
    EXPECT_EQ(m->GetChip(8, 9, 13), 35);
    EXPECT_EQ(m->GetChip(8, 9, 14), 34);
    EXPECT_EQ(m->GetChip(8, 9, 15), 33);
    EXPECT_EQ(m->GetChip(9, 10, 23), 153);
    EXPECT_EQ(m->GetChip(9, 10, 24), 161);
    int count = 0;
    for (uint8_t c : m->Cells) count += c != 0;
    EXPECT_EQ(count, 5);
    EXPECT_TRUE(m->Undo());
    EXPECT_EQ(CellsOf(*m), before);
}

// The records of a shifted tree: each write's own record, then the upkeep's, in loop order.
TEST(Shift, TreeRecords) {
    auto m = NewMap();
    m->SetChip(0, 0, 1, 35); // tree on levels 1..3 of column (0, 0)
    m->UndoBuf.Reset();
    ASSERT_TRUE(ShiftMap(*m, 0, 0, 1));
    const Records& r = StepRecords(*m);
    // The records of column (0, 0) on levels 0..4, in the order they were pushed.
    Records column;
    for (UndoRecord v : r)
        if ((v & 0xFFFF) == 0 && ((v >> 16) & 0xFF) <= 4) column.push_back(v);
    EXPECT_EQ(column, (Records{
                          R(0, 0, 0, 0),                                  // 0 := 0
                          R(0, 0, 1, 35), R(0, 0, 2, 34), R(0, 0, 3, 33), // 1 := 0, unlink
                          R(0, 0, 2, 0), R(0, 0, 3, 0), R(0, 0, 4, 0),    // 2 := 35, link
                          R(0, 0, 3, 34), R(0, 0, 2, 35), R(0, 0, 4, 33), // 3 := 34, unlink
                          R(0, 0, 4, 0), R(0, 0, 2, 0),                   //          link
                          R(0, 0, 4, 33), R(0, 0, 2, 35), R(0, 0, 3, 34), // 4 := 33, unlink
                          R(0, 0, 3, 0), R(0, 0, 2, 0),                   //          link
                      }));
    EXPECT_EQ(r.size(), size_t(TMap::CellCount) + 12);
    EXPECT_EQ(m->GetChip(0, 0, 2), 35);
    EXPECT_EQ(m->GetChip(0, 0, 3), 34);
    EXPECT_EQ(m->GetChip(0, 0, 4), 33);
    EXPECT_EQ(m->GetChip(0, 0, 1), 0);
}

// ---- Swap ---------------------------------------------------------------------------------

TEST(Swap, SameCountryDoesNothing) {
    auto m = PlainRandomMap(5);
    EXPECT_FALSE(SwapCountries(*m, 2, 2));
    EXPECT_EQ(m->UndoBuf.Current, 0);
    EXPECT_FALSE(m->Modified);
}

TEST(Swap, BadCountry) {
    auto m = NewMap();
    EXPECT_THROW(SwapCountries(*m, 0, 4), std::invalid_argument);
    EXPECT_THROW(SwapCountries(*m, -1, 0), std::invalid_argument);
}

TEST(Swap, GreenAndBlue) {
    auto m = NewMap();
    const int chips[] = {25, 26, 27, 28, 29, 32, 128, 129, 130, 131, 132, 135, 0, 1, 58, 124};
    for (int i = 0; i < 16; ++i) Put(*m, i, 0, 5, chips[i]);
    ASSERT_TRUE(SwapCountries(*m, 0, 3));
    const int want[] = {28, 26, 27, 25, 32, 29, 131, 129, 130, 128, 135, 132, 0, 1, 58, 124};
    for (int i = 0; i < 16; ++i) EXPECT_EQ(m->GetChip(i, 0, 5), want[i]) << chips[i];
    EXPECT_EQ(m->UndoBuf.Count(), 8); // only the matching cells were written
    EXPECT_TRUE(m->Undo());
    for (int i = 0; i < 16; ++i) EXPECT_EQ(m->GetChip(i, 0, 5), chips[i]);
}

TEST(Swap, EveryCountryChip) {
    for (int a = 0; a < 4; ++a)
        for (int b = 0; b < 4; ++b) {
            if (a == b) continue;
            auto m = NewMap();
            for (int c = 0; c < 256; ++c) Put(*m, c % 32, c / 32, 20, c);
            SwapCountries(*m, a, b);
            for (int c = 0; c < 256; ++c) {
                int want = c;
                for (int base : CountryChipBases) {
                    if (c == base + a) want = base + b;
                    if (c == base + b) want = base + a;
                }
                EXPECT_EQ(m->GetChip(c % 32, c / 32, 20), want) << a << b << " " << c;
            }
        }
}

TEST(Swap, GatesAndWallsFollowTheirLowerHalves) {
    auto m = NewMap();
    m->SetChip(3, 3, 10, 136); // gate: 136 on 10, 144 on 11
    m->SetChip(4, 4, 10, 157); // unnamed wall lower half: 157 on 10, 165 on 11
    m->SetChip(5, 5, 10, 142); // another country's unnamed gate: untouched
    m->UndoBuf.Reset();
    ASSERT_TRUE(SwapCountries(*m, 0, 1));
    EXPECT_EQ(m->GetChip(3, 3, 10), 137);
    EXPECT_EQ(m->GetChip(3, 3, 11), 145);
    EXPECT_EQ(m->GetChip(4, 4, 10), 156);
    EXPECT_EQ(m->GetChip(4, 4, 11), 164);
    EXPECT_EQ(m->GetChip(5, 5, 10), 142);
    EXPECT_EQ(m->GetChip(5, 5, 11), 150);
    EXPECT_EQ(StepRecords(*m), (Records{R(3, 3, 10, 136), R(3, 3, 11, 144), R(3, 3, 11, 0),
                                        R(4, 4, 10, 157), R(4, 4, 11, 165), R(4, 4, 11, 0)}));
    EXPECT_TRUE(m->Undo());
    EXPECT_EQ(m->GetChip(3, 3, 10), 136);
    EXPECT_EQ(m->GetChip(3, 3, 11), 144);
    EXPECT_EQ(m->GetChip(4, 4, 11), 165);
}

TEST(Swap, StackedGatesReadTheirNewValues) {
    // Lower gates on 10 and 11 of one column (as a file may hold): the upkeep of the write
    // on 10 rewrites 11 with an upper half, which the loop then reads and leaves alone.
    auto m = NewMap();
    Put(*m, 0, 0, 10, 136);
    Put(*m, 0, 0, 11, 136);
    Put(*m, 0, 0, 12, 144);
    ASSERT_TRUE(SwapCountries(*m, 0, 2));
    EXPECT_EQ(m->GetChip(0, 0, 10), 138);
    EXPECT_EQ(m->GetChip(0, 0, 11), 146);
    // Partner cells are cleared by plain stores: 11's old chip ran no unlink of its own, so
    // the upper half on 12 stays.
    EXPECT_EQ(m->GetChip(0, 0, 12), 144);
}

TEST(Swap, NoMatchStillOpensAnEmptyStep) {
    auto m = NewMap();
    Put(*m, 1, 1, 1, 26);
    ASSERT_TRUE(SwapCountries(*m, 0, 3));
    EXPECT_EQ(m->UndoBuf.Current, 1);
    EXPECT_EQ(m->UndoBuf.Count(), 0);
    EXPECT_FALSE(m->Modified);
    EXPECT_EQ(m->GetChip(1, 1, 1), 26);
}

TEST(CountryChipBases, Table) {
    const uint8_t want[8] = {25, 29, 128, 132, 136, 140, 152, 156};
    for (int i = 0; i < 8; ++i) EXPECT_EQ(CountryChipBases[i], want[i]);
}

} // namespace
