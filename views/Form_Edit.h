// TForm2: the edit view "編集". Shows one level of the map as composed by TEditPicture, with
// the cursor box, and hands mouse presses and moves to the editor's mouse handling.
#pragma once

#include "editor/editlogic.h"
#include "editor/windows.h"
#include "graphics/editpicture.h"
#include "views/mapwindow.h"

#include <QRegion>
#include <cstdint>
#include <vector>

namespace quarvel {

class TEditorState;

class TForm2 : public TMapWindow, public IEditView {
public:
    TForm2(TEditorState& state, QMdiArea* area);

    void RedrawLevel() override;
    void RedrawCell(int x, int y) override;
    void MarkCell(int x, int y, bool selected) override;
    void PaintView() override;
    void ScrollToCell(int x, int y) override;
    int GetZoom() const override { return Pic.GetZoom(); }
    void SetZoom(int z) override;
    TColor GetBackColor() const override { return Pic.BackColor; }
    void SetBackColor(TColor c) override { Pic.BackColor = c; }

    const TEditPicture& Picture() const { return Pic; }
    // The cells outlined as changed since the last save as last shown: those of CurrentLevel
    // while 変更箇所を表示 is on, else none (TMap::Index values in cell order).
    const std::vector<int32_t>& Outlined() const { return OutlinedCells(); }
    // The button and key state that one mouse event hands to HandleMouse; exposed for tests.
    MouseState StateOf(QMouseEvent* e, bool press);

private:
    TEditorState& State;
    void PaintBox1Mouse(QMouseEvent* e, bool press);
    void Attach();
    QRect CellRect(int x, int y) const;
    // Takes the changed cells of the level from the editor state for the picture's outlines;
    // the cells whose outline comes or goes are repainted.
    void ShowChanges();

    TEditPicture Pic;
    TBMP256 CursorPicture; // the cursor cell as shown: the picture under it plus the box
    QRect ShownCursor;     // where the cursor box was last shown
    QRegion Dirty;         // parts of the picture changed since the last PaintView
    bool AllDirty = false;
    bool PendingNewL = false; // the button went down and no event has used that yet
    bool PendingNewR = false;
};

} // namespace quarvel
