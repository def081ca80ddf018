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
        TheSelection->SetActive(true);
        TheSelection->SetCorner(0, x0, y0);
        TheSelection->SetCorner(1, x1, y1);
        Log.clear();
    }
    // A w x h buffer holding 1, 2, 3, ... row by row (ground chips, no partners).
    void Buffer(int w, int h) {
        TheCopyBuf.Width = w;
        TheCopyBuf.Height = h;
        TheCopyBuf.Data.resize(size_t(w * h));
        for (int i = 0; i < w * h; ++i) TheCopyBuf.Data[size_t(i)] = uint8_t(i + 1);
    }
    int NonEmptyCells(int z) const {
        int n = 0;
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x) n += TheMap->GetChip(x, y, z) != 0;
        return n;
    }
    const CallLog RedrawAfterChange{"edit.RedrawLevel", "whole.RedrawAll", "info.UpdateInfo"};
};

TEST_F(ClipboardTest, CopyReadsTheSelectionRowByRow) {
    CurrentLevel = 6;
    TheMap->UndoBuf.BeginStep();
    for (int y = 7; y <= 8; ++y)
        for (int x = 4; x <= 6; ++x) TheMap->SetChip(x, y, 6, uint8_t(x + y * 10));
    TheMap->Modified = false;
    const auto undoBefore = TheMap->UndoBuf.Current;
    Select(6, 8, 4, 7);

    MenuClick(tagCopy);
    EXPECT_EQ(TheCopyBuf.Width, 3);
    EXPECT_EQ(TheCopyBuf.Height, 2);
    EXPECT_EQ(TheCopyBuf.Data, (std::vector<uint8_t>{74, 75, 76, 84, 85, 86}));
    EXPECT_FALSE(TheSelection->Active);
    EXPECT_FALSE(TheMap->Modified);
    EXPECT_EQ(TheMap->UndoBuf.Current, undoBefore);
    EXPECT_EQ(Count("edit.RedrawLevel") + Count("whole") + Count("info"), 0);
}

TEST_F(ClipboardTest, CommandsWithTheSelectionOffDoNothing) {
    Buffer(2, 2);
    MenuClick(tagCopy);
    MenuClick(tagDelete);
    MenuClick(tagPaste);
    MenuClick(tagCut);
    EXPECT_TRUE(Log.empty());
    EXPECT_EQ(TheMap->UndoBuf.Current, 0);
    EXPECT_EQ(TheCopyBuf.Width, 2);
    EXPECT_EQ(TheCopyBuf.Data[3], 4);
}

TEST_F(ClipboardTest, PasteAtOneCellRunsToTheLevelEdges) {
    CurrentLevel = 2;
    Buffer(4, 4);
    Select(30, 30, 30, 30);
    MenuClick(tagPaste);
    EXPECT_EQ(TheMap->GetChip(30, 30, 2), 1);
    EXPECT_EQ(TheMap->GetChip(31, 30, 2), 2);
    EXPECT_EQ(TheMap->GetChip(30, 31, 2), 5);
    EXPECT_EQ(TheMap->GetChip(31, 31, 2), 6);
    EXPECT_EQ(NonEmptyCells(2), 4);
    EXPECT_FALSE(TheSelection->Active);
    // The outline of the cell goes first, then every window.
    EXPECT_EQ(Log, (CallLog{"edit.MarkCell 30 30 0", "edit.RedrawLevel", "whole.RedrawAll",
                            "info.UpdateInfo"}));
}

TEST_F(ClipboardTest, LargerSelectionCutsThePaste) {
    CurrentLevel = 3;
    Buffer(4, 4);
    Select(10, 10, 11, 12); // 2 wide, 3 high
    MenuClick(tagPaste);
    EXPECT_EQ(NonEmptyCells(3), 6);
    EXPECT_EQ(TheMap->GetChip(10, 10, 3), 1);
    EXPECT_EQ(TheMap->GetChip(11, 12, 3), 10);
    EXPECT_EQ(TheMap->GetChip(12, 10, 3), 0);

    TheMap->UndoBuf.BeginStep();
    for (int y = 20; y <= 25; ++y)
        for (int x = 20; x <= 25; ++x) TheMap->SetChip(x, y, 3, 20);
    Select(20, 20, 25, 25);
    MenuClick(tagPaste);
    for (int y = 20; y <= 25; ++y)
        for (int x = 20; x <= 25; ++x) {
            const bool inBuffer = x < 24 && y < 24;
            EXPECT_EQ(TheMap->GetChip(x, y, 3), inBuffer ? (y - 20) * 4 + (x - 20) + 1 : 20);
        }
}

TEST_F(ClipboardTest, OneCellBufferIntoOneCellSelection) {
    Buffer(1, 1);
    CurrentLevel = 9;
    Select(31, 31, 31, 31);
    MenuClick(tagPaste);
    EXPECT_EQ(TheMap->GetChip(31, 31, 9), 1);
}

TEST_F(ClipboardTest, PasteDropsChipsThatMayNotStandOnTheLevel) {
    TheCopyBuf = {3, 1, {25, 33, 35}};
    struct Case {
        int Level;
        uint8_t Expected[3];
    } cases[] = {
        {0, {0, 0, 35}}, {1, {25, 0, 35}}, {2, {25, 33, 35}}, {46, {25, 33, 0}}, {47, {25, 33, 0}}};
    for (const auto& c : cases) {
        TheMap->Clear();
        CurrentLevel = c.Level;
        Select(5, 5, 5, 5);
        MenuClick(tagPaste);
        for (int j = 0; j < 3; ++j)
            EXPECT_EQ(TheMap->GetChip(5 + j, 5, c.Level), c.Expected[j])
                << "level " << c.Level << " column " << j;
    }
}

TEST_F(ClipboardTest, CutIsOneUndoStepAndKeepsTheBuffer) {
    CurrentLevel = 4;
    TheMap->UndoBuf.BeginStep();
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x) TheMap->SetChip(x, y, 4, 9);
    Select(0, 0, 2, 2);
    MenuClick(tagCut);
    EXPECT_EQ(NonEmptyCells(4), 0);
    EXPECT_EQ(TheCopyBuf.Width, 3);
    EXPECT_EQ(TheCopyBuf.Data, std::vector<uint8_t>(9, 9));
    EXPECT_FALSE(TheSelection->Active);
    EXPECT_EQ(CallLog(Log.end() - 3, Log.end()), RedrawAfterChange);

    EXPECT_TRUE(TheMap->Undo());
    EXPECT_EQ(NonEmptyCells(4), 9);
    Select(10, 10, 10, 10);
    MenuClick(tagPaste);
    EXPECT_EQ(TheMap->GetChip(12, 12, 4), 9);
}

TEST_F(ClipboardTest, DeleteEmptiesTheSelectionAndSetsModified) {
    TheMap->UndoBuf.BeginStep();
    TheMap->SetChip(1, 1, 0, 9);
    TheMap->SetChip(2, 1, 0, 9);
    TheMap->Modified = false;
    Select(1, 1, 1, 1);
    MenuClick(tagDelete);
    EXPECT_EQ(TheMap->GetChip(1, 1, 0), 0);
    EXPECT_EQ(TheMap->GetChip(2, 1, 0), 9);
    EXPECT_TRUE(TheMap->Modified);
}

TEST_F(ClipboardTest, PasteOfAnEmptyBufferOpensAnEmptyStepAndEndsRedo) {
    TheMap->UndoBuf.BeginStep();
    TheMap->SetChip(3, 3, 0, 9);
    ASSERT_TRUE(TheMap->Undo());
    Select(0, 0, 0, 0);
    MenuClick(tagPaste);
    EXPECT_EQ(TheMap->UndoBuf.RedoCount, 0);
    EXPECT_EQ(TheMap->UndoBuf.Current, 1);
    EXPECT_EQ(TheMap->UndoBuf.Count(), 0);
    EXPECT_FALSE(TheMap->Redo());
    EXPECT_EQ(TheMap->GetChip(3, 3, 0), 0);
    EXPECT_EQ(CallLog(Log.end() - 3, Log.end()), RedrawAfterChange);
}

TEST_F(ClipboardTest, SelectAllSelectsTheLevelOnce) {
    Select(3, 3, 4, 4);
    MenuClick(tagSelectAll);
    EXPECT_TRUE(TheSelection->Active);
    EXPECT_EQ(TheSelection->GetBound(bWidth), 32);
    EXPECT_EQ(TheSelection->GetBound(bHeight), 32);
    EXPECT_EQ(Log.back(), "edit.PaintView");
    Log.clear();
    MenuClick(tagSelectAll);
    EXPECT_TRUE(Log.empty());

    MenuClick(tagCopy);
    EXPECT_EQ(TheCopyBuf.Data.size(), 1024u);
}

TEST_F(ClipboardTest, CopyOfABoxReadsLevelByLevelFromTheBottom) {
    TheMap->UndoBuf.BeginStep();
    for (int z = 4; z <= 6; ++z)
        for (int y = 7; y <= 8; ++y)
            for (int x = 1; x <= 2; ++x)
                TheMap->SetChip(x, y, z, uint8_t(20 + z * 10 + (y - 7) * 2 + x));
    // The anchor above the current level gives the same box as the anchor below it.
    for (const auto& ends : {std::pair{6, 4}, std::pair{4, 6}}) {
        SelectBox(2, 8, 1, 7, ends.first, ends.second);
        MenuClick(tagCopy);
        EXPECT_EQ(TheCopyBuf.Width, 2);
        EXPECT_EQ(TheCopyBuf.Height, 2);
        EXPECT_EQ(TheCopyBuf.Depth, 3);
        EXPECT_EQ(TheCopyBuf.Data,
                  (std::vector<uint8_t>{61, 62, 63, 64, 71, 72, 73, 74, 81, 82, 83, 84}));
        EXPECT_FALSE(TheSelection->Active);
    }
    // A one-level selection copies one level again.
    Select(1, 7, 1, 7);
    MenuClick(tagCopy);
    EXPECT_EQ(TheCopyBuf.Depth, 1);
    EXPECT_EQ(TheCopyBuf.Data, std::vector<uint8_t>{81});
}

TEST_F(ClipboardTest, DeleteOfABoxIsOneStepWrittenLevelsRowsColumns) {
    TheMap->UndoBuf.BeginStep();
    for (int z = 2; z <= 3; ++z)
        for (int y = 0; y <= 1; ++y)
            for (int x = 0; x <= 1; ++x) TheMap->SetChip(x, y, z, 9);
    TheMap->SetChip(0, 0, 4, 9); // above the box
    SelectBox(0, 0, 1, 1, 3, 2);
    MenuClick(tagDelete);
    EXPECT_EQ(NonEmptyCells(2) + NonEmptyCells(3), 0);
    EXPECT_EQ(TheMap->GetChip(0, 0, 4), 9);
    EXPECT_EQ(TheMap->UndoBuf.Slots[TheMap->UndoBuf.Current],
              (Records{R(0, 0, 2, 9), R(1, 0, 2, 9), R(0, 1, 2, 9), R(1, 1, 2, 9), R(0, 0, 3, 9),
                       R(1, 0, 3, 9), R(0, 1, 3, 9), R(1, 1, 3, 9)}));
    EXPECT_FALSE(TheSelection->Active);
    EXPECT_EQ(CallLog(Log.end() - 3, Log.end()), RedrawAfterChange);

    ASSERT_TRUE(TheMap->Undo());
    EXPECT_EQ(NonEmptyCells(2) + NonEmptyCells(3), 8);
    ASSERT_TRUE(TheMap->Redo());
    EXPECT_EQ(NonEmptyCells(2) + NonEmptyCells(3), 0);
}

TEST_F(ClipboardTest, DeleteTakesAwayWholeObjectsThatTheBoxCuts) {
    // A tree on levels 9..11 and a wall on levels 12..13; the box holds levels 11..12 only.
    TheMap->UndoBuf.BeginStep();
    TheMap->SetChip(5, 5, 9, 35);
    TheMap->SetChip(6, 5, 12, 152);
    ASSERT_EQ(TheMap->GetChip(5, 5, 11), 33);
    ASSERT_EQ(TheMap->GetChip(6, 5, 13), 160);
    SelectBox(5, 5, 6, 5, 11, 12);
    MenuClick(tagDelete);
    for (int z = 9; z <= 13; ++z) {
        EXPECT_EQ(TheMap->GetChip(5, 5, z), 0) << z;
        EXPECT_EQ(TheMap->GetChip(6, 5, z), 0) << z;
    }
    ASSERT_TRUE(TheMap->Undo());
    EXPECT_EQ(TheMap->GetChip(5, 5, 9), 35);
    EXPECT_EQ(TheMap->GetChip(5, 5, 10), 34);
    EXPECT_EQ(TheMap->GetChip(6, 5, 13), 160);
}

// Buffers wider than high and higher than wide, one and two levels deep, pasted in open
// space: each level is rows of Width cells, Height rows, the lowest level first.
TEST_F(ClipboardTest, NonSquarePastesLandCellForCell) {
    const int shapes[][3] = {{3, 2, 1}, {3, 2, 2}, {2, 3, 2}};
    for (const auto& [w, h, d] : shapes) {
        TheMap->Clear();
        // The chip at (level, row, column); level 1 counts down, so levels cannot pass for
        // each other. The buffer holds them level by level, row by row.
        auto chip = [w = w](int k, int row, int col) {
            const int n = row * w + col;
            return uint8_t(k == 0 ? 1 + n : 6 - n);
        };
        TheCopyBuf = {w, h, {}, d};
        for (int k = 0; k < d; ++k)
            for (int row = 0; row < h; ++row)
                for (int col = 0; col < w; ++col) TheCopyBuf.Data.push_back(chip(k, row, col));
        SelectBox(20, 9, 20, 9, 10, 10);
        MenuClick(tagPaste);
        for (int z = 0; z < 48; ++z)
            for (int y = 0; y < 32; ++y)
                for (int x = 0; x < 32; ++x) {
                    const int k = z - 10, row = y - 9, col = x - 20;
                    const bool inside =
                        k >= 0 && k < d && row >= 0 && row < h && col >= 0 && col < w;
                    ASSERT_EQ(TheMap->GetChip(x, y, z), inside ? chip(k, row, col) : 0)
                        << w << "x" << h << "x" << d << " at " << x << "," << y << "," << z;
                }
    }
}

TEST_F(ClipboardTest, PasteOfADeepBufferGoesUpFromTheBoxBottom) {
    // Three levels of 2 x 1: level k holds 10k+1, 10k+2.
    TheCopyBuf = {2, 1, {1, 2, 11, 12, 21, 22}, 3};
    // A box of two levels (8..9) does not cut the depth: the third level lands on 10.
    SelectBox(4, 4, 4, 4, 9, 8);
    MenuClick(tagPaste);
    EXPECT_EQ(TheMap->GetChip(4, 4, 8), 1);
    EXPECT_EQ(TheMap->GetChip(5, 4, 8), 2);
    EXPECT_EQ(TheMap->GetChip(4, 4, 9), 11);
    EXPECT_EQ(TheMap->GetChip(5, 4, 10), 22);
    EXPECT_EQ(TheMap->UndoBuf.Slots[TheMap->UndoBuf.Current],
              (Records{R(4, 4, 8, 0), R(5, 4, 8, 0), R(4, 4, 9, 0), R(5, 4, 9, 0), R(4, 4, 10, 0),
                       R(5, 4, 10, 0)}));
    EXPECT_EQ(CallLog(Log.end() - 3, Log.end()), RedrawAfterChange);
    ASSERT_TRUE(TheMap->Undo());
    EXPECT_EQ(NonEmptyCells(8) + NonEmptyCells(9) + NonEmptyCells(10), 0);
    ASSERT_TRUE(TheMap->Redo());
    EXPECT_EQ(TheMap->GetChip(5, 4, 10), 22);
}

TEST_F(ClipboardTest, DeepPasteAtTheTopSkipsLevelsAboveTheMapAndFiltersEachLevel) {
    // Chip 35 (a tree's foot) is dropped on levels 46 and 47; chip 33 only on 0 and 1.
    TheCopyBuf = {1, 1, {33, 35, 35, 35}, 4};
    CurrentLevel = 45;
    Select(31, 31, 31, 31);
    MenuClick(tagPaste);
    EXPECT_EQ(TheMap->GetChip(31, 31, 45), 33);
    EXPECT_EQ(TheMap->GetChip(31, 31, 46), 0);
    EXPECT_EQ(TheMap->GetChip(31, 31, 47), 0);
    EXPECT_EQ(TheMap->UndoBuf.Count(), 3 + 2); // 45 with its two partner levels below, 46, 47

    // A larger rectangle cuts every level of the paste to its own size.
    TheMap->Clear();
    TheCopyBuf = {2, 2, {1, 2, 3, 4, 5, 6, 7, 8}, 2};
    SelectBox(0, 0, 0, 1, 0, 0); // one column wide, two rows high
    MenuClick(tagPaste);
    EXPECT_EQ(TheMap->GetChip(0, 1, 0), 3);
    EXPECT_EQ(TheMap->GetChip(0, 1, 1), 7);
    EXPECT_EQ(NonEmptyCells(0) + NonEmptyCells(1), 4);
}

TEST_F(ClipboardTest, CutOfABoxPastesBackWhole) {
    TheMap->UndoBuf.BeginStep();
    TheMap->SetChip(3, 3, 20, 35); // a tree 20..22
    TheMap->SetChip(4, 3, 21, 12);
    SelectBox(3, 3, 4, 3, 20, 22);
    MenuClick(tagCut);
    EXPECT_EQ(TheCopyBuf.Depth, 3);
    EXPECT_EQ(TheCopyBuf.Data, (std::vector<uint8_t>{35, 0, 34, 12, 33, 0}));
    EXPECT_EQ(NonEmptyCells(20) + NonEmptyCells(21) + NonEmptyCells(22), 0);
    CurrentLevel = 30;
    Select(10, 10, 10, 10);
    MenuClick(tagPaste);
    EXPECT_EQ(TheMap->GetChip(10, 10, 30), 35);
    EXPECT_EQ(TheMap->GetChip(10, 10, 31), 34);
    EXPECT_EQ(TheMap->GetChip(11, 10, 31), 12);
    EXPECT_EQ(TheMap->GetChip(10, 10, 32), 33);
    ASSERT_TRUE(TheMap->Undo()); // the paste
    ASSERT_TRUE(TheMap->Undo()); // the cut
    EXPECT_EQ(TheMap->GetChip(3, 3, 22), 33);
    EXPECT_EQ(TheMap->GetChip(4, 3, 21), 12);
}

} // namespace
} // namespace quarvel::test
