// The per-user folders: one rule for the variable, the fallback under $HOME, and relative paths.
#include "editor/userfolders.h"

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <sys/stat.h>

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

std::string RunningCopyFolder() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime && runtime[0] == '/') return Sub(runtime);
    const std::string state = UserStateFolder();
    return state.empty() ? state : state + "/run";
}

PrivateFolder MakePrivateFolder(const std::string& folder, uid_t owner) {
    struct stat st;
    if (::lstat(folder.c_str(), &st) != 0) {
        if (errno != ENOENT) return PrivateFolder::Unusable;
        std::error_code ec;
        std::filesystem::create_directories(std::filesystem::path(folder).parent_path(), ec);
        if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) return PrivateFolder::Unusable;
        if (::lstat(folder.c_str(), &st) != 0) return PrivateFolder::Unusable;
    }
    if (st.st_uid != owner) return PrivateFolder::Foreign;
    if (!S_ISDIR(st.st_mode)) return PrivateFolder::Unusable;
    if ((st.st_mode & 07777) != 0700 && ::chmod(folder.c_str(), 0700) != 0)
        return PrivateFolder::Unusable;
    return PrivateFolder::Ready;
}

bool OwnedByAnother(const std::string& path, uid_t owner) {
    struct stat st;
    return ::lstat(path.c_str(), &st) == 0 && st.st_uid != owner;
}

} // namespace quarvel
