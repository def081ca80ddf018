// The program folder: one rule for the editor and quarvel-cli, and the seeding of the user's
// folder from the installed data (each copy saved through the one safe-save routine).
#include "editor/programfolder.h"

#include "editor/userfolders.h"
#include "map/fileio.h"

#include <filesystem>
#include <system_error>
#include <unistd.h>

#ifndef QUARVEL_DATA_FROM_BIN
#define QUARVEL_DATA_FROM_BIN "../share/quarvel"
#endif

namespace quarvel {

namespace fs = std::filesystem;

const char* const InstalledDataFolder = QUARVEL_DATA_FROM_BIN;

std::string ProgramFileFolder() {
    char buf[4096];
    const ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0) return "./";
    const std::string path(buf, size_t(n));
    return path.substr(0, path.rfind('/') + 1);
}

namespace {

[[noreturn]] void Refuse(ErrorKind kind, const fs::path& path, const std::error_code& ec) {
    throw ProgramFolderError(QuarvelError(kind, FileRole::UserFolder, path.string(), ec.value()));
}

void MakeFolder(const fs::path& folder) {
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (!ec && !fs::is_directory(folder, ec)) ec = std::make_error_code(std::errc::not_a_directory);
    if (ec) Refuse(ErrorKind::CannotCreate, folder, ec);
}

// Copies `from` to `to` unless something of that name is there already.
void CopyIfMissing(const fs::path& from, const fs::path& to) {
    std::error_code ec;
    if (fs::symlink_status(to, ec).type() != fs::file_type::not_found) return;
    try {
        const std::string bytes = TReadFile(from.string(), FileRole::File).ReadAll();
        WriteFileAtomically(to.string(), bytes.data(), bytes.size(), FileRole::UserFolder);
    } catch (const QuarvelError& e) {
        throw ProgramFolderError(e);
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
    if (ec) Refuse(ErrorKind::CannotRead, from, ec);
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
        throw ProgramFolderError(
            QuarvelError(ErrorKind::NoUserFolder, FileRole::UserFolder, "~/.local/share/quarvel"));
    const fs::path folder(user);
    MakeFolder(folder); // first, so that a failure names the user's folder itself
    for (const char* sub : {"chip", "map", "dat/unpacked"}) MakeFolder(folder / sub);
    Seed(dir / InstalledDataFolder, folder);
    return user + "/";
}

} // namespace quarvel
