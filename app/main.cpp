// The program entry of the editor: one running copy (a second start hands its file over), the
// four windows, the editor's start, the message loop.
#include "app/Form_Main.h"
#include "app/desktop.h"
#include "app/startfolder.h"
#include "app/windowset.h"
#include "editor/global.h"
#include "editor/programfolder.h"
#include "editor/session.h"
#include "views/Form_Info.h"
#include "views/application.h"

#include <QLockFile>
#include <cstdio>

int main(int argc, char** argv) {
    using namespace quarvel;
    TApplication app(argc, argv);

    // One running copy per user. The lock records this process; a lock left by a process
    // that has ended (even by a crash) is taken over.
    const std::string file = argc > 1 ? AbsoluteFileName(argv[1]) : std::string();
    QLockFile lock(RunningCopyLockName());
    lock.setStaleLockTime(0);
    // Only a lock held by another copy counts: when the lock file cannot be made at all (a
    // temporary folder that is missing or read-only), the editor runs unguarded rather than
    // end without a word.
    if (!lock.tryLock(0) && lock.error() == QLockFile::LockFailedError) {
        if (file.empty()) return 0; // another copy runs: end at once, silently
        const int handed = HandOverToRunningCopy(lock, file); // it opens the file
        if (handed == 1) std::fprintf(stderr, "quarvel: no running copy took %s\n", argv[1]);
        if (handed >= 0) return handed;
    }

    // chip/, map/ and dat/: beside the program, or the user's own folder for an installed one.
    TEditorState state;
    app.SetEditor(&state);
    if (!SetUpProgramFolder(state, ProgramFileFolder())) return 1;

    TWindowSet windows(state);
    windows.Show();
    StartEditor(state);
    if (windows.Form1->TerminateRequested()) return 1; // the chips could not be loaded
    TDesktop desktop(windows);
    desktop.Start(file);
    return app.exec();
}
