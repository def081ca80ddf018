// The info panel's rules: caption text, chip palette, name limit and the controls' handlers.
#include "editor/infopanel.h"

#include "editor/global.h"
#include "editor/selectarea.h"
#include "editor/texts.h"
#include "editor/windows.h"
#include "map/chipclasses.h"
#include "map/mapclass.h"

#include <exception>

namespace quarvel {

const uint8_t PaletteChips[PaletteCells] = {
    0,   58,  120, 25, 128, 152, 50, //
    5,   69,  121, 26, 129, 153, 51, //
    9,   81,  122, 27, 130, 154, 52, //
    13,  82,  123, 28, 131, 155, 0,  //
    112, 116, 53,  29, 136, 125, 0,  //
    21,  117, 35,  30, 137, 126, 0,  //
    83,  118, 41,  31, 138, 127, 0,  //
    111, 119, 49,  32, 139, 0,   0,  //
};

const char* const ModifiedMarks[2] = {"", " * "};
const char* const ApplicationTitle = "Quarvel";

std::string MainCaption(const std::string& fileNameForShow, bool modified) {
    std::string text = ApplicationTitle;
    if (!fileNameForShow.empty()) text += " - " + fileNameForShow;
    return text + ModifiedMarks[modified ? 1 : 0];
}

std::string ShownChipName(int chip) {
    if (chip < 0 || chip >= TMap::ChipCount) return std::to_string(chip);
    return Tr("ChipNames", ChipNames[chip]);
}

int PaletteHit(int X, int Y) {
    // Integer division truncates toward zero, so the row and column just left of and
    // above the palette also give -1.
    const int col = (X - PaletteLeft + PaletteCellWidth) / PaletteCellWidth - 1;
    const int row = (Y - PaletteTop + PaletteCellHeight) / PaletteCellHeight - 1;
    if (col < 0 || col >= PaletteColumns || row < 0 || row >= PaletteRows) return -1;
    return col + row * PaletteColumns;
}

void Edit1Change(TEditorState& State, const std::string& cp932Text) {
    if (cp932Text == State.TheMap->GetName()) return;
    State.TheMap->SetName(cp932Text); // keeps 20 bytes, cut at a character boundary
    State.Windows.Info->UpdateInfo();
}

void ComboBox1Change(TEditorState& State, int index) {
    if (index < 0 || index > 3 || index == State.TheMap->GetTerrain()) return;
    State.TheMap->SetTerrain(index);
    if (index != State.CurrentTerrain) {
        try {
            if (LoadChips(State, index)) {
                State.Windows.Edit->RedrawLevel();
                State.Windows.Whole->RedrawAll();
            }
        } catch (const std::exception&) {
            // The map already records the new set: show that before the error is reported.
            State.Windows.Info->UpdateInfo();
            throw;
        }
    }
    State.Windows.Info->UpdateInfo();
}

void ComboBox2Change(TEditorState& State, int index) {
    if (index < 0 || index >= TMap::SizeZ || index == State.CurrentLevel) return;
    State.TheSelection->SetActive(false);
    State.CurrentLevel = index;
    State.Windows.Edit->RedrawLevel();
    LevelChanged(State);
    State.Windows.Info->UpdateInfo();
}

void ComboBox3Change(TEditorState& State, int index) {
    if (index < 0 || index >= TMap::ChipCount || index == State.CurrentChip) return;
    State.CurrentChip = uint8_t(index);
    State.Windows.Info->UpdateInfo();
}

void PanelMouseDown(TEditorState& State, int X, int Y) {
    const int hit = PaletteHit(X, Y);
    if (hit < 0) return;
    State.CurrentChip = PaletteChips[hit];
    State.Windows.Info->UpdateInfo();
}

} // namespace quarvel
