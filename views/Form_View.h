// TForm3: the whole-map view "全体". Shows all 48 levels stacked as composed by TWholePicture;
// a left click picks the topmost non-empty cell under the pointer and makes it the cursor.
#pragma once

#include "editor/windows.h"
#include "graphics/wholepicture.h"
#include "views/mapwindow.h"

#include <QRegion>

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

    const TWholePicture& Picture() const { return Pic; }
    // A left click at picture pixel (px, py).
    void PickAt(int px, int py);

private:
    TEditorState& State;
    void Attach();

    TWholePicture Pic;
    QRegion Dirty; // parts rebuilt by RedrawCell since the last PaintView
    bool AllDirty = false;
};

} // namespace quarvel
