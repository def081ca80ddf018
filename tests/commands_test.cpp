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
        State.LastChosenColor = 0;
        State.Cp932ToFileName = nullptr;
        State.ArchiveProgress = nullptr;
    }
    void Paint(int x, int y, int z, uint8_t chip) {
        State.TheMap->UndoBuf.BeginStep();
        State.TheMap->SetChip(x, y, z, chip);
        Log.clear();
    }
    const CallLog ResetCalls{"edit.RedrawLevel", "edit.ScrollToCell 0 0", "whole.RedrawAll",
                             "whole.ScrollToCell 0 0 0", "info.UpdateInfo"};
    const std::string Question = "msg 編集中のマップを保存しますか？|確認";
};

TEST_F(CommandsTest, NewAsksOnlyForAModifiedMap) {
    State.CursorX = 5;
    State.CurrentChip = 9;
    MenuClick(State, tagNew);
    EXPECT_EQ(Count("msg"), 0);
    EXPECT_EQ(State.CursorX, 0);
    EXPECT_EQ(State.CurrentChip, 0);
    EXPECT_EQ(Log, ResetCalls);
}

TEST_F(CommandsTest, NewWithCancelNoAndYes) {
    Paint(1, 1, 0, 9);
    Messages.Answers = {mrCancel};
    MenuClick(State, tagNew);
    EXPECT_EQ(Log, CallLog{Question});
    EXPECT_EQ(State.TheMap->GetChip(1, 1, 0), 9);

    // Yes on a map without a file name asks for one; cancelling that cancels the New.
    Log.clear();
    Messages.Answers = {mrYes};
    MenuClick(State, tagNew);
    EXPECT_EQ(Log, (CallLog{Question, "main.RunSaveDialog"}));
    EXPECT_EQ(State.TheMap->GetChip(1, 1, 0), 9);
    EXPECT_TRUE(State.TheMap->Modified);

    Messages.Answers = {mrNo};
    MenuClick(State, tagNew);
    EXPECT_EQ(State.TheMap->GetChip(1, 1, 0), 0);
    EXPECT_FALSE(State.TheMap->Modified);
}

TEST_F(CommandsTest, YesSavesBeforeTheNewMap) {
    Paint(1, 1, 0, 9);
    Main.SaveAnswer = Dir.File("a.map");
    Messages.Answers = {mrYes};
    MenuClick(State, tagNew);
    auto bytes = ReadBytes(Dir.File("a.map"));
    ASSERT_EQ(bytes.size(), 49200u);
    EXPECT_EQ(bytes[48 + 32 + 1], 9);
    EXPECT_EQ(State.TheMap->GetChip(1, 1, 0), 0);
}

TEST_F(CommandsTest, OpenLoadsAMapOrSaysItIsNone) {
    State.TheMap->UndoBuf.BeginStep();
    State.TheMap->SetChip(2, 2, 0, 9);
    ASSERT_TRUE(State.TheMap->SaveToFile(Dir.File("m.map")));
    State.TheMap->Clear();
    WriteBytes(Dir.File("not.map"), std::vector<uint8_t>(49200, 'x'));
    Paint(4, 4, 0, 7);

    Main.OpenAnswer = Dir.File("not.map");
    Messages.Answers = {mrNo};
    MenuClick(State, tagOpen);
    EXPECT_EQ(Log,
              (CallLog{Question, "main.RunOpenDialog", "msg マップファイルじゃないよ？|エラー"}));
    EXPECT_EQ(State.TheMap->GetChip(4, 4, 0), 7); // still the map in memory, still modified
    EXPECT_TRUE(State.TheMap->Modified);

    Log.clear();
    Main.OpenAnswer = "";
    Messages.Answers = {mrNo};
    MenuClick(State, tagOpen); // dialog cancelled
    EXPECT_EQ(State.TheMap->GetChip(4, 4, 0), 7);

    Log.clear();
    State.CurrentLevel = 3;
    Main.OpenAnswer = Dir.File("m.map");
    Messages.Answers = {mrNo};
    MenuClick(State, tagOpen);
    EXPECT_EQ(State.TheMap->GetChip(2, 2, 0), 9);
    EXPECT_EQ(State.CurrentLevel, 0);
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
    MenuClick(State, tagOpen);
    EXPECT_EQ(Log, (CallLog{"main.RunOpenDialog"}) + ResetCalls);
    EXPECT_EQ(State.CurrentTerrain, 0);

    // A short chip file: the new map is still shown before the error is reported.
    WriteChipSet(1, 0, "s.2c");
    Log.clear();
    Main.OpenAnswer = Dir.File("one.map");
    EXPECT_THROW(MenuClick(State, tagOpen), QuarvelError);
    EXPECT_EQ(Log, (CallLog{"main.RunOpenDialog"}) + ResetCalls);
    EXPECT_EQ(State.CurrentTerrain, 0);

    WriteChipSet(1);
    Log.clear();
    MenuClick(State, tagOpen);
    EXPECT_EQ(State.CurrentTerrain, 1);
    EXPECT_EQ(Count("info.PaintPalette"), 1);
}

TEST_F(CommandsTest, OpenOfAMissingFileFailsWithAnError) {
    Main.OpenAnswer = Dir.File("gone.map");
    EXPECT_THROW(MenuClick(State, tagOpen), QuarvelError);
}

TEST_F(CommandsTest, CloseAsksAndCancelKeepsRunning) {
    EXPECT_TRUE(FormClose(State));
    Paint(0, 0, 0, 9);
    Messages.Answers = {mrCancel};
    EXPECT_FALSE(FormClose(State));
    Messages.Answers = {mrNo};
    EXPECT_TRUE(FormClose(State));
    MenuClick(State, tagExit);
    EXPECT_EQ(Log.back(), "main.CloseFrame");
}

TEST_F(CommandsTest, SaveOfANeverSavedMapRunsSaveAs) {
    Paint(0, 0, 0, 9);
    MenuClick(State, tagSave);
    EXPECT_EQ(Log, (CallLog{"main.RunSaveDialog", "info.UpdateInfo"}));
    EXPECT_TRUE(State.TheMap->Modified);

    Log.clear();
    Main.SaveAnswer = Dir.File("b.map");
    MenuClick(State, tagSave);
    EXPECT_FALSE(State.TheMap->Modified);
    EXPECT_EQ(State.TheMap->FileName, Dir.File("b.map"));

    // Now it has a name: no dialog.
    Log.clear();
    Main.SaveAnswer = "";
    Paint(0, 0, 0, 8);
    MenuClick(State, tagSave);
    EXPECT_EQ(Log, CallLog{"info.UpdateInfo"});
    EXPECT_EQ(ReadBytes(Dir.File("b.map"))[48], 8);

    MenuClick(State, tagSaveAs);
    EXPECT_EQ(Log, (CallLog{"info.UpdateInfo", "main.RunSaveDialog", "info.UpdateInfo"}));
}

TEST_F(CommandsTest, AWriteProtectedMapIsRefusedAndCanBeSavedUnderAnotherName) {
    Paint(0, 0, 0, 9);
    ASSERT_TRUE(State.TheMap->SaveToFile(Dir.File("ro.map")));
    ::chmod(Dir.File("ro.map").c_str(), 0444);
    Paint(0, 0, 0, 8);
    try {
        MenuClick(State, tagSave);
        FAIL() << "saved over a write-protected file";
    } catch (const QuarvelError& e) {
        const std::string text = ShownErrorText(e);
        EXPECT_NE(text.find("書き込み禁止"), std::string::npos) << text;
        EXPECT_NE(text.find("名前を付けて保存"), std::string::npos) << text;
    }
    EXPECT_TRUE(State.TheMap->Modified);
    EXPECT_EQ(ReadBytes(Dir.File("ro.map"))[48], 9);

    Main.SaveAnswer = Dir.File("rw.map");
    MenuClick(State, tagSaveAs);
    EXPECT_FALSE(State.TheMap->Modified);
    EXPECT_EQ(ReadBytes(Dir.File("rw.map"))[48], 8);
}

TEST_F(CommandsTest, UndoAndRedoRedrawOnlyWhenSomethingChanged) {
    MenuClick(State, tagUndo);
    MenuClick(State, tagRedo);
    EXPECT_TRUE(Log.empty());
    Paint(3, 3, 0, 9);
    State.TheSelection->SetActive(true);
    MenuClick(State, tagUndo);
    EXPECT_EQ(State.TheMap->GetChip(3, 3, 0), 0);
    EXPECT_FALSE(State.TheSelection->Active);
    EXPECT_EQ(CallLog(Log.end() - 3, Log.end()),
              (CallLog{"edit.RedrawLevel", "whole.RedrawAll", "info.UpdateInfo"}));
    MenuClick(State, tagRedo);
    EXPECT_EQ(State.TheMap->GetChip(3, 3, 0), 9);
}

TEST_F(CommandsTest, LevelAndChipSteppingStopAtTheEnds) {
    State.TheSelection->SetActive(true);
    State.CurrentLevel = 47;
    MenuClick(State, tagUp);
    EXPECT_EQ(State.CurrentLevel, 47);
    EXPECT_TRUE(State.TheSelection->Active);
    MenuClick(State, tagDown);
    EXPECT_EQ(State.CurrentLevel, 46);
    EXPECT_FALSE(State.TheSelection->Active);
    EXPECT_EQ(CallLog(Log.end() - 2, Log.end()), (CallLog{"edit.RedrawLevel", "info.UpdateInfo"}));

    State.CurrentLevel = 0;
    Log.clear();
    MenuClick(State, tagDown);
    EXPECT_EQ(State.CurrentLevel, 0);
    MenuClick(State, tagUp);
    EXPECT_EQ(State.CurrentLevel, 1);

    Log.clear();
    State.CurrentChip = 0;
    MenuClick(State, tagPrev);
    EXPECT_EQ(State.CurrentChip, 0);
    EXPECT_TRUE(Log.empty());
    State.CurrentChip = 167;
    MenuClick(State, tagNext);
    EXPECT_EQ(State.CurrentChip, 167);
    MenuClick(State, tagPrev);
    EXPECT_EQ(State.CurrentChip, 166);
    MenuClick(State, tagNext);
    EXPECT_EQ(State.CurrentChip, 167);
    EXPECT_EQ(Log, (CallLog{"info.UpdateInfo", "info.UpdateInfo"}));
}

TEST_F(CommandsTest, ZoomTwiceReturnsWithTheCheckMarkCleared) {
    State.CursorX = 4;
    State.CursorY = 5;
    State.CurrentLevel = 6;
    MenuClick(State, tagEZoom);
    EXPECT_EQ(Edit.Zoom, 1);
    EXPECT_TRUE(Main.Checked[tagEZoom]);
    EXPECT_EQ(Log, (CallLog{"edit.SetZoom 1", "edit.RedrawLevel", "edit.ScrollToCell 4 5"}));
    MenuClick(State, tagEZoom);
    EXPECT_EQ(Edit.Zoom, 0);
    EXPECT_FALSE(Main.Checked[tagEZoom]);

    Log.clear();
    MenuClick(State, tagVZoom);
    EXPECT_EQ(Log, (CallLog{"whole.SetZoom 1", "whole.RedrawAll", "whole.ScrollToCell 4 5 6"}));
    MenuClick(State, tagVZoom);
    EXPECT_EQ(Whole.Zoom, 0);
    EXPECT_FALSE(Main.Checked[tagVZoom]);
    EXPECT_EQ(Edit.Zoom, 0);
}

TEST_F(CommandsTest, WindowCommandsAndRefresh) {
    State.CursorX = 2;
    MenuClick(State, tagRefresh);
    MenuClick(State, tagSwitch);
    MenuClick(State, tagCascade);
    MenuClick(State, tagHTile);
    MenuClick(State, tagVTile);
    MenuClick(State, tagFile); // titles and separators do nothing
    MenuClick(State, 28);
    MenuClick(State, 999);
    EXPECT_EQ(Log, (CallLog{"whole.ScrollToCell 2 0 0", "main.NextChild", "main.Cascade",
                            "main.TileHorizontal", "main.TileVertical"}));
}

TEST_F(CommandsTest, ShapingAMapThatNeedsNoneChangesNothing) {
    MenuClick(State, tagFix);
    EXPECT_TRUE(Log.empty());
    EXPECT_EQ(State.TheMap->UndoBuf.Current, 0);
    EXPECT_FALSE(State.TheMap->Modified);
}

TEST_F(CommandsTest, DialogsRedrawBothViewsOnlyOnOk) {
    SHIFT1Click(State, tagShift);
    EXPECT_EQ(Log, CallLog{"main.RunShiftDialog"});
    Log.clear();
    Main.DialogAnswer = mrOk;
    MenuClick(State, tagReplace);
    EXPECT_EQ(Log, (CallLog{"main.RunSwapDialog", "edit.RedrawLevel", "whole.RedrawAll"}));
    Log.clear();
    SHIFT1Click(State, tagCut);
    EXPECT_TRUE(Log.empty());
}

TEST_F(CommandsTest, ColourDialogOpensOnTheLastColourOfEitherView) {
    N4Click(State); // cancelled
    EXPECT_EQ(Log, CallLog{"main.RunColorDialog 0"});
    EXPECT_EQ(Edit.Back, 0x808080u);

    Log.clear();
    Main.ColorAnswerOk = true;
    Main.ColorAnswer = 0x0000FF;
    N4Click(State);
    EXPECT_EQ(Log, (CallLog{"main.RunColorDialog 0", "edit.RedrawLevel"}));
    EXPECT_EQ(Edit.Back, 0x0000FFu);
    EXPECT_EQ(Whole.Back, 0u);

    Log.clear();
    Main.ColorAnswer = 0x00FF00;
    N5Click(State);
    EXPECT_EQ(Log, (CallLog{"main.RunColorDialog 255", "whole.RedrawAll"}));
    EXPECT_EQ(Whole.Back, 0x00FF00u);
    EXPECT_EQ(Edit.Back, 0x0000FFu);
    EXPECT_EQ(State.LastChosenColor, 0x00FF00u);
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
    MenuClick(State, tagUnpack);
    EXPECT_EQ(Log, CallLog{"msg ファイルが見つかりません|DAT分解"});

    Log.clear();
    ASSERT_TRUE(State.TheMap->SaveToFile(Dir.File("map/one.map")));
    WriteBytes(Dir.File("map/map.ini"), {'o', 'n', 'e', '.', 'm', 'a', 'p', '\r', '\n'});
    std::vector<std::string> asked;
    size_t lastDone = 0;
    State.Cp932ToFileName = [&](const std::string& s) {
        asked.push_back(s);
        return s;
    };
    State.ArchiveProgress = [&](size_t done, size_t) { lastDone = done; };
    MenuClick(State, tagMake);
    EXPECT_EQ(Log, CallLog{"msg datフォルダに出力しました|DAT構築"});
    EXPECT_EQ(ReadBytes(Dir.File("dat/data1.dat")).size(), 49312u);
    EXPECT_FALSE(asked.empty());
    EXPECT_EQ(lastDone, 1u);

    Log.clear();
    MenuClick(State, tagUnpack);
    EXPECT_EQ(Log, CallLog{"msg unpackedフォルダに出力しました|DAT分解"});
    EXPECT_EQ(ReadBytes(Dir.File("dat/unpacked/one.map")), ReadBytes(Dir.File("map/one.map")));
}

TEST_F(ArchiveCommandsTest, AFailedBuildShowsNoSuccessMessage) {
    // No map.ini: the build fails with an error for the frame to show.
    EXPECT_THROW(MenuClick(State, tagMake), std::exception);
    EXPECT_EQ(Count("msg"), 0);
}

} // namespace
} // namespace quarvel::test
