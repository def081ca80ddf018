// Editor start-up and shut-down, and chip loading into the shared sheets.
#include "editor/global.h"
#include "map/maperror.h"
#include "tests/fakewindows.h"

namespace quarvel::test {
namespace {

class GlobalTest : public EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        StopEditor(); // start from nothing, as the program does
    }
};

TEST_F(GlobalTest, StartUpLoadsSetZeroAndArrangesTheWindows) {
    WriteChipSet(0, 7);
    StartEditor();
    ASSERT_NE(TheMap, nullptr);
    ASSERT_NE(TheSelection, nullptr);
    EXPECT_FALSE(TheSelection->Active);
    EXPECT_EQ(TheSelection->GetBound(4), 1);
    EXPECT_EQ(ChipSheet[1], ChipSheet[0] + 1);
    EXPECT_EQ(ChipSheet[0]->Width(), 64);
    EXPECT_EQ(ChipSheet[0]->Height(), 8064);
    EXPECT_EQ(ChipSheet[1]->Height(), 4032);
    EXPECT_EQ(TransparentIndex[0], 7);
    EXPECT_EQ(TheCopyBuf.Width, 0);
    EXPECT_EQ(
        Log, (CallLog{"edit.SetZoom 0", "whole.SetZoom 0", "info.PaintPalette", "main.Maximize",
                      "main.NextChild", "main.Cascade", "edit.RedrawLevel", "edit.ScrollToCell 0 0",
                      "whole.RedrawAll", "whole.ScrollToCell 0 0 0", "main.PlaceInfoPanel"}));

    StopEditor();
    EXPECT_EQ(TheMap, nullptr);
    EXPECT_EQ(TheSelection, nullptr);
    EXPECT_EQ(ChipSheet[0], nullptr);
    EXPECT_EQ(ChipSheet[1], nullptr);
}

TEST_F(GlobalTest, MissingChipFileEndsTheProgramWithItsMessage) {
    WriteChipSet(0, 0, "", "s.pal");
    StartEditor();
    EXPECT_EQ(Log, (CallLog{"msg チップデータが見つかりません|エラー", "main.Terminate"}));
    // The sheets have their 168 chip slots before any file is read.
    EXPECT_EQ(ChipSheet[0]->Height(), 8064);
    EXPECT_EQ(ChipSheet[1]->Width(), 32);
    EXPECT_EQ(CurrentTerrain, 0);
}

TEST_F(GlobalTest, ShortChipFileIsReportedAndEndsTheProgram) {
    WriteChipSet(0, 0, ".2c");
    StartEditor(); // does not throw
    ASSERT_EQ(Log.size(), 2u);
    EXPECT_NE(Log[0].find("B_000.2c"), std::string::npos) << Log[0];
    EXPECT_EQ(Log[0].substr(Log[0].size() - 8), "|Quarvel");
    EXPECT_EQ(Log[1], "main.Terminate");
}

TEST_F(GlobalTest, FailedLoadChangesNothing) {
    WriteChipSet(0, 5);
    StartEditor();
    WriteChipSet(2, 9, ".pal");
    Log.clear();
    EXPECT_THROW(LoadChips(2), QuarvelError);
    WriteChipSet(3, 9, "", ".2c");
    EXPECT_FALSE(LoadChips(3));
    EXPECT_EQ(CurrentTerrain, 0);
    EXPECT_EQ(TransparentIndex[0], 5);
    EXPECT_TRUE(Log.empty());

    WriteChipSet(2, 9);
    EXPECT_TRUE(LoadChips(2));
    EXPECT_EQ(CurrentTerrain, 2);
    EXPECT_EQ(TransparentIndex[1], 9);
    EXPECT_THROW(LoadChips(4), std::out_of_range);
}

TEST_F(GlobalTest, StartingAgainReplacesTheEditorState) {
    WriteChipSet(0);
    StartEditor();
    TMap* first = TheMap;
    StartEditor();
    EXPECT_NE(TheMap, nullptr);
    (void)first; // freed by the second start; only the new one may be used
}

} // namespace
} // namespace quarvel::test
