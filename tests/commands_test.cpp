// The main window's commands: the save question, file commands, undo, stepping, zoom,
// shaping, colours, dialogs and the archive messages.
#include "editor/commands.h"
#include "editor/errortext.h"
#include "map/maperror.h"
#include "tests/fakewindows.h"

#include <filesystem>

namespace quarvel::test {
namespace {

CallLog operator+(CallLog a, const CallLog& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

class CommandsTest : public EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        LastChosenColor = 0;
        Cp932ToFileName = nullptr;
        ArchiveProgress = nullptr;
    }
    void Paint(int x, int y, int z, uint8_t chip) {
        TheMap->UndoBuf.BeginStep();
        TheMap->SetChip(x, y, z, chip);
        Log.clear();
    }
    const CallLog ResetCalls{"edit.RedrawLevel", "edit.ScrollToCell 0 0", "whole.RedrawAll",
                             "whole.ScrollToCell 0 0 0", "info.UpdateInfo"};
    const std::string Question = "msg 編集中のマップを保存しますか？|確認";
};

TEST_F(CommandsTest, NewAsksOnlyForAModifiedMap) {
    CursorX = 5;
    CurrentChip = 9;
    MenuClick(tagNew);
    EXPECT_EQ(Count("msg"), 0);
    EXPECT_EQ(CursorX, 0);
    EXPECT_EQ(CurrentChip, 0);
    EXPECT_EQ(Log, ResetCalls);
}

TEST_F(CommandsTest, NewWithCancelNoAndYes) {
    Paint(1, 1, 0, 9);
    Messages.Answers = {mrCancel};
    MenuClick(tagNew);
    EXPECT_EQ(Log, CallLog{Question});
    EXPECT_EQ(TheMap->GetChip(1, 1, 0), 9);

    // Yes on a map without a file name asks for one; cancelling that cancels the New.
    Log.clear();
    Messages.Answers = {mrYes};
    MenuClick(tagNew);
    EXPECT_EQ(Log, (CallLog{Question, "main.RunSaveDialog"}));
    EXPECT_EQ(TheMap->GetChip(1, 1, 0), 9);
    EXPECT_TRUE(TheMap->Modified);

    Messages.Answers = {mrNo};
    MenuClick(tagNew);
    EXPECT_EQ(TheMap->GetChip(1, 1, 0), 0);
    EXPECT_FALSE(TheMap->Modified);
}

TEST_F(CommandsTest, YesSavesBeforeTheNewMap) {
    Paint(1, 1, 0, 9);
    Main.SaveAnswer = Dir.File("a.map");
    Messages.Answers = {mrYes};
    MenuClick(tagNew);
    auto bytes = ReadBytes(Dir.File("a.map"));
    ASSERT_EQ(bytes.size(), 49200u);
    EXPECT_EQ(bytes[48 + 32 + 1], 9);
    EXPECT_EQ(TheMap->GetChip(1, 1, 0), 0);
}

TEST_F(CommandsTest, OpenLoadsAMapOrSaysItIsNone) {
    TheMap->UndoBuf.BeginStep();
    TheMap->SetChip(2, 2, 0, 9);
    ASSERT_TRUE(TheMap->SaveToFile(Dir.File("m.map")));
    TheMap->Clear();
    WriteBytes(Dir.File("not.map"), std::vector<uint8_t>(49200, 'x'));
    Paint(4, 4, 0, 7);

    Main.OpenAnswer = Dir.File("not.map");
    Messages.Answers = {mrNo};
    MenuClick(tagOpen);
    EXPECT_EQ(Log,
              (CallLog{Question, "main.RunOpenDialog", "msg マップファイルじゃないよ？|エラー"}));
    EXPECT_EQ(TheMap->GetChip(4, 4, 0), 7); // still the map in memory, still modified
    EXPECT_TRUE(TheMap->Modified);

    Log.clear();
    Main.OpenAnswer = "";
    Messages.Answers = {mrNo};
    MenuClick(tagOpen); // dialog cancelled
    EXPECT_EQ(TheMap->GetChip(4, 4, 0), 7);

    Log.clear();
    CurrentLevel = 3;
    Main.OpenAnswer = Dir.File("m.map");
    Messages.Answers = {mrNo};
    MenuClick(tagOpen);
    EXPECT_EQ(TheMap->GetChip(2, 2, 0), 9);
    EXPECT_EQ(CurrentLevel, 0);
    EXPECT_EQ(CallLog(Log.end() - 5, Log.end()), ResetCalls);
}

TEST_F(CommandsTest, OpenLoadsTheChipsOfTheMapsTerrainSet) {
    auto bytes = std::vector<uint8_t>(49200, 0);
    const char tag[] = "Ver1.6+";
    std::copy(tag, tag + 8, bytes.begin());
    bytes[12] = 90; // no such terrain set: the loaded pictures stay
    WriteBytes(Dir.File("odd.map"), bytes);
    bytes[12] = 10;
    WriteBytes(Dir.File("one.map"), bytes);

    Main.OpenAnswer = Dir.File("odd.map");
    MenuClick(tagOpen);
    EXPECT_EQ(Log, (CallLog{"main.RunOpenDialog"}) + ResetCalls);
    EXPECT_EQ(CurrentTerrain, 0);

    // A short chip file: the new map is still shown before the error is reported.
    WriteChipSet(1, 0, "s.2c");
    Log.clear();
    Main.OpenAnswer = Dir.File("one.map");
    EXPECT_THROW(MenuClick(tagOpen), QuarvelError);
    EXPECT_EQ(Log, (CallLog{"main.RunOpenDialog"}) + ResetCalls);
    EXPECT_EQ(CurrentTerrain, 0);

    WriteChipSet(1);
    Log.clear();
    MenuClick(tagOpen);
    EXPECT_EQ(CurrentTerrain, 1);
    EXPECT_EQ(Count("info.PaintPalette"), 1);
}

TEST_F(CommandsTest, OpenOfAMissingFileFailsWithAnError) {
    Main.OpenAnswer = Dir.File("gone.map");
    EXPECT_THROW(MenuClick(tagOpen), QuarvelError);
}

TEST_F(CommandsTest, CloseAsksAndCancelKeepsRunning) {
    EXPECT_TRUE(FormClose());
    Paint(0, 0, 0, 9);
    Messages.Answers = {mrCancel};
    EXPECT_FALSE(FormClose());
    Messages.Answers = {mrNo};
    EXPECT_TRUE(FormClose());
    MenuClick(tagExit);
    EXPECT_EQ(Log.back(), "main.CloseFrame");
}

TEST_F(CommandsTest, SaveOfANeverSavedMapRunsSaveAs) {
    Paint(0, 0, 0, 9);
    MenuClick(tagSave);
    EXPECT_EQ(Log, (CallLog{"main.RunSaveDialog", "info.UpdateInfo"}));
    EXPECT_TRUE(TheMap->Modified);

    Log.clear();
    Main.SaveAnswer = Dir.File("b.map");
    MenuClick(tagSave);
    EXPECT_FALSE(TheMap->Modified);
    EXPECT_EQ(TheMap->FileName, Dir.File("b.map"));

    // Now it has a name: no dialog.
    Log.clear();
    Main.SaveAnswer = "";
    Paint(0, 0, 0, 8);
    MenuClick(tagSave);
    EXPECT_EQ(Log, CallLog{"info.UpdateInfo"});
    EXPECT_EQ(ReadBytes(Dir.File("b.map"))[48], 8);

    MenuClick(tagSaveAs);
    EXPECT_EQ(Log, (CallLog{"info.UpdateInfo", "main.RunSaveDialog", "info.UpdateInfo"}));
}

TEST_F(CommandsTest, AWriteProtectedMapIsRefusedAndCanBeSavedUnderAnotherName) {
    Paint(0, 0, 0, 9);
    ASSERT_TRUE(TheMap->SaveToFile(Dir.File("ro.map")));
    ::chmod(Dir.File("ro.map").c_str(), 0444);
    Paint(0, 0, 0, 8);
    try {
        MenuClick(tagSave);
        FAIL() << "saved over a write-protected file";
    } catch (const QuarvelError& e) {
        const std::string text = JapaneseErrorText(e);
        EXPECT_NE(text.find("書き込み禁止"), std::string::npos) << text;
        EXPECT_NE(text.find("名前を付けて保存"), std::string::npos) << text;
    }
    EXPECT_TRUE(TheMap->Modified);
    EXPECT_EQ(ReadBytes(Dir.File("ro.map"))[48], 9);

    Main.SaveAnswer = Dir.File("rw.map");
    MenuClick(tagSaveAs);
    EXPECT_FALSE(TheMap->Modified);
    EXPECT_EQ(ReadBytes(Dir.File("rw.map"))[48], 8);
}

TEST_F(CommandsTest, UndoAndRedoRedrawOnlyWhenSomethingChanged) {
    MenuClick(tagUndo);
    MenuClick(tagRedo);
    EXPECT_TRUE(Log.empty());
    Paint(3, 3, 0, 9);
    TheSelection->SetActive(true);
    MenuClick(tagUndo);
    EXPECT_EQ(TheMap->GetChip(3, 3, 0), 0);
    EXPECT_FALSE(TheSelection->Active);
    EXPECT_EQ(CallLog(Log.end() - 3, Log.end()),
              (CallLog{"edit.RedrawLevel", "whole.RedrawAll", "info.UpdateInfo"}));
    MenuClick(tagRedo);
    EXPECT_EQ(TheMap->GetChip(3, 3, 0), 9);
}

TEST_F(CommandsTest, LevelAndChipSteppingStopAtTheEnds) {
    TheSelection->SetActive(true);
    CurrentLevel = 47;
    MenuClick(tagUp);
    EXPECT_EQ(CurrentLevel, 47);
    EXPECT_TRUE(TheSelection->Active);
    MenuClick(tagDown);
    EXPECT_EQ(CurrentLevel, 46);
    EXPECT_FALSE(TheSelection->Active);
    EXPECT_EQ(CallLog(Log.end() - 2, Log.end()), (CallLog{"edit.RedrawLevel", "info.UpdateInfo"}));

    CurrentLevel = 0;
    Log.clear();
    MenuClick(tagDown);
    EXPECT_EQ(CurrentLevel, 0);
    MenuClick(tagUp);
    EXPECT_EQ(CurrentLevel, 1);

    Log.clear();
    CurrentChip = 0;
    MenuClick(tagPrev);
    EXPECT_EQ(CurrentChip, 0);
    EXPECT_TRUE(Log.empty());
    CurrentChip = 167;
    MenuClick(tagNext);
    EXPECT_EQ(CurrentChip, 167);
    MenuClick(tagPrev);
    EXPECT_EQ(CurrentChip, 166);
    MenuClick(tagNext);
    EXPECT_EQ(CurrentChip, 167);
    EXPECT_EQ(Log, (CallLog{"info.UpdateInfo", "info.UpdateInfo"}));
}

TEST_F(CommandsTest, ZoomTwiceReturnsWithTheCheckMarkCleared) {
    CursorX = 4;
    CursorY = 5;
    CurrentLevel = 6;
    MenuClick(tagEZoom);
    EXPECT_EQ(Edit.Zoom, 1);
    EXPECT_TRUE(Main.Checked[tagEZoom]);
    EXPECT_EQ(Log, (CallLog{"edit.SetZoom 1", "edit.RedrawLevel", "edit.ScrollToCell 4 5"}));
    MenuClick(tagEZoom);
    EXPECT_EQ(Edit.Zoom, 0);
    EXPECT_FALSE(Main.Checked[tagEZoom]);

    Log.clear();
    MenuClick(tagVZoom);
    EXPECT_EQ(Log, (CallLog{"whole.SetZoom 1", "whole.RedrawAll", "whole.ScrollToCell 4 5 6"}));
    MenuClick(tagVZoom);
    EXPECT_EQ(Whole.Zoom, 0);
    EXPECT_FALSE(Main.Checked[tagVZoom]);
    EXPECT_EQ(Edit.Zoom, 0);
}

TEST_F(CommandsTest, WindowCommandsAndRefresh) {
    CursorX = 2;
    MenuClick(tagRefresh);
    MenuClick(tagSwitch);
    MenuClick(tagCascade);
    MenuClick(tagHTile);
    MenuClick(tagVTile);
    MenuClick(tagFile); // titles and separators do nothing
    MenuClick(28);
    MenuClick(999);
    EXPECT_EQ(Log, (CallLog{"whole.ScrollToCell 2 0 0", "main.NextChild", "main.Cascade",
                            "main.TileHorizontal", "main.TileVertical"}));
}

TEST_F(CommandsTest, ShapingAMapThatNeedsNoneChangesNothing) {
    MenuClick(tagFix);
    EXPECT_TRUE(Log.empty());
    EXPECT_EQ(TheMap->UndoBuf.Current, 0);
    EXPECT_FALSE(TheMap->Modified);
}

TEST_F(CommandsTest, DialogsRedrawBothViewsOnlyOnOk) {
    SHIFT1Click(tagShift);
    EXPECT_EQ(Log, CallLog{"main.RunShiftDialog"});
    Log.clear();
    Main.DialogAnswer = mrOk;
    MenuClick(tagReplace);
    EXPECT_EQ(Log, (CallLog{"main.RunSwapDialog", "edit.RedrawLevel", "whole.RedrawAll"}));
    Log.clear();
    SHIFT1Click(tagCut);
    EXPECT_TRUE(Log.empty());
}

TEST_F(CommandsTest, ColourDialogOpensOnTheLastColourOfEitherView) {
    N4Click(); // cancelled
    EXPECT_EQ(Log, CallLog{"main.RunColorDialog 0"});
    EXPECT_EQ(Edit.Back, 0x808080u);

    Log.clear();
    Main.ColorAnswerOk = true;
    Main.ColorAnswer = 0x0000FF;
    N4Click();
    EXPECT_EQ(Log, (CallLog{"main.RunColorDialog 0", "edit.RedrawLevel"}));
    EXPECT_EQ(Edit.Back, 0x0000FFu);
    EXPECT_EQ(Whole.Back, 0u);

    Log.clear();
    Main.ColorAnswer = 0x00FF00;
    N5Click();
    EXPECT_EQ(Log, (CallLog{"main.RunColorDialog 255", "whole.RedrawAll"}));
    EXPECT_EQ(Whole.Back, 0x00FF00u);
    EXPECT_EQ(Edit.Back, 0x0000FFu);
    EXPECT_EQ(LastChosenColor, 0x00FF00u);
}

class ArchiveCommandsTest : public CommandsTest {
protected:
    void SetUp() override {
        CommandsTest::SetUp();
        std::filesystem::create_directories(Dir.File("map"));
        std::filesystem::create_directories(Dir.File("dat/unpacked"));
    }
};

TEST_F(ArchiveCommandsTest, BuildAndUnpackReportTheirOutcome) {
    MenuClick(tagUnpack);
    EXPECT_EQ(Log, CallLog{"msg ファイルが見つかりません|DAT分解"});

    Log.clear();
    ASSERT_TRUE(TheMap->SaveToFile(Dir.File("map/one.map")));
    WriteBytes(Dir.File("map/map.ini"), {'o', 'n', 'e', '.', 'm', 'a', 'p', '\r', '\n'});
    std::vector<std::string> asked;
    size_t lastDone = 0;
    Cp932ToFileName = [&](const std::string& s) {
        asked.push_back(s);
        return s;
    };
    ArchiveProgress = [&](size_t done, size_t) { lastDone = done; };
    MenuClick(tagMake);
    EXPECT_EQ(Log, CallLog{"msg datフォルダに出力しました|DAT構築"});
    EXPECT_EQ(ReadBytes(Dir.File("dat/data1.dat")).size(), 49312u);
    EXPECT_FALSE(asked.empty());
    EXPECT_EQ(lastDone, 1u);

    Log.clear();
    MenuClick(tagUnpack);
    EXPECT_EQ(Log, CallLog{"msg unpackedフォルダに出力しました|DAT分解"});
    EXPECT_EQ(ReadBytes(Dir.File("dat/unpacked/one.map")), ReadBytes(Dir.File("map/one.map")));
}

TEST_F(ArchiveCommandsTest, AFailedBuildShowsNoSuccessMessage) {
    // No map.ini: the build fails with an error for the frame to show.
    EXPECT_THROW(MenuClick(tagMake), std::exception);
    EXPECT_EQ(Count("msg"), 0);
}

} // namespace
} // namespace quarvel::test
