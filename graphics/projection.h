// The isometric projection that the edit view and the whole-map view share, in pixels of
// the large chips (zoom 0); the small chips (zoom 1) halve every length. Also the pixel
// geometry both pictures work in: points and pixel rectangles.
#pragma once

#include "map/mapclass.h"

#include <stdexcept>
#include <string>

namespace quarvel {

class TBMP256;

// A step of one cell along x moves a chip half a chip (32) right and a third of a chip (16)
// down; a step along y moves it 32 left and 16 down; a level up moves it 16 up.
constexpr int CellStepX = 32;
constexpr int CellStepY = 16;
constexpr int LevelStepY = 16;
// The chip of cell (0, 31) starts at the picture's left edge, so the chip of cell (0, 0)
// starts 31 steps right of it, and the top corner of its diamond one step further.
constexpr int OriginX = (TMap::SizeY - 1) * CellStepX;      // 992
constexpr int TopCornerX = OriginX + CellStepX;             // 1024
constexpr int OriginTiles = OriginX / CellStepX;            // 31 half chips
constexpr int TopLevel = TMap::SizeZ - 1;                   // drawn (TopLevel - z) steps lower
constexpr int ChipW = 2 * CellStepX, ChipH = 3 * CellStepY; // 64 x 48
// A chip is its cell's top face (a diamond in the upper two thirds) over the side below it.
constexpr int FaceH = 2 * CellStepY; // 32
constexpr int SideH = ChipH - FaceH; // 16
// The pictures hold every chip: 2048 wide, the edit view's level 1040 high, the whole map
// with its 48 levels 1792 high.
constexpr int ViewWidth = 2 * OriginX + ChipW;
constexpr int EditViewHeight = (TMap::SizeX + TMap::SizeY - 2) * CellStepY + ChipH;
constexpr int WholeViewHeight = EditViewHeight + TopLevel * LevelStepY;

// Zoom is a size index: it picks the overlay images and chip sizes, so nothing else is used.
inline void CheckZoom(int zoom) {
    if (zoom != 0 && zoom != 1)
        throw std::out_of_range("zoom out of range: " + std::to_string(zoom));
}

struct Point {
    int x = 0;
    int y = 0;
    bool operator==(const Point& o) const { return x == o.x && y == o.y; }
};

// The pixels of columns Left..Right-1 and rows Top..Bottom-1.
struct PixelRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    bool Empty() const { return Left >= Right || Top >= Bottom; }
};

// The part of `rect` that lies inside `picture`.
PixelRect ClipToPicture(const TBMP256& picture, int left, int top, int right, int bottom);

} // namespace quarvel
