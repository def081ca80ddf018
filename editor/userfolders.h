// The per-user folders of the freedesktop base directory rules: where Quarvel keeps a user's
// data (maps, chips, archives), state (recovery copies) and settings.
#pragma once

#include <string>
#include <sys/types.h>

namespace quarvel {

// $XDG_DATA_HOME, $XDG_STATE_HOME, $XDG_CONFIG_HOME when set to an absolute path, otherwise
// ~/.local/share, ~/.local/state, ~/.config under $HOME. No trailing '/'. Empty when neither
// the variable nor $HOME gives an absolute path.
std::string XdgDataHome();
std::string XdgStateHome();
std::string XdgConfigHome();

// Quarvel's own folders in them: .../quarvel (not created here).
std::string UserDataFolder();
std::string UserStateFolder();

// Where the running copy keeps its lock and hand-over socket: $XDG_RUNTIME_DIR/quarvel when
// that variable holds an absolute path, otherwise the state folder's run/ (.../quarvel/run).
// Empty when neither can be named. Not created here.
std::string RunningCopyFolder();

// What a folder meant for one user's eyes only turned out to be.
enum class PrivateFolder {
    Ready,    // a folder of `owner`'s, mode 0700 (now)
    Foreign,  // it, or a link in its place, belongs to another user
    Unusable, // not a folder (a file, a link), or it cannot be made
};
// Makes `folder` (mode 0700, its parents as usual) unless it exists, and checks it: a folder
// of `owner`'s that others may enter is closed to them (0700).
PrivateFolder MakePrivateFolder(const std::string& folder, uid_t owner);
// True when `path` exists (as anything, links not followed) and belongs to another user
// than `owner`.
bool OwnedByAnother(const std::string& path, uid_t owner);

} // namespace quarvel
