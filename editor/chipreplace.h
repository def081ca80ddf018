// チップの置換: replacing one chip with another over a box of the map, and finding the next
// cell that holds a chip, for the editor's dialog and the script commands.
#pragma once

#include <cstdint>
#include <string>

namespace quarvel {

class TMap;
class TEditorState;

// A box of cells, corners included; any two corners (ReplaceChips orders them).
struct ChipBox {
    int X0 = 0, Y0 = 0, Z0 = 0;
    int X1 = 31, Y1 = 31, Z1 = 47;
};

struct ReplaceCount {
    int Written = 0; // matching cells written
    int Skipped = 0; // matching cells on levels where the level rule refuses the new chip
};

// Writes `to` through SetChip into every cell of `box` that holds `from`, in the order z,
// then y, then x, as one undo step. The matches are all looked up before the first write,
// so a cell that a write fills as an object's partner is never taken for a new match, and
// every matched cell is written once. Matches on a level where the level rule refuses `to`
// are skipped. Nothing to write (no match, all refused, or from == to): no undo step and
// the map is left as it was. The box is cut to the map (nothing when it lies beside it).
ReplaceCount ReplaceChips(TMap& map, uint8_t from, uint8_t to, const ChipBox& box = ChipBox());

// The first cell holding `chip` after (x, y, z) in the order z, then y, then x, wrapping
// around to the first cell with (x, y, z) itself last. True and the cell in x, y, z when
// there is one; false and x, y, z untouched when the map holds no such chip.
bool FindChip(const TMap& map, uint8_t chip, int& x, int& y, int& z);

// The message after a replace: "12 個のチップを置換しました", and the skipped count when
// there are any.
std::string ReplacedMessage(const ReplaceCount& count);
extern const char* const NotFoundMessage; // "見つかりません"
extern const char* const ReplaceCaption;  // the caption of both messages

// 置換: ReplaceChips on the editor's map, both views redrawn, and the message.
ReplaceCount ReplaceChipsCommand(TEditorState& State, uint8_t from, uint8_t to, const ChipBox& box);
// 次を検索: the cursor and CurrentLevel go to the next cell holding `chip` (FindChip from
// the cursor cell) and both views scroll to it; "見つかりません" when there is none.
bool FindNextCommand(TEditorState& State, uint8_t chip);
// The box the dialog's choices stand for: the selection box through its levels or the
// whole map, cut to levels low..high when `levels` is set.
ChipBox ReplaceRange(TEditorState& State, bool selection, bool levels, int low, int high);
// A number box of the dialog: a whole number lo..hi, else a QuarvelError that says so.
int NumberIn(const std::string& text, int lo, int hi);
// チップの置換(&F)...: the dialog, run again after each 次を検索 until 置換 or cancel.
void ReplaceChipsDialog(TEditorState& State);

} // namespace quarvel
