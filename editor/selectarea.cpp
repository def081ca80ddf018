// TSelectArea: bounds of the selection and the redraw of the outlines whose marking changes.
#include "editor/selectarea.h"

#include "editor/global.h"
#include "editor/windows.h"

#include <algorithm>

namespace quarvel {

namespace {

// The windows that show the box beside the edit view's outlines.
void ShowBox(TEditorState& State) {
    State.Windows.Whole->ShowSelection();
    State.Windows.Info->ShowSelection();
}

} // namespace

int TSelectArea::GetBound(int kind) const {
    switch (kind) {
    case bLeft:
        return std::min(X0, X1);
    case bTop:
        return std::min(Y0, Y1);
    case bRight:
        return std::max(X0, X1);
    case bBottom:
        return std::max(Y0, Y1);
    case bWidth:
        return std::max(X0, X1) - std::min(X0, X1) + 1;
    case bHeight:
        return std::max(Y0, Y1) - std::min(Y0, Y1) + 1;
    default:
        return 0;
    }
}

SelectionBox TSelectArea::Box(int currentLevel) const {
    return {GetBound(bLeft),
            GetBound(bTop),
            GetBound(bRight),
            GetBound(bBottom),
            std::min(Z0, currentLevel),
            std::max(Z0, currentLevel)};
}

void TSelectArea::SetActive(bool value) {
    if (value == Active) return;
    Active = value;
    ShowBox(State);
    if (value) return; // the first SetCorner that follows draws
    for (int r = GetBound(bTop); r <= GetBound(bBottom); ++r)
        for (int c = GetBound(bLeft); c <= GetBound(bRight); ++c)
            State.Windows.Edit->MarkCell(c, r, false);
}

void TSelectArea::MarkAll() const {
    if (!Active) return;
    for (int r = GetBound(bTop); r <= GetBound(bBottom); ++r)
        for (int c = GetBound(bLeft); c <= GetBound(bRight); ++c)
            State.Windows.Edit->MarkCell(c, r, true);
}

void TSelectArea::SetCorner(int kind, int cx, int cy) {
    if (!Active) return;
    const int oldL = GetBound(bLeft), oldT = GetBound(bTop), oldR = GetBound(bRight),
              oldB = GetBound(bBottom);
    if (kind == 0) {
        X0 = X1 = cx;
        Y0 = Y1 = cy;
        Z0 = State.CurrentLevel;
        for (int r = oldT; r <= oldB; ++r)
            for (int c = oldL; c <= oldR; ++c) State.Windows.Edit->MarkCell(c, r, false);
        State.Windows.Edit->MarkCell(X0, Y0, true);
        ShowBox(State);
        return;
    }
    if (kind != 1) return;

    X1 = cx;
    Y1 = cy;
    const int newL = GetBound(bLeft), newT = GetBound(bTop), newR = GetBound(bRight),
              newB = GetBound(bBottom);
    auto inNew = [&](int c, int r) { return InRect(c, r, newL, newT, newR, newB); };
    for (int r = std::min(newT, oldT); r <= std::max(newB, oldB); ++r) {
        for (int c = std::min(newL, oldL); c <= std::max(newR, oldR); ++c) {
            const bool inOld = InRect(c, r, oldL, oldT, oldR, oldB);
            if (inNew(c, r) && !inOld) {
                State.Windows.Edit->MarkCell(c, r, true);
            } else if (inOld && !inNew(c, r)) {
                // The grid shares its edges with the neighbours: repaint the selected ones.
                State.Windows.Edit->MarkCell(c, r, false);
                const int n[4][2] = {{c - 1, r}, {c + 1, r}, {c, r - 1}, {c, r + 1}};
                for (const auto& p : n)
                    if (inNew(p[0], p[1])) State.Windows.Edit->MarkCell(p[0], p[1], true);
            }
        }
    }
    ShowBox(State);
}

} // namespace quarvel
