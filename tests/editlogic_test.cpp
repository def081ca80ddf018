// Mouse editing: drawing, erasing, filling, picking, selecting, the level rule, and the
// windows each event redraws.
#include "editor/editlogic.h"
#include "graphics/editpicture.h"
#include "tests/fakewindows.h"

#include <random>

namespace quarvel::test {
namespace {

MouseState Press() {
    return {true, true, false, false, false, false};
}
MouseState Drag() {
    return {true, false, false, false, false, false};
}
MouseState RightPress() {
    return {false, false, true, true, false, false};
}
MouseState RightDrag() {
    return {false, false, true, false, false, false};
}
MouseState With(MouseState s, bool shift, bool ctrl) {
    s.DownS = shift;
    s.DownC = ctrl;
    return s;
}

class EditLogicTest : public EditorTest {
protected:
    // An event at the middle of the top face of cell (x, y) at the view's zoom.
    void At(int x, int y, const MouseState& s) {
        Point p = EditCellToPixel(x, y, Edit.Zoom);
        HandleMouse(State, p.x + 32 / (Edit.Zoom + 1), p.y + 16 / (Edit.Zoom + 1), s);
    }
    // A step that paints one cell, as if done by an earlier press.
    void EarlierStep(int x, int y, int z, uint8_t chip) {
        State.TheMap->UndoBuf.BeginStep();
        State.TheMap->SetChip(x, y, z, chip);
    }
    int Messages(const std::string& text) const { return Count("msg " + text + "|"); }
};

TEST_F(EditLogicTest, PaintingOneCellRedrawsInTheFixedOrder) {
    State.CurrentLevel = 5;
    State.CurrentChip = 12;
    At(3, 4, Press());
    EXPECT_EQ(State.TheMap->GetChip(3, 4, 5), 12);
    EXPECT_EQ(State.CursorX, 3);
    EXPECT_EQ(State.CursorY, 4);
    EXPECT_EQ(State.TheMap->UndoBuf.Current, 1);
    EXPECT_EQ(State.TheMap->UndoBuf.Count(), 1);
    CallLog expected{"edit.RedrawCell 3 4"};
    for (int z = 1; z <= 9; ++z) expected.push_back("whole.RedrawCell 3 4 " + std::to_string(z));
    expected.insert(expected.end(), {"whole.PaintView", "edit.PaintView", "info.UpdateInfo"});
    EXPECT_EQ(Log, expected);
}

TEST_F(EditLogicTest, WholeViewRedrawReachesPastTheEdgeLevels) {
    State.CurrentChip = 12;
    At(0, 0, Press());
    EXPECT_EQ(Count("whole.RedrawCell 0 0 -4"), 1); // the view ignores levels outside 0..47
    EXPECT_EQ(Count("whole.RedrawCell"), 9);
}

TEST_F(EditLogicTest, DragAcrossThreeCellsIsOneUndoStep) {
    State.CurrentLevel = 2;
    State.CurrentChip = 7;
    At(1, 1, Press());
    At(2, 1, Drag());
    At(3, 1, Drag());
    for (int x = 1; x <= 3; ++x) EXPECT_EQ(State.TheMap->GetChip(x, 1, 2), 7);
    EXPECT_TRUE(State.TheMap->Undo());
    for (int x = 1; x <= 3; ++x) EXPECT_EQ(State.TheMap->GetChip(x, 1, 2), 0);
    EXPECT_FALSE(State.TheMap->Undo());
}

TEST_F(EditLogicTest, PressOnTheSameChipOpensAnEmptyStep) {
    State.CurrentLevel = 5;
    State.CurrentChip = 12;
    EarlierStep(3, 4, 5, 12);
    Log.clear();
    At(3, 4, Press());
    EXPECT_EQ(State.TheMap->UndoBuf.Current, 2);
    EXPECT_EQ(State.TheMap->UndoBuf.Count(), 0);
    EXPECT_EQ(Count("edit.RedrawCell"), 0);
    EXPECT_EQ(Log, (CallLog{"edit.PaintView", "info.UpdateInfo"}));
}

TEST_F(EditLogicTest, LevelRuleRefusesWithTheRightWarning) {
    State.CurrentLevel = 1;
    State.CurrentChip = 33;
    At(3, 3, Press());
    EXPECT_EQ(Messages("床抜けるよ？"), 1);
    EXPECT_EQ(Count("msg 床抜けるよ？|エラー"), 1);
    EXPECT_EQ(State.TheMap->GetChip(3, 3, 1), 0);
    EXPECT_EQ(State.TheMap->UndoBuf.Count(), 0); // the step stays open and empty

    State.CurrentChip = 34; // a tree's middle may stand on level 1
    At(3, 3, Press());
    EXPECT_EQ(State.TheMap->GetChip(3, 3, 1), 34);
    EXPECT_EQ(Count("msg"), 1);

    State.CurrentLevel = 46;
    State.CurrentChip = 35;
    At(5, 5, Press());
    EXPECT_EQ(Messages("天井ぶち抜くよ？"), 1);
    EXPECT_EQ(State.TheMap->GetChip(5, 5, 46), 0);
}

TEST_F(EditLogicTest, CheckLevelRuleReturnsTheWarningNumber) {
    EXPECT_EQ(CheckLevelRule(State, 0, 0), 0);
    EXPECT_EQ(CheckLevelRule(State, 2, 33), 0);
    EXPECT_EQ(CheckLevelRule(State, 0, 150), 1);
    EXPECT_EQ(CheckLevelRule(State, 47, 136), 2);
    EXPECT_EQ(CheckLevelRule(State, 47, 144), 0);
    EXPECT_EQ(Count("msg"), 2);
}

TEST_F(EditLogicTest, ShiftFillsTheFourConnectedAreaInOneStep) {
    State.CurrentLevel = 2;
    State.CurrentChip = 7;
    State.TheMap->UndoBuf.BeginStep();
    const int area[10][2] = {{2, 5}, {3, 5}, {4, 5}, {5, 5}, {6, 5},
                             {7, 5}, {8, 5}, {2, 6}, {2, 7}, {8, 4}};
    for (const auto& c : area) State.TheMap->SetChip(c[0], c[1], 2, 3);
    State.TheMap->SetChip(9, 3, 2, 3); // touches (8,4) only at a corner
    State.TheMap->SetChip(1, 8, 2, 3); // touches (2,7) only at a corner
    Log.clear();

    At(5, 5, With(Press(), true, false));
    for (const auto& c : area) EXPECT_EQ(State.TheMap->GetChip(c[0], c[1], 2), 7);
    EXPECT_EQ(State.TheMap->GetChip(9, 3, 2), 3);
    EXPECT_EQ(State.TheMap->GetChip(1, 8, 2), 3);
    EXPECT_EQ(
        Log, (CallLog{"edit.RedrawLevel", "whole.RedrawAll", "edit.PaintView", "info.UpdateInfo"}));

    // Dragging on with Shift held fills nothing more.
    State.TheMap->SetChip(6, 6, 2, 3);
    At(6, 6, With(Drag(), true, false));
    EXPECT_EQ(State.TheMap->GetChip(6, 6, 2), 3);

    EXPECT_TRUE(State.TheMap->Undo());
    for (const auto& c : area) EXPECT_EQ(State.TheMap->GetChip(c[0], c[1], 2), 3);
}

// The fill against a plain search of the four-connected area, on random levels of two chips
// and on an empty level, where a fill from a corner reaches all 1,024 cells.
TEST_F(EditLogicTest, FillMatchesAPlainSearchOfTheArea) {
    std::mt19937 rng(17);
    State.CurrentLevel = 2;
    State.CurrentChip = 7;
    for (int round = 0; round < 12; ++round) {
        State.TheMap->Clear();
        State.TheMap->UndoBuf.BeginStep();
        const int density = round == 0 ? 0 : int(rng() % 60) + 20;
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x)
                if (int(rng() % 100) < density) State.TheMap->SetChip(x, y, 2, 3);
        const int sx = round < 2 ? 31 * round : int(rng() % 32);
        const int sy = round < 2 ? 31 * round : int(rng() % 32);
        // The expected level: a search from the start over cells of the start's chip.
        uint8_t want[32][32];
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x) want[y][x] = State.TheMap->GetChip(x, y, 2);
        const uint8_t from = want[sy][sx];
        std::vector<std::pair<int, int>> todo{{sx, sy}};
        want[sy][sx] = 7;
        while (!todo.empty()) {
            const auto [x, y] = todo.back();
            todo.pop_back();
            const int near[4][2] = {{x - 1, y}, {x + 1, y}, {x, y - 1}, {x, y + 1}};
            for (const auto& n : near)
                if (n[0] >= 0 && n[0] < 32 && n[1] >= 0 && n[1] < 32 && want[n[1]][n[0]] == from) {
                    want[n[1]][n[0]] = 7;
                    todo.push_back({n[0], n[1]});
                }
        }
        At(sx, sy, With(Press(), true, false));
        At(sx, sy, {});
        int filled = 0;
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x) {
                ASSERT_EQ(State.TheMap->GetChip(x, y, 2), want[y][x])
                    << "round " << round << " cell " << x << "," << y;
                filled += want[y][x] == 7;
            }
        if (round == 0) {
            EXPECT_EQ(filled, 1024);
        }
    }
}

TEST_F(EditLogicTest, RefusedFillWarnsOnceAndChangesNothing) {
    State.CurrentChip = 25; // fields may not lie on level 0
    At(10, 10, With(Press(), true, false));
    EXPECT_EQ(Messages("床抜けるよ？"), 1);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) ASSERT_EQ(State.TheMap->GetChip(x, y, 0), 0);
}

TEST_F(EditLogicTest, ShiftRightPressErasesTheArea) {
    State.CurrentLevel = 3;
    State.TheMap->UndoBuf.BeginStep();
    for (int x = 0; x < 4; ++x) State.TheMap->SetChip(x, 0, 3, 9);
    State.TheMap->SetChip(5, 0, 3, 9);
    At(1, 0, With(RightPress(), true, false));
    for (int x = 0; x < 4; ++x) EXPECT_EQ(State.TheMap->GetChip(x, 0, 3), 0);
    EXPECT_EQ(State.TheMap->GetChip(5, 0, 3), 9);
}

TEST_F(EditLogicTest, CtrlRightPressPicksTheChip) {
    State.CurrentLevel = 4;
    EarlierStep(6, 7, 4, 58);
    const int stepBefore = State.TheMap->UndoBuf.Current;
    Log.clear();
    At(6, 7, With(RightPress(), false, true));
    EXPECT_EQ(State.CurrentChip, 58);
    EXPECT_EQ(State.TheMap->GetChip(6, 7, 4), 58);
    EXPECT_EQ(State.TheMap->UndoBuf.Current, stepBefore);
    EXPECT_EQ(Log, (CallLog{"info.UpdateInfo", "edit.PaintView", "info.UpdateInfo"}));

    // Outside the map nothing is picked, and the press opens an empty step.
    HandleMouse(State, 0, 0, With(RightPress(), false, true));
    EXPECT_EQ(State.CurrentChip, 58);
    EXPECT_EQ(State.TheMap->UndoBuf.Current, stepBefore + 1);
    EXPECT_EQ(State.TheMap->UndoBuf.Count(), 0);
}

TEST_F(EditLogicTest, RightDragErasesEveryCellCrossedInOneStep) {
    EarlierStep(1, 2, 0, 9);
    State.TheMap->SetChip(2, 2, 0, 9);
    State.TheMap->SetChip(3, 2, 0, 9);
    State.TheSelection->SetActive(true);
    At(1, 2, RightPress());
    EXPECT_FALSE(State.TheSelection->Active);
    At(2, 2, RightDrag());
    At(3, 2, RightDrag());
    for (int x = 1; x <= 3; ++x) EXPECT_EQ(State.TheMap->GetChip(x, 2, 0), 0);
    EXPECT_TRUE(State.TheMap->Undo());
    for (int x = 1; x <= 3; ++x) EXPECT_EQ(State.TheMap->GetChip(x, 2, 0), 9);
}

TEST_F(EditLogicTest, CtrlDragSelectsAndReleasingCtrlStartsDrawingInItsOwnStep) {
    State.CurrentChip = 12;
    EarlierStep(0, 0, 0, 5);
    At(2, 2, With(Press(), false, true));
    EXPECT_TRUE(State.TheSelection->Active);
    At(4, 5, With(Drag(), false, true));
    EXPECT_EQ(State.TheSelection->GetBound(bLeft), 2);
    EXPECT_EQ(State.TheSelection->GetBound(bBottom), 5);
    EXPECT_EQ(State.TheMap->GetChip(4, 5, 0), 0); // selecting draws no chip

    At(5, 5, Drag()); // Ctrl let go
    EXPECT_FALSE(State.TheSelection->Active);
    EXPECT_EQ(State.TheMap->GetChip(5, 5, 0), 12);
    EXPECT_TRUE(State.TheMap->Undo());
    EXPECT_EQ(State.TheMap->GetChip(5, 5, 0), 0);
    EXPECT_EQ(State.TheMap->GetChip(0, 0, 0), 5); // the earlier action is not undone with it
}

TEST_F(EditLogicTest, CtrlSelectionOutsideTheMapUsesTheClampedCell) {
    HandleMouse(State, 0, 0, With(Press(), false, true)); // hit-tests to (-16, 16)
    EXPECT_EQ(State.CursorX, 0);
    EXPECT_EQ(State.CursorY, 16);
    EXPECT_TRUE(State.TheSelection->Active);
    EXPECT_EQ(State.TheSelection->X0, 0);
    EXPECT_EQ(State.TheSelection->Y0, 16);
}

TEST_F(EditLogicTest, PressOutsideTheMapDrawsNothingButOpensAStep) {
    State.CurrentChip = 12;
    HandleMouse(State, 0, 0, Press());
    EXPECT_EQ(State.TheMap->UndoBuf.Current, 1);
    EXPECT_EQ(State.TheMap->GetChip(0, 16, 0), 0);
    EXPECT_EQ(Count("edit.RedrawCell"), 0);
}

TEST_F(EditLogicTest, PlainMovesRedrawOnlyWhenTheCellChanges) {
    At(3, 3, MouseState());
    Log.clear();
    Point p = EditCellToPixel(3, 3, 0);
    HandleMouse(State, p.x + 20, p.y + 14, MouseState()); // still (3,3)
    EXPECT_TRUE(Log.empty());
    At(4, 3, MouseState());
    EXPECT_EQ(State.CursorX, 4);
    EXPECT_EQ(Log, (CallLog{"edit.PaintView", "info.UpdateInfo"}));
    EXPECT_EQ(State.TheMap->UndoBuf.Current, 0);
}

TEST_F(EditLogicTest, HitTestFollowsTheEditViewZoom) {
    Edit.Zoom = 1;
    State.CurrentChip = 12;
    At(7, 9, Press());
    EXPECT_EQ(State.CursorX, 7);
    EXPECT_EQ(State.CursorY, 9);
    EXPECT_EQ(State.TheMap->GetChip(7, 9, 0), 12);
}

} // namespace
} // namespace quarvel::test
