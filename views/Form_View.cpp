// TForm3: the whole-map view's window, its picture on screen and the pick by click.
#include "views/Form_View.h"

#include "editor/changes.h"
#include "editor/global.h"
#include "editor/selectarea.h"
#include "graphics/chipsheet.h"
#include "graphics/overlays.h"
#include "map/mapclass.h"

#include <QApplication>
#include <QMouseEvent>
#include <QToolTip>
#include <algorithm>
#include <utility>

namespace quarvel {

// Until the first redraw the window shows the button face colour; from then on the picture's
// BackColor fills it also around a picture smaller than the window.
TForm3::TForm3(TEditorState& state, QMdiArea* area)
    : TMapWindow(area, QCoreApplication::translate("Form3", "全体"),
                 QApplication::palette().color(QPalette::Button)),
      State(state) {
    setObjectName("Form3");
    PaintBox1->SetPicture(&Pic.Picture);
    PaintBox1->OnMousePress = [this](QMouseEvent* e) {
        if (e->button() != Qt::LeftButton) return;
        QPoint p = e->position().toPoint();
        PickAt(p.x(), p.y());
    };
    PaintBox1->OnMouseMove = [this](QMouseEvent* e) {
        HoverMoved(e->position().toPoint(), e->globalPosition().toPoint());
    };
    PaintBox1->OnLeave = [this] { HoverLeft(); };
    LoadOverlay("cur", CursorImages[0]);
    LoadOverlay("cur_s", CursorImages[1]);
}

void TForm3::Attach() {
    Pic.Attach(State.TheMap, State.ChipSheet[0], State.TransparentIndex);
}

void TForm3::SetZoom(int z) {
    Attach();
    Pic.SetZoom(z);
    SetPictureSize(Pic.PictureWidth(), Pic.PictureHeight());
    AllDirty = true;
    ShowSelection(); // the outline follows the zoom
}

void TForm3::RedrawAll() {
    if (!State.TheMap || Pic.Picture.Width() == 0) return;
    Attach();
    Pic.SetTop(WholeTop(State));
    Pic.RedrawAll();
    ShowSurround(Pic.Picture, Pic.BackColor);
    AllDirty = true;
    PaintView();
}

bool TForm3::TopChanged() {
    if (Pic.GetTop() == WholeTop(State)) return false;
    Pic.SetTop(WholeTop(State));
    Pic.RedrawAll();
    AllDirty = true;
    return true;
}

void TForm3::RedrawCell(int x, int y, int z) {
    if (!State.TheMap || Pic.Picture.Width() == 0 || z < 0 || z >= TMap::SizeZ) return;
    Attach();
    if (TopChanged()) return;
    Pic.RedrawCell(x, y, z);
    Point p = WholeCellToPixel(x, y, z, Pic.GetZoom());
    Dirty += QRect(p.x, p.y, ChipWidth[Pic.GetZoom()], ChipHeight[Pic.GetZoom()]);
}

void TForm3::ShowChanges() {
    const bool on = State.View.Changes && State.TheMap;
    const int top = Pic.GetTop();
    std::vector<int32_t> now;
    if (on) {
        const std::vector<int32_t>& all = UpdateChanges(State);
        // The levels cut away show nothing, their outlines neither.
        now.assign(all.begin(),
                   std::lower_bound(all.begin(), all.end(), TMap::Index(0, 0, top + 1)));
    }
    bool all = false;
    const int zoom = Pic.GetZoom();
    for (const int32_t i : Outline(Pic, on, std::move(now), 0, top, all)) {
        const Point p = WholeCellToPixel(i % TMap::SizeX, i / TMap::SizeX % TMap::SizeY,
                                         i / TMap::LevelSize, zoom);
        Dirty += QRect(p.x, p.y, ChipWidth[zoom], ChipHeight[zoom]);
    }
    if (all) AllDirty = true;
}

void TForm3::PaintView() {
    // A call with nothing rebuilt shows all of the picture anew.
    const bool nothingRebuilt = Dirty.isEmpty();
    ShowChanges();
    UpdateHover(); // the picture under the box may have changed
    if (AllDirty || nothingRebuilt)
        PaintBox1->update();
    else if (!Dirty.isEmpty())
        PaintBox1->update(Dirty);
    Dirty = QRegion();
    AllDirty = false;
}

void TForm3::ShowSelection() {
    QVector<QLine> lines;
    if (State.TheSelection && State.TheSelection->Active) {
        const SelectionBox b = State.TheSelection->Box(State.CurrentLevel);
        for (const Segment& s :
             WholeBoxOutline(b.Left, b.Top, b.Right, b.Bottom, b.Low, b.High, Pic.GetZoom()))
            lines.append(QLine(s.A.x, s.A.y, s.B.x, s.B.y));
    }
    PaintBox1->SetLines(lines);
}

void TForm3::ScrollToCell(int x, int y, int z) {
    Point p = WholeCellToPixel(x, y, z, Pic.GetZoom());
    ScrollToPixel(p.x, p.y);
}

void TForm3::PickAt(int px, int py) {
    if (!State.TheMap || !State.TheSelection) return;
    int x = 0, y = 0, z = 0;
    if (!WholePick(State, px, py, Pic.GetZoom(), x, y, z)) return;
    State.TheSelection->SetActive(false);
    State.CursorX = x;
    State.CursorY = y;
    State.CurrentLevel = z;
    State.Windows.Edit->RedrawLevel();
    State.Windows.Edit->ScrollToCell(State.CursorX, State.CursorY);
    LevelChanged(State);
    State.Windows.Info->UpdateInfo();
}

void TForm3::HoverMoved(QPoint at, QPoint global) {
    PointerIn = true;
    Pointer = at;
    PointerGlobal = global;
    UpdateHover();
}

void TForm3::HoverLeft() {
    PointerIn = false;
    UpdateHover();
}

void TForm3::ShowHover() {
    UpdateHover();
}

void TForm3::UpdateHover() {
    const QRect before = PaintBox1->OverlayRect();
    const int zoom = Pic.GetZoom();
    Hover = PointerIn && Pic.Picture.Width() > 0 ? HoverAt(State, Pointer.x(), Pointer.y(), zoom)
                                                 : THoverCell{};
    if (!Hover.Shown) {
        PaintBox1->SetOverlay(nullptr, QPoint());
        if (!before.isEmpty()) PaintBox1->update(before);
        if (QToolTip::isVisible()) QToolTip::hideText();
        return;
    }
    // The box is drawn over a copy of the picture under the cell, never into the picture.
    const Point p = WholeCellToPixel(Hover.X, Hover.Y, Hover.Z, zoom);
    const TBMP256& box = CursorImages[zoom];
    HoverPicture.SetSize(box.Width(), box.Height());
    HoverPicture.SetPalette(Pic.Picture.GetPalette());
    HoverPicture.Blit(-p.x, -p.y, Pic.Picture, -1, 0, 0, 0, 0);
    Pic.DrawOutlines(HoverPicture, p.x, p.y);
    HoverPicture.Blit(0, 0, box, box.GetPixel(0, 0), 0, 0, 0, 0);
    PaintBox1->SetOverlay(&HoverPicture, QPoint(p.x, p.y));
    PaintBox1->update(before | PaintBox1->OverlayRect());
    const QString text = QString::fromUtf8(Hover.Text.c_str());
    if (QToolTip::text() != text || !QToolTip::isVisible())
        QToolTip::showText(PointerGlobal + QPoint(16, 16), text, PaintBox1);
}

} // namespace quarvel
