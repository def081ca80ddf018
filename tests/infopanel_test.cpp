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
    Edit1Change(TheMap->GetName()); // the refresh writing the same text
    EXPECT_FALSE(TheMap->Modified);
    EXPECT_TRUE(Log.empty());

    Edit1Change("A");
    EXPECT_TRUE(TheMap->Modified);
    EXPECT_EQ(TheMap->GetName(), "A");
    EXPECT_EQ(Log, CallLog{"info.UpdateInfo"});

    Edit1Change(std::string(19, 'b') + "\x90\x56");
    EXPECT_EQ(TheMap->GetName(), std::string(19, 'b'));
}

TEST_F(InfoPanelTest, TerrainChangeWithAMissingChipFileRedrawsNothing) {
    ComboBox1Change(0); // already the map's set
    EXPECT_FALSE(TheMap->Modified);
    EXPECT_TRUE(Log.empty());

    ComboBox1Change(2); // no chip folder at all
    EXPECT_TRUE(TheMap->Modified);
    EXPECT_EQ(TheMap->GetTerrain(), 2);
    EXPECT_EQ(CurrentTerrain, 0);
    EXPECT_EQ(Log, CallLog{"info.UpdateInfo"});

    Log.clear();
    ComboBox1Change(7); // not a set
    EXPECT_TRUE(Log.empty());
    EXPECT_EQ(TheMap->GetTerrain(), 2);
}

TEST_F(InfoPanelTest, TerrainChangeLoadsOnlyAnotherSet) {
    WriteChipSet(1);
    ComboBox1Change(1);
    EXPECT_EQ(CurrentTerrain, 1);
    EXPECT_EQ(Log, (CallLog{"edit.SetZoom 0", "whole.SetZoom 0", "info.PaintPalette",
                            "edit.RedrawLevel", "whole.RedrawAll", "info.UpdateInfo"}));

    // The map goes back to set 0 while set 1 stays loaded, then to 1 again: no loading.
    ComboBox1Change(0); // set 0 has no files: not loaded, nothing redrawn
    Log.clear();
    ComboBox1Change(1);
    EXPECT_EQ(Log, CallLog{"info.UpdateInfo"});
}

TEST_F(InfoPanelTest, ShortChipFileFailsAfterRefreshingThePanel) {
    WriteChipSet(3, 0, "s.pal");
    EXPECT_THROW(ComboBox1Change(3), QuarvelError);
    EXPECT_EQ(CurrentTerrain, 0);
    EXPECT_EQ(TheMap->GetTerrain(), 3);
    EXPECT_EQ(Log, CallLog{"info.UpdateInfo"});
}

TEST_F(InfoPanelTest, LevelListSwitchesTheSelectionOff) {
    TheSelection->SetActive(true);
    ComboBox2Change(0);
    EXPECT_TRUE(TheSelection->Active);
    EXPECT_TRUE(Log.empty());
    ComboBox2Change(12);
    EXPECT_EQ(CurrentLevel, 12);
    EXPECT_FALSE(TheSelection->Active);
    EXPECT_EQ(CallLog(Log.end() - 2, Log.end()), (CallLog{"edit.RedrawLevel", "info.UpdateInfo"}));
    Log.clear();
    ComboBox2Change(48);
    ComboBox2Change(-1);
    EXPECT_EQ(CurrentLevel, 12);
    EXPECT_TRUE(Log.empty());
}

TEST_F(InfoPanelTest, ChipListAndPaletteChooseTheChip) {
    ComboBox3Change(0);
    EXPECT_TRUE(Log.empty());
    ComboBox3Change(99);
    EXPECT_EQ(CurrentChip, 99);
    ComboBox3Change(168);
    EXPECT_EQ(CurrentChip, 99);

    Log.clear();
    PanelMouseDown(100, 159); // above the palette
    EXPECT_TRUE(Log.empty());
    PanelMouseDown(40 + 31, 160 + 23); // column 1, row 0
    EXPECT_EQ(CurrentChip, 58);
    EXPECT_EQ(Log, CallLog{"info.UpdateInfo"});
}

} // namespace
} // namespace quarvel::test
