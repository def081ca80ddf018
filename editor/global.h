// The state all windows of the editor share, the selection and copy buffer, and the
// editor's start-up and shut-down.
#pragma once

#include "graphics/bmp256.h"
#include "graphics/chipsheet.h"

#include <cstdint>
#include <string>
#include <vector>

namespace quarvel {

class TMap;
class TSelectArea;

struct TCopyBuf {
    int32_t Width = 0;
    int32_t Height = 0;
    // Level by level, bottom first, each row by row: Data[(k * Height + i) * Width + j].
    std::vector<uint8_t> Data;
    int32_t Depth = 1; // levels copied
};

// The two chip sheets (0 large, 1 small). StartEditor allocates them as one array, so
// ChipSheet[1] == ChipSheet[0] + 1 and the pictures can be attached to ChipSheet[0] as a
// pair. Null before StartEditor and after StopEditor.
extern TBMP256* ChipSheet[2];
extern uint8_t TransparentIndex[2];
extern TMap* TheMap;
extern int32_t CursorX;
extern int32_t CursorY;
extern int32_t CurrentLevel;
extern uint8_t CurrentChip;
extern int32_t CurrentTerrain;
extern TSelectArea* TheSelection;
extern TCopyBuf TheCopyBuf;

// The folder that holds the program (with a trailing '/'); chip/, map/ and dat/ lie in it.
// Empty means the current directory. The program entry sets it before StartEditor.
extern std::string ProgramFolder;

// Reads terrain set `set` into the chip sheets; tells the views. False when a file is
// missing (nothing changes); throws QuarvelError when a file is short (nothing changes).
// A set outside 0..3 throws std::out_of_range.
bool LoadChips(int set);

// Creates TheMap, TheSelection and the chip sheets, loads terrain set 0 and arranges the
// windows (all of `Windows` must be set). When a chip file of set 0 is missing it shows
// "チップデータが見つかりません" and terminates the application. When a chip file exists but
// cannot be read or is too short, it catches the error, shows its text (naming the file)
// in an error box titled "Quarvel" and terminates the application: StartEditor never
// throws for chip files, and the caller only has to run the message loop (which ends at
// once after Terminate). Called again, it first frees what an earlier call created.
void StartEditor();
// Frees TheMap, TheSelection and the chip sheets and leaves the pointers null.
void StopEditor();

} // namespace quarvel
