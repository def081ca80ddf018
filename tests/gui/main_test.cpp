// The program entry: one running copy per user in a private folder, a lock left by a killed
// copy, and a lock of another user's.
#include "tests/gui/guitestutil.h"

#include <QProcess>
#include <QtTest>
#include <unistd.h>

using namespace quarvel;
using namespace quarvel::test;

class MainTest : public QObject {
    Q_OBJECT
private slots:
    void oneRunningCopy();
};

void MainTest::oneRunningCopy() {
    // The editor in a program folder of its own, with its lock in a private runtime folder.
    TProgramFolder folder;
    folder.WriteChips(0);
    const QString program = QString::fromStdString(folder.Path()) + "quarvel";
    QVERIFY(QFile::copy(EditorPath(), program));
    QFile::setPermissions(program, QFile::permissions(EditorPath()));
    QTemporaryDir lockDir;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("XDG_RUNTIME_DIR", lockDir.path() + "/run");
    env.insert("XDG_STATE_HOME", lockDir.path() + "/state");
    env.insert("XDG_CONFIG_HOME", lockDir.path() + "/config");
    const QString lockFile = lockDir.path() + "/run/quarvel/quarvel.lock";
    auto start = [&](QProcess& p) {
        p.setProcessEnvironment(env);
        p.start(program, {});
        QVERIFY(p.waitForStarted());
    };

    QProcess first;
    start(first);
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(lockFile), 10000);
    QVERIFY(!first.waitForFinished(500)); // it runs
    QCOMPARE(QFileInfo(lockDir.path() + "/run/quarvel").permissions() & 0x0077, 0);

    QProcess second;
    start(second);
    QVERIFY(second.waitForFinished(5000)); // ends at once
    QCOMPARE(second.exitStatus(), QProcess::NormalExit);
    QCOMPARE(second.exitCode(), 0);

    // A copy killed without cleaning up leaves its lock; that does not block the next start.
    first.kill();
    QVERIFY(first.waitForFinished(5000));
    QVERIFY(QFile::exists(lockFile));
    QProcess third;
    start(third);
    QVERIFY(!third.waitForFinished(1500)); // runs
    third.kill();
    QVERIFY(third.waitForFinished(5000));

    // Without a runtime folder the lock lives in a private folder of the user's state.
    env.remove("XDG_RUNTIME_DIR");
    QProcess stateOnly;
    start(stateOnly);
    const QString stateRun = lockDir.path() + "/state/quarvel/run";
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(stateRun + "/quarvel.lock"), 10000);
    QCOMPARE(QFileInfo(stateRun).permissions() & 0x0077, 0);
    stateOnly.kill();
    QVERIFY(stateOnly.waitForFinished(5000));

    // Where no lock file can be made at all (the runtime folder is a file), the editor runs
    // rather than end without a word as if another copy held the lock.
    QFile notAFolder(lockDir.path() + "/file");
    QVERIFY(notAFolder.open(QIODevice::WriteOnly));
    notAFolder.close();
    env.insert("XDG_RUNTIME_DIR", notAFolder.fileName());
    QProcess unguarded;
    start(unguarded);
    QVERIFY(!unguarded.waitForFinished(1500)); // runs
    unguarded.kill();
    QVERIFY(unguarded.waitForFinished(5000));

    // A lock that another user placed first is refused with a message, not taken for a
    // running copy. Only root can give a file away.
    if (::getuid() != 0) QSKIP("a file of another user needs root");
    env.insert("XDG_RUNTIME_DIR", lockDir.path() + "/run");
    QVERIFY(::chown(QFile::encodeName(lockFile).constData(), 65534, 65534) == 0);
    QProcess refused;
    start(refused);
    QByteArray said;
    QTRY_VERIFY_WITH_TIMEOUT((said += refused.readAllStandardError())
                                 .contains(QString::fromUtf8("は別のユーザーのものです").toUtf8()),
                             10000);
    QVERIFY(refused.state() == QProcess::Running); // the message box is up
    refused.kill();
    QVERIFY(refused.waitForFinished(5000));
}

QUARVEL_GUI_TEST_MAIN(MainTest)
#include "main_test.moc"
