// Tests of the undo history: the buffer's state machine, the worked example, the
// 101-step overflow, and Undo/Redo of TMap replaying records as plain cell writes.
#include "map/mapclass.h"
#include "map/undobuffer.h"
#include "tests/maptestutil.h"

#include <gtest/gtest.h>

#include <memory>

using namespace quarvel;
using namespace quarvel::test;

namespace {

// One user action: a step and one write.
void Paint(TMap& m, int x, int y, int z, int chip) {
    m.UndoBuf.BeginStep();
    m.SetChip(x, y, z, uint8_t(chip));
}

const Records& Slot(const TMap& m, int i) {
    return m.UndoBuf.Slots[i];
}

TEST(UndoRecord, PacksCellAndChip) {
    EXPECT_EQ(PackUndoRecord(3, 4, 0, 5), 0x05000403u);
    EXPECT_EQ(PackUndoRecord(31, 31, 47, 255), 0xFF2F1F1Fu);
    EXPECT_EQ(PackUndoRecord(0, 0, 0, 0), 0u);
}

TEST(UndoBuf, NewBufferIsEmpty) {
    TUndoBuf u;
    EXPECT_EQ(u.Current, 0);
    EXPECT_EQ(u.RedoCount, 0);
    EXPECT_EQ(u.Count(), 0);
    for (const auto& s : u.Slots) EXPECT_TRUE(s.empty());
}

TEST(UndoBuf, BeginStepReusesAnEmptyStepAboveSlotZero) {
    TUndoBuf u;
    u.BeginStep();
    EXPECT_EQ(u.Current, 1);
    u.BeginStep(); // slot 1 is empty: used again
    EXPECT_EQ(u.Current, 1);
    u.Push(7);
    u.BeginStep();
    EXPECT_EQ(u.Current, 2);
    EXPECT_EQ(u.Count(), 0);
}

TEST(UndoBuf, BeginStepClearsRedoAndTheSlotItOpens) {
    TUndoBuf u;
    u.Slots[1] = {1, 2, 3}; // an undone step's records
    u.RedoCount = 4;
    u.BeginStep();
    EXPECT_EQ(u.Current, 1);
    EXPECT_EQ(u.RedoCount, 0);
    EXPECT_TRUE(u.Slots[1].empty());
}

TEST(UndoBuf, PushPopCountStepBack) {
    TUndoBuf u;
    u.Push(1); // slot 0, the floor
    u.Push(2);
    EXPECT_EQ(u.Count(), 2);
    EXPECT_EQ(u.Pop(), 2u);
    EXPECT_EQ(u.Count(), 1);
    u.StepBack();
    EXPECT_EQ(u.Current, 0);
}

TEST(UndoBuf, StepForwardPastSlot100DropsTheOldestStep) {
    TUndoBuf u;
    for (int i = 1; i <= 100; ++i) u.Slots[i] = {UndoRecord(i)};
    u.Current = 100;
    u.StepForward();
    EXPECT_EQ(u.Current, 100);
    for (int i = 1; i <= 99; ++i) EXPECT_EQ(u.Slots[i], Records{UndoRecord(i + 1)}) << i;
    EXPECT_EQ(u.Slots[100], Records{100u}); // still a copy of its own list
    u.BeginStep();                          // current slot not empty: drops step 2 now
    EXPECT_EQ(u.Current, 100);
    EXPECT_EQ(u.Slots[1], Records{3u});
    EXPECT_TRUE(u.Slots[100].empty());
}

TEST(UndoBuf, ResetEmptiesEverything) {
    TUndoBuf u;
    u.BeginStep();
    u.Push(5);
    u.BeginStep();
    u.RedoCount = 1;
    u.Reset();
    EXPECT_EQ(u.Current, 0);
    EXPECT_EQ(u.RedoCount, 0);
    for (const auto& s : u.Slots) EXPECT_TRUE(s.empty());
}

// The worked example of the undo history, step by step.
TEST(MapUndo, WorkedExample) {
    auto m = NewMap();
    Paint(*m, 3, 4, 0, 5); // 1
    EXPECT_EQ(m->UndoBuf.Current, 1);
    EXPECT_EQ(Slot(*m, 1), Records{0x00000403u});
    EXPECT_EQ(m->GetChip(3, 4, 0), 5);

    Paint(*m, 3, 4, 0, 7); // 2
    EXPECT_EQ(m->UndoBuf.Current, 2);
    EXPECT_EQ(Slot(*m, 2), Records{0x05000403u});
    EXPECT_EQ(m->GetChip(3, 4, 0), 7);

    EXPECT_TRUE(m->Undo()); // 3
    EXPECT_EQ(m->GetChip(3, 4, 0), 5);
    EXPECT_EQ(Slot(*m, 2), Records{R(3, 4, 0, 7)});
    EXPECT_EQ(m->UndoBuf.Current, 1);
    EXPECT_EQ(m->UndoBuf.RedoCount, 1);

    EXPECT_TRUE(m->Undo()); // 4
    EXPECT_EQ(m->GetChip(3, 4, 0), 0);
    EXPECT_EQ(Slot(*m, 1), Records{R(3, 4, 0, 5)});
    EXPECT_EQ(m->UndoBuf.Current, 0);
    EXPECT_EQ(m->UndoBuf.RedoCount, 2);

    EXPECT_FALSE(m->Undo()); // 5
    EXPECT_EQ(m->UndoBuf.Current, 0);
    EXPECT_EQ(m->UndoBuf.RedoCount, 2);

    EXPECT_TRUE(m->Redo()); // 6
    EXPECT_EQ(m->UndoBuf.Current, 1);
    EXPECT_EQ(m->UndoBuf.RedoCount, 1);
    EXPECT_EQ(m->GetChip(3, 4, 0), 5);
    EXPECT_EQ(Slot(*m, 1), Records{R(3, 4, 0, 0)});

    Paint(*m, 3, 4, 0, 9); // 7
    EXPECT_EQ(m->UndoBuf.RedoCount, 0);
    EXPECT_EQ(m->UndoBuf.Current, 2);
    EXPECT_EQ(Slot(*m, 2), Records{R(3, 4, 0, 5)});

    EXPECT_FALSE(m->Redo()); // 8
    EXPECT_EQ(m->GetChip(3, 4, 0), 9);
}

TEST(MapUndo, UndoAfterClearOrLoadReturnsFalse) {
    auto m = NewMap();
    Paint(*m, 1, 1, 1, 3);
    m->Clear();
    EXPECT_FALSE(m->Undo());
    EXPECT_EQ(m->UndoBuf.Current, 0);
}

TEST(MapUndo, OverflowKeeps100Steps) {
    auto m = NewMap();
    for (int i = 1; i <= 101; ++i) Paint(*m, 0, 0, 5, i);
    EXPECT_EQ(m->UndoBuf.Current, 100);
    for (int i = 1; i <= 100; ++i) EXPECT_TRUE(m->Undo()) << i;
    EXPECT_FALSE(m->Undo());
    EXPECT_EQ(m->UndoBuf.Current, 0);
    EXPECT_EQ(m->GetChip(0, 0, 5), 1); // step 1's value: its own step was dropped
    EXPECT_EQ(m->UndoBuf.RedoCount, 100);
    for (int i = 1; i <= 100; ++i) EXPECT_TRUE(m->Redo()) << i;
    EXPECT_FALSE(m->Redo());
    EXPECT_EQ(m->GetChip(0, 0, 5), 101);
}

TEST(MapUndo, UndoUndoRedoRedoRestoresTheState) {
    auto m = NewMap();
    Paint(*m, 1, 2, 3, 50);
    Paint(*m, 4, 5, 6, 51);
    std::vector<uint8_t> cells(m->Cells, m->Cells + TMap::CellCount);
    const int current = m->UndoBuf.Current;
    Records s1 = Slot(*m, 1), s2 = Slot(*m, 2);
    EXPECT_TRUE(m->Undo());
    EXPECT_TRUE(m->Undo());
    EXPECT_TRUE(m->Redo());
    EXPECT_TRUE(m->Redo());
    EXPECT_EQ(std::vector<uint8_t>(m->Cells, m->Cells + TMap::CellCount), cells);
    EXPECT_EQ(m->UndoBuf.Current, current);
    EXPECT_EQ(m->UndoBuf.RedoCount, 0);
    EXPECT_EQ(Slot(*m, 1), s1);
    EXPECT_EQ(Slot(*m, 2), s2);
}

TEST(MapUndo, NewStepAfterUndoDropsRedo) {
    auto m = NewMap();
    Paint(*m, 1, 1, 1, 50);
    EXPECT_TRUE(m->Undo());
    Paint(*m, 2, 2, 2, 51);
    EXPECT_FALSE(m->Redo());
    EXPECT_EQ(m->GetChip(1, 1, 1), 0);
}

TEST(MapUndo, EmptyStepIsSkippedByUndo) {
    auto m = NewMap();
    Paint(*m, 1, 1, 1, 50);
    Paint(*m, 1, 1, 1, 51);
    m->UndoBuf.BeginStep(); // an action that wrote nothing
    EXPECT_EQ(m->UndoBuf.Current, 3);
    EXPECT_TRUE(m->Undo());
    EXPECT_EQ(m->UndoBuf.Current, 1); // dropped by two
    EXPECT_EQ(m->GetChip(1, 1, 1), 50);
}

TEST(MapUndo, TreeComesBackWhole) {
    auto m = NewMap();
    m->Cells[TMap::Index(7, 7, 11)] = 99; // something the tree's top overwrites
    Paint(*m, 7, 7, 9, 35);
    EXPECT_EQ(m->GetChip(7, 7, 10), 34);
    EXPECT_EQ(m->GetChip(7, 7, 11), 33);
    EXPECT_TRUE(m->Undo());
    EXPECT_EQ(m->GetChip(7, 7, 9), 0);
    EXPECT_EQ(m->GetChip(7, 7, 10), 0);
    EXPECT_EQ(m->GetChip(7, 7, 11), 99);
    EXPECT_TRUE(m->Redo());
    EXPECT_EQ(m->GetChip(7, 7, 9), 35);
    EXPECT_EQ(m->GetChip(7, 7, 10), 34);
    EXPECT_EQ(m->GetChip(7, 7, 11), 33);
    // Erasing the middle removes all of it; one undo brings all three back.
    Paint(*m, 7, 7, 10, 0);
    EXPECT_EQ(m->GetChip(7, 7, 9), 0);
    EXPECT_EQ(m->GetChip(7, 7, 11), 0);
    EXPECT_TRUE(m->Undo());
    EXPECT_EQ(m->GetChip(7, 7, 9), 35);
    EXPECT_EQ(m->GetChip(7, 7, 10), 34);
    EXPECT_EQ(m->GetChip(7, 7, 11), 33);
}

TEST(MapUndo, UndoAndRedoMarkTheMapModified) {
    auto m = NewMap();
    Paint(*m, 1, 1, 1, 50);
    m->Modified = false;
    EXPECT_TRUE(m->Undo());
    EXPECT_TRUE(m->Modified);
    m->Modified = false;
    EXPECT_TRUE(m->Redo());
    EXPECT_TRUE(m->Modified);
}

// Undo and redo replay a step's records as they are: however often a step is undone and
// redone, it keeps its record count and the cells alternate between the two states exactly.
TEST(MapUndo, UndoRedoPairsKeepTheStepAsItWas) {
    struct Case {
        const char* what;
        int chip;
    };
    for (const Case& c :
         {Case{"two-level object", 40}, Case{"two-level object", 136},
          Case{"three-level object", 33}, Case{"three-level object", 38}, Case{"plain chip", 5}}) {
        SCOPED_TRACE(c.what);
        auto m = NewMap();
        m->Cells[TMap::Index(5, 5, 21)] = 99; // something the object's upper part overwrites
        m->Cells[TMap::Index(5, 5, 22)] = 7;
        const std::vector<uint8_t> before(m->Cells, m->Cells + TMap::CellCount);
        Paint(*m, 5, 5, 20, c.chip);
        const std::vector<uint8_t> after(m->Cells, m->Cells + TMap::CellCount);
        const size_t records = Slot(*m, 1).size();
        for (int pair = 0; pair < 10; ++pair) {
            ASSERT_TRUE(m->Undo());
            ASSERT_EQ(std::vector<uint8_t>(m->Cells, m->Cells + TMap::CellCount), before) << pair;
            ASSERT_EQ(Slot(*m, 1).size(), records) << pair;
            ASSERT_TRUE(m->Redo());
            ASSERT_EQ(std::vector<uint8_t>(m->Cells, m->Cells + TMap::CellCount), after) << pair;
            ASSERT_EQ(Slot(*m, 1).size(), records) << pair;
            EXPECT_EQ(m->UndoBuf.Current, 1);
            EXPECT_EQ(m->UndoBuf.RedoCount, 0);
        }
    }
}

// A step that overwrites one object with another (old partners cleared, new ones written)
// still comes back whole after many pairs.
TEST(MapUndo, ObjectOverObjectSurvivesManyPairs) {
    auto m = NewMap();
    Paint(*m, 9, 9, 30, 33);
    const std::vector<uint8_t> before(m->Cells, m->Cells + TMap::CellCount);
    m->UndoBuf.BeginStep();
    m->SetChip(9, 9, 31, 40);
    m->SetChip(9, 9, 29, 136);
    const std::vector<uint8_t> after(m->Cells, m->Cells + TMap::CellCount);
    const size_t records = Slot(*m, 2).size();
    for (int pair = 0; pair < 12; ++pair) {
        ASSERT_TRUE(m->Undo());
        ASSERT_EQ(std::vector<uint8_t>(m->Cells, m->Cells + TMap::CellCount), before);
        ASSERT_TRUE(m->Redo());
        ASSERT_EQ(std::vector<uint8_t>(m->Cells, m->Cells + TMap::CellCount), after);
        ASSERT_EQ(Slot(*m, 2).size(), records);
    }
    // The step below is untouched and undoes as before.
    ASSERT_TRUE(m->Undo());
    ASSERT_TRUE(m->Undo());
    EXPECT_EQ(std::vector<uint8_t>(m->Cells, m->Cells + TMap::CellCount),
              std::vector<uint8_t>(TMap::CellCount, 0));
}

} // namespace
