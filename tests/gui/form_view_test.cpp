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
};

void FormViewTest::showsAllLevelsOnBlack() {
    TEditor e;
    TForm3* view = e.Set->Form3;
    QCOMPARE(view->GetBackColor(), TColor(0));
    // Black as near as the chip palette has it.
    const PaletteEntry black =
        ChipSheet[0]->GetPalette()[NearestIndex(ChipSheet[0]->GetPalette(), 0)];
    QCOMPARE(view->PaintBox1->grab(QRect(5, 5, 1, 1)).toImage().pixel(0, 0),
             qRgb(black.Red, black.Green, black.Blue));
    TheMap->SetChip(31, 31, 0, 12);
    view->RedrawAll();
    Point p = WholeCellToPixel(31, 31, 0, 0);
    QCOMPARE(view->PaintBox1->grab(QRect(p.x + 32, p.y + 24, 1, 1)).toImage().pixel(0, 0),
             0xFF000000u | TProgramFolder::PaletteColor(0, TProgramFolder::ChipIndex(0, 12)));
    e.Set->Form1->MenuItem("VZOOM1")->trigger();
    QCOMPARE(view->PaintBox1->size(), QSize(1024, 896));
    QCOMPARE(view->PaintBox1->grab(QRect(496 + 16, 872 + 12, 1, 1)).toImage().pixel(0, 0),
             0xFF000000u | TProgramFolder::PaletteColor(0, TProgramFolder::ChipIndex(0, 12)));

    // Beside a picture smaller than the window the form's own colour shows, the button face,
    // not the picture's black.
    view->SubWindow()->resize(1300, 1100);
    QWidget* viewport = view->ScrollBox()->viewport();
    QTRY_VERIFY(viewport->width() > 1100);
    const QRgb face = QApplication::palette().color(QPalette::Button).rgb();
    QVERIFY(face != qRgb(0, 0, 0));
    QCOMPARE(viewport->grab(QRect(1050, 20, 1, 1)).toImage().pixel(0, 0), face);
}

void FormViewTest::clickPicksTheHigherLevel() {
    TEditor e;
    TForm3* view = e.Set->Form3;
    // A spot on the top face of (5, 5) on level 10 and of another cell on level 3.
    const QPoint spot = FaceCentre(5, 5, 10);
    Point low = WholePixelToCell(spot.x(), spot.y(), 3, 0);
    QVERIFY(low.x >= 0 && low.x < 32 && low.y >= 0 && low.y < 32);
    TheMap->SetChip(low.x, low.y, 3, 1);
    TheMap->SetChip(5, 5, 10, 1);
    view->RedrawAll();
    TheSelection->SetActive(true);
    TheSelection->SetCorner(0, 1, 1);

    Click(view, spot);
    QCOMPARE(CurrentLevel, 10);
    QCOMPARE(CursorX, 5);
    QCOMPARE(CursorY, 5);
    QVERIFY(!TheSelection->Active);
    QCOMPARE(e.Set->Form4->ComboBox2->currentIndex(), 10);
    QCOMPARE(e.Set->Form4->Edit2->text(), QString("5"));
    // The edit view shows level 10 with the cursor on the picked cell.
    Point c = EditCellToPixel(5, 5, 0);
    QCOMPARE(e.Set->Form2->PaintBox1->OverlayRect().topLeft(), QPoint(c.x, c.y));
    QCOMPARE(int(e.Set->Form2->Picture().Picture.GetPixel(c.x + 32, c.y + 24)),
             int(TProgramFolder::ChipIndex(0, 1)));

    // Without the upper chip the same spot picks the lower level.
    TheMap->SetChip(5, 5, 10, 0);
    Click(view, spot);
    QCOMPARE(CurrentLevel, 3);
    QCOMPARE(CursorX, low.x);
    QCOMPARE(CursorY, low.y);

    // Only the left button picks.
    TheMap->SetChip(5, 5, 10, 1);
    Click(view, spot, Qt::RightButton);
    QCOMPARE(CurrentLevel, 3);
}

void FormViewTest::clickOnNothingChangesNothing() {
    TEditor e;
    TForm3* view = e.Set->Form3;
    CursorX = 7;
    CursorY = 8;
    CurrentLevel = 2;
    TheSelection->SetActive(true);
    Click(view, FaceCentre(10, 10, 20));
    Click(view, QPoint(2, 2)); // outside every level's diamond
    QCOMPARE(CursorX, 7);
    QCOMPARE(CursorY, 8);
    QCOMPARE(CurrentLevel, 2);
    QVERIFY(TheSelection->Active);
}

QUARVEL_GUI_TEST_MAIN(FormViewTest)
#include "form_view_test.moc"
