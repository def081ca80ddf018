// The info panel's rules: the main window's caption, the chip palette and its hit area, the
// name limit, and what the panel's controls do when the user changes them.
#pragma once

#include <cstdint>
#include <string>

namespace quarvel {

class TEditorState;

// The chip palette: PaletteColumns x PaletteRows cells of one small chip each, the first
// at (PaletteLeft, PaletteTop) of the panel; entry i lies in column i mod PaletteColumns,
// row i div PaletteColumns.
constexpr int PaletteColumns = 7;
constexpr int PaletteRows = 8;
constexpr int PaletteCells = PaletteColumns * PaletteRows; // 56
constexpr int PaletteLeft = 8;
constexpr int PaletteTop = 160;
constexpr int PaletteCellWidth = 32; // a small chip
constexpr int PaletteCellHeight = 24;

extern const uint8_t PaletteChips[PaletteCells];
extern const char* const ModifiedMarks[2]; // "", " * "
extern const char* const ApplicationTitle; // "Quarvel"

// "Quarvel", " - " and the file name when there is one, then " * " when modified.
// `fileNameForShow` is FileName as the user should see it (UTF-8).
std::string MainCaption(const std::string& fileNameForShow, bool modified);

// The palette entry under (X, Y) of the panel, or -1 outside the palette.
int PaletteHit(int X, int Y);

// A chip's name as the editor shows it: its name in ChipNames through the translations; a byte
// beyond the named chips (a map written elsewhere) by its number.
std::string ShownChipName(int chip);

// Handlers of the panel's controls; each refreshes what it must through the windows.
// An index outside its list (-1 for a cleared list) is ignored.
// Edit1Change stores the text through SetName (at most 20 bytes, never half a character).
void Edit1Change(TEditorState& State, const std::string& cp932Text);
// Terrain set: LoadChips only when the set differs from CurrentTerrain. An error of
// LoadChips (a short chip file) propagates after the panel has been refreshed.
void ComboBox1Change(TEditorState& State, int index);
void ComboBox2Change(TEditorState& State, int index); // level; switches the selection off
void ComboBox3Change(TEditorState& State, int index); // chip
// A left press on the panel's surface at (X, Y): chooses a palette chip.
void PanelMouseDown(TEditorState& State, int X, int Y);

} // namespace quarvel
