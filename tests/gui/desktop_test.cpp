// The editor on the desktop: recent files in the File menu and the user's settings, dropped
// map files, a second start handing its file over, and an editor killed with unsaved work.
#include "app/Form_Main.h"
#include "app/desktop.h"
#include "app/runningcopy.h"
#include "editor/commands.h"
#include "editor/global.h"
#include "editor/session.h"
#include "map/mapclass.h"
#include "tests/gui/guitestutil.h"
#include "views/Form_Edit.h"
#include "views/Form_View.h"

#include <QAction>
#include <QDialog>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QProcess>
#include <QPushButton>
#include <QSemaphore>
#include <QSettings>
#include <QThread>
#include <QtTest>
#include <csignal>
#include <cstdio>
#include <sys/stat.h>

using namespace quarvel;
using namespace quarvel::test;

namespace {

const char* const ChildEnv = "QUARVEL_TEST_EDITING_CHILD"; // the program folder
const char* const ChildMapEnv = "QUARVEL_TEST_EDITING_MAP";
const QString OfferText = QString::fromUtf8(
    "前回保存されなかった編集内容があります。復元しますか？\n\nマップ: orig.map\n");

QString MapFile(const QString& path, uint8_t chip) {
    TMap m;
    m.Clear();
    m.SetChip(0, 0, 0, chip);
    m.SaveToFile(QFile::encodeName(path).toStdString());
    return path;
}

// The kept recent files of a user whose settings live under `configHome`.
QStringList KeptRecentFiles(const QString& configHome) {
    QSettings s(configHome + "/quarvel/quarvel.ini", QSettings::IniFormat);
    QStringList paths;
    const int n = s.beginReadArray("RecentFiles");
    for (int i = 0; i < n; ++i) {
        s.setArrayIndex(i);
        paths << QFile::decodeName(s.value("Path").toByteArray());
    }
    s.endArray();
    return paths;
}

// A user of their own: home, state, settings, runtime and temporary folders in one
// temporary folder.
struct TUser {
    QTemporaryDir Dir;
    QString Home() const { return Dir.path() + "/home"; }
    QString State() const { return Dir.path() + "/state"; }
    QString Config() const { return Dir.path() + "/config"; }
    QString Temp() const { return Dir.path() + "/tmp"; }
    QString Copy() const { return State() + "/quarvel/unsaved.map"; }
    QProcessEnvironment Env() const {
        for (const QString& d : {Home(), State(), Config(), Temp()}) QDir().mkpath(d);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("HOME", Home());
        env.insert("XDG_STATE_HOME", State());
        env.insert("XDG_CONFIG_HOME", Config());
        env.insert("TMPDIR", Temp());
        env.insert("XDG_RUNTIME_DIR", Dir.path() + "/run");
        env.remove(ChildEnv);
        return env;
    }
};

// The editor program copied into a program folder with chips.
QString InstalledEditor(TProgramFolder& folder) {
    folder.WriteChips(0);
    const QString program = QString::fromStdString(folder.Path()) + "quarvel";
    QFile::copy(EditorPath(), program);
    QFile::setPermissions(program, QFile::permissions(EditorPath()));
    return program;
}

// The child process of killedEditorLosesNoWork: the editor as the program runs it (its
// windows, TDesktop, timer and state folder), with one chip painted by a mouse click.
int RunEditingChild() {
    TEditorState state;
    if (auto* app = dynamic_cast<TApplication*>(QCoreApplication::instance()))
        app->SetEditor(&state);
    state.ProgramFolder = qgetenv(ChildEnv).toStdString();
    TWindowSet windows(state);
    windows.Show();
    StartEditor(state);
    TDesktop desktop(windows);
    desktop.Start(qgetenv(ChildMapEnv).toStdString());
    QTimer::singleShot(300, [&] {
        state.CurrentChip = 20;
        Drag(windows.Form2->PaintBox1, {EditCellCentre(5, 6)}, Qt::LeftButton);
        std::printf("edited %d\n", int(state.TheMap->GetChip(5, 6, 0)));
        std::fflush(stdout);
    });
    return QApplication::exec();
}

} // namespace

class DesktopTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void recentFilesSitAboveExitAndAreKept();
    void droppedMapsOpenAfterTheSaveQuestion();
    void aSecondStartHandsItsFileOver();
    void killedEditorLosesNoWork();
    void aYesNoBoxClosedIsNoChoice();
    void hostileSettingsNeitherHangNorFlood();
    void aSecondStartWhoseRunningCopyEndsBecomesTheEditor();
    void aDroppedMapWaitsForAnOpenDialog();

private:
    TUser Me; // this process's own user folders
};

void DesktopTest::initTestCase() {
    Me.Env();
    qputenv("XDG_STATE_HOME", Me.State().toUtf8());
    qputenv("TMPDIR", Me.Temp().toUtf8());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, Me.Config());
}

void DesktopTest::recentFilesSitAboveExitAndAreKept() {
    QTemporaryDir maps;
    const QString a = MapFile(maps.filePath("a&b.map"), 7);
    const QString gone = maps.filePath("gone.map");
    {
        QSettings s(QSettings::IniFormat, QSettings::UserScope, "quarvel", "quarvel");
        s.beginWriteArray("RecentFiles");
        s.setArrayIndex(0);
        s.setValue("Path", QFile::encodeName(gone));
        s.setArrayIndex(1);
        s.setValue("Path", QFile::encodeName(a));
        s.endArray();
    }
    TEditor e;
    TDesktop desktop(*e.Set);
    desktop.Start("");
    QMenu* file = e.Set->Form1->MenuItem("FILE1")->menu();
    QStringList names;
    for (QAction* item : file->actions())
        names << (item->isSeparator() ? QString("-") : item->text());
    QCOMPARE(names,
             QStringList({QString::fromUtf8("新規作成(&N)"), QString::fromUtf8("開く(&O)..."),
                          QString::fromUtf8("上書き保存(&S)"),
                          QString::fromUtf8("名前を付けて保存(&A)..."), "-", "&1 gone.map",
                          "&2 a&&b.map", "-", QString::fromUtf8("終了(&X)")}));
    QCOMPARE(desktop.RecentItems().at(1)->statusTip(), a);

    // The gone file leaves the list (and the settings) with a message.
    desktop.RecentItems().at(0)->trigger();
    QTRY_COMPARE(desktop.RecentItems().size(), 1);
    QCOMPARE(e.Messages.Log.size(), size_t(1));
    QVERIFY(QString::fromStdString(e.Messages.Log[0].Text).startsWith(gone + "\n"));
    QCOMPARE(KeptRecentFiles(Me.Config()), QStringList({a}));

    // Opening from the list; saving under a new name adds that name on top.
    desktop.RecentItems().at(0)->trigger();
    QTRY_COMPARE(int(e.State.TheMap->GetChip(0, 0, 0)), 7);
    const QString c = maps.filePath("c.map");
    e.State.TheMap->FileName = QFile::encodeName(c).toStdString();
    e.State.TheMap->UndoBuf.BeginStep();
    e.State.TheMap->SetChip(1, 1, 0, 9);
    MenuClick(e.State, tagSave);
    QCOMPARE(KeptRecentFiles(Me.Config()), QStringList({c, a}));
    QCOMPARE(desktop.RecentItems().at(0)->text(), QString("&1 c.map"));
    // Nothing but the list is kept.
    QSettings kept(Me.Config() + "/quarvel/quarvel.ini", QSettings::IniFormat);
    for (const QString& key : kept.allKeys())
        QVERIFY2(key.startsWith("RecentFiles/"), qPrintable(key));
}

void DesktopTest::droppedMapsOpenAfterTheSaveQuestion() {
    QTemporaryDir maps;
    const QString a = MapFile(maps.filePath("a.map"), 7);
    TEditor e;
    TDesktop desktop(*e.Set);
    desktop.Start("");
    QWidget* const views[] = {e.Set->Form2->PaintBox1, e.Set->Form3->PaintBox1};

    QMimeData text;
    text.setUrls({QUrl::fromLocalFile(maps.filePath("notes.txt"))});
    QDragEnterEvent refused(QPoint(5, 5), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
    refused.setAccepted(false);
    QApplication::sendEvent(views[0], &refused);
    QVERIFY(!refused.isAccepted());

    // A drag over either view is taken (by the frame); the drop asks to save first.
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(maps.filePath("notes.txt")), QUrl::fromLocalFile(a)});
    e.State.TheMap->UndoBuf.BeginStep();
    e.State.TheMap->SetChip(3, 3, 0, 9);
    e.Messages.Answers = {mrCancel, mrNo};
    for (int i = 0; i < 2; ++i) {
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        enter.setAccepted(false);
        QApplication::sendEvent(views[i], &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        drop.setAccepted(false);
        QApplication::sendEvent(views[i], &drop);
        QVERIFY(drop.isAccepted());
        QTRY_COMPARE(e.Messages.Log.size(), size_t(i + 1));
        QCOMPARE(QString::fromStdString(e.Messages.Log[size_t(i)].Text),
                 QString::fromUtf8("編集中のマップを保存しますか？"));
        QCOMPARE(int(e.State.TheMap->GetChip(0, 0, 0)), i == 0 ? 0 : 7); // Cancel kept the map
    }
    QTRY_COMPARE(QFile::decodeName(QByteArray::fromStdString(e.State.TheMap->FileName)), a);
    QCOMPARE(int(e.State.TheMap->GetChip(0, 0, 0)), 7);
}

void DesktopTest::aSecondStartHandsItsFileOver() {
    TUser user;
    TProgramFolder folder;
    const QString program = InstalledEditor(folder);
    QTemporaryDir maps;
    const QString a = MapFile(maps.filePath("a.map"), 7);
    const QString b = MapFile(maps.filePath("b.map"), 8);
    // Each start in a folder of its own: a relative name is the second start's to resolve.
    auto start = [&](QProcess& p, const QStringList& args, const QString& folder) {
        p.setProcessEnvironment(user.Env());
        p.setWorkingDirectory(folder);
        p.start(program, args);
        QVERIFY(p.waitForStarted());
    };

    // The first start opens the map named on its command line.
    QProcess first;
    start(first, {a}, user.Home());
    QTRY_COMPARE_WITH_TIMEOUT(KeptRecentFiles(user.Config()), QStringList({a}), 15000);

    // A second start with a file gives it to the first and ends with 0.
    QProcess second;
    start(second, {"b.map"}, maps.path());
    QVERIFY(second.waitForFinished(15000));
    QCOMPARE(second.exitStatus(), QProcess::NormalExit);
    QCOMPARE(second.exitCode(), 0);
    QTRY_COMPARE_WITH_TIMEOUT(KeptRecentFiles(user.Config()), QStringList({b, a}), 10000);

    // Without a file it still ends silently, and changes nothing.
    QProcess third;
    start(third, {}, maps.path());
    QVERIFY(third.waitForFinished(5000));
    QCOMPARE(third.exitCode(), 0);
    QVERIFY(!third.readAllStandardError().contains("quarvel:"));
    QCOMPARE(first.state(), QProcess::Running);

    first.kill();
    QVERIFY(first.waitForFinished(5000));
}

void DesktopTest::killedEditorLosesNoWork() {
    TUser user;
    TProgramFolder folder;
    folder.WriteChips(0);
    QTemporaryDir maps;
    const QString orig = MapFile(maps.filePath("orig.map"), 7);

    // An editor with the map open paints one chip and is killed before anything is saved.
    QProcess child;
    QProcessEnvironment env = user.Env();
    env.insert(ChildEnv, QString::fromStdString(folder.Path()));
    env.insert(ChildMapEnv, orig);
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(), {});
    QVERIFY(child.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(child.canReadLine(), 15000);
    QCOMPARE(child.readLine().trimmed(), QByteArray("edited 20"));
    QElapsedTimer sinceEdit;
    sinceEdit.start();
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(user.Copy()), 30000);
    QVERIFY(sinceEdit.elapsed() <= 30000);
    QVERIFY(::kill(pid_t(child.processId()), SIGKILL) == 0);
    QVERIFY(child.waitForFinished(5000));
    QCOMPARE(child.exitStatus(), QProcess::CrashExit);

    QFile copy(user.Copy());
    QVERIFY(copy.open(QIODevice::ReadOnly));
    const QByteArray bytes = copy.readAll();
    copy.close();
    QCOMPARE(bytes.size(), 49200);
    QCOMPARE(int(uint8_t(bytes[48 + TMap::Index(5, 6, 0)])), 20);
    QCOMPARE(int(uint8_t(bytes[48 + TMap::Index(0, 0, 0)])), 7);
    QFile source(user.State() + "/quarvel/unsaved.source");
    QVERIFY(source.open(QIODevice::ReadOnly));
    QCOMPARE(QFile::decodeName(source.readAll()), orig);
    QFile original(orig);
    QVERIFY(original.open(QIODevice::ReadOnly));
    QCOMPARE(int(uint8_t(original.readAll()[48 + TMap::Index(5, 6, 0)])), 0); // not saved

    // The next start of the program offers the copy and keeps it while it waits for an
    // answer; killed then too, the copy is still whole.
    TProgramFolder installed;
    QProcess next;
    next.setProcessEnvironment(user.Env());
    next.start(InstalledEditor(installed), {});
    QVERIFY(next.waitForStarted());
    QVERIFY2(!next.waitForFinished(3000),
             qPrintable(QString("the next start ended (exit code %1): %2")
                            .arg(next.exitCode())
                            .arg(QString::fromLocal8Bit(next.readAllStandardError()))));
    QVERIFY(::kill(pid_t(next.processId()), SIGKILL) == 0);
    QVERIFY(next.waitForFinished(5000));
    QVERIFY(copy.open(QIODevice::ReadOnly));
    QCOMPARE(copy.readAll(), bytes);
    copy.close();

    // はい brings the work back: modified, under the original name.
    qputenv("XDG_STATE_HOME", user.State().toUtf8());
    {
        TEditor e;
        e.Messages.Answers = {mrYes};
        TDesktop desktop(*e.Set);
        desktop.Start("");
        QTRY_VERIFY(e.State.TheMap->Modified);
        QVERIFY(QString::fromStdString(e.Messages.Log.at(0).Text).startsWith(OfferText));
        QCOMPARE(int(e.State.TheMap->GetChip(5, 6, 0)), 20);
        QCOMPARE(QFile::decodeName(QByteArray::fromStdString(e.State.TheMap->FileName)), orig);
        QVERIFY(e.Set->Form1->windowTitle().endsWith(" * "));
    }
    qputenv("XDG_STATE_HOME", Me.State().toUtf8());
    QVERIFY(QFile::exists(user.Copy())); // ended without closing: still kept
}

void DesktopTest::aYesNoBoxClosedIsNoChoice() {
    TEditor e;
    TForm1* frame = e.Set->Form1;
    auto answer = [&](auto act) {
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            act(box);
        });
        return frame->Show("?", "確認", MsgButtons::YesNo);
    };
    QCOMPARE(answer([](QMessageBox* b) { QTest::keyClick(b, Qt::Key_Escape); }), int(mrCancel));
    QCOMPARE(answer([](QMessageBox* b) { b->close(); }), int(mrCancel));
    QCOMPARE(answer([](QMessageBox* b) { b->button(QMessageBox::No)->click(); }), int(mrNo));
    QCOMPARE(answer([](QMessageBox* b) {
                 QCOMPARE(b->button(QMessageBox::Yes)->text(), QString::fromUtf8("はい(&Y)"));
                 QCOMPARE(b->button(QMessageBox::No)->text(), QString::fromUtf8("いいえ(&N)"));
                 QTest::keyClick(b, Qt::Key_Return);
             }),
             int(mrYes));
}

int main(int argc, char** argv) {
    quarvel::TApplication app(argc, argv);
    if (qEnvironmentVariableIsSet(ChildEnv)) return RunEditingChild();
    DesktopTest test;
    return QTest::qExec(&test, argc, argv);
}

// A settings file that claims two thousand million recent files, or a pipe in its place: the
// editor starts at once with at most the 8 names it keeps, or with none, and leaves a pipe be.
void DesktopTest::hostileSettingsNeitherHangNorFlood() {
    const QString ini = Me.Config() + "/quarvel/quarvel.ini";
    QDir().mkpath(Me.Config() + "/quarvel");
    {
        QFile f(ini);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        QByteArray text = "[RecentFiles]\nsize=2147483647\n";
        for (int i = 1; i <= 12; ++i)
            text += QByteArray::number(i) + "\\Path=/m/" + QByteArray::number(i) + ".map\n";
        f.write(text);
    }
    {
        TEditor e;
        TDesktop desktop(*e.Set);
        desktop.Start("");
        QTRY_COMPARE(desktop.RecentItems().size(), 8);
        QCOMPARE(desktop.RecentItems().at(7)->statusTip(), QString("/m/8.map"));
    }
    QFile::remove(ini);
    QVERIFY(::mkfifo(QFile::encodeName(ini).constData(), 0600) == 0);
    {
        QTemporaryDir maps;
        const QString a = MapFile(maps.filePath("a.map"), 7);
        TEditor e;
        TDesktop desktop(*e.Set);
        desktop.Start("");
        QTest::qWait(50);
        QCOMPARE(desktop.RecentItems().size(), 0);
        QVERIFY(
            OpenMapFile(e.State, QFile::encodeName(a).toStdString())); // would note it in the list
        QCOMPARE(int(e.State.TheMap->GetChip(0, 0, 0)), 7);
    }
    QVERIFY(QFileInfo(ini).exists() && !QFileInfo(ini).isFile());
    QFile::remove(ini);
}

// A running copy on a thread of its own that takes a second start's call and ends without an
// answer: its lock is released and its socket closes while the second start waits.
class TEndingCopy : public QThread {
public:
    explicit TEndingCopy(const QString& folder) : Copy(folder) {}
    TRunningCopy Copy; // names the lock and socket only
    QSemaphore Listening;
    bool Held = false;

protected:
    void run() override {
        QLockFile lock(Copy.LockName());
        Held = lock.tryLock(0);
        QLocalServer::removeServer(Copy.SocketName());
        QLocalServer server;
        server.listen(Copy.SocketName());
        Listening.release();
        if (!server.waitForNewConnection(10000)) return;
        QLocalSocket* call = server.nextPendingConnection();
        call->waitForReadyRead(2000); // the file name arrives, and is never answered
        lock.unlock();
        call->abort();
        server.close();
    }
};

void DesktopTest::aSecondStartWhoseRunningCopyEndsBecomesTheEditor() {
    QTemporaryDir dir;
    const QString folder = dir.filePath("run");
    QVERIFY(QDir().mkdir(folder));
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    TEndingCopy running(folder);
    running.start();
    running.Listening.acquire();
    QVERIFY(running.Held);
    TRunningCopy second(folder);
    QCOMPARE(second.Lock(), LockResult::HeldByOther);
    // The second start is the editor now: it holds the lock.
    QCOMPARE(second.HandOver("/m/a.map"), HandOverResult::CopyEnded);
    QVERIFY(running.wait(5000));
    QLockFile third(second.LockName());
    QVERIFY(!third.tryLock(0));
}

// A map dropped just before a modal dialog opens, and one handed over by a second start while
// it is open, are opened only once the dialog has closed, in that order.
void DesktopTest::aDroppedMapWaitsForAnOpenDialog() {
    QTemporaryDir maps;
    const QString a = MapFile(maps.filePath("a.map"), 7);
    const QString b = MapFile(maps.filePath("b.map"), 8);
    TEditor e;
    TDesktop desktop(*e.Set);
    QTemporaryDir run;
    TRunningCopy running(run.filePath("quarvel"));
    QCOMPARE(running.Lock(), LockResult::Taken);
    running.Listen([&desktop](const std::string& path) { desktop.TakeHandedOver(path); });
    desktop.Start("");
    QTest::qWait(50);
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(a)});
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(e.Set->Form2->PaintBox1, &enter);
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    drop.setAccepted(false);
    QApplication::sendEvent(e.Set->Form2->PaintBox1, &drop);
    QVERIFY(drop.isAccepted());

    QDialog dialog(e.Set->Form1);
    dialog.setModal(true);
    int chipWhileOpen = -1;
    QByteArray answer;
    QTimer::singleShot(0, &dialog, [&] {
        QLocalSocket call;
        call.connectToServer(running.SocketName());
        if (call.waitForConnected(2000)) {
            const std::string message = EncodeHandOver(QFile::encodeName(b).toStdString());
            call.write(message.data(), qint64(message.size()));
            call.flush();
        }
        QTest::qWait(800); // the answer comes, and several tries to open pass
        answer = call.readAll();
        chipWhileOpen = e.State.TheMap->GetChip(0, 0, 0);
        dialog.accept();
    });
    dialog.exec();
    QCOMPARE(answer, QByteArray(1, '\1'));
    QCOMPARE(chipWhileOpen, 0);
    QTRY_COMPARE(QFile::decodeName(QByteArray::fromStdString(e.State.TheMap->FileName)), b);
    QCOMPARE(int(e.State.TheMap->GetChip(0, 0, 0)), 8);
}

#include "desktop_test.moc"
