// The problems panel: shown from the 表示 menu with the number of findings in its title,
// following what the editor changes, Enter and double-click going to a finding's cell, the
// list's keys kept from the menu, and the panel kept shown per user.
#include "app/Form_Main.h"
#include "editor/problems.h"
#include "map/mapcheck.h"
#include "map/mapclass.h"
#include "tests/gui/guitestutil.h"
#include "views/Form_Edit.h"
#include "views/problemspanel.h"

#include <QEventLoop>
#include <QTableView>
#include <QTimer>
#include <QtTest>

using namespace quarvel;
using namespace quarvel::test;

namespace {

// One round of the event loop that waits for events, as the running program goes through
// after each event it handles.
void RunLoopOnce() {
    QEventLoop loop;
    QTimer::singleShot(0, &loop, &QEventLoop::quit);
    loop.exec();
}

QStringList ShownRows(TProblemsPanel* panel) {
    QStringList rows;
    QAbstractItemModel* model = panel->ListView1->model();
    for (int i = 0; i < model->rowCount(); ++i) rows << model->index(i, 0).data().toString();
    return rows;
}

QStringList CheckedRows(const TMap& map) {
    QStringList rows;
    for (const MapFinding& f : CheckMap(map)) rows << QString::fromStdString(ProblemText(f));
    return rows;
}

} // namespace

class ProblemsPanelTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void listFollowsTheEditorAndGoesToFindings();
    void panelIsKeptShownPerUser();

private:
    QTemporaryDir Settings;
};

void ProblemsPanelTest::init() {
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, Settings.path());
    QFile::remove(Settings.path() + "/quarvel/quarvel.ini");
}

void ProblemsPanelTest::listFollowsTheEditorAndGoesToFindings() {
    TEditor e;
    TEditorState& s = e.State;
    TProblemsPanel* panel = e.Set->Problems;
    QAction* item = e.Set->Form1->MenuItem("PROBLEMS1");
    QVERIFY(!panel->isVisible() && !item->isChecked()); // off at first
    s.TheMap->Cells[TMap::Index(3, 4, 7)] = 170;
    s.TheMap->Cells[TMap::Index(9, 2, 12)] = 34; // a tree's middle alone
    s.TheMap->Cells[TMap::Index(20, 30, 40)] = 200;

    item->trigger();
    QVERIFY(panel->isVisible() && item->isChecked() && s.View.Problems);
    QCOMPARE(panel->windowTitle(), QString("問題 (3)"));
    QCOMPARE(ShownRows(panel), CheckedRows(*s.TheMap));

    // A painted chip through the edit view: ground that shaping would turn.
    s.CurrentChip = 1;
    s.CurrentLevel = 5;
    Drag(e.Set->Form2->PaintBox1, {EditCellCentre(6, 6)}, Qt::LeftButton);
    QCOMPARE(int(s.TheMap->GetChip(6, 6, 5)), 1);
    RunLoopOnce();
    QCOMPARE(panel->windowTitle(), QString("問題 (4)"));
    QCOMPARE(ShownRows(panel), CheckedRows(*s.TheMap));
    e.Set->Form1->MenuItem("UNDO1")->trigger();
    RunLoopOnce();
    QCOMPARE(panel->windowTitle(), QString("問題 (3)"));
    e.Set->Form1->MenuItem("REDO1")->trigger();
    e.Set->Form1->MenuItem("FIX1")->trigger(); // shaping fixes the ground
    RunLoopOnce();
    QCOMPARE(ShownRows(panel), CheckedRows(*s.TheMap));
    QCOMPARE(panel->windowTitle(), QString("問題 (3)"));

    // Enter on the second finding, from the keyboard in the active panel: the arrow moves in
    // the list (not through the levels), Enter goes to the cell (not 全体マップ更新).
    panel->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(panel));
    panel->ListView1->setFocus();
    panel->ListView1->setCurrentIndex(panel->ListView1->model()->index(0, 0));
    const int level = s.CurrentLevel;
    QTest::keyClick(panel->ListView1, Qt::Key_Down);
    QCOMPARE(s.CurrentLevel, level);
    QCOMPARE(panel->ListView1->currentIndex().row(), 1);
    QTest::keyClick(panel->ListView1, Qt::Key_Return);
    QCOMPARE(s.CursorX, 9);
    QCOMPARE(s.CursorY, 2);
    QCOMPARE(s.CurrentLevel, 12);
    // Double-click on the last one.
    const QModelIndex last = panel->ListView1->model()->index(2, 0);
    const QPoint at = panel->ListView1->visualRect(last).center();
    QWidget* surface = panel->ListView1->viewport();
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease,
                              QEvent::MouseButtonDblClick, QEvent::MouseButtonRelease})
        SendMouse(surface, type, at, Qt::LeftButton,
                  type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton);
    QCOMPARE(s.CursorX, 20);
    QCOMPARE(s.CursorY, 30);
    QCOMPARE(s.CurrentLevel, 40);

    // A new map empties the list; the close button turns the menu item off.
    e.Messages.Answers.push_back(mrNo); // not saved
    e.Set->Form1->MenuItem("NEW1")->trigger();
    RunLoopOnce();
    QCOMPARE(panel->windowTitle(), QString("問題 (0)"));
    QCOMPARE(panel->ListView1->model()->rowCount(), 0);
    panel->close();
    QVERIFY(!panel->isVisible() && !item->isChecked() && !s.View.Problems);
}

void ProblemsPanelTest::panelIsKeptShownPerUser() {
    {
        TEditor e;
        QVERIFY(!e.Set->Problems->isVisible());
        e.Set->Form1->MenuItem("PROBLEMS1")->trigger();
    }
    {
        TEditor e;
        QVERIFY(e.Set->Problems->isVisible());
        QVERIFY(e.Set->Form1->MenuItem("PROBLEMS1")->isChecked());
        e.Set->Problems->close();
    }
    TEditor e;
    QVERIFY(!e.Set->Problems->isVisible());
}

QUARVEL_GUI_TEST_MAIN(ProblemsPanelTest)
#include "problemspanel_test.moc"
