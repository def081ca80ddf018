// The program folder: one rule for the editor and quarvel-cli, and the seeding of the user's
// folder from the installed data (copies written beside their place, then renamed in).
#include "editor/programfolder.h"

#include "editor/userfolders.h"

#include <filesystem>
#include <system_error>
#include <unistd.h>

#ifndef QUARVEL_DATA_FROM_BIN
#define QUARVEL_DATA_FROM_BIN "../share/quarvel"
#endif

namespace quarvel {

namespace fs = std::filesystem;

const char* const InstalledDataFolder = QUARVEL_DATA_FROM_BIN;

ProgramFolderError::ProgramFolderError(const std::string& path, const std::string& reason)
    : QuarvelError("cannot set up the user folder '" + path + "': " + reason), Path(path),
      Reason(reason) {}

std::string ProgramFileFolder() {
    char buf[4096];
    const ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0) return "./";
    const std::string path(buf, size_t(n));
    return path.substr(0, path.rfind('/') + 1);
}

namespace {

void MakeFolder(const fs::path& folder) {
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (!ec && !fs::is_directory(folder, ec)) ec = std::make_error_code(std::errc::not_a_directory);
    if (ec) throw ProgramFolderError(folder.string(), ec.message());
}

// Copies `from` to `to` unless something of that name is there already.
void CopyIfMissing(const fs::path& from, const fs::path& to) {
    std::error_code ec;
    if (fs::symlink_status(to, ec).type() != fs::file_type::not_found) return;
    const fs::path temp = to.string() + ".part-" + std::to_string(getpid());
    fs::copy_file(from, temp, fs::copy_options::overwrite_existing, ec);
    if (!ec) fs::rename(temp, to, ec);
    if (ec) {
        std::error_code ignored;
        fs::remove(temp, ignored);
        throw ProgramFolderError(to.string(), ec.message());
    }
}

// Copies the files of `from` and its sub-folders that `to` lacks.
void Seed(const fs::path& from, const fs::path& to) {
    std::error_code ec;
    if (!fs::is_directory(from, ec)) return;
    fs::recursive_directory_iterator it(from, ec), end;
    for (; !ec && it != end; it.increment(ec)) {
        const fs::path target = to / it->path().lexically_relative(from);
        if (it->is_directory(ec))
            MakeFolder(target);
        else if (it->is_regular_file(ec))
            CopyIfMissing(it->path(), target);
    }
    if (ec) throw ProgramFolderError(from.string(), ec.message());
}

} // namespace

std::string FindProgramFolder(const std::string& programDir) {
    const fs::path dir = programDir.empty() ? fs::path(".") : fs::path(programDir);
    std::error_code ec;
    if (fs::is_directory(dir / "chip", ec)) {
        std::string folder = dir.string();
        if (folder.back() != '/') folder += '/';
        return folder;
    }
    const std::string user = UserDataFolder();
    if (user.empty())
        throw ProgramFolderError("~/.local/share/quarvel",
                                 "neither XDG_DATA_HOME nor HOME is an absolute path");
    const fs::path folder(user);
    MakeFolder(folder); // first, so that a failure names the user's folder itself
    for (const char* sub : {"chip", "map", "dat/unpacked"}) MakeFolder(folder / sub);
    Seed(dir / InstalledDataFolder, folder);
    return user + "/";
}

} // namespace quarvel
