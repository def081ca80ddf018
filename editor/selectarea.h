// TSelectArea: the one selection of cells, a rectangle on the levels between its anchor level
// and the level being edited; keeps the edit view's selection outlines up to date.
#pragma once

#include <cstdint>

namespace quarvel {

class TEditorState;

// The kinds of TSelectArea::GetBound.
enum BoundKind { bLeft = 0, bTop = 1, bRight = 2, bBottom = 3, bWidth = 4, bHeight = 5 };

// The cells of the selection: columns Left..Right, rows Top..Bottom, levels Low..High.
struct SelectionBox {
    int Left = 0, Top = 0, Right = 0, Bottom = 0, Low = 0, High = 0;
    int Width() const { return Right - Left + 1; }
    int Height() const { return Bottom - Top + 1; }
    int Depth() const { return High - Low + 1; }
};

class TSelectArea {
public:
    // Draws into the edit view of `state` and spans levels up to its CurrentLevel.
    explicit TSelectArea(TEditorState& state) : State(state) {}

    bool Active = false;
    int32_t X0 = 0;
    int32_t X1 = 0;
    int32_t Y0 = 0;
    int32_t Y1 = 0;
    int32_t Z0 = 0; // anchor level; the other end of the box is CurrentLevel

    // bLeft, bTop, bRight, bBottom, bWidth, bHeight; any other kind gives 0.
    int GetBound(int kind) const;
    // The rectangle on the levels from Z0 to `currentLevel`, the lower one first.
    SelectionBox Box(int currentLevel) const;
    // kind 0 starts a one-cell selection at the cell on CurrentLevel, kind 1 moves corner 1;
    // only while Active.
    void SetCorner(int kind, int cx, int cy);
    void SetActive(bool value);
    // Marks every cell of the rectangle selected in the edit view, row by row; after the
    // edit view drew a level afresh. Nothing while inactive.
    void MarkAll() const;
    static bool InRect(int x, int y, int left, int top, int right, int bottom) {
        return left <= x && x <= right && top <= y && y <= bottom;
    }

private:
    TEditorState& State;
};

} // namespace quarvel
