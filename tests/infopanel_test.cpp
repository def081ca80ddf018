// The info panel: caption text, palette hits and the controls' handlers.
#include "editor/infopanel.h"
#include "map/maperror.h"
#include "tests/fakewindows.h"

namespace quarvel::test {
namespace {

class InfoPanelTest : public EditorTest {};

TEST(MainCaptionTest, TitleFileNameAndMark) {
    EXPECT_EQ(MainCaption("", false), "Quarvel");
    EXPECT_EQ(MainCaption("", true), "Quarvel * ");
    EXPECT_EQ(MainCaption("/maps/a.map", true), "Quarvel - /maps/a.map * ");
    EXPECT_EQ(MainCaption("/maps/a.map", false), "Quarvel - /maps/a.map");
}

TEST(PaletteTest, HitsExactlyThePaletteArea) {
    EXPECT_EQ(PaletteHit(8, 160), 0);
    EXPECT_EQ(PaletteHit(231, 351), 55);
    EXPECT_EQ(PaletteHit(39, 183), 0);
    EXPECT_EQ(PaletteHit(40, 184), 8);
    for (auto p : {std::pair<int, int>{7, 200},
                   {232, 200},
                   {100, 159},
                   {100, 352},
                   {-30, 200},
                   {100, 120},
                   {0, 0}})
        EXPECT_EQ(PaletteHit(p.first, p.second), -1) << p.first << "," << p.second;
    EXPECT_EQ(PaletteChips[0], 0);
    EXPECT_EQ(PaletteChips[4 * 7 + 2], 53);
    EXPECT_EQ(PaletteChips[7 * 7 + 0], 111);
    EXPECT_EQ(PaletteChips[55], 0);
}

TEST_F(InfoPanelTest, EditingTheNameMarksTheMapModified) {
    Edit1Change(State, State.TheMap->GetName()); // the refresh writing the same text
    EXPECT_FALSE(State.TheMap->Modified);
    EXPECT_TRUE(Log.empty());

    Edit1Change(State, "A");
    EXPECT_TRUE(State.TheMap->Modified);
    EXPECT_EQ(State.TheMap->GetName(), "A");
    EXPECT_EQ(Log, CallLog{"info.UpdateInfo"});

    Edit1Change(State, std::string(19, 'b') + "\x90\x56");
    EXPECT_EQ(State.TheMap->GetName(), std::string(19, 'b'));
}

TEST_F(InfoPanelTest, TerrainChangeWithAMissingChipFileRedrawsNothing) {
    ComboBox1Change(State, 0); // already the map's set
    EXPECT_FALSE(State.TheMap->Modified);
    EXPECT_TRUE(Log.empty());

    ComboBox1Change(State, 2); // no chip folder at all
    EXPECT_TRUE(State.TheMap->Modified);
    EXPECT_EQ(State.TheMap->GetTerrain(), 2);
    EXPECT_EQ(State.CurrentTerrain, 0);
    EXPECT_EQ(Log, CallLog{"info.UpdateInfo"});

    Log.clear();
    ComboBox1Change(State, 7); // not a set
    EXPECT_TRUE(Log.empty());
    EXPECT_EQ(State.TheMap->GetTerrain(), 2);
}

TEST_F(InfoPanelTest, TerrainChangeLoadsOnlyAnotherSet) {
    WriteChipSet(1);
    ComboBox1Change(State, 1);
    EXPECT_EQ(State.CurrentTerrain, 1);
    EXPECT_EQ(Log, (CallLog{"edit.SetZoom 0", "whole.SetZoom 0", "info.PaintPalette",
                            "edit.RedrawLevel", "whole.RedrawAll", "info.UpdateInfo"}));

    // The map goes back to set 0 while set 1 stays loaded, then to 1 again: no loading.
    ComboBox1Change(State, 0); // set 0 has no files: not loaded, nothing redrawn
    Log.clear();
    ComboBox1Change(State, 1);
    EXPECT_EQ(Log, CallLog{"info.UpdateInfo"});
}

TEST_F(InfoPanelTest, ShortChipFileFailsAfterRefreshingThePanel) {
    WriteChipSet(3, 0, "s.pal");
    EXPECT_THROW(ComboBox1Change(State, 3), QuarvelError);
    EXPECT_EQ(State.CurrentTerrain, 0);
    EXPECT_EQ(State.TheMap->GetTerrain(), 3);
    EXPECT_EQ(Log, CallLog{"info.UpdateInfo"});
}

TEST_F(InfoPanelTest, LevelListSwitchesTheSelectionOff) {
    State.TheSelection->SetActive(true);
    ComboBox2Change(State, 0);
    EXPECT_TRUE(State.TheSelection->Active);
    EXPECT_TRUE(Log.empty());
    ComboBox2Change(State, 12);
    EXPECT_EQ(State.CurrentLevel, 12);
    EXPECT_FALSE(State.TheSelection->Active);
    EXPECT_EQ(CallLog(Log.end() - 2, Log.end()), (CallLog{"edit.RedrawLevel", "info.UpdateInfo"}));
    Log.clear();
    ComboBox2Change(State, 48);
    ComboBox2Change(State, -1);
    EXPECT_EQ(State.CurrentLevel, 12);
    EXPECT_TRUE(Log.empty());
}

TEST_F(InfoPanelTest, ChipListAndPaletteChooseTheChip) {
    ComboBox3Change(State, 0);
    EXPECT_TRUE(Log.empty());
    ComboBox3Change(State, 99);
    EXPECT_EQ(State.CurrentChip, 99);
    ComboBox3Change(State, 168);
    EXPECT_EQ(State.CurrentChip, 99);

    Log.clear();
    PanelMouseDown(State, 100, 159); // above the palette
    EXPECT_TRUE(Log.empty());
    PanelMouseDown(State, 40 + 31, 160 + 23); // column 1, row 0
    EXPECT_EQ(State.CurrentChip, 58);
    EXPECT_EQ(Log, CallLog{"info.UpdateInfo"});
}

} // namespace
} // namespace quarvel::test
