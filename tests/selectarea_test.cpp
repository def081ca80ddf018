// TSelectArea: bounds, switching on and off, and which outlines each corner change redraws.
#include "editor/selectarea.h"
#include "tests/fakewindows.h"

#include <set>
#include <utility>

namespace quarvel::test {
namespace {

class SelectAreaTest : public EditorTest {};

std::string Mark(int x, int y, bool sel) {
    return FakeEditView::Cell("edit.MarkCell", x, y) + (sel ? " 1" : " 0");
}

TEST_F(SelectAreaTest, BoundsFollowTheCornersInAnyOrder) {
    TSelectArea a(State);
    EXPECT_FALSE(a.Active);
    EXPECT_EQ(a.GetBound(4), 1);
    EXPECT_EQ(a.GetBound(5), 1);
    a.X0 = 5, a.Y0 = 9, a.X1 = 2, a.Y1 = 3;
    EXPECT_EQ(a.GetBound(0), 2);
    EXPECT_EQ(a.GetBound(1), 3);
    EXPECT_EQ(a.GetBound(2), 5);
    EXPECT_EQ(a.GetBound(3), 9);
    EXPECT_EQ(a.GetBound(4), 4);
    EXPECT_EQ(a.GetBound(5), 7);
    EXPECT_EQ(a.GetBound(6), 0);
    // The named kinds are these numbers.
    EXPECT_EQ((std::vector<int>{bLeft, bTop, bRight, bBottom, bWidth, bHeight}),
              (std::vector<int>{0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(a.GetBound(-1), 0);
}

TEST_F(SelectAreaTest, InactiveSelectionIgnoresCornersAndDrawsNothing) {
    TSelectArea& a = *State.TheSelection;
    a.SetCorner(1, 10, 10);
    a.SetCorner(0, 10, 10);
    EXPECT_EQ(a.X1, 0);
    EXPECT_EQ(a.Y1, 0);
    EXPECT_EQ(a.X0, 0);
    EXPECT_TRUE(Log.empty());
}

TEST_F(SelectAreaTest, SwitchingOnDrawsNothingAndKindZeroStartsOneCell) {
    TSelectArea& a = *State.TheSelection;
    a.X0 = 1, a.Y0 = 1, a.X1 = 2, a.Y1 = 1;
    a.SetActive(true);
    EXPECT_TRUE(Log.empty());
    a.SetCorner(0, 7, 8);
    // The old rectangle loses its outline, row by row, then the new cell is marked.
    EXPECT_EQ(Log, (CallLog{Mark(1, 1, false), Mark(2, 1, false), Mark(7, 8, true)}));
    EXPECT_EQ(a.GetBound(bWidth), 1);
    EXPECT_EQ(a.X1, 7);
    Log.clear();
    a.SetCorner(2, 9, 9); // no such corner
    EXPECT_TRUE(Log.empty());
    EXPECT_EQ(a.X1, 7);
}

TEST_F(SelectAreaTest, SwitchingOffRemovesOutlinesOnceAndKeepsCorners) {
    TSelectArea& a = *State.TheSelection;
    a.SetActive(true);
    a.SetCorner(0, 3, 4);
    a.SetCorner(1, 4, 5);
    Log.clear();
    a.SetActive(false);
    EXPECT_EQ(
        Log, (CallLog{Mark(3, 4, false), Mark(4, 4, false), Mark(3, 5, false), Mark(4, 5, false)}));
    Log.clear();
    a.SetActive(false);
    EXPECT_TRUE(Log.empty());
    EXPECT_EQ(a.GetBound(bRight), 4);
    EXPECT_EQ(a.GetBound(bBottom), 5);
}

TEST_F(SelectAreaTest, GrowingMarksOnlyTheNewCells) {
    TSelectArea& a = *State.TheSelection;
    a.SetActive(true);
    a.SetCorner(0, 2, 2);
    Log.clear();
    a.SetCorner(1, 3, 3);
    EXPECT_EQ(Log, (CallLog{Mark(3, 2, true), Mark(2, 3, true), Mark(3, 3, true)}));
}

TEST_F(SelectAreaTest, ShrinkingRepairsTheNeighboursThatStaySelected) {
    TSelectArea& a = *State.TheSelection;
    a.SetActive(true);
    a.SetCorner(0, 0, 0);
    a.SetCorner(1, 5, 5);
    Log.clear();
    a.SetCorner(1, 3, 3);

    // Row 0: (4,0) loses its outline and repaints its left neighbour; (5,0) has none left.
    ASSERT_GE(Log.size(), 3u);
    EXPECT_EQ(Log[0], Mark(4, 0, false));
    EXPECT_EQ(Log[1], Mark(3, 0, true));
    EXPECT_EQ(Log[2], Mark(5, 0, false));

    std::set<std::pair<int, int>> grid, selected;
    for (int r = 0; r <= 5; ++r)
        for (int c = 0; c <= 5; ++c) {
            for (const auto& call : Log) {
                if (call == Mark(c, r, false)) grid.insert({c, r});
                if (call == Mark(c, r, true)) selected.insert({c, r});
            }
        }
    for (int r = 0; r <= 5; ++r)
        for (int c = 0; c <= 5; ++c) {
            const bool leaves = c >= 4 || r >= 4;
            const bool edge = !leaves && (c == 3 || r == 3);
            EXPECT_EQ(grid.count({c, r}), leaves ? 1u : 0u) << c << "," << r;
            EXPECT_EQ(selected.count({c, r}), edge ? 1u : 0u) << c << "," << r;
        }
    // (3,3) is repainted twice: it borders (4,3) and (3,4).
    EXPECT_EQ(Log.size(), 20u + 8u);
}

TEST_F(SelectAreaTest, TheBoxRunsFromTheAnchorLevelToTheCurrentOne) {
    TSelectArea& a = *State.TheSelection;
    State.CurrentLevel = 9;
    a.SetCorner(0, 1, 1); // inactive: the anchor level stays too
    EXPECT_EQ(a.Z0, 0);
    a.SetActive(true);
    a.SetCorner(0, 4, 2);
    EXPECT_EQ(a.Z0, 9);
    State.CurrentLevel = 12;
    a.SetCorner(1, 2, 6); // the moving corner leaves the anchor level alone
    EXPECT_EQ(a.Z0, 9);
    SelectionBox b = a.Box(State.CurrentLevel);
    EXPECT_EQ((std::vector<int>{b.Left, b.Top, b.Right, b.Bottom, b.Low, b.High}),
              (std::vector<int>{2, 2, 4, 6, 9, 12}));
    EXPECT_EQ(b.Width() * b.Height() * b.Depth(), 3 * 5 * 4);
    b = a.Box(3);
    EXPECT_EQ(b.Low, 3);
    EXPECT_EQ(b.High, 9);
    // Each change of the selection asks the whole-map view to show the box again.
    const int shown = Whole.SelectionShown;
    a.SetCorner(1, 3, 3);
    a.SetActive(false);
    a.SetActive(false);
    EXPECT_EQ(Whole.SelectionShown, shown + 2);
}

} // namespace
} // namespace quarvel::test
