// TMapWindow: what the edit view and the whole-map view share as windows: an MDI child of
// the main frame holding a scroll area with the paint box, wheel scrolling, and coming to the
// front when the pointer enters the picture.
#pragma once

#include "graphics/viewpicture.h"
#include "views/picturebox.h"

#include <QWidget>
#include <cstdint>
#include <vector>

class QMdiArea;
class QMdiSubWindow;
class QScrollArea;

namespace quarvel {

class TMapWindow : public QWidget {
public:
    QMdiSubWindow* SubWindow() const { return Sub; }
    QScrollArea* ScrollBox() const { return Scroll; }
    TPictureBox* PaintBox1 = nullptr;

    // Scrolls so that picture pixel (px, py) lies at the middle of the window (its outer
    // size); the scroll bars clamp the positions.
    void ScrollToPixel(int px, int py);
    // A wheel turn of `delta` (120 a notch): vertical unless Shift is held or there is no
    // vertical bar, then horizontal.
    void WheelScroll(int delta, bool shift);

protected:
    // Creates the window as a child of `area` with the outer size 434 x 320.
    TMapWindow(QMdiArea* area, const QString& caption, const QColor& background);
    bool eventFilter(QObject* watched, QEvent* event) override;
    void WheelTurned(QWheelEvent* wheel);
    // Resizes the paint box (and so the scrolled area) to the picture's size.
    void SetPictureSize(int width, int height);
    // Where the window is larger than the picture it shows `back` as the picture shows it:
    // the entry of the picture's palette nearest to it, so that no seam is seen.
    void ShowSurround(const TBMP256& picture, TColor back);
    // The cells outlined over `picture` on levels low..high become `now` (TMap::Index values
    // in cell order; none while `on` is false), and the paint box shows the parts it paints
    // with the outlines drawn over them. Returns the cells whose outline came or went for the
    // caller to repaint; more than a few dozen come back as `all` set instead.
    std::vector<int32_t> Outline(TViewPicture& picture, bool on, std::vector<int32_t> now, int low,
                                 int high, bool& all);
    const std::vector<int32_t>& OutlinedCells() const { return Outlined; }

private:
    void PictureEntered();

    QMdiArea* Area = nullptr;
    QMdiSubWindow* Sub = nullptr;
    QScrollArea* Scroll = nullptr;
    std::vector<int32_t> Outlined; // what the picture outlines
    TBMP256 Shown;                 // the painted part of the picture with the outlines over it
};

} // namespace quarvel
