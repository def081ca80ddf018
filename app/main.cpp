// The program entry of the editor: one running copy (a second start hands its file over), the
// four windows, the editor's start, the message loop, and an end asked for by a signal.
#include "app/Form_Main.h"
#include "app/desktop.h"
#include "app/endsignals.h"
#include "app/language.h"
#include "app/runningcopy.h"
#include "app/startfolder.h"
#include "app/windowset.h"
#include "editor/global.h"
#include "editor/programfolder.h"
#include "editor/session.h"
#include "views/Form_Info.h"
#include "views/application.h"
#include "views/diskwatcher.h"

#include <cstdio>

int main(int argc, char** argv) {
    using namespace quarvel;
    TEditorState state; // outlives the application, which shows errors through it
    TApplication app(argc, argv);
    InstallTextLanguage(app, StartTextLanguage()); // before any text is shown
    TEndSignals ending; // until the editor runs, a signal just ends the message loop
    app.SetEditor(&state);

    // One running copy per user.
    const std::string file = argc > 1 ? AbsoluteFileName(argv[1]) : std::string();
    TRunningCopy running;
    switch (running.Lock()) {
    case LockResult::Taken:
    case LockResult::Unguarded: // no lock can be made: run rather than end without a word
        break;
    case LockResult::Foreign:
        std::fprintf(stderr, "quarvel: %s\n", running.Problem().c_str());
        ShowError(running.Problem());
        return 1;
    case LockResult::HeldByOther:
        if (file.empty()) return 0;       // another copy runs: end at once, silently
        switch (running.HandOver(file)) { // it opens the file
        case HandOverResult::Taken:
            return 0;
        case HandOverResult::NoAnswer:
            std::fprintf(stderr, "quarvel: no running copy took %s\n", argv[1]);
            return 1;
        case HandOverResult::CopyEnded:
            break; // this process runs as the first
        }
        break;
    }

    // chip/, map/ and dat/: beside the program, or the user's own folder for an installed one.
    if (!SetUpProgramFolder(state, ProgramFileFolder())) return 1;

    TWindowSet windows(state);
    windows.Show();
    StartEditor(state);
    if (windows.Form1->TerminateRequested()) return 1; // the chips could not be loaded
    TDesktop desktop(windows);
    running.Listen([&desktop](const std::string& path) { desktop.TakeHandedOver(path); });
    ending.OnSignal = [&desktop](int) { desktop.EndNow(); };
    desktop.Start(file);
    TDiskWatcher diskWatch(state); // another program's changes to the open map's file
    return app.exec();
}
