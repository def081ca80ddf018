// The swap dialog: its controls, OK and Cancel.
#include "app/Form_Main.h"
#include "editor/global.h"
#include "map/mapclass.h"
#include "tests/gui/guitestutil.h"
#include "views/Form_Edit.h"
#include "views/Unit6.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

using namespace quarvel;
using namespace quarvel::test;

class Unit6Test : public QObject {
    Q_OBJECT
private slots:
    void controlsStandWhereTheyBelong();
    void okSwapsTwoCountries();
    void cancelAndSameCountryChangeNothing();
};

void Unit6Test::controlsStandWhereTheyBelong() {
    TEditor e;
    TForm6 d(e.State);
    QCOMPARE(d.windowTitle(), QString::fromUtf8("国の入れ替え"));
    // 160 x 120, or wider where a title bar needs the room for the whole caption.
    QCOMPARE(d.height(), 120);
    QVERIFY(d.width() >= 160);
    QVERIFY(!(d.windowFlags() & Qt::WindowCloseButtonHint));
    QCOMPARE(d.ComboBox1->geometry(), QRect(8, 22, 53, 20));
    QCOMPARE(d.ComboBox2->geometry(), QRect(88, 22, 53, 20));
    QCOMPARE(d.Label1->text(), QString("<->"));
    QCOMPARE(d.Label1->pos(), QPoint(67, 25));
    QCOMPARE(d.Button1->geometry(), QRect(2, 68, 75, 25));
    QCOMPARE(d.Button2->geometry(), QRect(83, 68, 75, 25));
    for (QComboBox* c : {d.ComboBox1, d.ComboBox2}) {
        QCOMPARE(c->count(), 4);
        QCOMPARE(c->itemText(0), QString::fromUtf8("緑"));
        QCOMPARE(c->itemText(3), QString::fromUtf8("青"));
        QCOMPARE(c->currentIndex(), 0);
    }
    QWidget* w = d.ComboBox1;
    for (QWidget* next : {static_cast<QWidget*>(d.ComboBox2), static_cast<QWidget*>(d.Button1),
                          static_cast<QWidget*>(d.Button2)}) {
        do w = w->nextInFocusChain();
        while (!(w->focusPolicy() & Qt::TabFocus));
        QCOMPARE(w, next);
    }
}

void Unit6Test::okSwapsTwoCountries() {
    TEditor e;
    e.State.TheMap->SetChip(1, 1, 5, 25);
    e.State.TheMap->SetChip(5, 1, 5, 28); // apart, so that no chip covers another
    e.State.TheMap->SetChip(9, 1, 5, 26);
    e.Set->Form2->RedrawLevel();
    QTimer::singleShot(0, [] {
        auto* d = qobject_cast<TForm6*>(QApplication::activeModalWidget());
        if (!d) return;
        d->ComboBox2->setCurrentIndex(3);
        d->Button1->click();
    });
    e.State.CurrentLevel = 5;
    e.Set->Form1->MenuItem("REPLACE2")->trigger();
    QCOMPARE(int(e.State.TheMap->GetChip(1, 1, 5)), 28);
    QCOMPARE(int(e.State.TheMap->GetChip(5, 1, 5)), 25);
    QCOMPARE(int(e.State.TheMap->GetChip(9, 1, 5)), 26);
    Point p = EditCellToPixel(1, 1, 0);
    QCOMPARE(int(e.Set->Form2->Picture().Picture.GetPixel(p.x + 32, p.y + 24)),
             int(TProgramFolder::ChipIndex(0, 28)));
    QVERIFY(e.Set->Form1->findChildren<TForm6*>().isEmpty());
}

void Unit6Test::cancelAndSameCountryChangeNothing() {
    TEditor e;
    e.State.TheMap->SetChip(1, 1, 5, 25);
    e.State.TheMap->UndoBuf.Reset();
    {
        TForm6 d(e.State);
        d.open();
        d.ComboBox2->setCurrentIndex(1);
        d.Button2->click();
        QCOMPARE(d.result(), 2);
    }
    {
        TForm6 d(e.State);
        d.open();
        d.Button1->click(); // both on 緑
        QCOMPARE(d.result(), 2);
    }
    QCOMPARE(int(e.State.TheMap->GetChip(1, 1, 5)), 25);
    QVERIFY(!e.State.TheMap->Undo());
}

QUARVEL_GUI_TEST_MAIN(Unit6Test)
#include "unit6_test.moc"
