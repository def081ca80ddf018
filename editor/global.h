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
    std::vector<uint8_t> Data; // row by row: Data[i * Width + j]
};

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
extern std::string ProgramFolder;

// Reads terrain set `set` into the chip sheets; tells the views. False when a file is
// missing (nothing changes); throws QuarvelError when a file is short (nothing changes).
bool LoadChips(int set);

void StartEditor();
void StopEditor();

} // namespace quarvel
