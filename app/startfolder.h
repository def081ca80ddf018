// The editor's program folder at start: the folder rule of editor/programfolder, with its
// failure shown to the user.
#pragma once

#include <string>

namespace quarvel {

class TEditorState;

// Sets State.ProgramFolder for a program file in `programDir` (see FindProgramFolder). When the
// user's folder cannot be made, shows an error box naming the folder and the reason and
// returns false; the program then ends.
bool SetUpProgramFolder(TEditorState& State, const std::string& programDir);

} // namespace quarvel
