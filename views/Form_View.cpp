// TForm3: the whole-map view's window, its picture on screen and the pick by click.
#include "views/Form_View.h"

#include "editor/global.h"
#include "editor/selectarea.h"
#include "graphics/chipsheet.h"
#include "map/mapclass.h"

#include <QApplication>
#include <QMouseEvent>

namespace quarvel {

// Until the first redraw the window shows the button face colour; from then on the picture's
// BackColor fills it also around a picture smaller than the window.
TForm3::TForm3(TEditorState& state, QMdiArea* area)
    : TMapWindow(area, QString::fromUtf8("全体"), QApplication::palette().color(QPalette::Button)),
      State(state) {
    setObjectName("Form3");
    PaintBox1->SetPicture(&Pic.Picture);
    PaintBox1->OnMousePress = [this](QMouseEvent* e) {
        if (e->button() != Qt::LeftButton) return;
        QPoint p = e->position().toPoint();
        PickAt(p.x(), p.y());
    };
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
    Pic.RedrawAll();
    ShowSurround(Pic.Picture, Pic.BackColor);
    AllDirty = true;
    PaintView();
}

void TForm3::RedrawCell(int x, int y, int z) {
    if (!State.TheMap || Pic.Picture.Width() == 0 || z < 0 || z >= TMap::SizeZ) return;
    Attach();
    Pic.RedrawCell(x, y, z);
    Point p = WholeCellToPixel(x, y, z, Pic.GetZoom());
    Dirty += QRect(p.x, p.y, ChipWidth[Pic.GetZoom()], ChipHeight[Pic.GetZoom()]);
}

void TForm3::PaintView() {
    if (AllDirty || Dirty.isEmpty())
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
    Attach();
    if (!Pic.Pick(px, py, x, y, z)) return;
    State.TheSelection->SetActive(false);
    State.CursorX = x;
    State.CursorY = y;
    State.CurrentLevel = z;
    State.Windows.Edit->RedrawLevel();
    State.Windows.Edit->ScrollToCell(State.CursorX, State.CursorY);
    State.Windows.Info->UpdateInfo();
}

} // namespace quarvel
