// TForm3: the whole-map view "全体". Shows all 48 levels stacked as composed by TWholePicture;
// a left click picks the topmost non-empty cell under the pointer and makes it the cursor.
#pragma once

#include "editor/viewoptions.h"
#include "editor/windows.h"
#include "graphics/wholepicture.h"
#include "views/mapwindow.h"

#include <QRegion>
#include <cstdint>
#include <vector>

namespace quarvel {

class TEditorState;

class TForm3 : public TMapWindow, public IWholeView {
public:
    TForm3(TEditorState& state, QMdiArea* area);

    void RedrawAll() override;
    void RedrawCell(int x, int y, int z) override;
    void PaintView() override;
    void ScrollToCell(int x, int y, int z) override;
    int GetZoom() const override { return Pic.GetZoom(); }
    void SetZoom(int z) override;
    TColor GetBackColor() const override { return Pic.BackColor; }
    void SetBackColor(TColor c) override { Pic.BackColor = c; }
    void ShowSelection() override;
    void ShowHover() override;

    const TWholePicture& Picture() const { return Pic; }
    // The cells outlined as changed since the last save as last shown: those of every level
    // the picture shows while 変更箇所を表示 is on, else none (TMap::Index values in cell order).
    const std::vector<int32_t>& Outlined() const { return OutlinedCells(); }
    // A left click at picture pixel (px, py).
    void PickAt(int px, int py);
    // The pointer at picture pixel (px, py), or gone from the picture (HoverLeft).
    void HoverMoved(QPoint at, QPoint global);
    void HoverLeft();
    // The cell outlined under the pointer and its tooltip text.
    const THoverCell& Hovered() const { return Hover; }

private:
    TEditorState& State;
    void Attach();
    // The picture shows what WholeTop asks for: a changed top redraws it all.
    bool TopChanged();
    // Outlines the hovered cell at the pointer's last place (or nothing) and sets its tooltip.
    void UpdateHover();
    // Takes the changed cells from the editor state for the picture's outlines; the cells
    // whose outline comes or goes are added to Dirty.
    void ShowChanges();

    TWholePicture Pic;
    QRegion Dirty; // parts rebuilt by RedrawCell since the last PaintView
    bool AllDirty = false;

    TBMP256 CursorImages[2]; // the edit view's cursor box, both sizes
    TBMP256 HoverPicture;    // the hovered cell as shown: the picture under it plus the box
    bool PointerIn = false;  // the pointer is over the picture
    QPoint Pointer, PointerGlobal;
    THoverCell Hover;
};

} // namespace quarvel
