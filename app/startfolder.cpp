// The editor's program folder at start, and the error box when the user's folder fails.
#include "app/startfolder.h"

#include "editor/errortext.h"
#include "editor/global.h"
#include "editor/programfolder.h"
#include "views/application.h"

namespace quarvel {

bool SetUpProgramFolder(TEditorState& State, const std::string& programDir) {
    try {
        State.ProgramFolder = FindProgramFolder(programDir);
        return true;
    } catch (const ProgramFolderError& e) {
        ShowError(ShownErrorText(e));
        return false;
    }
}

} // namespace quarvel
