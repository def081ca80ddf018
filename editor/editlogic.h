// Mouse editing of the edit view: cursor, drawing, erasing, filling, picking and selecting,
// and the level rule that protects the bottom and top levels.
#pragma once

#include <cstdint>

namespace quarvel {

class TEditorState;

// Button and key state of one mouse event. NewL / NewR: the first handled event since
// that button went down.
struct MouseState {
    bool DownL = false, NewL = false;
    bool DownR = false, NewR = false;
    bool DownS = false; // Shift
    bool DownC = false; // Ctrl
};

extern const char* const LevelWarnings[3]; // [1] floor, [2] ceiling; UTF-8

// One mouse-down or mouse-move event over the edit view's picture at (px, py). Each press
// that writes is one undo step, opened on its first event; a press that began as a Ctrl
// selection or pick and goes on drawing or erasing after Ctrl is let go opens its step at
// the first such event, so its cells never join an earlier action's step.
void HandleMouse(TEditorState& State, int px, int py, const MouseState& state);
void PutChip(TEditorState& State, int x, int y, int z, uint8_t chip);
void FloodFill(TEditorState& State, int x, int y, int z, uint8_t chip);
// 0 when allowed; otherwise shows the warning and returns 1 (floor) or 2 (ceiling).
int CheckLevelRule(TEditorState& State, int z, uint8_t chip);

} // namespace quarvel
