// The whole-map view: its picture, and the click that picks the topmost cell.
#include "app/Form_Main.h"
#include "editor/global.h"
#include "editor/selectarea.h"
#include "map/mapclass.h"
#include "tests/gui/guitestutil.h"
#include "views/Form_Edit.h"
#include "views/Form_Info.h"
#include "views/Form_View.h"

#include <QComboBox>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QScrollArea>
#include <QtTest>

using namespace quarvel;
using namespace quarvel::test;

namespace {

QPoint FaceCentre(int x, int y, int z) {
    Point p = WholeCellToPixel(x, y, z, 0);
    return QPoint(p.x + 32, p.y + 16);
}

void Click(TForm3* v, QPoint at, Qt::MouseButton b = Qt::LeftButton) {
    SendMouse(v->PaintBox1, QEvent::MouseButtonPress, at, b, b);
    SendMouse(v->PaintBox1, QEvent::MouseButtonRelease, at, b, Qt::NoButton);
}

} // namespace

class FormViewTest : public QObject {
    Q_OBJECT
private slots:
    void showsAllLevelsOnBlack();
    void clickPicksTheHigherLevel();
    void clickOnNothingChangesNothing();
    void windowBesideThePictureShowsTheViewsColour();
};

void FormViewTest::showsAllLevelsOnBlack() {
    TEditor e;
    TForm3* view = e.Set->Form3;
    QCOMPARE(view->GetBackColor(), TColor(0));
    // Black as near as the chip palette has it.
    const PaletteEntry black =
        e.State.ChipSheet[0]->GetPalette()[NearestIndex(e.State.ChipSheet[0]->GetPalette(), 0)];
    QCOMPARE(view->PaintBox1->grab(QRect(5, 5, 1, 1)).toImage().pixel(0, 0),
             qRgb(black.Red, black.Green, black.Blue));
    e.State.TheMap->SetChip(31, 31, 0, 12);
    view->RedrawAll();
    Point p = WholeCellToPixel(31, 31, 0, 0);
    QCOMPARE(view->PaintBox1->grab(QRect(p.x + 32, p.y + 24, 1, 1)).toImage().pixel(0, 0),
             0xFF000000u | TProgramFolder::PaletteColor(0, TProgramFolder::ChipIndex(0, 12)));
    e.Set->Form1->MenuItem("VZOOM1")->trigger();
    QCOMPARE(view->PaintBox1->size(), QSize(1024, 896));
    QCOMPARE(view->PaintBox1->grab(QRect(496 + 16, 872 + 12, 1, 1)).toImage().pixel(0, 0),
             0xFF000000u | TProgramFolder::PaletteColor(0, TProgramFolder::ChipIndex(0, 12)));
}

void FormViewTest::windowBesideThePictureShowsTheViewsColour() {
    TEditor e;
    const auto shown = [&e](TColor c) {
        const Palette& pal = e.State.ChipSheet[0]->GetPalette();
        const PaletteEntry& entry = pal[NearestIndex(pal, c)];
        return qRgb(entry.Red, entry.Green, entry.Blue);
    };
    // Right of and below the picture, inside a window larger than the picture.
    const auto beside = [](TMapWindow* view) {
        QWidget* viewport = view->ScrollBox()->viewport();
        const QSize picture = view->PaintBox1->size();
        return QList<QRgb>{
            viewport->grab(QRect(picture.width() + 10, 10, 1, 1)).toImage().pixel(0, 0),
            viewport->grab(QRect(10, picture.height() + 10, 1, 1)).toImage().pixel(0, 0)};
    };
    const auto both = [](QRgb c) { return QList<QRgb>{c, c}; };
    e.Set->Form1->MenuItem("EZOOM1")->trigger();
    e.Set->Form1->MenuItem("VZOOM1")->trigger();
    for (TMapWindow* view :
         {static_cast<TMapWindow*>(e.Set->Form2), static_cast<TMapWindow*>(e.Set->Form3)}) {
        view->SubWindow()->showNormal();
        view->SubWindow()->resize(1300, 1100);
    }
    QTRY_VERIFY(e.Set->Form3->ScrollBox()->viewport()->width() > 1024 + 10);
    QTRY_VERIFY(e.Set->Form2->ScrollBox()->viewport()->height() > 520 + 10);
    QCOMPARE(beside(e.Set->Form2), both(shown(0x808080))); // the edit view's grey
    QCOMPARE(beside(e.Set->Form3), both(shown(0)));        // the whole-map view's black

    // A new colour for one view reaches the window around its picture, not the other view.
    e.Set->Form2->SetBackColor(RGBColor(0, 0, 255));
    e.Set->Form2->RedrawLevel();
    QVERIFY(shown(RGBColor(0, 0, 255)) != shown(0x808080));
    QCOMPARE(beside(e.Set->Form2), both(shown(RGBColor(0, 0, 255))));
    QCOMPARE(beside(e.Set->Form3), both(shown(0)));
    e.Set->Form3->SetBackColor(RGBColor(255, 255, 0));
    e.Set->Form3->RedrawAll();
    QCOMPARE(beside(e.Set->Form3), both(shown(RGBColor(255, 255, 0))));

    // Back at the large chips the colour holds where the picture still leaves room.
    e.Set->Form1->MenuItem("EZOOM1")->trigger();
    e.Set->Form2->SubWindow()->resize(2200, 1200);
    QTRY_VERIFY(e.Set->Form2->ScrollBox()->viewport()->width() > 2048 + 10);
    QCOMPARE(beside(e.Set->Form2).first(), shown(RGBColor(0, 0, 255)));
}

void FormViewTest::clickPicksTheHigherLevel() {
    TEditor e;
    TForm3* view = e.Set->Form3;
    // A spot on the top face of (5, 5) on level 10 and of another cell on level 3.
    const QPoint spot = FaceCentre(5, 5, 10);
    Point low = WholePixelToCell(spot.x(), spot.y(), 3, 0);
    QVERIFY(low.x >= 0 && low.x < 32 && low.y >= 0 && low.y < 32);
    e.State.TheMap->SetChip(low.x, low.y, 3, 1);
    e.State.TheMap->SetChip(5, 5, 10, 1);
    view->RedrawAll();
    e.State.TheSelection->SetActive(true);
    e.State.TheSelection->SetCorner(0, 1, 1);

    Click(view, spot);
    QCOMPARE(e.State.CurrentLevel, 10);
    QCOMPARE(e.State.CursorX, 5);
    QCOMPARE(e.State.CursorY, 5);
    QVERIFY(!e.State.TheSelection->Active);
    QCOMPARE(e.Set->Form4->ComboBox2->currentIndex(), 10);
    QCOMPARE(e.Set->Form4->Edit2->text(), QString("5"));
    // The edit view shows level 10 with the cursor on the picked cell.
    Point c = EditCellToPixel(5, 5, 0);
    QCOMPARE(e.Set->Form2->PaintBox1->OverlayRect().topLeft(), QPoint(c.x, c.y));
    QCOMPARE(int(e.Set->Form2->Picture().Picture.GetPixel(c.x + 32, c.y + 24)),
             int(TProgramFolder::ChipIndex(0, 1)));

    // Without the upper chip the same spot picks the lower level.
    e.State.TheMap->SetChip(5, 5, 10, 0);
    Click(view, spot);
    QCOMPARE(e.State.CurrentLevel, 3);
    QCOMPARE(e.State.CursorX, low.x);
    QCOMPARE(e.State.CursorY, low.y);

    // Only the left button picks.
    e.State.TheMap->SetChip(5, 5, 10, 1);
    Click(view, spot, Qt::RightButton);
    QCOMPARE(e.State.CurrentLevel, 3);
}

void FormViewTest::clickOnNothingChangesNothing() {
    TEditor e;
    TForm3* view = e.Set->Form3;
    e.State.CursorX = 7;
    e.State.CursorY = 8;
    e.State.CurrentLevel = 2;
    e.State.TheSelection->SetActive(true);
    Click(view, FaceCentre(10, 10, 20));
    Click(view, QPoint(2, 2)); // outside every level's diamond
    QCOMPARE(e.State.CursorX, 7);
    QCOMPARE(e.State.CursorY, 8);
    QCOMPARE(e.State.CurrentLevel, 2);
    QVERIFY(e.State.TheSelection->Active);
}

QUARVEL_GUI_TEST_MAIN(FormViewTest)
#include "form_view_test.moc"
