// The program entry of the editor: one running copy, the four windows, the editor's start,
// the message loop.
#include "app/Form_Main.h"
#include "app/startfolder.h"
#include "app/windowset.h"
#include "editor/global.h"
#include "editor/programfolder.h"
#include "views/Form_Info.h"
#include "views/application.h"

#include <QDir>
#include <QLockFile>
#include <unistd.h>

int main(int argc, char** argv) {
    using namespace quarvel;
    TApplication app(argc, argv);

    // One running copy per user. The lock records this process; a lock left by a process
    // that has ended (even by a crash) is taken over.
    QLockFile lock(QDir(QDir::tempPath()).filePath(QString("quarvel-%1.lock").arg(getuid())));
    lock.setStaleLockTime(0);
    if (!lock.tryLock(0)) return 0; // another copy runs: end at once, silently

    // chip/, map/ and dat/: beside the program, or the user's own folder for an installed one.
    if (!SetUpProgramFolder(ProgramFileFolder())) return 1;

    TWindowSet windows;
    windows.Show();
    StartEditor();
    if (windows.Form1->TerminateRequested()) return 1; // the chips could not be loaded
    return app.exec();
}
