// TSelectArea: bounds of the selection and the redraw of the outlines whose marking changes.
#include "editor/selectarea.h"

#include "editor/windows.h"

#include <algorithm>

namespace quarvel {

int TSelectArea::GetBound(int kind) const {
    switch (kind) {
    case 0:
        return std::min(X0, X1);
    case 1:
        return std::min(Y0, Y1);
    case 2:
        return std::max(X0, X1);
    case 3:
        return std::max(Y0, Y1);
    case 4:
        return std::max(X0, X1) - std::min(X0, X1) + 1;
    case 5:
        return std::max(Y0, Y1) - std::min(Y0, Y1) + 1;
    default:
        return 0;
    }
}

void TSelectArea::SetActive(bool value) {
    if (value == Active) return;
    Active = value;
    if (value) return; // the first SetCorner that follows draws
    for (int r = GetBound(1); r <= GetBound(3); ++r)
        for (int c = GetBound(0); c <= GetBound(2); ++c) Windows.Edit->MarkCell(c, r, false);
}

void TSelectArea::SetCorner(int kind, int cx, int cy) {
    if (!Active) return;
    const int oldL = GetBound(0), oldT = GetBound(1), oldR = GetBound(2), oldB = GetBound(3);
    if (kind == 0) {
        X0 = X1 = cx;
        Y0 = Y1 = cy;
        for (int r = oldT; r <= oldB; ++r)
            for (int c = oldL; c <= oldR; ++c) Windows.Edit->MarkCell(c, r, false);
        Windows.Edit->MarkCell(X0, Y0, true);
        return;
    }
    if (kind != 1) return;

    X1 = cx;
    Y1 = cy;
    const int newL = GetBound(0), newT = GetBound(1), newR = GetBound(2), newB = GetBound(3);
    auto inNew = [&](int c, int r) { return InRect(c, r, newL, newT, newR, newB); };
    for (int r = std::min(newT, oldT); r <= std::max(newB, oldB); ++r) {
        for (int c = std::min(newL, oldL); c <= std::max(newR, oldR); ++c) {
            const bool inOld = InRect(c, r, oldL, oldT, oldR, oldB);
            if (inNew(c, r) && !inOld) {
                Windows.Edit->MarkCell(c, r, true);
            } else if (inOld && !inNew(c, r)) {
                // The grid shares its edges with the neighbours: repaint the selected ones.
                Windows.Edit->MarkCell(c, r, false);
                const int n[4][2] = {{c - 1, r}, {c + 1, r}, {c, r - 1}, {c, r + 1}};
                for (const auto& p : n)
                    if (inNew(p[0], p[1])) Windows.Edit->MarkCell(p[0], p[1], true);
            }
        }
    }
}

} // namespace quarvel
