// The edit view: what it shows on screen, and painting, dragging, filling, picking and
// selecting with the mouse.
#include "app/Form_Main.h"
#include "editor/global.h"
#include "editor/selectarea.h"
#include "graphics/chipsheet.h"
#include "map/mapclass.h"
#include "tests/gui/guitestutil.h"
#include "views/Form_Edit.h"
#include "views/Form_Info.h"
#include "views/Form_View.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QWheelEvent>
#include <QtTest>

using namespace quarvel;
using namespace quarvel::test;

namespace {

QRgb ChipColor(int chip) {
    return 0xFF000000u | TProgramFolder::PaletteColor(0, TProgramFolder::ChipIndex(0, chip));
}

// Paint regions that reach a widget.
class TPaintLog : public QObject {
public:
    explicit TPaintLog(QWidget* w) { w->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint) Painted += static_cast<QPaintEvent*>(e)->region();
        return false;
    }
    QRegion Painted;
};

// The part of the picture the window shows, in picture coordinates.
QRect VisiblePart(TForm2* view) {
    QWidget* viewport = view->ScrollBox()->viewport();
    QRect r(view->PaintBox1->mapFrom(viewport, QPoint(0, 0)), viewport->size());
    return r & view->PaintBox1->rect();
}

// Waits until the paints asked for so far have reached the screen: a probe of one pixel at
// `at` (a visible point of `w`) asked for now is painted together with them or after them.
bool PaintsDone(QWidget* w, QPoint at) {
    TPaintLog log(w);
    const QRect probe(at, QSize(1, 1));
    w->update(probe);
    return QTest::qWaitFor([&] { return log.Painted.contains(probe); }, 5000);
}

// What is on the screen over that part, read back from the window's backing store.
QImage OnScreen(TForm2* view, QRect part) {
    if (!PaintsDone(view->PaintBox1, part.topLeft())) return QImage();
    QWidget* top = view->window();
    QPoint at = view->PaintBox1->mapTo(top, part.topLeft());
    return top->screen()
        ->grabWindow(top->winId(), at.x(), at.y(), part.width(), part.height())
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
}

// What should be there: the picture's indices in its palette, the cursor box over it.
QImage Expected(TEditor& e, const TEditPicture& pic, QRect part) {
    QImage img(part.size(), QImage::Format_RGB32);
    const Palette& pal = pic.Picture.GetPalette();
    for (int y = 0; y < part.height(); ++y)
        for (int x = 0; x < part.width(); ++x) {
            const PaletteEntry& c = pal[pic.Picture.GetPixel(part.x() + x, part.y() + y)];
            img.setPixel(x, y, qRgb(c.Red, c.Green, c.Blue));
        }
    TBMP256 cursor;
    Point at = pic.ComposeCursor(e.State.CursorX, e.State.CursorY, cursor);
    for (int y = 0; y < cursor.Height(); ++y)
        for (int x = 0; x < cursor.Width(); ++x) {
            QPoint p(at.x + x - part.x(), at.y + y - part.y());
            if (!img.rect().contains(p)) continue;
            const PaletteEntry& c = cursor.GetPalette()[cursor.GetPixel(x, y)];
            img.setPixel(p, qRgb(c.Red, c.Green, c.Blue));
        }
    return img;
}

void Press(TForm2* v, int x, int y, Qt::MouseButton b, Qt::KeyboardModifiers k = Qt::NoModifier) {
    SendMouse(v->PaintBox1, QEvent::MouseButtonPress, EditCellCentre(x, y), b, b, k);
    SendMouse(v->PaintBox1, QEvent::MouseButtonRelease, EditCellCentre(x, y), b, Qt::NoButton, k);
}

int UndoSteps(TEditor& e) {
    int n = 0;
    while (e.State.TheMap->Undo()) ++n;
    return n;
}

} // namespace

class FormEditTest : public QObject {
    Q_OBJECT
private slots:
    void screenShowsThePictureAndCursor();
    void paintsOneCellInBothViews();
    void dragIsOneUndoStep();
    void lostReleaseStartsNoDrawing();
    void shiftFillsTheConnectedArea();
    void refusedChipWarnsAndKeepsTheCell();
    void ctrlRightPicksTheChip();
    void ctrlDragSelectsARectangle();
    void plainMoveMovesOnlyTheCursor();
    void wheelAndMiddleButtonScroll();
    void enteringThePictureActivatesTheView();
};

void FormEditTest::screenShowsThePictureAndCursor() {
    TEditor e;
    TForm2* view = e.Set->Form2;
    e.State.TheMap->SetChip(1, 0, 0, 12);
    e.State.TheMap->SetChip(2, 3, 0, 58);
    view->RedrawLevel();
    QRect part = VisiblePart(view);
    QVERIFY(part.width() > 300 && part.height() > 200);
    QCOMPARE(OnScreen(view, part), Expected(e, view->Picture(), part));

    // Zoomed out: half-size picture, same rule.
    e.Set->Form1->MenuItem("EZOOM1")->trigger();
    part = VisiblePart(view);
    QCOMPARE(OnScreen(view, part), Expected(e, view->Picture(), part));
}

void FormEditTest::paintsOneCellInBothViews() {
    TEditor e;
    TForm2* view = e.Set->Form2;
    e.State.CurrentLevel = 5;
    e.State.CurrentChip = 12;
    view->RedrawLevel();
    view->ScrollToCell(3, 4);
    e.State.TheMap->UndoBuf.Reset();

    Press(view, 3, 4, Qt::LeftButton);
    QCOMPARE(int(e.State.TheMap->GetChip(3, 4, 5)), 12);
    QCOMPARE(e.State.CursorX, 3);
    QCOMPARE(e.State.CursorY, 4);
    Point p = EditCellToPixel(3, 4, 0);
    QCOMPARE(view->PaintBox1->grab(QRect(p.x + 32, p.y + 24, 1, 1)).toImage().pixel(0, 0),
             ChipColor(12));
    Point w = WholeCellToPixel(3, 4, 5, 0);
    QCOMPARE(int(e.Set->Form3->Picture().Picture.GetPixel(w.x + 32, w.y + 24)),
             int(TProgramFolder::ChipIndex(0, 12)));
    QCOMPARE(e.Set->Form4->Edit2->text(), QString("3"));
    QCOMPARE(e.Set->Form1->windowTitle(), QString("Quarvel * "));
    QRect part = VisiblePart(view);
    QCOMPARE(OnScreen(view, part), Expected(e, view->Picture(), part));

    // The same press again writes nothing but still opens a step.
    Press(view, 3, 4, Qt::LeftButton);
    QCOMPARE(UndoSteps(e), 1);
    QCOMPARE(int(e.State.TheMap->GetChip(3, 4, 5)), 0);
}

void FormEditTest::dragIsOneUndoStep() {
    TEditor e;
    TForm2* view = e.Set->Form2;
    e.State.CurrentChip = 12;
    e.State.TheMap->UndoBuf.Reset();
    Drag(view->PaintBox1, {EditCellCentre(1, 1), EditCellCentre(2, 1), EditCellCentre(3, 1)},
         Qt::LeftButton);
    for (int x = 1; x <= 3; ++x) QCOMPARE(int(e.State.TheMap->GetChip(x, 1, 0)), 12);
    // The right button erases along its way, in a step of its own.
    Drag(view->PaintBox1, {EditCellCentre(1, 1), EditCellCentre(2, 1)}, Qt::RightButton);
    QCOMPARE(int(e.State.TheMap->GetChip(1, 1, 0)), 0);
    QCOMPARE(int(e.State.TheMap->GetChip(2, 1, 0)), 0);
    QCOMPARE(int(e.State.TheMap->GetChip(3, 1, 0)), 12);
    QVERIFY(e.State.TheMap->Undo());
    QCOMPARE(int(e.State.TheMap->GetChip(1, 1, 0)), 12);
    QVERIFY(e.State.TheMap->Undo());
    for (int x = 1; x <= 3; ++x) QCOMPARE(int(e.State.TheMap->GetChip(x, 1, 0)), 0);
    QVERIFY(!e.State.TheMap->Undo());
}

void FormEditTest::lostReleaseStartsNoDrawing() {
    TEditor e;
    TForm2* view = e.Set->Form2;
    e.State.CurrentChip = 12;
    e.State.TheMap->UndoBuf.Reset();
    // The release went elsewhere (a message box): the next move reports no button.
    SendMouse(view->PaintBox1, QEvent::MouseButtonPress, EditCellCentre(5, 5), Qt::LeftButton,
              Qt::LeftButton);
    SendMouse(view->PaintBox1, QEvent::MouseMove, EditCellCentre(6, 5), Qt::NoButton, Qt::NoButton);
    QCOMPARE(int(e.State.TheMap->GetChip(6, 5, 0)), 0);
    // A move with the button held after that is no new press: it draws into the old step.
    SendMouse(view->PaintBox1, QEvent::MouseMove, EditCellCentre(7, 5), Qt::NoButton,
              Qt::LeftButton);
    QCOMPARE(int(e.State.TheMap->GetChip(7, 5, 0)), 12);
    // The next real press is a new step.
    Press(view, 8, 5, Qt::LeftButton);
    QCOMPARE(UndoSteps(e), 2);
}

void FormEditTest::shiftFillsTheConnectedArea() {
    TEditor e;
    TForm2* view = e.Set->Form2;
    e.State.CurrentLevel = 2;
    // Ten 4-connected cells of chip 3 and one that touches them only at a corner.
    const QList<QPoint> area = {{4, 4}, {5, 4}, {6, 4}, {4, 5}, {4, 6},
                                {5, 6}, {6, 6}, {7, 6}, {7, 7}, {7, 8}};
    for (QPoint c : area) e.State.TheMap->SetChip(c.x(), c.y(), 2, 3);
    e.State.TheMap->SetChip(8, 9, 2, 3);
    e.State.TheMap->UndoBuf.Reset();
    view->RedrawLevel();
    e.State.CurrentChip = 7;
    Press(view, 5, 4, Qt::LeftButton, Qt::ShiftModifier);
    for (QPoint c : area) QCOMPARE(int(e.State.TheMap->GetChip(c.x(), c.y(), 2)), 7);
    QCOMPARE(int(e.State.TheMap->GetChip(8, 9, 2)), 3);
    QCOMPARE(int(e.State.TheMap->GetChip(5, 5, 2)), 0);
    QRect part = VisiblePart(view);
    QCOMPARE(OnScreen(view, part), Expected(e, view->Picture(), part));
    // Shift with the right button empties the area again.
    Press(view, 5, 4, Qt::RightButton, Qt::ShiftModifier);
    for (QPoint c : area) QCOMPARE(int(e.State.TheMap->GetChip(c.x(), c.y(), 2)), 0);
    QCOMPARE(UndoSteps(e), 2);
}

void FormEditTest::refusedChipWarnsAndKeepsTheCell() {
    TEditor e;
    TForm2* view = e.Set->Form2;
    e.State.CurrentLevel = 1;
    e.State.CurrentChip = 33;
    Press(view, 2, 2, Qt::LeftButton);
    QCOMPARE(int(e.State.TheMap->GetChip(2, 2, 1)), 0);
    QCOMPARE(e.Messages.Log.size(), size_t(1));
    QCOMPARE(e.Messages.Log[0].Text, std::string("床抜けるよ？"));
    QCOMPARE(e.Messages.Log[0].Caption, std::string("エラー"));
    e.State.CurrentChip = 34;
    Press(view, 2, 2, Qt::LeftButton);
    QCOMPARE(int(e.State.TheMap->GetChip(2, 2, 1)), 34);
    e.State.CurrentLevel = 46;
    e.State.CurrentChip = 35;
    Press(view, 6, 6, Qt::LeftButton);
    QCOMPARE(e.Messages.Log.back().Text, std::string("天井ぶち抜くよ？"));
}

void FormEditTest::ctrlRightPicksTheChip() {
    TEditor e;
    TForm2* view = e.Set->Form2;
    e.State.TheMap->SetChip(9, 3, 0, 58);
    e.State.TheMap->UndoBuf.Reset();
    e.State.TheMap->Modified = false;
    Press(view, 9, 3, Qt::RightButton, Qt::ControlModifier);
    QCOMPARE(int(e.State.CurrentChip), 58);
    QCOMPARE(int(e.State.TheMap->GetChip(9, 3, 0)), 58);
    QCOMPARE(e.Set->Form4->ComboBox3->currentIndex(), 58);
    QCOMPARE(e.Set->Form4->Label6->text(), QString::fromUtf8("橋1"));
    QCOMPARE(e.Set->Form4->Label5->text(), QString::fromUtf8("橋1"));
    QVERIFY(!e.State.TheMap->Modified);
}

void FormEditTest::ctrlDragSelectsARectangle() {
    TEditor e;
    TForm2* view = e.Set->Form2;
    e.State.CurrentChip = 12;
    SendMouse(view->PaintBox1, QEvent::MouseButtonPress, EditCellCentre(2, 2), Qt::LeftButton,
              Qt::LeftButton, Qt::ControlModifier);
    SendMouse(view->PaintBox1, QEvent::MouseMove, EditCellCentre(5, 4), Qt::NoButton,
              Qt::LeftButton, Qt::ControlModifier);
    QVERIFY(e.State.TheSelection->Active);
    QCOMPARE(e.State.TheSelection->GetBound(bLeft), 2);
    QCOMPARE(e.State.TheSelection->GetBound(bTop), 2);
    QCOMPARE(e.State.TheSelection->GetBound(bRight), 5);
    QCOMPARE(e.State.TheSelection->GetBound(bBottom), 4);
    QRect part = VisiblePart(view);
    QCOMPARE(OnScreen(view, part), Expected(e, view->Picture(), part));
    QVERIFY(e.State.TheMap->GetChip(5, 4, 0) == 0);
    // Ctrl let go while dragging: the selection goes and drawing starts at the next cell.
    SendMouse(view->PaintBox1, QEvent::MouseMove, EditCellCentre(6, 4), Qt::NoButton,
              Qt::LeftButton);
    QVERIFY(!e.State.TheSelection->Active);
    QCOMPARE(int(e.State.TheMap->GetChip(6, 4, 0)), 12);
    QCOMPARE(OnScreen(view, part), Expected(e, view->Picture(), part));
}

void FormEditTest::plainMoveMovesOnlyTheCursor() {
    TEditor e;
    TForm2* view = e.Set->Form2;
    QVERIFY(PaintsDone(view->PaintBox1, VisiblePart(view).topLeft()));
    TPaintLog log(view->PaintBox1);
    QPoint inside = EditCellCentre(3, 2) + QPoint(-4, 0);
    SendMouse(view->PaintBox1, QEvent::MouseMove, inside, Qt::NoButton, Qt::NoButton);
    QCOMPARE(e.State.CursorX, 3);
    QCOMPARE(e.State.CursorY, 2);
    QCOMPARE(e.Set->Form4->Edit2->text(), QString("3"));
    // Only the old and the new cursor places are painted again.
    QRect oldCursor(992, 0, 64, 48);
    Point n = EditCellToPixel(3, 2, 0);
    QRect newCursor(n.x, n.y, 64, 48);
    QTRY_VERIFY(log.Painted.contains(oldCursor) && log.Painted.contains(newCursor));
    QVERIFY(!log.Painted.contains(EditCellCentre(0, 10)));
    QRect part = VisiblePart(view);
    QCOMPARE(OnScreen(view, part), Expected(e, view->Picture(), part));

    // Within the same cell nothing is painted. A probe painted after the move shows that
    // paint events arrive: anything the move asked for comes with it or before it.
    log.Painted = QRegion();
    SendMouse(view->PaintBox1, QEvent::MouseMove, inside + QPoint(6, 1), Qt::NoButton,
              Qt::NoButton);
    const QRect probe(part.topLeft(), QSize(1, 1));
    view->PaintBox1->update(probe);
    QTRY_VERIFY(log.Painted.contains(probe));
    QCOMPARE(log.Painted, QRegion(probe));
    QVERIFY(e.State.TheMap->UndoBuf.Count() == 0 && !e.State.TheMap->Modified);
}

void FormEditTest::wheelAndMiddleButtonScroll() {
    TEditor e;
    TForm2* view = e.Set->Form2;
    QScrollBar* h = view->ScrollBox()->horizontalScrollBar();
    QScrollBar* v = view->ScrollBox()->verticalScrollBar();
    view->ScrollToCell(16, 16);
    Point c = EditCellToPixel(16, 16, 0);
    QCOMPARE(h->value(), c.x - view->SubWindow()->width() / 2);
    QCOMPARE(v->value(), c.y - view->SubWindow()->height() / 2);

    auto wheel = [&](int delta, Qt::KeyboardModifiers keys) {
        QPoint at = view->PaintBox1->mapFrom(view->ScrollBox()->viewport(), QPoint(10, 10));
        QWheelEvent ev(QPointF(at), QPointF(view->PaintBox1->mapToGlobal(at)), QPoint(),
                       QPoint(0, delta), Qt::NoButton, keys, Qt::NoScrollPhase, false);
        QApplication::sendEvent(view->PaintBox1, &ev);
    };
    int h0 = h->value(), v0 = v->value();
    wheel(-120, Qt::NoModifier); // one notch toward the user: down
    QCOMPARE(v->value(), v0 + 120);
    QCOMPARE(h->value(), h0);
    wheel(120, Qt::ShiftModifier);
    QCOMPARE(h->value(), h0 - 120);
    QCOMPARE(v->value(), v0 + 120);

    // A turn over a scroll bar is a turn over the window: the horizontal bar does not take
    // it for itself.
    auto wheelOn = [&](QScrollBar* bar, int delta, Qt::KeyboardModifiers keys) {
        QPoint at(bar->width() / 2, bar->height() / 2);
        QWheelEvent ev(QPointF(at), QPointF(bar->mapToGlobal(at)), QPoint(), QPoint(0, delta),
                       Qt::NoButton, keys, Qt::NoScrollPhase, false);
        QApplication::sendEvent(bar, &ev);
        return ev.isAccepted();
    };
    QVERIFY(h->isVisible() && v->isVisible());
    QVERIFY(wheelOn(h, -120, Qt::NoModifier));
    QCOMPARE(v->value(), v0 + 240);
    QCOMPARE(h->value(), h0 - 120);
    QVERIFY(wheelOn(v, 120, Qt::ShiftModifier));
    QCOMPARE(h->value(), h0 - 240);
    QCOMPARE(v->value(), v0 + 240);

    // Zoomed out in a tall window there is no vertical bar: the wheel scrolls across.
    e.Set->Form1->MenuItem("EZOOM1")->trigger();
    view->SubWindow()->resize(500, 700);
    QTRY_VERIFY(!v->isVisible());
    h->setValue(200);
    wheel(-120, Qt::NoModifier);
    QCOMPARE(h->value(), 320);

    // The middle button pans without touching the cursor.
    h->setValue(100);
    v->setValue(0);
    view->SubWindow()->resize(400, 300);
    QTRY_VERIFY(v->isVisible() && v->maximum() >= 130 && h->maximum() >= 140);
    v->setValue(100);
    const int cx = e.State.CursorX, cy = e.State.CursorY;
    Drag(view->PaintBox1, {QPoint(300, 300), QPoint(260, 270)}, Qt::MiddleButton);
    QCOMPARE(h->value(), 140);
    QCOMPARE(v->value(), 130);
    QCOMPARE(e.State.CursorX, cx);
    QCOMPARE(e.State.CursorY, cy);
}

void FormEditTest::enteringThePictureActivatesTheView() {
    TEditor e;
    QMdiArea* area = e.Set->Form1->MdiArea();
    area->setActiveSubWindow(e.Set->Form3->SubWindow());
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QApplication::sendEvent(e.Set->Form2->PaintBox1, &enter);
    QCOMPARE(area->activeSubWindow(), e.Set->Form2->SubWindow());
    QApplication::sendEvent(e.Set->Form3->PaintBox1, &enter);
    QCOMPARE(area->activeSubWindow(), e.Set->Form3->SubWindow());
}

QUARVEL_GUI_TEST_MAIN(FormEditTest)
#include "form_edit_test.moc"
