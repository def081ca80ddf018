// The info panel: its controls, what UpdateInfo shows, the name box limit, the palette and
// the terrain list.
#include "app/Form_Main.h"
#include "editor/global.h"
#include "editor/infopanel.h"
#include "map/chipclasses.h"
#include "map/mapclass.h"
#include "tests/gui/guitestutil.h"
#include "views/Form_Edit.h"
#include "views/Form_Info.h"
#include "views/Form_View.h"
#include "views/cp932.h"
#include "views/dialogframe.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolTip>
#include <QtTest>
#include <cstring>

using namespace quarvel;
using namespace quarvel::test;

namespace {

// Types text as key presses that carry it, one character each.
void Type(QWidget* w, const QString& text) {
    for (char32_t u : text.toUcs4()) {
        const QString c = QString::fromUcs4(&u, 1);
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, c);
        QApplication::sendEvent(w, &press);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, c);
        QApplication::sendEvent(w, &release);
    }
}

void Key(QWidget* w, int key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(w, &press);
}

QRgb ShownAt(QWidget* w, QPoint p) {
    return w->grab(QRect(p, QSize(1, 1))).toImage().pixel(0, 0);
}

QRgb ChipColor(int set, int chip) {
    const int index = chip == 0 ? 0 : TProgramFolder::ChipIndex(set, chip); // chip 0 is empty
    return 0xFF000000u | TProgramFolder::PaletteColor(set, index);
}

// The next control that Tab reaches.
QWidget* NextTabStop(QWidget* w) {
    do w = w->nextInFocusChain();
    while (!(w->focusPolicy() & Qt::TabFocus));
    return w;
}

} // namespace

class FormInfoTest : public QObject {
    Q_OBJECT
private slots:
    void controlsStandWhereTheyBelong();
    void updateInfoShowsTheState();
    void nameBoxKeepsTwentyBytes();
    void longNameFromAFileIsShownWhole();
    void nameBoxWritesCodePage932();
    void aRepaintShowsTheStateAfterThePaint();
    void paletteClicksChooseChips();
    void terrainListLoadsOtherChips();
    void terrainChangeKeepsBothScrollPositions();
    void closeRequestsAreRefused();
    void paletteChipsHaveTipsAndTheChosenOneIsMarked();
    void chipsArePainted();
};

void FormInfoTest::controlsStandWhereTheyBelong() {
    TEditor e;
    TForm4* p = e.Set->Form4;
    QCOMPARE(p->windowTitle(), QString::fromUtf8("情報"));
    QCOMPARE(p->size(), QSize(240, 360));
    QVERIFY(p->windowFlags() & Qt::WindowStaysOnTopHint);
    QCOMPARE(p->windowType(), Qt::Tool);
    QVERIFY(!(p->windowFlags() & Qt::WindowCloseButtonHint));
    QCOMPARE(p->font().family(), QString("IPAPGothic"));
    QCOMPARE(p->font().pixelSize(), 12);

    QCOMPARE(p->Edit1->geometry(), QRect(8, 8, 137, 20));
    QCOMPARE(p->ComboBox1->geometry(), QRect(152, 8, 81, 20));
    QCOMPARE(p->Edit2->geometry(), QRect(24, 44, 23, 20));
    QCOMPARE(p->Edit3->geometry(), QRect(64, 44, 23, 20));
    QCOMPARE(p->ComboBox2->geometry(), QRect(24, 76, 41, 20));
    QCOMPARE(p->ComboBox3->geometry(), QRect(8, 133, 82, 20));
    QVERIFY(p->Edit2->isReadOnly() && p->Edit3->isReadOnly() && !p->Edit1->isReadOnly());
    const QList<std::pair<QLabel*, QPoint>> labels = {
        {p->Label1, {8, 46}},  {p->Label2, {48, 46}},  {p->Label3, {8, 76}},
        {p->Label4, {8, 111}}, {p->Label5, {163, 76}}, {p->Label6, {163, 133}}};
    for (auto [label, at] : labels) {
        QCOMPARE(label->pos(), at);
        QCOMPARE(label->font().family(), QString("IPAGothic"));
        QCOMPARE(label->font().pixelSize(), 16);
    }
    QCOMPARE(p->Label1->text(), QString("X:"));
    QCOMPARE(p->Label2->text(), QString("Y:"));
    QCOMPARE(p->Label3->text(), QString("Z:"));
    QCOMPARE(p->Label4->text(), QString::fromUtf8("チップ選択"));

    QStringList terrains;
    for (int i = 0; i < p->ComboBox1->count(); ++i) terrains << p->ComboBox1->itemText(i);
    QCOMPARE(terrains, QString::fromUtf8("ソルテア,砂漠,雪,溶岩").split(','));
    QCOMPARE(p->ComboBox2->count(), 48);
    QCOMPARE(p->ComboBox2->itemText(47), QString("47"));
    QCOMPARE(p->ComboBox3->count(), 168);
    for (int i = 0; i < 168; ++i)
        QCOMPARE(p->ComboBox3->itemText(i), QString::fromUtf8(ChipNames[i]));

    // Tab order: name, terrain, chip, level, X, Y.
    QList<QWidget*> order = {p->Edit1,     p->ComboBox1, p->ComboBox3,
                             p->ComboBox2, p->Edit2,     p->Edit3};
    for (int i = 0; i + 1 < order.size(); ++i) QCOMPARE(NextTabStop(order[i]), order[i + 1]);

    // The new map's name, as code page 932 bytes in the map and as text in the box.
    QCOMPARE(QByteArray::fromStdString(e.State.TheMap->GetName()).toHex(' '),
             QByteArray("90 56 8b 4b 83 7d 83 62 83 76"));
    QCOMPARE(p->Edit1->text(), QString::fromUtf8("新規マップ"));
}

void FormInfoTest::updateInfoShowsTheState() {
    TEditor e;
    TForm4* p = e.Set->Form4;
    e.State.TheMap->SetChip(5, 12, 3, 58);
    e.State.TheMap->SetTerrain(2); // the list follows without loading the set
    e.State.CursorX = 5;
    e.State.CursorY = 12;
    e.State.CurrentLevel = 3;
    e.State.CurrentChip = 120;
    p->UpdateInfo();
    QCOMPARE(p->Edit2->text(), QString("5"));
    QCOMPARE(p->Edit3->text(), QString("12"));
    QCOMPARE(p->ComboBox1->currentIndex(), 2);
    QCOMPARE(p->ComboBox2->currentIndex(), 3);
    QCOMPARE(p->ComboBox3->currentIndex(), 120);
    QCOMPARE(p->Label5->text(), QString::fromUtf8("橋1"));
    QCOMPARE(p->Label6->text(), QString::fromUtf8("昇降機-下"));
    QCOMPARE(e.State.CurrentTerrain, 0);

    // A byte without a chip in the cursor cell: no name and no picture, and no harm.
    e.State.TheMap->Cells[TMap::Index(5, 12, 3)] = 200;
    p->UpdateInfo();
    QCOMPARE(p->Label5->text(), QString());
    p->grab();

    // The level list is a command: the selection goes, the edit view shows the level.
    p->ComboBox2->setCurrentIndex(7);
    emit p->ComboBox2->activated(7);
    QCOMPARE(e.State.CurrentLevel, 7);
    p->ComboBox3->setCurrentIndex(9);
    emit p->ComboBox3->activated(9);
    QCOMPARE(int(e.State.CurrentChip), 9);
    QCOMPARE(p->Label6->text(), QString::fromUtf8("さら地9"));
}

void FormInfoTest::nameBoxKeepsTwentyBytes() {
    TEditor e;
    TForm4* p = e.Set->Form4;
    p->UpdateInfo();
    QCOMPARE(e.Set->Form1->windowTitle(), QString("Quarvel"));
    p->Edit1->setFocus();
    p->Edit1->selectAll();
    Type(p->Edit1, "A");
    QCOMPARE(e.State.TheMap->GetName(), std::string("A"));
    QCOMPARE(e.Set->Form1->windowTitle(), QString("Quarvel * ")); // marked at once

    Type(p->Edit1, "BCDEFGHIJKLMNOPQRSTUVWXY");
    QCOMPARE(p->Edit1->text(), QString("ABCDEFGHIJKLMNOPQRST"));
    QCOMPARE(e.State.TheMap->GetName(), std::string("ABCDEFGHIJKLMNOPQRST"));

    // Double-byte characters: ten fit, the eleventh does not.
    p->Edit1->selectAll();
    Type(p->Edit1, QString::fromUtf8("あいうえおかきくけこさ"));
    QCOMPARE(p->Edit1->text(), QString::fromUtf8("あいうえおかきくけこ"));
    QCOMPARE(e.State.TheMap->GetName().size(), size_t(20));

    // 19 bytes leave no room for half a character.
    p->Edit1->selectAll();
    Type(p->Edit1, "0123456789012345678");
    Type(p->Edit1, QString::fromUtf8("あ"));
    QCOMPARE(p->Edit1->text(), QString("0123456789012345678"));
    Type(p->Edit1, "9");
    QCOMPARE(e.State.TheMap->GetName(), std::string("01234567890123456789"));

    // A character the code page does not have is refused, wherever it is typed.
    p->Edit1->selectAll();
    Type(p->Edit1, "ab");
    p->Edit1->setCursorPosition(1);
    Type(p->Edit1, QString::fromUtf8("€"));
    Type(p->Edit1, QString::fromUtf8("😀"));
    QCOMPARE(p->Edit1->text(), QString("ab"));
    Type(p->Edit1, QString::fromUtf8("漢"));
    QCOMPARE(p->Edit1->text(), QString::fromUtf8("a漢b"));
    QCOMPARE(p->Edit1->cursorPosition(), 2);
    QCOMPARE(FromCp932(e.State.TheMap->GetName()), QString::fromUtf8("a漢b"));

    // A paste that does not fit keeps what fits.
    p->Edit1->selectAll();
    Type(p->Edit1, "0123456789012345");
    p->Edit1->setCursorPosition(2);
    p->Edit1->insert(QString::fromUtf8("xyzあい"));
    QCOMPARE(p->Edit1->text(), QString("01xyz23456789012345"));
    QCOMPARE(e.State.TheMap->GetName(), std::string("01xyz23456789012345"));
}

// The characters where code page 932 differs from plain Shift_JIS, NEC row 13 and the IBM
// extensions: the name box writes the bytes that `quarvel-cli edit` writes for them
// (tests/cli_map_test.cpp), and a name read from a file shows as the same text.
void FormInfoTest::nameBoxWritesCodePage932() {
    TEditor e;
    TForm4* p = e.Set->Form4;
    const std::pair<const char*, QByteArray> names[] = {
        {"～∥－￢￠￡①Ⅰ㈱", QByteArray::fromHex("81608161817c81ca8191819287408754878a")},
        {"ⅰ纊髙￤＇＂№∵≒", QByteArray::fromHex("fa40fa5cfbfcfa55fa56fa57878281e681e0")}};
    for (const auto& [text, bytes] : names) {
        p->Edit1->setFocus();
        p->Edit1->selectAll();
        Type(p->Edit1, QString::fromUtf8(text));
        QCOMPARE(p->Edit1->text(), QString::fromUtf8(text));
        QCOMPARE(QByteArray::fromStdString(e.State.TheMap->GetName()), bytes);

        e.State.TheMap->SetName("x");
        p->UpdateInfo();
        e.State.TheMap->SetName(bytes.toStdString());
        p->UpdateInfo();
        QCOMPARE(p->Edit1->text(), QString::fromUtf8(text));
    }
    // A look-alike that would come back as another character is refused.
    p->Edit1->selectAll();
    Type(p->Edit1, QString::fromUtf8("a〜"));
    QCOMPARE(p->Edit1->text(), QString("a"));
    // Bytes that are not code page 932 show as "\xNN", as quarvel-cli shows them.
    e.State.TheMap->SetName("a\x81");
    p->UpdateInfo();
    QCOMPARE(p->Edit1->text(), QString("a\\x81"));
}

// A repaint of the panel shows a state that changed without UpdateInfo, but only once the
// paint is over: no control's text changes while the panel paints.
void FormInfoTest::aRepaintShowsTheStateAfterThePaint() {
    TEditor e;
    TForm4* p = e.Set->Form4;
    p->UpdateInfo();
    QCOMPARE(p->Edit2->text(), QString("0"));
    e.State.CursorX = 7;
    e.State.TheMap->Modified = true;
    p->grab(); // paints the panel
    QCOMPARE(p->Edit2->text(), QString("0"));
    QTRY_COMPARE(p->Edit2->text(), QString("7"));
    QCOMPARE(e.Set->Form1->windowTitle(), QString("Quarvel * "));
    // The UI font comes from the application, the labels keep their own.
    QCOMPARE(e.Set->Form1->font().family(), QString("IPAPGothic"));
    QCOMPARE(QApplication::font().pixelSize(), 12);
}

void FormInfoTest::longNameFromAFileIsShownWhole() {
    TEditor e;
    TForm4* p = e.Set->Form4;
    const char* name = "ABCDEFGHIJKLMNOPQRSTUVWXYZ1234"; // 30 bytes, as a file may hold
    std::memset(e.State.TheMap->Header + TMap::NameOffset, 0, TMap::NameSize);
    std::memcpy(e.State.TheMap->Header + TMap::NameOffset, name, std::strlen(name));
    p->UpdateInfo();
    QCOMPARE(p->Edit1->text(), QString(name));

    p->Edit1->setFocus();
    p->Edit1->end(false);
    Type(p->Edit1, "5"); // typing is stopped
    QCOMPARE(p->Edit1->text(), QString(name));
    QVERIFY(!e.State.TheMap->Modified);
    Key(p->Edit1, Qt::Key_Backspace); // the first edit keeps 20 bytes
    QCOMPARE(e.State.TheMap->GetName(), std::string("ABCDEFGHIJKLMNOPQRST"));
    QCOMPARE(p->Edit1->text(), QString("ABCDEFGHIJKLMNOPQRST"));
    QVERIFY(e.State.TheMap->Modified);
}

void FormInfoTest::paletteClicksChooseChips() {
    TEditor e;
    TForm4* p = e.Set->Form4;
    auto click = [&](int x, int y, Qt::MouseButton b = Qt::LeftButton) {
        e.State.CurrentChip = 77;
        QTest::mouseClick(p, b, Qt::NoModifier, QPoint(x, y));
        return int(e.State.CurrentChip);
    };
    QCOMPARE(click(8, 160), 0);
    QCOMPARE(click(40, 160), 58);
    QCOMPARE(click(231, 351), int(PaletteChips[55]));
    QCOMPARE(click(200, 160), 50);
    QCOMPARE(click(8 + 3 * 32 + 5, 160 + 4 * 24 + 5), 29);
    QCOMPARE(p->ComboBox3->currentIndex(), 29);
    for (QPoint miss : {QPoint(7, 200), QPoint(232, 200), QPoint(100, 159), QPoint(100, 352)})
        QCOMPARE(click(miss.x(), miss.y()), 77);
    // Any press on the surface takes the focus from the controls; only the left one chooses.
    p->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(p));
    p->Edit1->setFocus();
    QVERIFY(p->Edit1->hasFocus());
    QCOMPARE(click(40, 160, Qt::RightButton), 77);
    QVERIFY(!p->Edit1->hasFocus());
}

void FormInfoTest::terrainListLoadsOtherChips() {
    TEditor e;
    e.Folder.WriteChips(1);
    TForm4* p = e.Set->Form4;
    emit p->ComboBox1->activated(0); // the set already chosen
    QVERIFY(!e.State.TheMap->Modified);

    p->ComboBox1->setCurrentIndex(1);
    emit p->ComboBox1->activated(1);
    QVERIFY(e.State.TheMap->Modified);
    QCOMPARE(e.State.TheMap->GetTerrain(), 1);
    QCOMPARE(e.State.CurrentTerrain, 1);
    QCOMPARE(ShownAt(p, QPoint(40 + 16, 160 + 12)), ChipColor(1, 58));
    // The edit view shows the new pictures in the new colours.
    e.State.TheMap->SetChip(0, 0, 0, 12);
    e.Set->Form2->RedrawLevel();
    Point c = EditCellToPixel(0, 0, 0);
    QCOMPARE(ShownAt(e.Set->Form2->PaintBox1, QPoint(c.x + 32, c.y + 24)), ChipColor(1, 12));

    // A set whose files are missing is still recorded; the pictures stay.
    e.State.TheMap->Modified = false;
    p->ComboBox1->setCurrentIndex(2);
    emit p->ComboBox1->activated(2);
    QVERIFY(e.State.TheMap->Modified);
    QCOMPARE(e.State.TheMap->GetTerrain(), 2);
    QCOMPARE(e.State.CurrentTerrain, 1);
    QCOMPARE(p->ComboBox1->currentIndex(), 2);
    QVERIFY(e.Messages.Log.empty());
}

void FormInfoTest::terrainChangeKeepsBothScrollPositions() {
    TEditor e;
    e.Folder.WriteChips(1);
    TForm4* p = e.Set->Form4;
    const auto scrolled = [](TMapWindow* view) {
        QScrollArea* s = view->ScrollBox();
        return QPoint(s->horizontalScrollBar()->value(), s->verticalScrollBar()->value());
    };
    for (TMapWindow* view :
         {static_cast<TMapWindow*>(e.Set->Form2), static_cast<TMapWindow*>(e.Set->Form3)}) {
        view->ScrollBox()->horizontalScrollBar()->setValue(300);
        view->ScrollBox()->verticalScrollBar()->setValue(200);
        QCOMPARE(scrolled(view), QPoint(300, 200));
    }
    p->ComboBox1->setCurrentIndex(1);
    emit p->ComboBox1->activated(1);
    QCOMPARE(e.State.CurrentTerrain, 1);
    QApplication::processEvents();
    QCOMPARE(scrolled(e.Set->Form2), QPoint(300, 200));
    QCOMPARE(scrolled(e.Set->Form3), QPoint(300, 200));

    // The same with the whole-map view put aside (minimised) and brought back afterwards.
    e.Set->Form3->SubWindow()->close();
    QVERIFY(e.Set->Form3->SubWindow()->isMinimized());
    p->ComboBox1->setCurrentIndex(0);
    emit p->ComboBox1->activated(0);
    QCOMPARE(e.State.CurrentTerrain, 0);
    e.Set->Form3->SubWindow()->showNormal();
    QApplication::processEvents();
    QCOMPARE(scrolled(e.Set->Form3), QPoint(300, 200));
}

void FormInfoTest::closeRequestsAreRefused() {
    TEditor e;
    TForm4* p = e.Set->Form4;
    QVERIFY(p->isVisible());
    // The title bar asks for no close button; a window manager that draws one anyway, its
    // Alt+F4 and its close request all arrive as a close event.
    QVERIFY(!(p->windowFlags() & Qt::WindowCloseButtonHint));
    QVERIFY(!p->close());
    QCloseEvent spontaneous;
    QApplication::sendEvent(p, &spontaneous);
    QVERIFY(!spontaneous.isAccepted());
    QVERIFY(p->isVisible());
    p->UpdateInfo();
    QCOMPARE(e.Set->Form1->windowTitle(), QString("Quarvel"));

    // A window manager that minimises the panel by a button of its own: it comes back. When the
    // whole program is minimised, the panel goes with the main window.
    p->setWindowState(Qt::WindowMinimized);
    QTRY_VERIFY(!p->isMinimized());
    QVERIFY(p->isVisible());
    e.Set->Form1->setWindowState(Qt::WindowMinimized);
    p->setWindowState(Qt::WindowMinimized);
    // A window without an owner, minimised after the panel, comes back by the same deferred
    // step as the panel would: once it is back, the panel's step has run as well.
    QWidget probe;
    KeepShown(&probe);
    probe.show();
    probe.setWindowState(Qt::WindowMinimized);
    QTRY_VERIFY(!probe.isMinimized());
    QVERIFY(p->isMinimized());
}

void FormInfoTest::paletteChipsHaveTipsAndTheChosenOneIsMarked() {
    TEditor e;
    TForm4* p = e.Set->Form4;
    const auto tipAt = [p](QPoint at) {
        QHelpEvent help(QEvent::ToolTip, at, p->mapToGlobal(at));
        QApplication::sendEvent(p, &help);
        // A tip that is not the panel's leaves the event unaccepted.
        return help.isAccepted() && QToolTip::isVisible() ? QToolTip::text() : QString();
    };
    // Each entry shows the name of its own chip, up to the palette's last pixel.
    QCOMPARE(tipAt(QPoint(40 + 5, 160 + 5)), QString::fromUtf8("橋1"));      // entry 1, chip 58
    QCOMPARE(tipAt(QPoint(200 + 31, 160 + 23)), QString::fromUtf8("敵-弱")); // entry 6, chip 50
    QCOMPARE(tipAt(QPoint(8, 328)), QString::fromUtf8("岩"));                // entry 49, chip 111
    QCOMPARE(tipAt(QPoint(136 + 16, 256 + 12)), QString::fromUtf8("城門-下1")); // entry 32
    QCOMPARE(tipAt(QPoint(231, 351)), QString::fromUtf8("空白"));               // entry 55, chip 0
    // Outside the palette there is no tip.
    QCOMPARE(tipAt(QPoint(100, 159)), QString());
    QCOMPARE(tipAt(QPoint(232, 200)), QString());

    // The chosen chip's entry is framed black outside, white inside; the others are not.
    const auto at = [p](QPoint q) { return ShownAt(p, q); };
    p->ComboBox3->setCurrentIndex(120);
    emit p->ComboBox3->activated(120); // 昇降機-下, entry 2
    QCOMPARE(int(e.State.CurrentChip), 120);
    const QRect marked = TForm4::PaletteCellRect(2);
    QCOMPARE(marked, QRect(72, 160, 32, 24));
    QCOMPARE(at(marked.topLeft()), qRgb(0, 0, 0));
    QCOMPARE(at(marked.bottomRight()), qRgb(0, 0, 0));
    QCOMPARE(at(marked.topLeft() + QPoint(1, 1)), qRgb(255, 255, 255));
    QCOMPARE(at(marked.center()), ChipColor(0, 120));
    const QRect other = TForm4::PaletteCellRect(1);
    QCOMPARE(at(other.topLeft() + QPoint(1, 1)), ChipColor(0, 58));
    QCOMPARE(at(other.bottomRight()), ChipColor(0, 58));
    // Choosing from the palette moves the mark; a chip the palette lacks leaves none.
    SendMouse(p, QEvent::MouseButtonPress, QPoint(45, 165), Qt::LeftButton, Qt::LeftButton);
    QCOMPARE(int(e.State.CurrentChip), 58);
    QCOMPARE(at(other.topLeft() + QPoint(1, 1)), qRgb(255, 255, 255));
    QCOMPARE(at(marked.topLeft() + QPoint(1, 1)), ChipColor(0, 120));
    p->ComboBox3->setCurrentIndex(1);
    emit p->ComboBox3->activated(1);
    QCOMPARE(p->MarkedPaletteEntry(), -1);
    QCOMPARE(at(other.topLeft() + QPoint(1, 1)), ChipColor(0, 58));
}

void FormInfoTest::chipsArePainted() {
    TEditor e;
    TForm4* p = e.Set->Form4;
    e.State.TheMap->SetChip(0, 0, 0, 58);
    e.State.CurrentChip = 12;
    p->UpdateInfo();
    QCOMPARE(ShownAt(p, QPoint(96 + 32, 48 + 24)), ChipColor(0, 58));
    QCOMPARE(ShownAt(p, QPoint(96 + 32, 104 + 24)), ChipColor(0, 12));
    for (int i : {1, 9, 30, 54}) {
        QPoint at(8 + (i % 7) * 32 + 16, 160 + (i / 7) * 24 + 12);
        QCOMPARE(ShownAt(p, at), ChipColor(0, PaletteChips[i]));
    }
}

QUARVEL_GUI_TEST_MAIN(FormInfoTest)
#include "form_info_test.moc"
