// Moving the selection box with its cells, and stepping the level with the selection kept, so
// that the box grows or shrinks between its anchor level and the level being edited.
#pragma once

#include <string>

namespace quarvel {

class TEditorState;

// The message box text when a move would carry chips off the map (caption "エラー").
extern const char* const MoveRefusedMessage;

enum class MoveResult { Nothing, Refused, Moved };

// Moves the cells of the selection box by (dx, dy, dz) as one undo step, through SetChip:
// Nothing (selection off or a zero offset; no undo step), Refused (a non-empty cell would
// leave the map; nothing changes, no message) or Moved. A moved block takes the selection
// along (both corners, the anchor level and the current level, each clamped to the map) and
// the windows redraw. The copy buffer is not touched.
MoveResult MoveSelection(TEditorState& State, int dx, int dy, int dz);
// MoveSelection, and the message box when the move is refused.
void MoveSelectionCommand(TEditorState& State, int dx, int dy, int dz);
// The move dialog's OK: converts e1, e2, e3 like the shift dialog (an invalid text throws
// QuarvelError and nothing has changed), then moves. mrOk when the block moved, mrCancel for
// nothing to move, mrNone when the move was refused (the message box has been shown and the
// dialog stays open).
int MoveDialogOk(TEditorState& State, const std::string& e1, const std::string& e2,
                 const std::string& e3);

// The edit view goes to level z (0..47; another value or the same level does nothing) and
// the selection stays on: the box now reaches from its anchor level to z.
void ChangeLevelKeepingSelection(TEditorState& State, int z);

// "選択 Z:low-high" while the selection box spans more than one level, else "" (the info
// panel shows it).
std::string SelectionLevelsText(TEditorState& State);

} // namespace quarvel
