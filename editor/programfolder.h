// The program folder: chip/, map/ and dat/ beside the program file (a build or portable
// folder), or, for an installed program, the user's own folder seeded from the installed data.
#pragma once

#include "map/maperror.h"

#include <string>

namespace quarvel {

// The folder that holds the running program file, with a trailing '/' ("./" when the
// system cannot say).
std::string ProgramFileFolder();

// The user's folder, or a file in it, could not be made: the core's error (its kind, Path
// and Errno), for each front end to word.
class ProgramFolderError : public QuarvelError {
public:
    explicit ProgramFolderError(const QuarvelError& cause) : QuarvelError(cause) {}
};

// The program folder, with a trailing '/', of a program file in `programDir`:
// - `programDir` itself when it holds a folder chip/;
// - otherwise the user's folder UserDataFolder(), made on demand with chip/, map/, dat/ and
//   dat/unpacked/. Each file of the installed data folder `programDir`/InstalledDataFolder
//   (chip/, map/) that the user's folder lacks is copied into it; a file already there is
//   never overwritten. A missing data folder copies nothing.
// Throws ProgramFolderError when the user's folder or a copy cannot be made.
std::string FindProgramFolder(const std::string& programDir);

// Where the installed data lies, relative to the folder of the installed program file
// ("../share/quarvel" for bin/).
extern const char* const InstalledDataFolder;

} // namespace quarvel
