// Copy, cut, delete, paste and select all on the current level, through the menu tags.
#include "editor/clipboard.h"
#include "editor/commands.h"
#include "editor/selectionmove.h"
#include "tests/fakewindows.h"
#include "tests/maptestutil.h"

namespace quarvel::test {
namespace {

class ClipboardTest : public EditorTest {
protected:
    void Select(int x0, int y0, int x1, int y1) {
        State.TheSelection->SetActive(true);
        State.TheSelection->SetCorner(0, x0, y0);
        State.TheSelection->SetCorner(1, x1, y1);
        Log.clear();
    }
    // A w x h buffer holding 1, 2, 3, ... row by row (ground chips, no partners).
    void Buffer(int w, int h) {
        State.TheCopyBuf.Width = w;
        State.TheCopyBuf.Height = h;
        State.TheCopyBuf.Data.resize(size_t(w * h));
        for (int i = 0; i < w * h; ++i) State.TheCopyBuf.Data[size_t(i)] = uint8_t(i + 1);
    }
    int NonEmptyCells(int z) const {
        int n = 0;
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x) n += State.TheMap->GetChip(x, y, z) != 0;
        return n;
    }
    const CallLog RedrawAfterChange{"edit.RedrawLevel", "whole.RedrawAll", "info.UpdateInfo"};
};

TEST_F(ClipboardTest, CopyReadsTheSelectionRowByRow) {
    State.CurrentLevel = 6;
    State.TheMap->UndoBuf.BeginStep();
    for (int y = 7; y <= 8; ++y)
        for (int x = 4; x <= 6; ++x) State.TheMap->SetChip(x, y, 6, uint8_t(x + y * 10));
    State.TheMap->Modified = false;
    const auto undoBefore = State.TheMap->UndoBuf.Current;
    Select(6, 8, 4, 7);

    MenuClick(State, tagCopy);
    EXPECT_EQ(State.TheCopyBuf.Width, 3);
    EXPECT_EQ(State.TheCopyBuf.Height, 2);
    EXPECT_EQ(State.TheCopyBuf.Data, (std::vector<uint8_t>{74, 75, 76, 84, 85, 86}));
    EXPECT_FALSE(State.TheSelection->Active);
    EXPECT_FALSE(State.TheMap->Modified);
    EXPECT_EQ(State.TheMap->UndoBuf.Current, undoBefore);
    EXPECT_EQ(Count("edit.RedrawLevel") + Count("whole") + Count("info"), 0);
}

TEST_F(ClipboardTest, CommandsWithTheSelectionOffDoNothing) {
    Buffer(2, 2);
    MenuClick(State, tagCopy);
    MenuClick(State, tagDelete);
    MenuClick(State, tagPaste);
    MenuClick(State, tagCut);
    EXPECT_TRUE(Log.empty());
    EXPECT_EQ(State.TheMap->UndoBuf.Current, 0);
    EXPECT_EQ(State.TheCopyBuf.Width, 2);
    EXPECT_EQ(State.TheCopyBuf.Data[3], 4);
}

TEST_F(ClipboardTest, PasteAtOneCellRunsToTheLevelEdges) {
    State.CurrentLevel = 2;
    Buffer(4, 4);
    Select(30, 30, 30, 30);
    MenuClick(State, tagPaste);
    EXPECT_EQ(State.TheMap->GetChip(30, 30, 2), 1);
    EXPECT_EQ(State.TheMap->GetChip(31, 30, 2), 2);
    EXPECT_EQ(State.TheMap->GetChip(30, 31, 2), 5);
    EXPECT_EQ(State.TheMap->GetChip(31, 31, 2), 6);
    EXPECT_EQ(NonEmptyCells(2), 4);
    EXPECT_FALSE(State.TheSelection->Active);
    // The outline of the cell goes first, then every window.
    EXPECT_EQ(Log, (CallLog{"edit.MarkCell 30 30 0", "edit.RedrawLevel", "whole.RedrawAll",
                            "info.UpdateInfo"}));
}

TEST_F(ClipboardTest, LargerSelectionCutsThePaste) {
    State.CurrentLevel = 3;
    Buffer(4, 4);
    Select(10, 10, 11, 12); // 2 wide, 3 high
    MenuClick(State, tagPaste);
    EXPECT_EQ(NonEmptyCells(3), 6);
    EXPECT_EQ(State.TheMap->GetChip(10, 10, 3), 1);
    EXPECT_EQ(State.TheMap->GetChip(11, 12, 3), 10);
    EXPECT_EQ(State.TheMap->GetChip(12, 10, 3), 0);

    State.TheMap->UndoBuf.BeginStep();
    for (int y = 20; y <= 25; ++y)
        for (int x = 20; x <= 25; ++x) State.TheMap->SetChip(x, y, 3, 20);
    Select(20, 20, 25, 25);
    MenuClick(State, tagPaste);
    for (int y = 20; y <= 25; ++y)
        for (int x = 20; x <= 25; ++x) {
            const bool inBuffer = x < 24 && y < 24;
            EXPECT_EQ(State.TheMap->GetChip(x, y, 3), inBuffer ? (y - 20) * 4 + (x - 20) + 1 : 20);
        }
}

TEST_F(ClipboardTest, OneCellBufferIntoOneCellSelection) {
    Buffer(1, 1);
    State.CurrentLevel = 9;
    Select(31, 31, 31, 31);
    MenuClick(State, tagPaste);
    EXPECT_EQ(State.TheMap->GetChip(31, 31, 9), 1);
}

TEST_F(ClipboardTest, PasteDropsChipsThatMayNotStandOnTheLevel) {
    State.TheCopyBuf = {3, 1, {25, 33, 35}};
    struct Case {
        int Level;
        uint8_t Expected[3];
    } cases[] = {
        {0, {0, 0, 35}}, {1, {25, 0, 35}}, {2, {25, 33, 35}}, {46, {25, 33, 0}}, {47, {25, 33, 0}}};
    for (const auto& c : cases) {
        State.TheMap->Clear();
        State.CurrentLevel = c.Level;
        Select(5, 5, 5, 5);
        MenuClick(State, tagPaste);
        for (int j = 0; j < 3; ++j)
            EXPECT_EQ(State.TheMap->GetChip(5 + j, 5, c.Level), c.Expected[j])
                << "level " << c.Level << " column " << j;
    }
}

TEST_F(ClipboardTest, CutIsOneUndoStepAndKeepsTheBuffer) {
    State.CurrentLevel = 4;
    State.TheMap->UndoBuf.BeginStep();
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x) State.TheMap->SetChip(x, y, 4, 9);
    Select(0, 0, 2, 2);
    MenuClick(State, tagCut);
    EXPECT_EQ(NonEmptyCells(4), 0);
    EXPECT_EQ(State.TheCopyBuf.Width, 3);
    EXPECT_EQ(State.TheCopyBuf.Data, std::vector<uint8_t>(9, 9));
    EXPECT_FALSE(State.TheSelection->Active);
    EXPECT_EQ(CallLog(Log.end() - 3, Log.end()), RedrawAfterChange);

    EXPECT_TRUE(State.TheMap->Undo());
    EXPECT_EQ(NonEmptyCells(4), 9);
    Select(10, 10, 10, 10);
    MenuClick(State, tagPaste);
    EXPECT_EQ(State.TheMap->GetChip(12, 12, 4), 9);
}

TEST_F(ClipboardTest, DeleteEmptiesTheSelectionAndSetsModified) {
    State.TheMap->UndoBuf.BeginStep();
    State.TheMap->SetChip(1, 1, 0, 9);
    State.TheMap->SetChip(2, 1, 0, 9);
    State.TheMap->Modified = false;
    Select(1, 1, 1, 1);
    MenuClick(State, tagDelete);
    EXPECT_EQ(State.TheMap->GetChip(1, 1, 0), 0);
    EXPECT_EQ(State.TheMap->GetChip(2, 1, 0), 9);
    EXPECT_TRUE(State.TheMap->Modified);
}

TEST_F(ClipboardTest, PasteOfAnEmptyBufferOpensAnEmptyStepAndEndsRedo) {
    State.TheMap->UndoBuf.BeginStep();
    State.TheMap->SetChip(3, 3, 0, 9);
    ASSERT_TRUE(State.TheMap->Undo());
    Select(0, 0, 0, 0);
    MenuClick(State, tagPaste);
    EXPECT_EQ(State.TheMap->UndoBuf.RedoCount, 0);
    EXPECT_EQ(State.TheMap->UndoBuf.Current, 1);
    EXPECT_EQ(State.TheMap->UndoBuf.Count(), 0);
    EXPECT_FALSE(State.TheMap->Redo());
    EXPECT_EQ(State.TheMap->GetChip(3, 3, 0), 0);
    EXPECT_EQ(CallLog(Log.end() - 3, Log.end()), RedrawAfterChange);
}

TEST_F(ClipboardTest, SelectAllSelectsTheLevelOnce) {
    Select(3, 3, 4, 4);
    MenuClick(State, tagSelectAll);
    EXPECT_TRUE(State.TheSelection->Active);
    EXPECT_EQ(State.TheSelection->GetBound(bWidth), 32);
    EXPECT_EQ(State.TheSelection->GetBound(bHeight), 32);
    EXPECT_EQ(Log.back(), "edit.PaintView");
    Log.clear();
    MenuClick(State, tagSelectAll);
    EXPECT_TRUE(Log.empty());

    MenuClick(State, tagCopy);
    EXPECT_EQ(State.TheCopyBuf.Data.size(), 1024u);
}

TEST_F(ClipboardTest, CopyOfABoxReadsLevelByLevelFromTheBottom) {
    State.TheMap->UndoBuf.BeginStep();
    for (int z = 4; z <= 6; ++z)
        for (int y = 7; y <= 8; ++y)
            for (int x = 1; x <= 2; ++x)
                State.TheMap->SetChip(x, y, z, uint8_t(20 + z * 10 + (y - 7) * 2 + x));
    // The anchor above the current level gives the same box as the anchor below it.
    for (const auto& ends : {std::pair{6, 4}, std::pair{4, 6}}) {
        SelectBox(2, 8, 1, 7, ends.first, ends.second);
        MenuClick(State, tagCopy);
        EXPECT_EQ(State.TheCopyBuf.Width, 2);
        EXPECT_EQ(State.TheCopyBuf.Height, 2);
        EXPECT_EQ(State.TheCopyBuf.Depth, 3);
        EXPECT_EQ(State.TheCopyBuf.Data,
                  (std::vector<uint8_t>{61, 62, 63, 64, 71, 72, 73, 74, 81, 82, 83, 84}));
        EXPECT_FALSE(State.TheSelection->Active);
    }
    // A one-level selection copies one level again.
    Select(1, 7, 1, 7);
    MenuClick(State, tagCopy);
    EXPECT_EQ(State.TheCopyBuf.Depth, 1);
    EXPECT_EQ(State.TheCopyBuf.Data, std::vector<uint8_t>{81});
}

TEST_F(ClipboardTest, DeleteOfABoxIsOneStepWrittenLevelsRowsColumns) {
    State.TheMap->UndoBuf.BeginStep();
    for (int z = 2; z <= 3; ++z)
        for (int y = 0; y <= 1; ++y)
            for (int x = 0; x <= 1; ++x) State.TheMap->SetChip(x, y, z, 9);
    State.TheMap->SetChip(0, 0, 4, 9); // above the box
    SelectBox(0, 0, 1, 1, 3, 2);
    MenuClick(State, tagDelete);
    EXPECT_EQ(NonEmptyCells(2) + NonEmptyCells(3), 0);
    EXPECT_EQ(State.TheMap->GetChip(0, 0, 4), 9);
    EXPECT_EQ(State.TheMap->UndoBuf.Slots[State.TheMap->UndoBuf.Current],
              (Records{R(0, 0, 2, 9), R(1, 0, 2, 9), R(0, 1, 2, 9), R(1, 1, 2, 9), R(0, 0, 3, 9),
                       R(1, 0, 3, 9), R(0, 1, 3, 9), R(1, 1, 3, 9)}));
    EXPECT_FALSE(State.TheSelection->Active);
    EXPECT_EQ(CallLog(Log.end() - 3, Log.end()), RedrawAfterChange);

    ASSERT_TRUE(State.TheMap->Undo());
    EXPECT_EQ(NonEmptyCells(2) + NonEmptyCells(3), 8);
    ASSERT_TRUE(State.TheMap->Redo());
    EXPECT_EQ(NonEmptyCells(2) + NonEmptyCells(3), 0);
}

TEST_F(ClipboardTest, DeleteTakesAwayWholeObjectsThatTheBoxCuts) {
    // A tree on levels 9..11 and a wall on levels 12..13; the box holds levels 11..12 only.
    State.TheMap->UndoBuf.BeginStep();
    State.TheMap->SetChip(5, 5, 9, 35);
    State.TheMap->SetChip(6, 5, 12, 152);
    ASSERT_EQ(State.TheMap->GetChip(5, 5, 11), 33);
    ASSERT_EQ(State.TheMap->GetChip(6, 5, 13), 160);
    SelectBox(5, 5, 6, 5, 11, 12);
    MenuClick(State, tagDelete);
    for (int z = 9; z <= 13; ++z) {
        EXPECT_EQ(State.TheMap->GetChip(5, 5, z), 0) << z;
        EXPECT_EQ(State.TheMap->GetChip(6, 5, z), 0) << z;
    }
    ASSERT_TRUE(State.TheMap->Undo());
    EXPECT_EQ(State.TheMap->GetChip(5, 5, 9), 35);
    EXPECT_EQ(State.TheMap->GetChip(5, 5, 10), 34);
    EXPECT_EQ(State.TheMap->GetChip(6, 5, 13), 160);
}

// Buffers wider than high and higher than wide, one and two levels deep, pasted in open
// space: each level is rows of Width cells, Height rows, the lowest level first.
TEST_F(ClipboardTest, NonSquarePastesLandCellForCell) {
    const int shapes[][3] = {{3, 2, 1}, {3, 2, 2}, {2, 3, 2}};
    for (const auto& [w, h, d] : shapes) {
        State.TheMap->Clear();
        // The chip at (level, row, column); level 1 counts down, so levels cannot pass for
        // each other. The buffer holds them level by level, row by row.
        auto chip = [w = w](int k, int row, int col) {
            const int n = row * w + col;
            return uint8_t(k == 0 ? 1 + n : 6 - n);
        };
        State.TheCopyBuf = {w, h, {}, d};
        for (int k = 0; k < d; ++k)
            for (int row = 0; row < h; ++row)
                for (int col = 0; col < w; ++col)
                    State.TheCopyBuf.Data.push_back(chip(k, row, col));
        SelectBox(20, 9, 20, 9, 10, 10);
        MenuClick(State, tagPaste);
        for (int z = 0; z < 48; ++z)
            for (int y = 0; y < 32; ++y)
                for (int x = 0; x < 32; ++x) {
                    const int k = z - 10, row = y - 9, col = x - 20;
                    const bool inside =
                        k >= 0 && k < d && row >= 0 && row < h && col >= 0 && col < w;
                    ASSERT_EQ(State.TheMap->GetChip(x, y, z), inside ? chip(k, row, col) : 0)
                        << w << "x" << h << "x" << d << " at " << x << "," << y << "," << z;
                }
    }
}

TEST_F(ClipboardTest, PasteOfADeepBufferGoesUpFromTheBoxBottom) {
    // Three levels of 2 x 1: level k holds 10k+1, 10k+2.
    State.TheCopyBuf = {2, 1, {1, 2, 11, 12, 21, 22}, 3};
    // A box of two levels (8..9) does not cut the depth: the third level lands on 10.
    SelectBox(4, 4, 4, 4, 9, 8);
    MenuClick(State, tagPaste);
    EXPECT_EQ(State.TheMap->GetChip(4, 4, 8), 1);
    EXPECT_EQ(State.TheMap->GetChip(5, 4, 8), 2);
    EXPECT_EQ(State.TheMap->GetChip(4, 4, 9), 11);
    EXPECT_EQ(State.TheMap->GetChip(5, 4, 10), 22);
    EXPECT_EQ(State.TheMap->UndoBuf.Slots[State.TheMap->UndoBuf.Current],
              (Records{R(4, 4, 8, 0), R(5, 4, 8, 0), R(4, 4, 9, 0), R(5, 4, 9, 0), R(4, 4, 10, 0),
                       R(5, 4, 10, 0)}));
    EXPECT_EQ(CallLog(Log.end() - 3, Log.end()), RedrawAfterChange);
    ASSERT_TRUE(State.TheMap->Undo());
    EXPECT_EQ(NonEmptyCells(8) + NonEmptyCells(9) + NonEmptyCells(10), 0);
    ASSERT_TRUE(State.TheMap->Redo());
    EXPECT_EQ(State.TheMap->GetChip(5, 4, 10), 22);
}

TEST_F(ClipboardTest, DeepPasteAtTheTopSkipsLevelsAboveTheMapAndFiltersEachLevel) {
    // Chip 35 (a tree's foot) is dropped on levels 46 and 47; chip 33 only on 0 and 1.
    State.TheCopyBuf = {1, 1, {33, 35, 35, 35}, 4};
    State.CurrentLevel = 45;
    Select(31, 31, 31, 31);
    MenuClick(State, tagPaste);
    EXPECT_EQ(State.TheMap->GetChip(31, 31, 45), 33);
    EXPECT_EQ(State.TheMap->GetChip(31, 31, 46), 0);
    EXPECT_EQ(State.TheMap->GetChip(31, 31, 47), 0);
    EXPECT_EQ(State.TheMap->UndoBuf.Count(), 3 + 2); // 45 with its two partner levels below, 46, 47

    // A larger rectangle cuts every level of the paste to its own size.
    State.TheMap->Clear();
    State.TheCopyBuf = {2, 2, {1, 2, 3, 4, 5, 6, 7, 8}, 2};
    SelectBox(0, 0, 0, 1, 0, 0); // one column wide, two rows high
    MenuClick(State, tagPaste);
    EXPECT_EQ(State.TheMap->GetChip(0, 1, 0), 3);
    EXPECT_EQ(State.TheMap->GetChip(0, 1, 1), 7);
    EXPECT_EQ(NonEmptyCells(0) + NonEmptyCells(1), 4);
}

TEST_F(ClipboardTest, CutOfABoxPastesBackWhole) {
    State.TheMap->UndoBuf.BeginStep();
    State.TheMap->SetChip(3, 3, 20, 35); // a tree 20..22
    State.TheMap->SetChip(4, 3, 21, 12);
    SelectBox(3, 3, 4, 3, 20, 22);
    MenuClick(State, tagCut);
    EXPECT_EQ(State.TheCopyBuf.Depth, 3);
    EXPECT_EQ(State.TheCopyBuf.Data, (std::vector<uint8_t>{35, 0, 34, 12, 33, 0}));
    EXPECT_EQ(NonEmptyCells(20) + NonEmptyCells(21) + NonEmptyCells(22), 0);
    State.CurrentLevel = 30;
    Select(10, 10, 10, 10);
    MenuClick(State, tagPaste);
    EXPECT_EQ(State.TheMap->GetChip(10, 10, 30), 35);
    EXPECT_EQ(State.TheMap->GetChip(10, 10, 31), 34);
    EXPECT_EQ(State.TheMap->GetChip(11, 10, 31), 12);
    EXPECT_EQ(State.TheMap->GetChip(10, 10, 32), 33);
    ASSERT_TRUE(State.TheMap->Undo()); // the paste
    ASSERT_TRUE(State.TheMap->Undo()); // the cut
    EXPECT_EQ(State.TheMap->GetChip(3, 3, 22), 33);
    EXPECT_EQ(State.TheMap->GetChip(4, 3, 21), 12);
}

} // namespace
} // namespace quarvel::test
