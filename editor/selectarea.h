// TSelectArea: the one rectangular selection of cells on the level being edited; keeps the
// edit view's selection outlines up to date.
#pragma once

#include <cstdint>

namespace quarvel {

class TSelectArea {
public:
    bool Active = false;
    int32_t X0 = 0;
    int32_t X1 = 0;
    int32_t Y0 = 0;
    int32_t Y1 = 0;

    // 0 left, 1 top, 2 right, 3 bottom, 4 width, 5 height; any other kind gives 0.
    int GetBound(int kind) const;
    // kind 0 starts a one-cell selection at the cell, kind 1 moves corner 1; only while Active.
    void SetCorner(int kind, int cx, int cy);
    void SetActive(bool value);
    static bool InRect(int x, int y, int left, int top, int right, int bottom) {
        return left <= x && x <= right && top <= y && y <= bottom;
    }
};

} // namespace quarvel
