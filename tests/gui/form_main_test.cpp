// The main frame: its menu, captions, start-up, save question, zoom, windows, short-cuts
// and error boxes.
#include "app/Form_Main.h"
#include "editor/commands.h"
#include "editor/global.h"
#include "editor/selectarea.h"
#include "graphics/chipsheet.h"
#include "map/chipclasses.h"
#include "map/mapclass.h"
#include "map/maperror.h"
#include "tests/gui/guitestutil.h"
#include "views/Form_Edit.h"
#include "views/Form_Info.h"
#include "views/Form_View.h"
#include "views/Unit5.h"
#include "views/application.h"
#include "views/chipreplacedialog.h"
#include "views/cp932.h"
#include "views/selectionmovedialog.h"

#include <QAbstractItemView>
#include <QAction>
#include <QColorDialog>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <QtTest>
#include <functional>

using namespace quarvel;
using namespace quarvel::test;

namespace {

// The frame as the commands see it, with the file dialogs answered by the test.
class TScriptedFrame : public IMainFrame {
public:
    explicit TScriptedFrame(TForm1* f) : F(f) {}
    void SetCaption(const std::string& t) override { F->SetCaption(t); }
    std::string RunOpenDialog() override { return Next(); }
    std::string RunSaveDialog() override { return Next(); }
    bool RunColorDialog(TColor& c) override { return F->RunColorDialog(c); }
    int RunShiftDialog() override { return F->RunShiftDialog(); }
    int RunSwapDialog() override { return F->RunSwapDialog(); }
    bool RunMoveDialog(MoveOffsets& offsets) override { return F->RunMoveDialog(offsets); }
    void CloseFrame() override { F->CloseFrame(); }
    void Maximize() override { F->Maximize(); }
    void NextChild() override { F->NextChild(); }
    void Cascade() override { F->Cascade(); }
    void TileHorizontal() override { F->TileHorizontal(); }
    void TileVertical() override { F->TileVertical(); }
    void SetMenuChecked(int tag, bool c) override { F->SetMenuChecked(tag, c); }
    bool IsMenuChecked(int tag) const override { return F->IsMenuChecked(tag); }
    void PlaceInfoPanel() override { F->PlaceInfoPanel(); }
    void Terminate() override { F->Terminate(); }
    std::deque<std::string> Files; // answers of the file dialogs; empty: cancelled
    int DialogsRun = 0;

private:
    std::string Next() {
        ++DialogsRun;
        if (Files.empty()) return "";
        std::string f = Files.front();
        Files.pop_front();
        return f;
    }
    TForm1* F;
};

struct ExpectedItem {
    const char* Name;
    const char* Caption; // "-" for a separator
    int Tag;
    QList<QKeySequence> Keys;
};

QAction* Item(TEditor& e, const char* name) {
    return e.Set->Form1->MenuItem(name);
}

void PaintChip(TEditor& e, int x, int y, int z, uint8_t chip) {
    e.State.TheMap->UndoBuf.BeginStep();
    e.State.TheMap->SetChip(x, y, z, chip);
}

} // namespace

class FormMainTest : public QObject {
    Q_OBJECT
private slots:
    void menuHasEveryItemInOrder();
    void startUpArrangesTheWindows();
    void missingChipsEndTheProgram();
    void savePromptFollowsTheAnswer();
    void fileDialogsStartInTheMapFolder();
    void captionShowsFileAndModifiedMark();
    void zoomTwiceRestoresBothViews();
    void windowCommandsArrangeChildren();
    void arrangingBringsBackMinimisedViews();
    void menuKeysWorkInTheMainWindow();
    void nameBoxKeepsItsKeys();
    void terrainChosenWithKeysMovesNoView();
    void toolDialogsTakeEnterForOk();
    void selectionKeysCarryTheBoxThroughLevels();
    void moveDialogMovesTheBoxOrSaysItCannot();
    void replaceDialogFindsThenReplacesOnEnter();
    void errorsAreShownAndTheProgramGoesOn();
    void errorsAreShownInJapanese();
    void closeAsksFirst();
    void colourDialogSetsOneViewsBackground();
    void archiveCommandsUseShiftJisNames();
};

void FormMainTest::menuHasEveryItemInOrder() {
    TEditor e;
    const auto k = [](int key) { return QKeySequence(key); };
    const int ctrl = int(Qt::CTRL);
    const int ctrlShift = int(Qt::CTRL | Qt::SHIFT);
    const QList<ExpectedItem> expected = {
        {"FILE1", "ファイル(&F)", 10, {}},
        {"NEW1", "新規作成(&N)", 11, {k(ctrl | Qt::Key_N)}},
        {"OPEN1", "開く(&O)...", 12, {k(ctrl | Qt::Key_O)}},
        {"SAVE1", "上書き保存(&S)", 13, {k(ctrl | Qt::Key_S)}},
        {"SAVEAS1", "名前を付けて保存(&A)...", 14, {k(ctrlShift | Qt::Key_S)}},
        {"SEPARATOR1", "-", 15, {}},
        {"EXIT1", "終了(&X)", 16, {k(ctrl | Qt::Key_Q)}},
        {"EDIT1", "編集(&E)", 20, {}},
        {"UNDO1", "元に戻す(&U)", 21, {k(ctrl | Qt::Key_Z)}},
        {"REDO1", "やり直し(&R)", 22, {k(ctrl | Qt::Key_Y)}},
        {"SEPARATOR2", "-", 23, {}},
        {"CUT1", "切り取り(&T)", 24, {k(ctrl | Qt::Key_X)}},
        {"COPY1", "コピー(&C)", 25, {k(ctrl | Qt::Key_C)}},
        {"PASTE1", "貼り付け(&P)", 26, {k(ctrl | Qt::Key_V)}},
        {"DELETE1", "削除(&L)", 27, {k(Qt::Key_Delete)}},
        {"SEPARATOR3", "-", 28, {}},
        {"SELECT1", "すべて選択(&A)", 29, {k(ctrl | Qt::Key_A)}},
        {"N1", "-", 0, {}},
        {"SHIFT1", "マップをずらす...", 210, {}},
        {"REPLACE2", "国の入れ替え...", 211, {}},
        {"MOVE1", "選択範囲を移動...", 212, {}},
        {"MOVES1", "選択範囲を1マス移動", 0, {}},
        {"MOVELEFT", "左へ", 321, {k(ctrlShift | Qt::Key_Left)}},
        {"MOVERIGHT", "右へ", 322, {k(ctrlShift | Qt::Key_Right)}},
        {"MOVEBACK", "奥へ", 323, {k(ctrlShift | Qt::Key_Up)}},
        {"MOVEFORWARD", "手前へ", 324, {k(ctrlShift | Qt::Key_Down)}},
        {"MOVEUP", "上の階層へ", 325, {k(ctrlShift | Qt::Key_PageUp)}},
        {"MOVEDOWN", "下の階層へ", 326, {k(ctrlShift | Qt::Key_PageDown)}},
        {"FIND1", "チップの置換(&F)...", 213, {}},
        {"OPERATION1", "操作(&O)", 30, {}},
        {"UP1", "上の階層(&U)", 31, {k(Qt::Key_Up)}},
        {"DOWN1", "下の階層(&D)", 32, {k(Qt::Key_Down)}},
        {"UP2", "選択したまま上の階層へ", 311, {k(int(Qt::SHIFT) | Qt::Key_Up)}},
        {"DOWN2", "選択したまま下の階層へ", 312, {k(int(Qt::SHIFT) | Qt::Key_Down)}},
        {"SEPARATOR4", "-", 33, {}},
        {"PREV1", "チップ選択-前(&P)", 34, {k(Qt::Key_Left)}},
        {"NEXT1", "チップ選択-次(&N)", 35, {k(Qt::Key_Right)}},
        {"SEPARATOR5", "-", 36, {}},
        {"REFRESH1", "全体マップ更新(&R)", 37, {k(Qt::Key_Return), k(Qt::Key_Enter)}},
        {"FIX1", "マップ整形(&F)", 38, {k(ctrl | Qt::Key_Return), k(ctrl | Qt::Key_Enter)}},
        {"WINDOW1", "ウィンドウ(&W)", 40, {}},
        {"SWITCH1", "切り替え(&S)", 41, {k(ctrl | Qt::Key_Tab)}},
        {"SEPARATOR6", "-", 42, {}},
        {"CASCADE1", "重ねて表示(&C)", 43, {}},
        {"HTILE1", "上下に並べて表示(&H)", 44, {}},
        {"VTILE1", "左右に並べて表示(&V)", 45, {}},
        {"SEPARATOR7", "-", 46, {}},
        {"EZOOM1", "縮小表示-編集(&X)", 47, {}},
        {"VZOOM1", "縮小表示-全体(&Z)", 48, {}},
        {"N3", "-", 0, {}},
        {"N4", "背景色変更-編集...", 0, {}},
        {"N5", "背景色変更-全体...", 0, {}},
        {"TOOL1", "ツール(&T)", 50, {}},
        {"MAKE1", "DAT構築(&C)", 51, {}},
        {"UNPACK1", "DAT分解(&U)", 52, {}},
        {"SEARCH1", "コマンド検索(&K)...", 53, {k(ctrlShift | Qt::Key_P)}},
        {"KEYS1", "ショートカットの設定...", 54, {}},
        {"VIEW1", "表示(&V)", 60, {}},
        {"GHOST1", "下の階層を薄く表示-編集(&G)", 61, {}},
        {"CUTAWAY1", "上の階層を隠す-全体(&K)", 62, {}},
        {"HOVER1", "ポインタの下のセルを表示-全体(&H)", 63, {}},
        {"CHANGES1", "変更箇所を表示(&M)", 64, {}},
        {"PROBLEMS1", "問題の一覧(&P)", 65, {}},
    };
    const QList<QAction*>& items = e.Set->Form1->MenuItems();
    QCOMPARE(items.size(), expected.size());
    for (int i = 0; i < expected.size(); ++i) {
        const ExpectedItem& x = expected[i];
        QAction* a = items[i];
        QCOMPARE(a->objectName(), QString(x.Name));
        QCOMPARE(a->data().toInt(), x.Tag);
        if (QByteArray(x.Caption) == "-")
            QVERIFY2(a->isSeparator(), x.Name);
        else
            QCOMPARE(a->text(), QString::fromUtf8(x.Caption));
        QCOMPARE(a->shortcuts(), x.Keys);
        const bool checkable = QByteArray(x.Name).endsWith("ZOOM1") || (x.Tag > 60 && x.Tag < 70);
        QCOMPARE(a->isCheckable(), checkable);
        QVERIFY(!a->isChecked());
    }
    // The six titles are the menu bar's menus, in order.
    QStringList titles;
    for (QAction* a : e.Set->Form1->menuBar()->actions()) titles << a->objectName();
    QCOMPARE(titles, QStringList({"FILE1", "EDIT1", "OPERATION1", "WINDOW1", "TOOL1", "VIEW1"}));
}

void FormMainTest::startUpArrangesTheWindows() {
    TEditor e;
    TWindowSet& w = *e.Set;
    QCOMPARE(w.Form1->windowTitle(), QString("Quarvel"));
    QCOMPARE(w.Form2->SubWindow()->windowTitle(), QString::fromUtf8("編集"));
    QCOMPARE(w.Form3->SubWindow()->windowTitle(), QString::fromUtf8("全体"));
    QCOMPARE(w.Form4->windowTitle(), QString::fromUtf8("情報"));
    QVERIFY(w.Form1->windowState() & Qt::WindowMaximized);
    QVERIFY(e.Messages.Log.empty());

    QCOMPARE(e.State.CurrentTerrain, 0);
    QCOMPARE(e.State.CurrentLevel, 0);
    QCOMPARE(int(e.State.CurrentChip), 0);
    QVERIFY(!e.State.TheSelection->Active);
    QCOMPARE(e.State.ChipSheet[0]->Width(), 64);
    QCOMPARE(e.State.ChipSheet[0]->Height(), 8064);
    QCOMPARE(e.State.ChipSheet[1]->Height(), 4032);
    QCOMPARE(w.Form2->PaintBox1->size(), QSize(2048, 1040));
    QCOMPARE(w.Form3->PaintBox1->size(), QSize(2048, 1792));
    // The edit view shows level 0 with the cursor on (0, 0); the panel stands beside it at
    // its top, as far right as the screen lets it stay whole.
    QCOMPARE(w.Form2->PaintBox1->OverlayRect().topLeft(), QPoint(992, 0));
    QMdiSubWindow* edit = w.Form2->SubWindow();
    const QPoint beside = edit->mapToGlobal(QPoint(edit->width(), 0));
    const QRect area = w.Form1->screen()->availableGeometry();
    QCOMPARE(w.Form4->y(), beside.y());
    QCOMPARE(w.Form4->x(),
             std::min(beside.x(), area.right() + 1 - w.Form4->frameGeometry().width()));
    QVERIFY(area.contains(w.Form4->frameGeometry()));
    // Cascaded: both children the same size, one step apart.
    QMdiSubWindow* whole = w.Form3->SubWindow();
    QCOMPARE(edit->size(), whole->size());
    QVERIFY(edit->size().width() > 434);
    QVERIFY(edit->pos() != whole->pos());
}

void FormMainTest::missingChipsEndTheProgram() {
    TEditor e(false);
    QCOMPARE(e.Messages.Log.size(), size_t(1));
    QCOMPARE(e.Messages.Log[0].Text, std::string("チップデータが見つかりません"));
    QCOMPARE(e.Messages.Log[0].Caption, std::string("エラー"));
    QVERIFY(e.Set->Form1->TerminateRequested());
    // Closing now asks nothing: the program ends.
    QVERIFY(e.Set->Form1->close());
}

void FormMainTest::savePromptFollowsTheAnswer() {
    TEditor e;
    TScriptedFrame frame(e.Set->Form1);
    e.State.Windows.Main = &frame;
    QAction* newMap = Item(e, "NEW1");
    const std::string file = e.Folder.Path() + "map/saved.map";

    // Not modified: no question.
    newMap->trigger();
    QVERIFY(e.Messages.Log.empty());

    // Cancel keeps everything.
    PaintChip(e, 1, 1, 0, 5);
    e.Messages.Answers = {mrCancel};
    newMap->trigger();
    QCOMPARE(e.Messages.Log.back().Text, std::string("編集中のマップを保存しますか？"));
    QCOMPARE(e.Messages.Log.back().Caption, std::string("確認"));
    QCOMPARE(int(e.State.TheMap->GetChip(1, 1, 0)), 5);
    QVERIFY(e.State.TheMap->Modified);

    // Yes on a map without a file name opens the save dialog; cancelling it cancels New.
    e.Messages.Answers = {mrYes};
    newMap->trigger();
    QCOMPARE(frame.DialogsRun, 1);
    QCOMPARE(int(e.State.TheMap->GetChip(1, 1, 0)), 5);
    QVERIFY(!QFile::exists(QString::fromStdString(file)));

    // Yes and a file name: saved, then the new map.
    e.Messages.Answers = {mrYes};
    frame.Files = {file};
    newMap->trigger();
    QCOMPARE(QFileInfo(QString::fromStdString(file)).size(), qint64(49200));
    QCOMPARE(int(e.State.TheMap->GetChip(1, 1, 0)), 0);
    QVERIFY(!e.State.TheMap->Modified);

    // No drops the changes.
    PaintChip(e, 2, 2, 0, 6);
    e.Messages.Answers = {mrNo};
    newMap->trigger();
    QCOMPARE(int(e.State.TheMap->GetChip(2, 2, 0)), 0);
    QCOMPARE(e.Messages.Log.size(), size_t(4));

    // Open of a file that is not a map: the error, and the map in memory unchanged.
    const QString bad = QString::fromStdString(e.Folder.Path() + "map/bad.map");
    QFile f(bad);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(49200, 'x'));
    f.close();
    PaintChip(e, 3, 3, 0, 7);
    e.Messages.Answers = {mrNo};
    frame.Files = {bad.toStdString()};
    Item(e, "OPEN1")->trigger();
    QCOMPARE(e.Messages.Log.back().Text, std::string("マップファイルじゃないよ？"));
    QCOMPARE(int(e.State.TheMap->GetChip(3, 3, 0)), 7);
    QVERIFY(e.State.TheMap->Modified);

    // The saved map opens and resets the views.
    e.State.CurrentLevel = 4;
    e.Messages.Answers = {mrNo};
    frame.Files = {file};
    Item(e, "OPEN1")->trigger();
    QCOMPARE(e.State.TheMap->FileName, file);
    QCOMPARE(e.State.CurrentLevel, 0);
}

void FormMainTest::fileDialogsStartInTheMapFolder() {
    TEditor e;
    // Started from elsewhere (a launcher starts in / or home), here a folder with a map folder
    // of its own: the dialogs still open the program folder's.
    const QString old = QDir::currentPath();
    QTemporaryDir launcher;
    QVERIFY(QDir(launcher.path()).mkdir("map"));
    QDir::setCurrent(launcher.path());
    QString folder, filter, suffix;
    QFileDialog::FileMode mode = QFileDialog::AnyFile;
    QFileDialog::AcceptMode accept = QFileDialog::AcceptOpen;
    auto answer = [&](const QString& name) {
        QTimer::singleShot(0, [&, name] {
            auto* d = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (!d) return;
            folder = d->directory().absolutePath();
            filter = d->nameFilters().join("|");
            suffix = d->defaultSuffix();
            mode = d->fileMode();
            accept = d->acceptMode();
            if (name.isEmpty()) {
                d->reject();
            } else {
                d->selectFile(name);
                static_cast<QDialog*>(d)->accept(); // QFileDialog::accept, which checks the name
            }
        });
    };
    answer("first");
    std::string saved = e.Set->Form1->RunSaveDialog();
    const QString mapFolder = QDir(QString::fromStdString(e.Folder.Path())).absoluteFilePath("map");
    QCOMPARE(folder, mapFolder);
    QCOMPARE(filter, QString::fromUtf8("Quarvelマップファイル(*.map)"));
    QCOMPARE(suffix, QString("map"));
    QCOMPARE(accept, QFileDialog::AcceptSave);
    QCOMPARE(QString::fromStdString(saved), mapFolder + "/first.map");

    answer("");
    folder.clear();
    QCOMPARE(e.Set->Form1->RunOpenDialog(), std::string());
    QCOMPARE(folder, mapFolder);
    QCOMPARE(mode, QFileDialog::ExistingFile);
    QCOMPARE(accept, QFileDialog::AcceptOpen);
    QDir::setCurrent(old);
}

void FormMainTest::captionShowsFileAndModifiedMark() {
    TEditor e;
    TScriptedFrame frame(e.Set->Form1);
    e.State.Windows.Main = &frame;
    e.Set->Form4->UpdateInfo();
    QCOMPARE(e.Set->Form1->windowTitle(), QString("Quarvel"));
    PaintChip(e, 0, 0, 0, 1);
    e.Set->Form4->UpdateInfo();
    QCOMPARE(e.Set->Form1->windowTitle(), QString("Quarvel * "));

    const std::string file = e.Folder.Path() + "map/t.map";
    frame.Files = {file};
    Item(e, "SAVEAS1")->trigger();
    QCOMPARE(e.Set->Form1->windowTitle(), "Quarvel - " + QString::fromStdString(file));
    PaintChip(e, 0, 0, 0, 2);
    e.Set->Form4->UpdateInfo();
    QCOMPARE(e.Set->Form1->windowTitle(), "Quarvel - " + QString::fromStdString(file) + " * ");
    Item(e, "SAVE1")->trigger();
    QCOMPARE(e.Set->Form1->windowTitle(), "Quarvel - " + QString::fromStdString(file));
}

void FormMainTest::zoomTwiceRestoresBothViews() {
    TEditor e;
    QAction* ezoom = Item(e, "EZOOM1");
    QAction* vzoom = Item(e, "VZOOM1");
    ezoom->trigger();
    QVERIFY(ezoom->isChecked());
    QCOMPARE(e.Set->Form2->GetZoom(), 1);
    QCOMPARE(e.Set->Form2->PaintBox1->size(), QSize(1024, 520));
    QCOMPARE(e.Set->Form2->Picture().CellPicture.Width(), 32);
    QCOMPARE(e.Set->Form3->GetZoom(), 0); // the other view keeps its size
    ezoom->trigger();
    QVERIFY(!ezoom->isChecked());
    QCOMPARE(e.Set->Form2->GetZoom(), 0);
    QCOMPARE(e.Set->Form2->PaintBox1->size(), QSize(2048, 1040));

    vzoom->trigger();
    QVERIFY(vzoom->isChecked());
    QCOMPARE(e.Set->Form3->PaintBox1->size(), QSize(1024, 896));
    vzoom->trigger();
    QVERIFY(!vzoom->isChecked());
    QCOMPARE(e.Set->Form3->PaintBox1->size(), QSize(2048, 1792));
}

void FormMainTest::windowCommandsArrangeChildren() {
    TEditor e;
    QMdiSubWindow* edit = e.Set->Form2->SubWindow();
    QMdiSubWindow* whole = e.Set->Form3->SubWindow();
    const QRect area = e.Set->Form1->MdiArea()->viewport()->rect();

    Item(e, "HTILE1")->trigger(); // one above the other
    QCOMPARE(edit->width(), area.width());
    QCOMPARE(whole->width(), area.width());
    QCOMPARE(edit->height() + whole->height(), area.height());
    QCOMPARE(edit->x(), whole->x());
    QVERIFY(edit->y() != whole->y());

    Item(e, "VTILE1")->trigger(); // side by side
    QCOMPARE(edit->height(), area.height());
    QCOMPARE(edit->width() + whole->width(), area.width());
    QCOMPARE(edit->y(), whole->y());

    Item(e, "CASCADE1")->trigger();
    QCOMPARE(edit->size(), whole->size());
    QVERIFY(edit->x() != whole->x());

    QMdiSubWindow* before = e.Set->Form1->MdiArea()->activeSubWindow();
    Item(e, "SWITCH1")->trigger();
    QVERIFY(e.Set->Form1->MdiArea()->activeSubWindow() != before);

    // Closing a view only puts it aside: the editor keeps drawing into it.
    edit->close();
    QVERIFY(edit->isMinimized());
    QCOMPARE(static_cast<IEditView*>(e.Set->Form2), e.State.Windows.Edit);

    // Enter centres the whole-map view on the cursor without rebuilding its picture.
    e.State.CursorX = 20;
    e.State.CursorY = 3;
    e.State.CurrentLevel = 9;
    Item(e, "REFRESH1")->trigger();
    Point p = WholeCellToPixel(20, 3, 9, 0);
    QScrollArea* scroll = e.Set->Form3->ScrollBox();
    QCOMPARE(scroll->horizontalScrollBar()->value(),
             std::clamp(p.x - whole->width() / 2, 0, scroll->horizontalScrollBar()->maximum()));
    QCOMPARE(scroll->verticalScrollBar()->value(),
             std::clamp(p.y - whole->height() / 2, 0, scroll->verticalScrollBar()->maximum()));
}

void FormMainTest::arrangingBringsBackMinimisedViews() {
    TEditor e;
    QMdiSubWindow* edit = e.Set->Form2->SubWindow();
    QMdiSubWindow* whole = e.Set->Form3->SubWindow();
    const QRect area = e.Set->Form1->MdiArea()->viewport()->rect();
    // Each command, with either view put aside by its close button, shows both again in full.
    for (const char* command : {"VTILE1", "HTILE1", "CASCADE1"}) {
        for (QMdiSubWindow* aside : {edit, whole}) {
            aside->close();
            QVERIFY(aside->isMinimized());
            Item(e, command)->trigger();
            for (QMdiSubWindow* sub : {edit, whole}) {
                QVERIFY2(!sub->isMinimized(), command);
                QVERIFY(sub->isVisible());
                QVERIFY(area.contains(sub->geometry()));
            }
            if (QByteArray(command) == "VTILE1") {
                QCOMPARE(edit->width() + whole->width(), area.width());
                QCOMPARE(edit->height(), area.height());
            } else if (QByteArray(command) == "HTILE1") {
                QCOMPARE(edit->height() + whole->height(), area.height());
            } else {
                QCOMPARE(edit->size(), whole->size());
                QVERIFY(edit->pos() != whole->pos());
            }
        }
    }
}

void FormMainTest::menuKeysWorkInTheMainWindow() {
    TEditor e;
    TForm1* main = e.Set->Form1;
    main->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(main));
    QTest::keyClick(main, Qt::Key_Up);
    QCOMPARE(e.State.CurrentLevel, 1);
    QTest::keyClick(main, Qt::Key_Right);
    QTest::keyClick(main, Qt::Key_Right);
    QTest::keyClick(main, Qt::Key_Left);
    QCOMPARE(int(e.State.CurrentChip), 1);
    QCOMPARE(e.Set->Form4->ComboBox3->currentIndex(), 1);
    QTest::keyClick(main, Qt::Key_Down);
    QTest::keyClick(main, Qt::Key_Down); // level 0 is the floor
    QCOMPARE(e.State.CurrentLevel, 0);
    PaintChip(e, 4, 4, 0, 9);
    QTest::keyClick(main, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(int(e.State.TheMap->GetChip(4, 4, 0)), 0);
    QTest::keyClick(main, Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(int(e.State.TheMap->GetChip(4, 4, 0)), 9);
    // Ctrl+Tab goes to the other view, once.
    QMdiArea* area = main->MdiArea();
    QMdiSubWindow* before = area->activeSubWindow();
    QTest::keyClick(main, Qt::Key_Tab, Qt::ControlModifier);
    QVERIFY(area->activeSubWindow() != before);
    QTest::keyClick(main, Qt::Key_Tab, Qt::ControlModifier);
    QCOMPARE(area->activeSubWindow(), before);
    // Ctrl+S writes a map that has a file name.
    const std::string file = e.Folder.Path() + "map/keys.map";
    QVERIFY(e.State.TheMap->SaveToFile(file));
    PaintChip(e, 6, 6, 0, 12);
    QTest::keyClick(main, Qt::Key_S, Qt::ControlModifier);
    QVERIFY(!e.State.TheMap->Modified);
    TMap saved;
    QVERIFY(saved.LoadFromFile(file));
    QCOMPARE(int(saved.GetChip(6, 6, 0)), 12);
}

void FormMainTest::selectionKeysCarryTheBoxThroughLevels() {
    TEditor e;
    TForm1* main = e.Set->Form1;
    main->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(main));
    e.State.TheMap->SetChip(4, 4, 3, 60);
    e.State.TheMap->SetChip(4, 4, 4, 61);
    e.State.TheMap->UndoBuf.Reset();
    e.State.CurrentLevel = 3;
    e.State.TheSelection->SetActive(true);
    e.State.TheSelection->SetCorner(0, 4, 4);
    QCOMPARE(e.Set->Form3->PaintBox1->Lines().size(), 12);
    QCOMPARE(e.Set->Form4->Label7->text(), QString());

    QTest::keyClick(main, Qt::Key_Up, Qt::ShiftModifier);
    QCOMPARE(e.State.CurrentLevel, 4);
    QVERIFY(e.State.TheSelection->Active);
    QCOMPARE(e.Set->Form4->Label7->text(), QString::fromUtf8("選択 Z:3-4"));
    // The edit view outlines the selection on the new level.
    const Point p = EditCellToPixel(4, 4, 0);
    TBMP256 marked = e.Set->Form2->Picture().Picture;
    e.Set->Form2->RedrawLevel(); // the same level without outlines
    int differ = 0;
    for (int y = p.y; y < p.y + 48; ++y)
        for (int x = p.x; x < p.x + 64; ++x)
            differ += marked.GetPixel(x, y) != e.Set->Form2->Picture().Picture.GetPixel(x, y);
    QVERIFY(differ > 0);
    e.State.TheSelection->MarkAll();

    // Ctrl+Shift+Right and Ctrl+Shift+PageUp move the two levels: one step each.
    const QVector<QLine> before = e.Set->Form3->PaintBox1->Lines();
    QTest::keyClick(main, Qt::Key_Right, Qt::ControlModifier | Qt::ShiftModifier);
    QTest::keyClick(main, Qt::Key_PageUp, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(int(e.State.TheMap->GetChip(5, 4, 4)), 60);
    QCOMPARE(int(e.State.TheMap->GetChip(5, 4, 5)), 61);
    QCOMPARE(int(e.State.TheMap->GetChip(4, 4, 3)), 0);
    QCOMPARE(e.State.CurrentLevel, 5);
    QVERIFY(e.Set->Form3->PaintBox1->Lines() != before);
    QTest::keyClick(main, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(int(e.State.TheMap->GetChip(5, 4, 5)), 0);
    QCOMPARE(int(e.State.TheMap->GetChip(5, 4, 3)), 60);
    QCOMPARE(int(e.State.TheMap->GetChip(5, 4, 4)), 61);
    QTest::keyClick(main, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(int(e.State.TheMap->GetChip(4, 4, 3)), 60);
    QCOMPARE(int(e.State.TheMap->GetChip(4, 4, 4)), 61);

    // Undo switched the selection off: no outline, no level range, and the moves do nothing.
    QVERIFY(!e.State.TheSelection->Active);
    QVERIFY(e.Set->Form3->PaintBox1->Lines().isEmpty());
    QCOMPARE(e.Set->Form4->Label7->text(), QString());
    QTest::keyClick(main, Qt::Key_Left, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(int(e.State.TheMap->GetChip(4, 4, 3)), 60);

    // Copy switches the selection off: the level range goes with it.
    e.State.TheSelection->SetActive(true);
    e.State.TheSelection->SetCorner(0, 4, 4);
    QTest::keyClick(main, Qt::Key_Up, Qt::ShiftModifier);
    QVERIFY(!e.Set->Form4->Label7->text().isEmpty());
    QTest::keyClick(main, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(e.State.TheCopyBuf.Depth, 2);
    QCOMPARE(e.Set->Form4->Label7->text(), QString());

    // The plain level step switches the selection off.
    e.State.TheSelection->SetActive(true);
    e.State.TheSelection->SetCorner(0, 1, 1);
    QTest::keyClick(main, Qt::Key_Down, Qt::ShiftModifier);
    QVERIFY(e.State.TheSelection->Active);
    QTest::keyClick(main, Qt::Key_Down);
    QVERIFY(!e.State.TheSelection->Active);
}

void FormMainTest::moveDialogMovesTheBoxOrSaysItCannot() {
    TEditor e;
    e.State.TheMap->SetChip(30, 2, 0, 60);
    e.State.TheMap->UndoBuf.Reset();
    e.State.TheSelection->SetActive(true);
    e.State.TheSelection->SetCorner(0, 30, 2);
    QString caption, reopenedOn;
    // The first dialog asks for a move off the map; the one that opens after the refusal
    // shows those offsets again and gets a good move.
    std::function<void()> answer = [&] {
        auto* d = qobject_cast<TSelectionMoveDialog*>(QApplication::activeModalWidget());
        if (!d) return;
        caption = d->windowTitle();
        if (e.Messages.Log.empty()) {
            d->Edit1->setText("2");
            QTimer::singleShot(0, answer);
        } else {
            reopenedOn = d->Edit1->text() + "," + d->Edit2->text() + "," + d->Edit3->text();
            d->Edit1->setText("-3");
            d->Edit2->setText("1");
        }
        d->Button1->click();
    };
    QTimer::singleShot(0, answer);
    Item(e, "MOVE1")->trigger();
    QCOMPARE(caption, QString::fromUtf8("選択範囲を移動"));
    QCOMPARE(reopenedOn, QString("2,0,0"));
    QCOMPARE(e.Messages.Log.size(), size_t(1));
    QCOMPARE(e.Messages.Log[0].Text, std::string("マップからはみ出すよ？"));
    QCOMPARE(e.Messages.Log[0].Caption, std::string("エラー"));
    QCOMPARE(int(e.State.TheMap->GetChip(27, 3, 0)), 60);
    QCOMPARE(int(e.State.TheMap->GetChip(30, 2, 0)), 0);
    QVERIFY(e.State.TheSelection->Active);
    QVERIFY(e.State.TheMap->Undo());
    QVERIFY(!e.State.TheMap->Undo());
    QVERIFY(e.Set->Form1->findChildren<TSelectionMoveDialog*>().isEmpty());
}

void FormMainTest::replaceDialogFindsThenReplacesOnEnter() {
    TEditor e;
    e.State.TheMap->SetChip(4, 6, 9, 1);
    e.State.TheMap->SetChip(5, 6, 9, 1);
    e.State.TheMap->UndoBuf.Reset();
    QStringList seen;
    // The first dialog finds the next 1 (its name and picture shown), the second one
    // replaces them all with 2 on Enter.
    std::function<void()> answer = [&] {
        auto* d = qobject_cast<TChipReplaceDialog*>(QApplication::activeModalWidget());
        if (!d) return;
        seen << d->windowTitle() << QString::number(d->RadioButton1->isEnabled());
        d->Edit1->setText("1");
        seen << d->Label3->text();
        if (seen.size() == 3) {
            QTimer::singleShot(0, answer);
            QTest::keyClicks(d->Edit1, "x"); // not typed: only digits and '-'
            d->Button2->click();
        } else {
            d->Edit2->setText("168"); // no chip: said so, and the dialog stays open
            d->Button1->click();
            d->Edit2->setText("2");
            QTest::keyClick(d->Edit2, Qt::Key_Return);
        }
    };
    QTimer::singleShot(0, answer);
    Item(e, "FIND1")->trigger();
    QCOMPARE(seen, QStringList({"チップの置換", "0", QString::fromUtf8(ChipNames[1]),
                                "チップの置換", "0", QString::fromUtf8(ChipNames[1])}));
    QCOMPARE(e.State.CurrentLevel, 9);
    QCOMPARE(e.State.CursorX, 4);
    QCOMPARE(e.Messages.Log.size(), size_t(2));
    QCOMPARE(e.Messages.Log[0].Text, std::string("'168' は 0～167 の整数ではありません"));
    QCOMPARE(e.Messages.Log[1].Text, std::string("2 個のチップを置換しました"));
    QCOMPARE(int(e.State.TheMap->GetChip(5, 6, 9)), 2);
    QVERIFY(e.State.TheMap->Undo());
    QCOMPARE(int(e.State.TheMap->GetChip(4, 6, 9)), 1);
    QVERIFY(e.Set->Form1->findChildren<TChipReplaceDialog*>().isEmpty());
}

void FormMainTest::nameBoxKeepsItsKeys() {
    TEditor e;
    TForm4* info = e.Set->Form4;
    PaintChip(e, 4, 4, 0, 9);
    info->UpdateInfo();
    info->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(info));
    info->Edit1->setFocus();
    info->Edit1->setText("abc");
    info->Edit1->setCursorPosition(3);

    // With the name box focused the keys edit the name and leave the map alone.
    QTest::keyClick(info->Edit1, Qt::Key_Left);
    QCOMPARE(int(e.State.CurrentChip), 0);
    QCOMPARE(info->Edit1->cursorPosition(), 2);
    QTest::keyClick(info->Edit1, Qt::Key_Up);
    QCOMPARE(e.State.CurrentLevel, 0);
    QTest::keyClick(info->Edit1, Qt::Key_Delete);
    QCOMPARE(info->Edit1->text(), QString("ab"));
    QTest::keyClick(info->Edit1, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(int(e.State.TheMap->GetChip(4, 4, 0)), 9);
    QCOMPARE(info->Edit1->text(), QString("abc")); // the edit's own undo
    e.State.TheMap->FileName = e.Folder.Path() + "map/name.map";
    QTest::keyClick(info->Edit1, Qt::Key_S, Qt::ControlModifier);
    QVERIFY(e.State.TheMap->Modified); // Ctrl+S does not save from the name box
    QTest::keyClick(info->Edit1, Qt::Key_Return);
    QTest::keyClick(info->Edit1, Qt::Key_Right);
    QCOMPARE(int(e.State.CurrentChip), 0);

    // Another control of the panel leaves the keys to the menu.
    info->ComboBox2->setFocus();
    QTest::keyClick(info->ComboBox2, Qt::Key_Up);
    QCOMPARE(e.State.CurrentLevel, 1);
    info->Edit2->setFocus();
    QTest::keyClick(info->Edit2, Qt::Key_Right);
    QCOMPARE(int(e.State.CurrentChip), 1);

    // A click on the panel's surface takes the focus away and gives the keys back.
    info->Edit1->setFocus();
    QTest::mouseClick(info, Qt::LeftButton, Qt::NoModifier, QPoint(200, 100));
    QVERIFY(!info->Edit1->hasFocus());
    QTest::keyClick(info, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(int(e.State.TheMap->GetChip(4, 4, 0)), 0);
}

void FormMainTest::terrainChosenWithKeysMovesNoView() {
    TEditor e;
    e.Set->Form3->ScrollToCell(16, 16, 20);
    TForm4* info = e.Set->Form4;
    info->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(info));
    QScrollBar* const bars[] = {e.Set->Form2->ScrollBox()->horizontalScrollBar(),
                                e.Set->Form2->ScrollBox()->verticalScrollBar(),
                                e.Set->Form3->ScrollBox()->horizontalScrollBar(),
                                e.Set->Form3->ScrollBox()->verticalScrollBar()};
    for (int zoom = 0; zoom < 2; ++zoom) {
        if (zoom == 1) MenuClick(e.State, tagVZoom);
        for (QScrollBar* bar : bars) bar->setValue(bar->minimum()); // both views at the top
        // The terrain list opened and a set chosen with the arrow key and Return.
        info->ComboBox1->setFocus();
        info->ComboBox1->showPopup();
        QAbstractItemView* list = info->ComboBox1->view();
        QTRY_VERIFY(list->isVisible());
        QTest::keyClick(list, Qt::Key_Down);
        QTest::keyClick(list, Qt::Key_Return);
        QTRY_COMPARE(e.State.TheMap->GetTerrain(), zoom == 0 ? 1 : 2);
        for (QScrollBar* bar : bars) QCOMPARE(bar->value(), bar->minimum());
    }
}

void FormMainTest::toolDialogsTakeEnterForOk() {
    TEditor e;
    TForm1* frame = e.Set->Form1;
    // Return in the control that `prepare` readies in the dialog.
    auto answer = [](std::function<QWidget*(QDialog*)> prepare) {
        QTimer::singleShot(0, [prepare] {
            auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!d || !QTest::qWaitForWindowActive(d)) return;
            QTest::keyClick(prepare(d), Qt::Key_Return);
            if (d->isVisible()) d->reject(); // Return did nothing: the check below fails
        });
    };
    const auto setEdit = [](const char* name, const char* text) {
        return [name, text](QDialog* d) {
            auto* edit = d->findChild<QLineEdit*>(name);
            edit->setText(text);
            return edit;
        };
    };
    e.State.TheMap->SetChip(3, 3, 1, 25); // a green field
    answer(setEdit("Edit1", "1"));
    frame->MenuItem("SHIFT1")->trigger();
    QCOMPARE(int(e.State.TheMap->GetChip(4, 3, 1)), 25);
    answer([](QDialog* d) {
        auto* to = d->findChild<QComboBox*>("ComboBox2");
        to->setCurrentIndex(1);
        return to;
    });
    frame->MenuItem("REPLACE2")->trigger();
    QCOMPARE(int(e.State.TheMap->GetChip(4, 3, 1)), 26); // red now

    // 選択範囲を移動... is greyed out without a selection.
    QMenu* edit = frame->MenuItem("EDIT1")->menu();
    QAction* move = frame->MenuItem("MOVE1");
    emit edit->aboutToShow();
    QVERIFY(!move->isEnabled());
    e.State.CurrentLevel = 1;
    MenuClick(e.State, tagSelectAll);
    emit edit->aboutToShow();
    QVERIFY(move->isEnabled());
    answer(setEdit("Edit2", "2"));
    move->trigger();
    QCOMPARE(int(e.State.TheMap->GetChip(4, 3, 1)), 0);
    QCOMPARE(int(e.State.TheMap->GetChip(4, 5, 1)), 26);
    QVERIFY(QApplication::activeModalWidget() == nullptr);
}

namespace {
class TThrower : public QObject {
public:
    bool event(QEvent* e) override {
        if (e->type() == QEvent::User) throw std::runtime_error("broken handler");
        return QObject::event(e);
    }
};
} // namespace

void FormMainTest::errorsAreShownAndTheProgramGoesOn() {
    TEditor e;
    // A save that cannot write: the command ends, the error shows under the title.
    e.State.TheMap->FileName = e.Folder.Path() + "no-such-folder/x.map";
    PaintChip(e, 0, 0, 0, 3);
    Item(e, "SAVE1")->trigger();
    QCOMPARE(e.Messages.Log.size(), size_t(1));
    QCOMPARE(e.Messages.Log[0].Caption, std::string("Quarvel"));
    QVERIFY(!e.Messages.Log[0].Text.empty());
    QVERIFY(e.State.TheMap->Modified);
    QVERIFY(e.Set->Form1->isVisible());

    // An error an event handler lets through is caught by the application object.
    TThrower thrower;
    QEvent ev(QEvent::User);
    QCoreApplication::sendEvent(&thrower, &ev);
    QCOMPARE(e.Messages.Log.back().Text, std::string("broken handler"));
    QCOMPARE(e.Messages.Log.back().Caption, std::string("Quarvel"));

    // Archive errors too: no map folder list.
    const size_t before = e.Messages.Log.size();
    Item(e, "MAKE1")->trigger();
    QCOMPARE(e.Messages.Log.size(), before + 1);
    QCOMPARE(e.Messages.Log.back().Caption, std::string("Quarvel"));
    Item(e, "UNPACK1")->trigger();
    QCOMPARE(e.Messages.Log.back().Text, std::string("ファイルが見つかりません"));
}

void FormMainTest::errorsAreShownInJapanese() {
    TEditor e;
    // A save that fails names the file and the reason in Japanese.
    const std::string path = e.Folder.Path() + "no-such-folder/x.map";
    e.State.TheMap->FileName = path;
    PaintChip(e, 0, 0, 0, 3);
    Item(e, "SAVE1")->trigger();
    QCOMPARE(e.Messages.Log.size(), size_t(1));
    QCOMPARE(e.Messages.Log[0].Caption, std::string("Quarvel"));
    QCOMPARE(e.Messages.Log[0].Text, "マップファイル「" + path +
                                         "」を保存できません。\n理由: "
                                         "ファイルまたはフォルダがありません");
    // So does an archive command whose list file is missing.
    Item(e, "MAKE1")->trigger();
    QCOMPARE(e.Messages.Log.back().Text,
             "リストファイル「" + e.Folder.Path() + "map/map.ini」が見つかりません。");
}

void FormMainTest::closeAsksFirst() {
    TEditor e;
    PaintChip(e, 0, 0, 0, 3);
    e.Messages.Answers = {mrCancel};
    QVERIFY(!e.Set->Form1->close());
    QVERIFY(e.Set->Form1->isVisible());
    QCOMPARE(e.Messages.Log.size(), size_t(1));

    // Yes with a save that fails: the error, and the program runs on.
    e.State.TheMap->FileName = e.Folder.Path() + "no-such-folder/x.map";
    e.Messages.Answers = {mrYes};
    QVERIFY(!e.Set->Form1->close());
    QCOMPARE(e.Messages.Log.back().Caption, std::string("Quarvel"));

    e.Messages.Answers = {mrNo};
    QVERIFY(e.Set->Form1->close());
}

void FormMainTest::colourDialogSetsOneViewsBackground() {
    TEditor e;
    QColor opened;
    auto answer = [&](QColor chosen) {
        QTimer::singleShot(0, [&opened, chosen] {
            auto* d = qobject_cast<QColorDialog*>(QApplication::activeModalWidget());
            if (!d) return;
            opened = d->currentColor();
            if (chosen.isValid()) {
                d->setCurrentColor(chosen);
                d->accept();
            } else {
                d->reject();
            }
        });
    };
    answer(QColor(10, 20, 30));
    Item(e, "N4")->trigger();
    QCOMPARE(opened, QColor(Qt::black)); // black the first time
    QCOMPARE(e.Set->Form2->GetBackColor(), RGBColor(10, 20, 30));
    QCOMPARE(e.Set->Form3->GetBackColor(), TColor(0));
    // The whole-map view's dialog opens on the colour chosen last; cancelled, nothing changes.
    answer(QColor());
    Item(e, "N5")->trigger();
    QCOMPARE(opened, QColor(10, 20, 30));
    QCOMPARE(e.Set->Form3->GetBackColor(), TColor(0));
}

void FormMainTest::archiveCommandsUseShiftJisNames() {
    TEditor e;
    const QString root = QString::fromStdString(e.Folder.Path());
    const QString name = QString::fromUtf8("テスト.map");
    QVERIFY(QDir(root).mkpath("dat/unpacked"));
    e.State.TheMap->SetChip(1, 2, 3, 12);
    QVERIFY(e.State.TheMap->SaveToFile(QFile::encodeName(root + "map/" + name).toStdString()));
    QVERIFY(e.State.TheMap->SaveToFile(QFile::encodeName(root + "map/dummy.map").toStdString()));
    QFile list(root + "map/map.ini");
    QVERIFY(list.open(QIODevice::WriteOnly));
    list.write(QByteArray::fromStdString(ToCp932(name)) + "\r\n");
    list.close();

    Item(e, "MAKE1")->trigger();
    QCOMPARE(e.Messages.Log.back().Text, std::string("datフォルダに出力しました"));
    QCOMPARE(e.Messages.Log.back().Caption, std::string("DAT構築"));
    QFile lib(root + "dat/data1.lib");
    QVERIFY(lib.open(QIODevice::ReadOnly));
    QVERIFY(lib.readAll().startsWith(QByteArray::fromStdString(ToCp932(name)) + '\0'));

    Item(e, "UNPACK1")->trigger();
    QCOMPARE(e.Messages.Log.back().Text, std::string("unpackedフォルダに出力しました"));
    QCOMPARE(QFileInfo(root + "dat/unpacked/" + name).size(), qint64(49200));

    // A long list shows its progress while it runs and closes the dialog at the end.
    e.State.ArchiveProgress(1, 300); // a short list shows none
    QVERIFY(!e.Set->Form1->findChild<QProgressDialog*>());
    e.State.ArchiveProgress(1, 400);
    QVERIFY(e.Set->Form1->findChild<QProgressDialog*>());
    e.State.ArchiveProgress(400, 400);
    QVERIFY(!e.Set->Form1->findChild<QProgressDialog*>());
    // Bytes that are not Shift_JIS are refused as a file name.
    QVERIFY_THROWS_EXCEPTION(QuarvelError, e.State.Cp932ToFileName(std::string("\x81", 1)));
}

QUARVEL_GUI_TEST_MAIN(FormMainTest)
#include "form_main_test.moc"
