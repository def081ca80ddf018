// The shift dialog: its controls, the key filter of its edits, and OK with good and bad input.
#include "app/Form_Main.h"
#include "editor/global.h"
#include "map/mapclass.h"
#include "tests/gui/guitestutil.h"
#include "views/Form_Edit.h"
#include "views/Unit5.h"

#include <QAction>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

using namespace quarvel;
using namespace quarvel::test;

class Unit5Test : public QObject {
    Q_OBJECT
private slots:
    void controlsStandWhereTheyBelong();
    void editsTakeOnlyDigitsAndMinus();
    void invalidNumberKeepsTheDialogOpen();
    void okShiftsAndCancelDoesNot();
    void menuRunsAFreshDialog();
};

void Unit5Test::controlsStandWhereTheyBelong() {
    TEditor e;
    TForm5 d(e.State);
    QCOMPARE(d.windowTitle(), QString::fromUtf8("マップをずらす"));
    // 160 x 120, or wider where a title bar needs the room for the whole caption.
    QCOMPARE(d.height(), 120);
    QVERIFY(d.width() >= 160);
    QVERIFY(!(d.windowFlags() & Qt::WindowCloseButtonHint));
    QCOMPARE(d.pos(), QPoint(0, 0));
    QCOMPARE(d.Label1->text(), QString::fromUtf8("X方向"));
    QCOMPARE(d.Label2->pos(), QPoint(8, 32));
    QCOMPARE(d.Label3->text(), QString::fromUtf8("Z方向"));
    QCOMPARE(d.Edit1->geometry(), QRect(44, 4, 49, 20));
    QCOMPARE(d.Edit2->geometry(), QRect(44, 28, 49, 20));
    QCOMPARE(d.Edit3->geometry(), QRect(44, 52, 49, 20));
    for (QLineEdit* edit : {d.Edit1, d.Edit2, d.Edit3}) QCOMPARE(edit->text(), QString("0"));
    QCOMPARE(d.Button1->geometry(), QRect(4, 88, 75, 25));
    QCOMPARE(d.Button2->text(), QString::fromUtf8("キャンセル"));
    QList<QWidget*> order = {d.Edit1, d.Edit2, d.Edit3, d.Button1, d.Button2};
    for (int i = 0; i + 1 < order.size(); ++i) QCOMPARE(order[i]->nextInFocusChain(), order[i + 1]);
}

void Unit5Test::editsTakeOnlyDigitsAndMinus() {
    TEditor e;
    TForm5 d(e.State);
    d.show();
    QVERIFY(QTest::qWaitForWindowActive(&d));
    d.Edit1->setFocus();
    d.Edit1->selectAll();
    QTest::keyClicks(d.Edit1, "a1b-2 x3.");
    QCOMPARE(d.Edit1->text(), QString("1-23"));
    QTest::keyClick(d.Edit1, Qt::Key_Backspace);
    QCOMPARE(d.Edit1->text(), QString("1-2"));
    QTest::keyClick(d.Edit1, Qt::Key_Home);
    QTest::keyClick(d.Edit1, Qt::Key_Delete);
    QCOMPARE(d.Edit1->text(), QString("-2"));
    // Ctrl+V is a control character and is filtered like the rest.
    QGuiApplication::clipboard()->setText("77");
    QTest::keyClick(d.Edit1, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(d.Edit1->text(), QString("-2"));
    // Tab still moves on.
    QTest::keyClick(d.Edit1, Qt::Key_Tab);
    QVERIFY(d.Edit2->hasFocus());
}

void Unit5Test::invalidNumberKeepsTheDialogOpen() {
    TEditor e;
    e.State.TheMap->SetChip(0, 0, 0, 5);
    e.State.TheMap->UndoBuf.Reset();
    for (const char* bad : {"-", "", "1-", "abc"}) {
        TForm5 d(e.State);
        d.open();
        d.Edit2->setText(bad); // pasted text passes the key filter
        d.Button1->click();
        QVERIFY(d.isVisible());
        QCOMPARE(d.result(), 0);
        QCOMPARE(e.Messages.Log.back().Text, "'" + std::string(bad) + "' は整数ではありません");
        QCOMPARE(e.Messages.Log.back().Caption, std::string("Quarvel"));
        QCOMPARE(int(e.State.TheMap->GetChip(0, 0, 0)), 5);
        QVERIFY(!e.State.TheMap->Undo());
        // Corrected, OK goes through.
        d.Edit2->setText("1");
        d.Button1->click();
        QVERIFY(!d.isVisible());
        QCOMPARE(d.result(), 1);
        QCOMPARE(int(e.State.TheMap->GetChip(0, 1, 0)), 5);
        QVERIFY(e.State.TheMap->Undo());
        QCOMPARE(int(e.State.TheMap->GetChip(0, 0, 0)), 5);
        e.State.TheMap->UndoBuf.Reset();
    }
}

void Unit5Test::okShiftsAndCancelDoesNot() {
    TEditor e;
    e.State.TheMap->SetChip(3, 3, 3, 5);
    {
        TForm5 d(e.State);
        d.open();
        d.Button1->click(); // all offsets 0
        QCOMPARE(d.result(), 2);
    }
    {
        TForm5 d(e.State);
        d.open();
        d.Edit1->setText("1");
        d.Button2->click();
        QCOMPARE(d.result(), 2);
        QCOMPARE(int(e.State.TheMap->GetChip(3, 3, 3)), 5);
    }
    {
        TForm5 d(e.State);
        d.open();
        d.Edit1->setText("-2");
        d.Edit3->setText("100");
        d.Button1->click();
        QCOMPARE(d.result(), 1);
        QCOMPARE(int(e.State.TheMap->GetChip(3, 3, 3)), 0); // moved past the top: the map is empty
    }
}

void Unit5Test::menuRunsAFreshDialog() {
    TEditor e;
    e.State.TheMap->SetChip(3, 3, 0, 12);
    e.Set->Form2->RedrawLevel();
    QString shown;
    QTimer::singleShot(0, [&] {
        auto* d = qobject_cast<TForm5*>(QApplication::activeModalWidget());
        if (!d) return;
        shown = d->Edit1->text();
        d->Edit1->setText("2");
        d->Button1->click();
    });
    e.Set->Form1->MenuItem("SHIFT1")->trigger();
    QCOMPARE(shown, QString("0"));
    QCOMPARE(int(e.State.TheMap->GetChip(5, 3, 0)), 12);
    // Both views were drawn again; no dialog is left over.
    Point p = EditCellToPixel(5, 3, 0);
    QCOMPARE(int(e.Set->Form2->Picture().Picture.GetPixel(p.x + 32, p.y + 24)),
             int(TProgramFolder::ChipIndex(0, 12)));
    QVERIFY(e.Set->Form1->findChildren<TForm5*>().isEmpty());
}

QUARVEL_GUI_TEST_MAIN(Unit5Test)
#include "unit5_test.moc"
