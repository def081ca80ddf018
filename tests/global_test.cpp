// Editor start-up and shut-down, and chip loading into the shared sheets.
#include "editor/commands.h"
#include "editor/editlogic.h"
#include "editor/global.h"
#include "graphics/editpicture.h"
#include "map/maperror.h"
#include "tests/fakewindows.h"

#include <random>

namespace quarvel::test {
namespace {

class GlobalTest : public EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        StopEditor(State); // start from nothing, as the program does
    }
};

TEST_F(GlobalTest, StartUpLoadsSetZeroAndArrangesTheWindows) {
    WriteChipSet(0, 7);
    StartEditor(State);
    ASSERT_NE(State.TheMap, nullptr);
    ASSERT_NE(State.TheSelection, nullptr);
    EXPECT_FALSE(State.TheSelection->Active);
    EXPECT_EQ(State.TheSelection->GetBound(4), 1);
    EXPECT_EQ(State.ChipSheet[1], State.ChipSheet[0] + 1);
    EXPECT_EQ(State.ChipSheet[0]->Width(), 64);
    EXPECT_EQ(State.ChipSheet[0]->Height(), 8064);
    EXPECT_EQ(State.ChipSheet[1]->Height(), 4032);
    EXPECT_EQ(State.TransparentIndex[0], 7);
    EXPECT_EQ(State.TheCopyBuf.Width, 0);
    EXPECT_EQ(
        Log, (CallLog{"edit.SetZoom 0", "whole.SetZoom 0", "info.PaintPalette", "main.Maximize",
                      "main.NextChild", "main.Cascade", "edit.RedrawLevel", "edit.ScrollToCell 0 0",
                      "whole.RedrawAll", "whole.ScrollToCell 0 0 0", "main.PlaceInfoPanel"}));

    StopEditor(State);
    EXPECT_EQ(State.TheMap, nullptr);
    EXPECT_EQ(State.TheSelection, nullptr);
    EXPECT_EQ(State.ChipSheet[0], nullptr);
    EXPECT_EQ(State.ChipSheet[1], nullptr);
}

TEST_F(GlobalTest, MissingChipFileEndsTheProgramWithItsMessage) {
    WriteChipSet(0, 0, "", "s.pal");
    StartEditor(State);
    EXPECT_EQ(Log, (CallLog{"msg チップデータが見つかりません|エラー", "main.Terminate"}));
    // The sheets have their 168 chip slots before any file is read.
    EXPECT_EQ(State.ChipSheet[0]->Height(), 8064);
    EXPECT_EQ(State.ChipSheet[1]->Width(), 32);
    EXPECT_EQ(State.CurrentTerrain, 0);
}

TEST_F(GlobalTest, ShortChipFileIsReportedAndEndsTheProgram) {
    WriteChipSet(0, 0, ".2c");
    StartEditor(State); // does not throw
    ASSERT_EQ(Log.size(), 2u);
    EXPECT_NE(Log[0].find("B_000.2c"), std::string::npos) << Log[0];
    EXPECT_EQ(Log[0].substr(Log[0].size() - 8), "|Quarvel");
    EXPECT_EQ(Log[1], "main.Terminate");
}

TEST_F(GlobalTest, FailedLoadChangesNothing) {
    WriteChipSet(0, 5);
    StartEditor(State);
    WriteChipSet(2, 9, ".pal");
    Log.clear();
    EXPECT_THROW(LoadChips(State, 2), QuarvelError);
    WriteChipSet(3, 9, "", ".2c");
    EXPECT_FALSE(LoadChips(State, 3));
    EXPECT_EQ(State.CurrentTerrain, 0);
    EXPECT_EQ(State.TransparentIndex[0], 5);
    EXPECT_TRUE(Log.empty());

    WriteChipSet(2, 9);
    EXPECT_TRUE(LoadChips(State, 2));
    EXPECT_EQ(State.CurrentTerrain, 2);
    EXPECT_EQ(State.TransparentIndex[1], 9);
    EXPECT_THROW(LoadChips(State, 4), std::out_of_range);
}

TEST_F(GlobalTest, StartingAgainReplacesTheEditorState) {
    WriteChipSet(0);
    StartEditor(State);
    TMap* first = State.TheMap;
    StartEditor(State);
    EXPECT_NE(State.TheMap, nullptr);
    (void)first; // freed by the second start; only the new one may be used
}

// One editor on fake windows: its own state, map and call log.
struct Side {
    CallLog Log;
    FakeEditView Edit{Log};
    FakeWholeView Whole{Log};
    FakeInfoPanel Info{Log};
    FakeMessages Messages{Log};
    FakeMainFrame Main{Log};
    TMap Map;
    TEditorState State;
    Side() {
        Map.Clear();
        State.TheMap = &Map;
        State.TheSelection = std::make_unique<TSelectArea>(State);
        State.Windows = {&Main, &Info, &Edit, &Whole, &Messages};
    }
    // Runs step `op` (one of 8 kinds): mouse presses and drags that draw, erase, select or
    // fill, copy, paste, undo, a level change and a chip step.
    void Step(uint32_t op) {
        const int x = op % 32, y = op / 32 % 32, kind = op / 1024 % 8;
        Point p = EditCellToPixel(x, y, 0);
        MouseState m;
        m.DownL = kind != 2;
        m.DownR = kind == 2;
        m.NewL = m.DownL && op / 8192 % 2 == 0; // presses and continued drags
        m.NewR = m.DownR && op / 8192 % 2 == 0;
        m.DownC = kind == 3;
        m.DownS = kind == 4;
        if (kind <= 4) HandleMouse(State, p.x + 32, p.y + 16, m);
        if (kind == 5) MenuClick(State, op % 2 ? tagCopy : tagPaste);
        if (kind == 6) MenuClick(State, op % 2 ? tagUndo : tagUp);
        if (kind == 7) MenuClick(State, tagNext);
    }
    std::vector<uint8_t> Cells() const { return {Map.Cells, Map.Cells + TMap::CellCount}; }
};

// Two editors in one process, their steps interleaved at random, end exactly as each one does
// alone: no map, cursor, level, chip, selection, copy buffer, press or window is shared.
TEST(EditorState, TwoEditorsSideBySideDoNotTouchEachOther) {
    for (uint32_t seed = 1; seed <= 20; ++seed) {
        std::mt19937 rng(seed);
        std::vector<uint32_t> opsA(300), opsB(300);
        for (auto& o : opsA) o = rng();
        for (auto& o : opsB) o = rng();
        Side a, b, aloneA, aloneB;
        for (size_t i = 0, j = 0; i < opsA.size() || j < opsB.size();) {
            if (j == opsB.size() || (i < opsA.size() && rng() % 2))
                a.Step(opsA[i++]);
            else
                b.Step(opsB[j++]);
        }
        for (uint32_t o : opsA) aloneA.Step(o);
        for (uint32_t o : opsB) aloneB.Step(o);
        for (auto [both, alone] : {std::pair{&a, &aloneA}, std::pair{&b, &aloneB}}) {
            SCOPED_TRACE(seed);
            EXPECT_EQ(both->Cells(), alone->Cells());
            EXPECT_EQ(both->Map.UndoBuf.Current, alone->Map.UndoBuf.Current);
            EXPECT_EQ(both->Map.UndoBuf.RedoCount, alone->Map.UndoBuf.RedoCount);
            EXPECT_EQ(both->State.CursorX, alone->State.CursorX);
            EXPECT_EQ(both->State.CursorY, alone->State.CursorY);
            EXPECT_EQ(both->State.CurrentLevel, alone->State.CurrentLevel);
            EXPECT_EQ(both->State.CurrentChip, alone->State.CurrentChip);
            EXPECT_EQ(both->State.TheSelection->Active, alone->State.TheSelection->Active);
            EXPECT_EQ(both->State.TheCopyBuf.Data, alone->State.TheCopyBuf.Data);
            EXPECT_EQ(both->Log, alone->Log);
        }
        EXPECT_NE(a.Cells(), b.Cells()); // the two really edited different maps
    }
}

} // namespace
} // namespace quarvel::test
