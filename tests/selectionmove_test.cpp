// Moving the selection box with its cells, and the level steps that keep the selection.
#include "editor/commands.h"
#include "editor/selectionmove.h"
#include "map/maperror.h"
#include "tests/fakewindows.h"
#include "tests/maptestutil.h"

#include <algorithm>
#include <random>

namespace quarvel::test {
namespace {

class SelectionMoveTest : public EditorTest {
protected:
    void Paint(int x, int y, int z, uint8_t chip) {
        State.TheMap->UndoBuf.BeginStep();
        State.TheMap->SetChip(x, y, z, chip);
        State.TheMap->UndoBuf.BeginStep();
    }
    SelectionBox Box() const { return State.TheSelection->Box(State.CurrentLevel); }
    static bool SameBox(const SelectionBox& a, const SelectionBox& b) {
        return a.Left == b.Left && a.Top == b.Top && a.Right == b.Right && a.Bottom == b.Bottom &&
               a.Low == b.Low && a.High == b.High;
    }
    std::string Mark(int x, int y) const {
        return FakeEditView::Cell("edit.MarkCell", x, y) + " 1";
    }
};

TEST_F(SelectionMoveTest, LevelStepsWithTheSelectionGrowAndShrinkTheBox) {
    State.CurrentLevel = 5;
    State.TheSelection->SetActive(true);
    State.TheSelection->SetCorner(0, 2, 3);
    State.TheSelection->SetCorner(1, 3, 3);
    EXPECT_EQ(State.TheSelection->Z0, 5);
    Log.clear();
    const int shown = Whole.SelectionShown;

    MenuClick(State, tagUpKeep);
    EXPECT_TRUE(State.TheSelection->Active);
    EXPECT_EQ(State.CurrentLevel, 6);
    EXPECT_TRUE(SameBox(Box(), {2, 3, 3, 3, 5, 6}));
    // The new level is drawn, the selection outlined on it, and the box shown anew.
    EXPECT_EQ(Log, (CallLog{"edit.RedrawLevel", Mark(2, 3), Mark(3, 3), "edit.PaintView",
                            "info.UpdateInfo"}));
    EXPECT_EQ(Whole.SelectionShown, shown + 1);
    EXPECT_EQ(SelectionLevelsText(State), "選択 Z:5-6");

    // Down past the anchor: the box turns to the levels below it.
    MenuClick(State, tagDownKeep);
    MenuClick(State, tagDownKeep);
    EXPECT_TRUE(SameBox(Box(), {2, 3, 3, 3, 4, 5}));
    MenuClick(State, tagUpKeep);
    EXPECT_EQ(SelectionLevelsText(State), "");

    // The plain level step still switches the selection off.
    MenuClick(State, tagUp);
    EXPECT_FALSE(State.TheSelection->Active);
    EXPECT_EQ(SelectionLevelsText(State), "");
}

TEST_F(SelectionMoveTest, LevelStepsStopAtTheEndsAndANewSelectionStartsOnOneLevel) {
    SelectBox(0, 0, 1, 1, 46, 47);
    MenuClick(State, tagUpKeep);
    EXPECT_EQ(State.CurrentLevel, 47);
    EXPECT_TRUE(Log.empty());
    State.TheSelection->SetCorner(0, 4, 4); // a new drag: anchored on the current level
    EXPECT_TRUE(SameBox(Box(), {4, 4, 4, 4, 47, 47}));

    SelectBox(0, 0, 0, 0, 1, 0);
    MenuClick(State, tagDownKeep);
    EXPECT_EQ(State.CurrentLevel, 0);
    EXPECT_TRUE(Log.empty());
    MenuClick(State, tagSelectAll); // select all anchors on the current level too
    EXPECT_TRUE(SameBox(Box(), {0, 0, 31, 31, 0, 0}));
}

TEST_F(SelectionMoveTest, MoveIsOneStepAndTakesTheSelectionAlong) {
    State.TheMap->UndoBuf.BeginStep();
    for (int z = 10; z <= 11; ++z)
        for (int x = 4; x <= 6; ++x) State.TheMap->SetChip(x, 8, z, uint8_t(50 + z * 3 + x));
    State.TheMap->SetChip(7, 8, 10, 99); // beside the block: overwritten by its right column
    State.TheCopyBuf = {1, 1, {7}};
    SelectBox(4, 8, 6, 8, 10, 11);
    const int before = State.TheMap->UndoBuf.Current;

    EXPECT_EQ(MoveSelection(State, 1, 0, 0), MoveResult::Moved);
    EXPECT_EQ(State.TheMap->UndoBuf.Current, before + 1);
    for (int z = 10; z <= 11; ++z) {
        EXPECT_EQ(State.TheMap->GetChip(4, 8, z), 0);
        for (int x = 5; x <= 7; ++x) EXPECT_EQ(State.TheMap->GetChip(x, 8, z), 50 + z * 3 + x - 1);
    }
    EXPECT_TRUE(State.TheSelection->Active);
    EXPECT_TRUE(SameBox(Box(), {5, 8, 7, 8, 10, 11}));
    EXPECT_EQ(State.TheCopyBuf.Data, std::vector<uint8_t>{7});
    EXPECT_EQ(Log, (CallLog{"edit.RedrawLevel", Mark(5, 8), Mark(6, 8), Mark(7, 8),
                            "edit.PaintView", "whole.RedrawAll", "info.UpdateInfo"}));

    ASSERT_TRUE(State.TheMap->Undo());
    for (int z = 10; z <= 11; ++z)
        for (int x = 4; x <= 6; ++x) EXPECT_EQ(State.TheMap->GetChip(x, 8, z), 50 + z * 3 + x);
    EXPECT_EQ(State.TheMap->GetChip(7, 8, 10), 99);
    ASSERT_TRUE(State.TheMap->Redo());
    EXPECT_EQ(State.TheMap->GetChip(7, 8, 10), 50 + 30 + 6);
    EXPECT_EQ(State.TheMap->GetChip(4, 8, 11), 0);
}

TEST_F(SelectionMoveTest, MoveWritesZerosFirstThenTheBlockInTheSameOrder) {
    Paint(0, 0, 3, 60);
    Paint(1, 0, 3, 61);
    Paint(0, 0, 4, 62);
    SelectBox(0, 0, 1, 0, 3, 4);
    ASSERT_EQ(MoveSelection(State, 0, 1, 1), MoveResult::Moved);
    EXPECT_EQ(State.TheMap->UndoBuf.Slots[State.TheMap->UndoBuf.Current],
              (Records{R(0, 0, 3, 60), R(1, 0, 3, 61), R(0, 0, 4, 62), R(1, 0, 4, 0), R(0, 1, 4, 0),
                       R(1, 1, 4, 0), R(0, 1, 5, 0), R(1, 1, 5, 0)}));
    EXPECT_EQ(State.TheMap->GetChip(0, 1, 5), 62);
    EXPECT_TRUE(SameBox(Box(), {0, 1, 1, 1, 4, 5}));
    EXPECT_EQ(State.CurrentLevel, 5);
}

TEST_F(SelectionMoveTest, MoveThatWouldCarryAChipOffTheMapIsRefused) {
    Paint(31, 5, 20, 60);
    SelectBox(30, 5, 31, 5, 20, 20);
    const auto cells = CellsOf(*State.TheMap);
    const int step = State.TheMap->UndoBuf.Current;
    EXPECT_EQ(MoveSelection(State, 1, 0, 0), MoveResult::Refused);
    EXPECT_EQ(CellsOf(*State.TheMap), cells);
    EXPECT_EQ(State.TheMap->UndoBuf.Current, step);
    EXPECT_TRUE(Log.empty());

    // The key command says so; the selection stays where it was.
    MenuClick(State, tagMoveRight);
    EXPECT_EQ(Log, CallLog{"msg マップからはみ出すよ？|エラー"});
    EXPECT_TRUE(SameBox(Box(), {30, 5, 31, 5, 20, 20}));

    // Levels too: a chip on level 47 cannot go up, one on level 0 cannot go down.
    Paint(0, 0, 47, 60);
    SelectBox(0, 0, 0, 0, 47, 47);
    EXPECT_EQ(MoveSelection(State, 0, 0, 1), MoveResult::Refused);
    Paint(0, 0, 0, 60);
    SelectBox(0, 0, 0, 0, 0, 0);
    EXPECT_EQ(MoveSelection(State, 0, 0, -1), MoveResult::Refused);
    EXPECT_EQ(MoveSelection(State, 0, -2147483647 - 1, 0), MoveResult::Refused);
}

TEST_F(SelectionMoveTest, EmptyCellsMayLeaveTheMapAndTheSelectionIsClamped) {
    Paint(29, 5, 46, 60);
    SelectBox(29, 5, 31, 6, 46, 47); // the chip on the left, empty cells on its right
    ASSERT_EQ(MoveSelection(State, 2, 0, 1), MoveResult::Moved);
    EXPECT_EQ(State.TheMap->GetChip(31, 5, 47), 60);
    EXPECT_EQ(State.TheMap->GetChip(29, 5, 46), 0);
    EXPECT_TRUE(SameBox(Box(), {31, 5, 31, 6, 47, 47}));
    EXPECT_EQ(State.TheMap->UndoBuf.Count(), 12 + 2); // 12 zeros; of the block only 2 cells land
}

TEST_F(SelectionMoveTest, NothingToMoveOpensNoStep) {
    Paint(3, 3, 3, 60);
    const int step = State.TheMap->UndoBuf.Current;
    EXPECT_EQ(MoveSelection(State, 1, 0, 0), MoveResult::Nothing); // selection off
    SelectBox(3, 3, 3, 3, 3, 3);
    EXPECT_EQ(MoveSelection(State, 0, 0, 0), MoveResult::Nothing);
    EXPECT_EQ(State.TheMap->UndoBuf.Current, step);
    EXPECT_TRUE(Log.empty());
    MenuClick(State, tagMoveSelection);
    EXPECT_EQ(Log, CallLog{"main.RunMoveDialog 0 0 0"});
    State.TheSelection->SetActive(false);
    Log.clear();
    MenuClick(State, tagMoveSelection); // no dialog without a selection
    MenuClick(State, tagMoveLeft);
    EXPECT_TRUE(Log.empty());
}

TEST_F(SelectionMoveTest, MoveOntoItselfAndBackRestoresTheCells) {
    // A 4-wide row moved by one overlaps its old place: every chip lands once, none smears.
    for (int x = 0; x < 4; ++x) Paint(x, 0, 2, uint8_t(60 + x));
    SelectBox(0, 0, 3, 0, 2, 2);
    ASSERT_EQ(MoveSelection(State, 1, 0, 0), MoveResult::Moved);
    for (int x = 0; x < 5; ++x) EXPECT_EQ(State.TheMap->GetChip(x, 0, 2), x == 0 ? 0 : 59 + x);
    ASSERT_EQ(MoveSelection(State, -1, 0, 0), MoveResult::Moved);
    for (int x = 0; x < 5; ++x) EXPECT_EQ(State.TheMap->GetChip(x, 0, 2), x == 4 ? 0 : 60 + x);
    // Key moves: one cell each, down the screen is +y, PageUp one level up.
    MenuClick(State, tagMoveForward);
    MenuClick(State, tagMoveUp);
    EXPECT_EQ(State.TheMap->GetChip(0, 1, 3), 60);
    MenuClick(State, tagMoveBack);
    MenuClick(State, tagMoveDown);
    EXPECT_EQ(State.TheMap->GetChip(0, 0, 2), 60);
    EXPECT_EQ(State.TheMap->GetChip(0, 1, 3), 0);
}

TEST_F(SelectionMoveTest, ObjectsCutByTheBoxMoveWholeAndTheLevelFilterApplies) {
    // A tree on levels 10..12; the box holds levels 10..11, so the top is cut by the box.
    Paint(5, 5, 10, 35);
    SelectBox(5, 5, 5, 5, 10, 11);
    ASSERT_EQ(MoveSelection(State, 1, 0, 0), MoveResult::Moved);
    for (int z = 10; z <= 12; ++z) EXPECT_EQ(State.TheMap->GetChip(5, 5, z), 0) << z;
    EXPECT_EQ(State.TheMap->GetChip(6, 5, 10), 35);
    EXPECT_EQ(State.TheMap->GetChip(6, 5, 11), 34);
    EXPECT_EQ(State.TheMap->GetChip(6, 5, 12), 33);
    ASSERT_TRUE(State.TheMap->Undo());
    EXPECT_EQ(State.TheMap->GetChip(5, 5, 12), 33);
    EXPECT_EQ(State.TheMap->GetChip(6, 5, 10), 0);

    // A field (25) may not stand on level 0: moved there it is dropped.
    Paint(9, 9, 1, 25);
    SelectBox(9, 9, 9, 9, 1, 1);
    ASSERT_EQ(MoveSelection(State, 0, 0, -1), MoveResult::Moved);
    EXPECT_EQ(State.TheMap->GetChip(9, 9, 0), 0);
    EXPECT_EQ(State.TheMap->GetChip(9, 9, 1), 0);
    EXPECT_EQ(State.CurrentLevel, 0);
}

TEST_F(SelectionMoveTest, ARefusedMoveOpensTheDialogAgainOnItsOffsets) {
    Paint(31, 0, 0, 60);
    SelectBox(30, 0, 31, 0, 0, 0);
    Main.MoveAnswers = {{1, 0, 0}, {-3, 2, 1}};
    MenuClick(State, tagMoveSelection);
    EXPECT_EQ(std::vector<std::string>(Log.begin(), Log.begin() + 3),
              (CallLog{"main.RunMoveDialog 0 0 0", "msg マップからはみ出すよ？|エラー",
                       "main.RunMoveDialog 1 0 0"}));
    EXPECT_EQ(State.TheMap->GetChip(28, 2, 1), 60);
    EXPECT_TRUE(SameBox(Box(), {27, 2, 28, 2, 1, 1}));
}

// A box of empty cells: only the selection moves, clamped like a block's; the map, its
// modified flag and its undo steps stay as they were. Against a plain clamp on random boxes.
TEST_F(SelectionMoveTest, AnEmptyBoxMovesTheSelectionOnly) {
    std::mt19937 random(16);
    auto any = [&](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random);
    };
    const auto clamp = [](int v, int last) { return std::max(0, std::min(v, last)); };
    for (int i = 0; i < 300; ++i) {
        State.TheMap->Clear();
        // Chips around the box, none inside it.
        const int x0 = any(0, 31), x1 = any(0, 31), y0 = any(0, 31), y1 = any(0, 31);
        const int z0 = any(0, 47), z1 = any(0, 47);
        SelectBox(x0, y0, x1, y1, z0, z1);
        const SelectionBox box = Box();
        for (int n = 0; n < 20; ++n) {
            const int x = any(0, 31), y = any(0, 31), z = any(0, 47);
            const bool inside = x >= box.Left && x <= box.Right && y >= box.Top &&
                                y <= box.Bottom && z >= box.Low && z <= box.High;
            if (!inside) State.TheMap->Cells[TMap::Index(x, y, z)] = uint8_t(any(1, 167));
        }
        State.TheMap->Modified = false;
        const std::vector<uint8_t> before(State.TheMap->Cells,
                                          State.TheMap->Cells + TMap::CellCount);
        const int steps = State.TheMap->UndoBuf.Current, records = State.TheMap->UndoBuf.Count();
        const int dx = any(-40, 40), dy = any(-40, 40), dz = any(-50, 50);
        if (dx == 0 && dy == 0 && dz == 0) continue;
        ASSERT_EQ(MoveSelection(State, dx, dy, dz), MoveResult::Moved) << i;
        EXPECT_FALSE(State.TheMap->Modified);
        EXPECT_EQ(State.TheMap->UndoBuf.Current, steps);
        EXPECT_EQ(State.TheMap->UndoBuf.Count(), records);
        EXPECT_TRUE(std::equal(before.begin(), before.end(), State.TheMap->Cells));
        EXPECT_EQ(State.TheSelection->X0, clamp(x0 + dx, 31));
        EXPECT_EQ(State.TheSelection->X1, clamp(x1 + dx, 31));
        EXPECT_EQ(State.TheSelection->Y0, clamp(y0 + dy, 31));
        EXPECT_EQ(State.TheSelection->Y1, clamp(y1 + dy, 31));
        EXPECT_EQ(State.TheSelection->Z0, clamp(z0 + dz, 47));
        EXPECT_EQ(State.CurrentLevel, clamp(z1 + dz, 47));
        ASSERT_TRUE(State.TheSelection->Active);
    }
}

} // namespace
} // namespace quarvel::test
