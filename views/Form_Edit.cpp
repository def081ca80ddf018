// TForm2: the edit view's window, its picture on screen and its mouse events.
#include "views/Form_Edit.h"

#include "editor/changes.h"
#include "editor/global.h"
#include "graphics/chipsheet.h"
#include "map/mapclass.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <algorithm>
#include <utility>

namespace quarvel {

TForm2::TForm2(TEditorState& state, QMdiArea* area)
    : TMapWindow(area, QCoreApplication::translate("Form2", "編集"), QColor(128, 128, 128)),
      State(state) {
    setObjectName("Form2");
    PaintBox1->SetPicture(&Pic.Picture);
    PaintBox1->OnMousePress = [this](QMouseEvent* e) { PaintBox1Mouse(e, true); };
    PaintBox1->OnMouseMove = [this](QMouseEvent* e) { PaintBox1Mouse(e, false); };
}

void TForm2::Attach() {
    // The sheets are created once by StartEditor and refilled in place afterwards.
    Pic.Attach(State.TheMap, State.ChipSheet[0], State.TransparentIndex);
    Pic.SetGhost(State.View.Ghost);
}

QRect TForm2::CellRect(int x, int y) const {
    Point p = EditCellToPixel(x, y, Pic.GetZoom());
    return QRect(p.x, p.y, ChipWidth[Pic.GetZoom()], ChipHeight[Pic.GetZoom()]);
}

void TForm2::SetZoom(int z) {
    Attach();
    Pic.SetZoom(z);
    SetPictureSize(Pic.PictureWidth(), Pic.PictureHeight());
    ShownCursor = QRect();
    AllDirty = true;
}

void TForm2::RedrawLevel() {
    if (!State.TheMap || Pic.Picture.Width() == 0) return;
    Attach();
    Pic.RedrawLevel(State.CurrentLevel);
    ShowSurround(Pic.Picture, Pic.BackColor);
    AllDirty = true;
    PaintView();
}

void TForm2::RedrawCell(int x, int y) {
    if (!State.TheMap || Pic.Picture.Width() == 0) return;
    Attach();
    Pic.RedrawCell(x, y, State.CurrentLevel);
    Dirty += CellRect(x, y);
}

void TForm2::MarkCell(int x, int y, bool selected) {
    if (Pic.Picture.Width() == 0) return;
    Pic.MarkCell(x, y, selected);
    Dirty += CellRect(x, y);
}

void TForm2::ShowChanges() {
    const bool on = State.View.Changes && State.TheMap;
    const int z = State.CurrentLevel;
    std::vector<int32_t> now;
    if (on) {
        const std::vector<int32_t>& all = UpdateChanges(State);
        const auto first = std::lower_bound(all.begin(), all.end(), TMap::Index(0, 0, z));
        now.assign(first, std::lower_bound(first, all.end(), TMap::Index(0, 0, z + 1)));
    }
    bool all = false;
    for (const int32_t i : Outline(Pic, on, std::move(now), z, z, all))
        Dirty += CellRect(i % TMap::SizeX, i / TMap::SizeX % TMap::SizeY);
    if (all) AllDirty = true;
}

void TForm2::PaintView() {
    if (Pic.Picture.Width() == 0) return;
    ShowChanges();
    Point at = Pic.ComposeCursor(State.CursorX, State.CursorY, CursorPicture);
    PaintBox1->SetOverlay(&CursorPicture, QPoint(at.x, at.y));
    QRect cursor = PaintBox1->OverlayRect();
    if (AllDirty) {
        PaintBox1->update();
    } else {
        Dirty += ShownCursor;
        Dirty += cursor;
        PaintBox1->update(Dirty);
    }
    ShownCursor = cursor;
    Dirty = QRegion();
    AllDirty = false;
}

void TForm2::ScrollToCell(int x, int y) {
    Point p = EditCellToPixel(x, y, Pic.GetZoom());
    ScrollToPixel(p.x, p.y);
}

MouseState TForm2::StateOf(QMouseEvent* e, bool press) {
    if (press && e->button() == Qt::LeftButton) PendingNewL = true;
    if (press && e->button() == Qt::RightButton) PendingNewR = true;
    MouseState s;
    s.DownL = e->buttons() & Qt::LeftButton;
    s.DownR = e->buttons() & Qt::RightButton;
    // Released buttons (also when the release went to a message box) forget the press.
    if (!s.DownL) PendingNewL = false;
    if (!s.DownR) PendingNewR = false;
    s.NewL = PendingNewL;
    s.NewR = PendingNewR;
    PendingNewL = PendingNewR = false;
    s.DownS = e->modifiers() & Qt::ShiftModifier;
    s.DownC = e->modifiers() & Qt::ControlModifier;
    return s;
}

void TForm2::PaintBox1Mouse(QMouseEvent* e, bool press) {
    if (!State.TheMap) return;
    MouseState s = StateOf(e, press);
    QPoint p = e->position().toPoint();
    HandleMouse(State, p.x(), p.y(), s);
}

} // namespace quarvel
