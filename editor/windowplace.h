// Where the info panel goes on the screen: beside the edit view, and whole inside the working
// area of the main window's screen. Rectangles in the screen's (logical) pixels.
#pragma once

namespace quarvel {

struct ScreenRect {
    int Left = 0, Top = 0, Width = 0, Height = 0;
    int Right() const { return Left + Width; } // one past the last column
    int Bottom() const { return Top + Height; }
};

struct ScreenPoint {
    int X = 0, Y = 0;
};

// The top-left corner of the panel's outer frame (`panelWidth` x `panelHeight`, title bar
// included): its left edge at the edit view's right edge and its top at the edit view's top,
// then moved, never resized, until it lies inside `available`. A panel larger than the area
// keeps its top-left corner in it, so that its title bar can still be reached.
ScreenPoint InfoPanelPlace(const ScreenRect& editView, int panelWidth, int panelHeight,
                           const ScreenRect& available);

} // namespace quarvel
