// The editor's program folder at start: an installed editor seeds the user's folder and runs;
// a folder that cannot be made is an error box that names it.
#include "app/startfolder.h"
#include "editor/global.h"
#include "editor/windows.h"
#include "tests/gui/guitestutil.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <filesystem>

using namespace quarvel;
using namespace quarvel::test;

namespace fs = std::filesystem;

class StartFolderTest : public QObject {
    Q_OBJECT
private slots:
    void failureIsShownAndNamesTheFolder();
    void installedEditorStartsOnTheSeededFolder();
};

void StartFolderTest::failureIsShownAndNamesTheFolder() {
    QTemporaryDir root;
    const std::string base = root.path().toStdString();
    fs::create_directories(base + "/bin");
    QFile file(root.filePath("file"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    qputenv("XDG_DATA_HOME", QFile::encodeName(root.filePath("file")));
    TScriptedMessages messages;
    TEditorState State;
    State.Windows.Messages = &messages;
    State.ProgramFolder = "unchanged/";
    auto* app = dynamic_cast<TApplication*>(QCoreApplication::instance());
    QVERIFY(app);
    app->SetEditor(&State);
    QVERIFY(!SetUpProgramFolder(State, base + "/bin"));
    QCOMPARE(State.ProgramFolder, std::string("unchanged/"));
    QCOMPARE(int(messages.Log.size()), 1);
    QCOMPARE(messages.Log[0].Caption, std::string("Quarvel"));
    QVERIFY2(messages.Log[0].Text.find(base + "/file/quarvel") != std::string::npos,
             messages.Log[0].Text.c_str());

    // With a usable data home the user's folder becomes the program folder.
    qputenv("XDG_DATA_HOME", QFile::encodeName(root.filePath("data")));
    QVERIFY(SetUpProgramFolder(State, base + "/bin"));
    QCOMPARE(State.ProgramFolder, base + "/data/quarvel/");
    QCOMPARE(int(messages.Log.size()), 1);
    app->SetEditor(nullptr);
    qunsetenv("XDG_DATA_HOME");
}

void StartFolderTest::installedEditorStartsOnTheSeededFolder() {
    // ROOT/usr/bin/quarvel with the built chip set and maps in ROOT/usr/share/quarvel, an
    // empty home, started from "/".
    QTemporaryDir root;
    const fs::path built = fs::path(EditorPath()).parent_path();
    const fs::path bin = root.filePath("usr/bin").toStdString();
    const fs::path data = root.filePath("usr/share/quarvel").toStdString();
    fs::create_directories(bin);
    fs::create_directories(data / "map");
    fs::copy(built / "chip", data / "chip");
    for (const char* f : {"demo.map", "dummy.map", "map.ini"})
        fs::copy_file(built / "map" / f, data / "map" / f);
    fs::copy_file(EditorPath(), bin / "quarvel");
    const QString home = root.filePath("home");
    QVERIFY(QDir().mkpath(home));

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("HOME", home);
    env.remove("XDG_DATA_HOME");
    env.insert("XDG_RUNTIME_DIR", root.filePath("run")); // a lock of its own
    QProcess editor;
    editor.setProcessEnvironment(env);
    editor.setWorkingDirectory("/");
    editor.start(QString::fromStdString((bin / "quarvel").string()), {});
    QVERIFY(editor.waitForStarted());
    QVERIFY2(!editor.waitForFinished(2000), editor.readAllStandardError().constData()); // runs
    editor.kill();
    QVERIFY(editor.waitForFinished(5000));

    const fs::path user = fs::path(home.toStdString()) / ".local/share/quarvel";
    QVERIFY(fs::is_directory(user / "dat/unpacked"));
    int chips = 0;
    for (const auto& e : fs::directory_iterator(data / "chip")) {
        QVERIFY(fs::exists(user / "chip" / e.path().filename()));
        QCOMPARE(fs::file_size(user / "chip" / e.path().filename()), fs::file_size(e.path()));
        ++chips;
    }
    QCOMPARE(chips, 16);
    for (const char* f : {"demo.map", "dummy.map", "map.ini"})
        QCOMPARE(fs::file_size(user / "map" / f), fs::file_size(data / "map" / f));
}

QUARVEL_GUI_TEST_MAIN(StartFolderTest)
#include "startfolder_test.moc"
