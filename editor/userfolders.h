// The per-user folders of the freedesktop base directory rules: where Quarvel keeps a user's
// data (maps, chips, archives), state (recovery copies) and settings.
#pragma once

#include <string>

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

} // namespace quarvel
