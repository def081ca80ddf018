// The running editor and another program writing its map file: quarvel-cli and the shell
// change, replace and rename the file; the editor asks within two seconds, once, never over
// another dialog, and never after its own save.
#include "app/Form_Main.h"
#include "editor/commands.h"
#include "editor/global.h"
#include "map/mapclass.h"
#include "tests/gui/guitestutil.h"
#include "views/diskwatcher.h"

#include <QDialog>
#include <QFileInfo>
#include <QProcess>
#include <QtTest>

using namespace quarvel;
using namespace quarvel::test;

namespace {

const std::string ReloadQuestion = "ファイルが他のプログラムで変更されました。読み込み直しますか？";

// quarvel-cli beside the editor sets cell (2, 2, 0) of `path` to `chip` and saves.
void OtherProgramSets(const QString& path, int chip) {
    QProcess cli;
    cli.start(QFileInfo(EditorPath()).dir().filePath("quarvel-cli"), {"edit", path});
    cli.write(QString("set 2 2 0 %1\nsave\n").arg(chip).toUtf8());
    cli.closeWriteChannel();
    QVERIFY(cli.waitForFinished(10000));
    QCOMPARE(cli.exitCode(), 0);
}

void Shell(const QString& command) {
    QCOMPARE(QProcess::execute("sh", {"-c", command}), 0);
}

} // namespace

class DiskWatcherTest : public QObject {
    Q_OBJECT
private slots:
    void changesByAnotherProgramAreAskedAboutOnce();
};

void DiskWatcherTest::changesByAnotherProgramAreAskedAboutOnce() {
    TEditor e;
    QTemporaryDir dir;
    const QString path = dir.filePath("a.map");
    {
        TMap map;
        map.Clear();
        map.SaveToFile(path.toStdString());
    }
    QVERIFY(OpenMapFile(e.State, path.toStdString()));
    TDiskWatcher watcher(e.State);
    QTRY_COMPARE(QGuiApplication::applicationState(), Qt::ApplicationActive);
    QTRY_VERIFY(watcher.Watched().contains(path));
    auto& shown = e.Messages.Log;

    // The editor's own save: nothing to ask.
    e.State.TheMap->SetChip(3, 3, 0, 20);
    MenuClick(e.State, tagSave);
    QTest::qWait(TDiskWatcher::SettleMs + 400);
    QCOMPARE(shown.size(), size_t(0));

    // quarvel-cli saves the file (a new file renamed over it): はい loads it.
    e.Messages.Answers = {mrYes};
    OtherProgramSets(path, 9);
    QTRY_COMPARE_WITH_TIMEOUT(shown.size(), size_t(1), 2000);
    QCOMPARE(shown[0].Text, ReloadQuestion);
    QCOMPARE(int(e.State.TheMap->GetChip(2, 2, 0)), 9);
    QCOMPARE(int(e.State.TheMap->GetChip(3, 3, 0)), 20);

    // Replaced again while a dialog is up: the question waits until it is closed, and the
    // watch has followed the file to its new inode.
    QDialog other(e.Set->Form1);
    bool askedOverTheDialog = false;
    QTimer::singleShot(0, [&] {
        Shell("cp '" + path + "' '" + dir.filePath("b.map") + "'");
        OtherProgramSets(dir.filePath("b.map"), 11);
        Shell("mv '" + dir.filePath("b.map") + "' '" + path + "'");
        QTimer::singleShot(2 * TDiskWatcher::TickMs, &other, [&] {
            askedOverTheDialog = shown.size() > 1;
            other.accept();
        });
    });
    e.Messages.Answers = {mrNo};
    other.exec();
    QVERIFY(!askedOverTheDialog);
    QTRY_COMPARE_WITH_TIMEOUT(shown.size(), size_t(2), 2000);
    QCOMPARE(shown[1].Text, ReloadQuestion);
    QCOMPARE(int(e.State.TheMap->GetChip(2, 2, 0)), 9); // いいえ keeps the editor's copy
    QVERIFY(e.State.TheMap->Modified);
    QTest::qWait(TDiskWatcher::TickMs + TDiskWatcher::SettleMs);
    QCOMPARE(shown.size(), size_t(2)); // asked once

    // Written in place by the shell while the map is modified: told once. (The new content
    // is made in another folder: no notice of this folder may start the check.)
    QTemporaryDir elsewhere;
    const QString c = elsewhere.filePath("c.map");
    Shell("cp '" + path + "' '" + c + "'");
    OtherProgramSets(c, 12);
    Shell("cat '" + c + "' > '" + path + "'");
    QTRY_COMPARE_WITH_TIMEOUT(shown.size(), size_t(3), 2000);
    QVERIFY(QString::fromStdString(shown[2].Text)
                .startsWith("ファイルが他のプログラムで変更されました。編集中"));
}

QUARVEL_GUI_TEST_MAIN(DiskWatcherTest)
#include "diskwatcher_test.moc"
