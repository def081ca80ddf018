// The program entry: one running copy per user, and a lock left by a killed copy.
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
    // The editor in a program folder of its own, with its lock in a private temporary folder.
    TProgramFolder folder;
    folder.WriteChips(0);
    const QString program = QString::fromStdString(folder.Path()) + "quarvel";
    QVERIFY(QFile::copy(EditorPath(), program));
    QFile::setPermissions(program, QFile::permissions(EditorPath()));
    QTemporaryDir lockDir;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("TMPDIR", lockDir.path());
    env.insert("XDG_STATE_HOME", lockDir.path() + "/state");
    env.insert("XDG_CONFIG_HOME", lockDir.path() + "/config");
    const QString lockFile = lockDir.path() + QString("/quarvel-%1.lock").arg(getuid());
    auto start = [&](QProcess& p) {
        p.setProcessEnvironment(env);
        p.start(program, {});
        QVERIFY(p.waitForStarted());
    };

    QProcess first;
    start(first);
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(lockFile), 10000);
    QVERIFY(!first.waitForFinished(500)); // it runs

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

    // Where no lock file can be made at all (the temporary folder is a file), the editor runs
    // rather than end without a word as if another copy held the lock.
    QFile notAFolder(lockDir.path() + "/file");
    QVERIFY(notAFolder.open(QIODevice::WriteOnly));
    notAFolder.close();
    env.insert("TMPDIR", notAFolder.fileName());
    QProcess unguarded;
    start(unguarded);
    QVERIFY(!unguarded.waitForFinished(1500)); // runs
    unguarded.kill();
    QVERIFY(unguarded.waitForFinished(5000));
}

QUARVEL_GUI_TEST_MAIN(MainTest)
#include "main_test.moc"
