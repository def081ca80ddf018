// The info panel's place: beside the edit view, moved onto the screen.
#include "editor/windowplace.h"

#include <algorithm>

namespace quarvel {

namespace {

// The start of a span of `length` moved into [low, high); its start stays in when it is
// longer than the room.
int Inside(int start, int length, int low, int high) {
    return std::max(low, std::min(start, high - length));
}

} // namespace

ScreenPoint InfoPanelPlace(const ScreenRect& editView, int panelWidth, int panelHeight,
                           const ScreenRect& available) {
    return {Inside(editView.Right(), panelWidth, available.Left, available.Right()),
            Inside(editView.Top, panelHeight, available.Top, available.Bottom())};
}

} // namespace quarvel
