// The isometric projection that the edit view and the whole-map view share, in pixels of
// the large chips (zoom 0); the small chips (zoom 1) halve every length.
#pragma once

#include <stdexcept>
#include <string>

namespace quarvel {

// A step of one cell along x moves a chip half a chip (32) right and a third of a chip (16)
// down; a step along y moves it 32 left and 16 down; a level up moves it 16 up.
constexpr int CellStepX = 32;
constexpr int CellStepY = 16;
constexpr int LevelStepY = 16;
// The chip of cell (0, 31) starts at the picture's left edge, so the chip of cell (0, 0)
// starts 31 steps right of it, and the top corner of its diamond one step further.
constexpr int OriginX = 31 * CellStepX;                     // 992
constexpr int TopCornerX = OriginX + CellStepX;             // 1024
constexpr int OriginTiles = OriginX / CellStepX;            // 31 half chips
constexpr int TopLevel = 47;                                // drawn (TopLevel - z) steps lower
constexpr int ChipW = 2 * CellStepX, ChipH = 3 * CellStepY; // 64 x 48
// The pictures hold every chip: 2048 wide, the edit view's level 1040 high, the whole map
// with its 48 levels 1792 high.
constexpr int ViewWidth = 2 * OriginX + ChipW;
constexpr int EditViewHeight = 62 * CellStepY + ChipH;
constexpr int WholeViewHeight = 62 * CellStepY + TopLevel * LevelStepY + ChipH;

// Zoom is a size index: it picks the overlay images and chip sizes, so nothing else is used.
inline void CheckZoom(int zoom) {
    if (zoom != 0 && zoom != 1)
        throw std::out_of_range("zoom out of range: " + std::to_string(zoom));
}

} // namespace quarvel
