// The command palette: opened with its key, typing finds a command, Enter runs it as its
// menu item would; greyed-out items are not offered; the commands run last come first.
#include "app/Form_Main.h"
#include "editor/global.h"
#include "editor/selectarea.h"
#include "map/mapclass.h"
#include "tests/gui/guitestutil.h"
#include "views/Form_Edit.h"
#include "views/commandpalette.h"

#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMenu>
#include <QTreeWidget>
#include <QtTest>
#include <functional>

using namespace quarvel;
using namespace quarvel::test;

namespace {

// Opens the palette with Ctrl+Shift+P and hands it to `use` while it is open. False when no
// palette opened.
bool WithPalette(TEditor& e, const std::function<void(TCommandPalette*)>& use) {
    e.Set->Form1->activateWindow(); // as a window manager does when the last palette closed
    if (!QTest::qWaitForWindowActive(e.Set->Form1)) return false;
    bool opened = false;
    QTimer::singleShot(0, [&] {
        auto* palette = qobject_cast<TCommandPalette*>(QApplication::activeModalWidget());
        if (!palette) return;
        opened = true;
        use(palette);
        if (palette->isVisible()) palette->reject();
    });
    QTest::keyClick(e.Set->Form1, Qt::Key_P, Qt::ControlModifier | Qt::ShiftModifier);
    return opened;
}

// Text as an input method commits it, the way Japanese is typed.
void Type(QWidget* w, const char* text) {
    QInputMethodEvent commit;
    commit.setCommitString(QString::fromUtf8(text));
    QApplication::sendEvent(w, &commit);
}

QStringList Listed(TCommandPalette* palette, int column = 0) {
    QStringList out;
    for (int i = 0; i < palette->ListView1->topLevelItemCount(); ++i)
        out << palette->ListView1->topLevelItem(i)->text(column);
    return out;
}

} // namespace

class CommandPaletteTest : public QObject {
    Q_OBJECT
private slots:
    void typingFindsACommandAndEnterRunsIt();
    void onlyCommandsThatCanRunAreListed();
    void theCommandsRunLastComeFirst();
};

void CommandPaletteTest::typingFindsACommandAndEnterRunsIt() {
    TEditor e;
    TForm1* main = e.Set->Form1;
    QStringList shown, keys;
    QVERIFY(WithPalette(e, [&](TCommandPalette* p) {
        Type(p->Edit1, "上階");
        shown = Listed(p);
        keys = Listed(p, 1);
        QTest::keyClick(p->Edit1, Qt::Key_Return);
    }));
    QCOMPARE(e.State.CurrentLevel, 1);
    QVERIFY(shown.size() >= 3);
    QCOMPARE(shown[0], QString::fromUtf8("上の階層(U)"));
    QCOMPARE(keys[0], QKeySequence(Qt::Key_Up).toString(QKeySequence::NativeText));
    for (const QString& caption : shown)
        QVERIFY2(caption.contains(QString::fromUtf8("上")), qPrintable(caption));

    // A check item is run as a click on it: the mark and the zoom flip together.
    const int zoom = e.Set->Form2->GetZoom();
    QVERIFY(WithPalette(e, [&](TCommandPalette* p) {
        Type(p->Edit1, "縮小編集");
        QCOMPARE(Listed(p), QStringList{QString::fromUtf8("縮小表示-編集(X)")});
        QTest::keyClick(p->Edit1, Qt::Key_Return);
    }));
    QVERIFY(main->MenuItem("EZOOM1")->isChecked());
    QCOMPARE(e.Set->Form2->GetZoom(), 1 - zoom);

    // Escape closes it and runs nothing; so does Enter on an empty list.
    QVERIFY(WithPalette(e, [&](TCommandPalette* p) {
        Type(p->Edit1, "上の");
        QTest::keyClick(p->Edit1, Qt::Key_Escape);
        QVERIFY(!p->isVisible());
    }));
    QVERIFY(WithPalette(e, [&](TCommandPalette* p) {
        Type(p->Edit1, "上の層階");
        QVERIFY(Listed(p).isEmpty());
        QTest::keyClick(p->Edit1, Qt::Key_Return);
    }));
    QCOMPARE(e.State.CurrentLevel, 1);
}

void CommandPaletteTest::onlyCommandsThatCanRunAreListed() {
    TEditor e;
    TForm1* main = e.Set->Form1;
    const QString move = QString::fromUtf8("選択範囲を移動...");
    // The edit menu was shown with a selection: its move item is left enabled.
    e.State.TheSelection->SetActive(true);
    emit main->MenuItem("EDIT1")->menu()->aboutToShow();
    e.State.TheSelection->SetActive(false);
    QStringList all;
    QVERIFY(WithPalette(e, [&](TCommandPalette* p) { all = Listed(p); }));
    QVERIFY(!all.contains(move));
    QVERIFY(all.contains(QString::fromUtf8("上の階層(U)")));
    QVERIFY(!all.contains(QString::fromUtf8("選択範囲を1マス移動 > 左へ")));
    QVERIFY(!all.contains(QString::fromUtf8("コマンド検索(K)...")));
    QVERIFY(!all.join("").contains('&'));

    e.State.TheSelection->SetActive(true);
    e.State.TheSelection->SetCorner(0, 2, 2);
    QVERIFY(WithPalette(e, [&](TCommandPalette* p) { all = Listed(p); }));
    QVERIFY(all.contains(move));
    QVERIFY(all.contains(QString::fromUtf8("選択範囲を1マス移動 > 左へ")));

    // The moves' keys work whether a list or a menu greyed them out before.
    e.State.TheMap->SetChip(2, 2, 0, 60);
    for (int x = 2; x < 4; ++x) {
        e.State.TheSelection->SetActive(false);
        if (x == 2) QVERIFY(WithPalette(e, [&](TCommandPalette*) {}));
        if (x == 3) {
            emit main->MenuItem("EDIT1")->menu()->aboutToShow();
            emit main->MenuItem("EDIT1")->menu()->aboutToHide();
        }
        e.State.TheSelection->SetActive(true);
        e.State.TheSelection->SetCorner(0, x, 2);
        main->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(main));
        QTest::keyClick(main, Qt::Key_Right, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(int(e.State.TheMap->GetChip(x + 1, 2, 0)), 60);
    }
}

void CommandPaletteTest::theCommandsRunLastComeFirst() {
    TEditor e;
    TForm1* main = e.Set->Form1;
    QStringList first, later;
    QVERIFY(WithPalette(e, [&](TCommandPalette* p) { first = Listed(p); }));
    QCOMPARE(first.value(0), QString::fromUtf8("新規作成(N)"));
    // Run from the palette, then from a key: both come first, the latest at the top.
    QVERIFY(WithPalette(e, [&](TCommandPalette* p) {
        Type(p->Edit1, "チップ次");
        QTest::keyClick(p->Edit1, Qt::Key_Return);
    }));
    QCOMPARE(int(e.State.CurrentChip), 1);
    main->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(main));
    QTest::keyClick(main, Qt::Key_Up);
    QCOMPARE(e.State.CurrentLevel, 1);
    QVERIFY(WithPalette(e, [&](TCommandPalette* p) { later = Listed(p); }));
    QCOMPARE(later.mid(0, 3),
             (QStringList{QString::fromUtf8("上の階層(U)"), QString::fromUtf8("チップ選択-次(N)"),
                          QString::fromUtf8("新規作成(N)")}));
    QCOMPARE(later.size(), first.size());
    // Typing still filters the recent ones.
    QVERIFY(WithPalette(e, [&](TCommandPalette* p) {
        Type(p->Edit1, "チップ");
        later = Listed(p);
    }));
    QCOMPARE(later.value(0), QString::fromUtf8("チップ選択-次(N)"));
}

QUARVEL_GUI_TEST_MAIN(CommandPaletteTest)
#include "commandpalette_test.moc"
