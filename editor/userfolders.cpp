// The per-user folders: one rule for the variable, the fallback under $HOME, and relative paths.
#include "editor/userfolders.h"

#include <cstdlib>

namespace quarvel {

namespace {

// The base directory rules ignore a relative path in the variable.
std::string BaseFolder(const char* variable, const char* fallbackUnderHome) {
    const char* value = std::getenv(variable);
    if (value && value[0] == '/') return value;
    const char* home = std::getenv("HOME");
    if (!home || home[0] != '/') return {};
    std::string folder = home;
    if (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    return folder + fallbackUnderHome;
}

std::string Sub(const std::string& base) {
    return base.empty() ? base : base + "/quarvel";
}

} // namespace

std::string XdgDataHome() {
    return BaseFolder("XDG_DATA_HOME", "/.local/share");
}
std::string XdgStateHome() {
    return BaseFolder("XDG_STATE_HOME", "/.local/state");
}
std::string XdgConfigHome() {
    return BaseFolder("XDG_CONFIG_HOME", "/.config");
}
std::string UserDataFolder() {
    return Sub(XdgDataHome());
}
std::string UserStateFolder() {
    return Sub(XdgStateHome());
}

} // namespace quarvel
