// Frames of the small dialogs and message boxes: whole captions, no minimise or maximise
// button; and Qt's own texts in Japanese.
#include "app/Form_Main.h"
#include "tests/gui/guitestutil.h"
#include "views/Unit5.h"
#include "views/Unit6.h"

#include <QColorDialog>
#include <QFontMetrics>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

using namespace quarvel;
using namespace quarvel::test;

namespace {

// Room a window manager's title bar may take beside the caption: an icon and three buttons
// of 24 px, and the caption itself in a bold font half as large again as the window's.
int TitleBarNeeds(const QWidget* w) {
    QFont title = w->font();
    title.setPixelSize(std::max(title.pixelSize(), 12) * 3 / 2);
    title.setBold(true);
    return QFontMetrics(title).horizontalAdvance(w->windowTitle()) + 4 * 24;
}

void CheckFrame(const QWidget* w, const char* caption, bool closeButton) {
    QCOMPARE(w->windowTitle(), QString::fromUtf8(caption));
    QVERIFY2(w->frameGeometry().width() >= TitleBarNeeds(w), caption);
    const Qt::WindowFlags flags = w->windowFlags();
    QVERIFY(flags & Qt::CustomizeWindowHint); // only the buttons asked for
    QVERIFY(!(flags & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
    QCOMPARE(bool(flags & Qt::WindowCloseButtonHint), closeButton);
}

// What a box of the main frame looks like while it is open; it is then answered with OK.
struct ShownBox {
    QString Caption;
    QStringList Buttons;
};

ShownBox ShowBox(TForm1* frame, const char* text, const char* caption, MsgButtons buttons) {
    ShownBox shown;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        box->adjustSize();
        CheckFrame(box, caption, true);
        for (QAbstractButton* b : box->buttons()) shown.Buttons << b->text();
        shown.Caption = box->windowTitle();
        box->done(0);
    });
    frame->Show(text, caption, buttons);
    return shown;
}

} // namespace

class DialogFrameTest : public QObject {
    Q_OBJECT
private slots:
    void captionsShowWhole();
    void minimisedDialogComesBack();
    void qtTextsAreJapanese();
};

void DialogFrameTest::captionsShowWhole() {
    TEditor e;
    TForm5 shift(e.State, e.Set->Form1);
    CheckFrame(&shift, "マップをずらす", false);
    TForm6 swap(e.State, e.Set->Form1);
    CheckFrame(&swap, "国の入れ替え", false);
    // The level warnings and the save question.
    QCOMPARE(ShowBox(e.Set->Form1, "床抜けるよ？", "エラー", MsgButtons::Ok).Caption,
             QString::fromUtf8("エラー"));
    QCOMPARE(ShowBox(e.Set->Form1, "天井ぶち抜くよ？", "エラー", MsgButtons::Ok).Caption,
             QString::fromUtf8("エラー"));
    QCOMPARE(
        ShowBox(e.Set->Form1, "編集中のマップを保存しますか？", "確認", MsgButtons::YesNoCancel)
            .Caption,
        QString::fromUtf8("確認"));
}

void DialogFrameTest::minimisedDialogComesBack() {
    TEditor e;
    TForm5 shift(e.State, e.Set->Form1);
    shift.show();
    QVERIFY(QTest::qWaitForWindowExposed(&shift));
    shift.setWindowState(Qt::WindowMinimized); // as a window manager's own button does
    QTRY_VERIFY(!shift.isMinimized());
    QVERIFY(shift.isVisible());
    // A box that is open: the same.
    bool cameBack = false;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        box->setWindowState(Qt::WindowMinimized);
        cameBack = QTest::qWaitFor([box] { return !box->isMinimized(); }, 2000) && box->isVisible();
        box->done(0);
    });
    e.Set->Form1->Show("床抜けるよ？", "エラー", MsgButtons::Ok);
    QVERIFY(cameBack);
}

void DialogFrameTest::qtTextsAreJapanese() {
    // A box with Qt's own buttons, as any part of the program may show one.
    QMessageBox box(QMessageBox::NoIcon, "Quarvel", "?",
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel | QMessageBox::Ok);
    const auto text = [&box](QMessageBox::StandardButton b) {
        return box.button(b)->text().remove(QRegularExpression("\\(&.\\)")).remove('&');
    };
    QCOMPARE(text(QMessageBox::Yes), QString::fromUtf8("はい"));
    QCOMPARE(text(QMessageBox::No), QString::fromUtf8("いいえ"));
    QCOMPARE(text(QMessageBox::Cancel), QString::fromUtf8("キャンセル"));
    QCOMPARE(text(QMessageBox::Ok), QString("OK"));
    // The colour dialog's title, in place of "Select Color".
    QColorDialog colours;
    QVERIFY(!colours.windowTitle().isEmpty());
    QVERIFY(colours.windowTitle() != QString("Select Color"));
}

QUARVEL_GUI_TEST_MAIN(DialogFrameTest)
#include "dialogframe_test.moc"
