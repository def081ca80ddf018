// Crash recovery: the copy's two files in the state folder, and when the editor writes,
// offers and removes the copy.
#include "editor/recovery.h"

#include "editor/commands.h"
#include "editor/global.h"
#include "editor/infopanel.h"
#include "editor/session.h"
#include "editor/windows.h"
#include "map/mapclass.h"
#include "map/maperror.h"

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace quarvel {

namespace {

constexpr const char* OfferText = "前回保存されなかった編集内容があります。復元しますか？";
constexpr const char* TempInfix = ".tmp-"; // temporary files: <target>.tmp-XXXXXX

std::string ErrnoText(int err) {
    return std::strerror(err);
}

// Writes `bytes` to `path` safely: a temporary file beside it (mode 0600), written, flushed
// to disk and renamed over the target. A write killed half-way leaves only a temporary file,
// which TRecoveryFolder::Find removes at the next start.
void WriteFileSafely(const std::string& path, const std::string& bytes) {
    auto fail = [&](const std::string& what, int err) {
        throw QuarvelError("cannot write the recovery copy '" + path + "': " + what +
                           (err ? ": " + ErrnoText(err) : std::string()));
    };
    std::string temp = path + TempInfix + "XXXXXX";
    int fd = ::mkstemp(temp.data());
    if (fd < 0) fail("cannot create a temporary file", errno);
    const char* p = bytes.data();
    size_t left = bytes.size();
    int err = 0;
    while (left > 0 && !err) {
        ssize_t n = ::write(fd, p, left);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            err = n < 0 ? errno : ENOSPC;
            break;
        }
        p += n;
        left -= size_t(n);
    }
    if (!err && ::fsync(fd) != 0) err = errno;
    if (::close(fd) != 0 && !err) err = errno;
    if (!err && ::rename(temp.c_str(), path.c_str()) != 0) err = errno;
    if (err) {
        ::unlink(temp.c_str());
        fail("write failed", err);
    }
    const std::string folder = std::filesystem::path(path).parent_path().string();
    int dir = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir); // best effort: the rename is done
        ::close(dir);
    }
}

// The whole of a small regular file, opened without blocking (a FIFO never hangs us).
// Nothing when it is missing, not a regular file, or longer than `limit`.
std::optional<std::string> ReadSmallFile(const std::string& path, size_t limit) {
    int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    struct stat st;
    std::optional<std::string> result;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && size_t(st.st_size) <= limit) {
        std::string bytes(size_t(st.st_size), '\0');
        size_t done = 0;
        while (done < bytes.size()) {
            ssize_t n = ::read(fd, bytes.data() + done, bytes.size() - done);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) break;
            done += size_t(n);
        }
        if (done == bytes.size()) result = std::move(bytes);
    }
    ::close(fd);
    return result;
}

void CreateFolder(const std::string& folder) {
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(folder).parent_path(), ec);
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST)
        throw QuarvelError("cannot create the folder '" + folder + "': " + ErrnoText(errno));
}

} // namespace

// ---- The one place that writes the map's bytes of a copy ---------------------------------

void WriteMapCopy(const TMap& map, const std::string& path) {
    std::string bytes(reinterpret_cast<const char*>(map.Header), TMap::HeaderSize);
    bytes.append(reinterpret_cast<const char*>(map.Cells), TMap::CellCount);
    WriteFileSafely(path, bytes);
}

// ---- TRecoveryFolder ---------------------------------------------------------------------

TRecoveryFolder::TRecoveryFolder(std::string folder) : Folder(std::move(folder)) {}

std::optional<std::string> TRecoveryFolder::Find() {
    // Temporary files of a write that was killed half-way: this is the only editor writing
    // here (one running copy per user), so none of them is still being written.
    if (DIR* dir = ::opendir(Folder.c_str())) {
        while (dirent* e = ::readdir(dir)) {
            const std::string name = e->d_name;
            if (name.rfind("unsaved.", 0) == 0 && name.find(TempInfix) != std::string::npos)
                ::unlink((Folder + "/" + name).c_str());
        }
        ::closedir(dir);
    }
    // A usable copy is a whole map file; a short or foreign one is not offered.
    const auto bytes = ReadSmallFile(MapPath(), TMap::FileSize);
    if (!bytes || bytes->size() != size_t(TMap::FileSize) ||
        std::memcmp(bytes->data(), "Ver1.6+", 8) != 0)
        return std::nullopt;
    return ReadSmallFile(SourcePath(), MaxHandOverName).value_or(std::string());
}

bool TRecoveryFolder::Load(TMap& map) {
    return map.LoadFromFile(MapPath());
}

void TRecoveryFolder::Save(const TMap& map) {
    CreateFolder(Folder);
    if (WrittenSource != map.FileName) {
        // The map file must never stand beside another map's name: it goes first.
        if (::unlink(MapPath().c_str()) != 0 && errno != ENOENT)
            throw QuarvelError("cannot replace the recovery copy '" + MapPath() +
                               "': " + ErrnoText(errno));
        WrittenSource.reset();
        WriteFileSafely(SourcePath(), map.FileName);
        WrittenSource = map.FileName;
    }
    WriteMapCopy(map, MapPath());
}

void TRecoveryFolder::Remove() {
    ::unlink(MapPath().c_str()); // the map first: a name alone is no copy
    ::unlink(SourcePath().c_str());
    WrittenSource.reset();
}

// ---- TRecovery ---------------------------------------------------------------------------

std::vector<uint8_t> TRecovery::Snapshot() const {
    std::vector<uint8_t> bytes(State.TheMap->Header, State.TheMap->Header + TMap::HeaderSize);
    bytes.insert(bytes.end(), State.TheMap->Cells, State.TheMap->Cells + TMap::CellCount);
    return bytes;
}

void TRecovery::FindLeftCopy() {
    LeftOriginal = Store.Find();
}

bool TRecovery::LeftCopyBelongsTo(const std::string& path) const {
    return LeftOriginal && !LeftOriginal->empty() && SameFile(*LeftOriginal, path);
}

bool TRecovery::OfferLeftCopy() {
    if (!LeftOriginal) return false;
    const std::string original = *LeftOriginal;
    const int answer = State.Windows.Messages->Show(OfferText, "確認", MsgButtons::YesNo);
    LeftOriginal.reset(); // from here on the copy is this run's own or gone
    if (answer == mrNo) {
        Store.Remove();
        CopyExists = false;
        return false;
    }
    CopyExists = true;
    if (!Store.Load(*State.TheMap)) return false; // changed under us: the next copy replaces it
    State.TheMap->FileName = original;
    State.TheMap->Modified = true;
    Copied = Previous = Snapshot();
    CopiedName = original;
    FirstChange.reset();
    LastChange.reset();
    ResetViews(State);
    return true;
}

void TRecovery::Tick(int64_t nowMs) {
    if (Busy || LeftOriginal || !State.TheMap) return;
    Busy = true;
    struct Done {
        bool& Flag;
        ~Done() { Flag = false; }
    } done{Busy};

    std::vector<uint8_t> now = Snapshot();
    if (!State.TheMap->Modified) {
        if (CopyExists) Store.Remove();
        CopyExists = false;
        Copied = now;
        CopiedName = State.TheMap->FileName;
        Previous = std::move(now);
        FirstChange.reset();
        LastChange.reset();
        return;
    }
    if (now == Copied && State.TheMap->FileName == CopiedName) {
        FirstChange.reset(); // every change is in the copy (or was undone)
        LastChange.reset();
        Previous = std::move(now);
        return;
    }
    if (!FirstChange) FirstChange = nowMs;
    if (!LastChange || now != Previous) LastChange = nowMs;
    Previous = now;
    if (nowMs - *LastChange < QuietMs && nowMs - *FirstChange < CapMs) return;

    try {
        CopyExists = true; // also after a failure: the store may have removed the old one
        Store.Save(*State.TheMap);
        Copied = std::move(now);
        CopiedName = State.TheMap->FileName;
        FirstChange.reset();
        LastChange.reset();
    } catch (const std::exception& e) {
        FirstChange = LastChange = nowMs; // try again once the quiet time has passed
        if (!FailureReported) {
            FailureReported = true;
            State.Windows.Messages->Show(e.what(), ApplicationTitle, MsgButtons::Ok);
        }
    }
}

void TRecovery::Discard() {
    if (LeftOriginal) return; // not this run's copy: it is offered first
    Store.Remove();
    CopyExists = false;
    if (!State.TheMap) return;
    Copied = Previous = Snapshot();
    CopiedName = State.TheMap->FileName;
    FirstChange.reset();
    LastChange.reset();
}

} // namespace quarvel
