// Crash recovery: the copy's two files in the state folder, and when the editor writes,
// offers and removes the copy.
#include "editor/recovery.h"

#include "editor/changes.h"
#include "editor/commands.h"
#include "editor/diskfile.h"
#include "editor/errortext.h"
#include "editor/global.h"
#include "editor/infopanel.h"
#include "editor/session.h"
#include "editor/texts.h"
#include "editor/windows.h"
#include "map/fileio.h"
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

constexpr const char* OfferText =
    QUARVEL_TR_NOOP("Recovery", "前回保存されなかった編集内容があります。復元しますか？");

// Copies are private to the user: 0600 in a 0700 folder, written through the one safe-save
// routine (a link planted at its temporary name is not followed).
void WritePrivateFile(const std::string& path, const std::string& bytes) {
    WriteFileAtomically(path, bytes.data(), bytes.size(), FileRole::RecoveryCopy,
                        TSaveFile::Choices{TSaveFile::Flushed, 0600, {}});
}

// The whole of a small regular file, read without blocking (a FIFO never hangs us).
// Nothing when it is missing, not a regular file, or longer than `limit`.
std::optional<std::string> ReadSmallFile(const std::string& path, size_t limit) {
    try {
        TReadFile file(path, FileRole::RecoveryCopy);
        if (file.Size() > limit) return std::nullopt;
        std::string bytes(size_t(file.Size()), '\0');
        if (file.Read(bytes.data(), bytes.size()) != bytes.size()) return std::nullopt;
        return bytes;
    } catch (const QuarvelError&) {
        return std::nullopt;
    }
}

// The question, with the map the copy belongs to and when the copy was written.
std::string OfferQuestion(const std::string& original, std::optional<std::time_t> written) {
    const size_t slash = original.rfind('/');
    std::string text =
        Tr("Recovery", OfferText) +
        Arg(Tr("Recovery", "\n\nマップ: %1"),
            {original.empty() ? Tr("Recovery", "無題") : original.substr(slash + 1)});
    struct tm local;
    char when[32];
    if (written && ::localtime_r(&*written, &local) &&
        std::strftime(when, sizeof when, "%Y/%m/%d %H:%M", &local) > 0)
        text += Arg(Tr("Recovery", "\n保存時刻: %1"), {when});
    return text;
}

void CreateFolder(const std::string& folder) {
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(folder).parent_path(), ec);
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST)
        throw QuarvelError(ErrorKind::CannotCreate, FileRole::Folder, folder, errno);
}

} // namespace

// ---- The one place that writes the map's bytes of a copy ---------------------------------

void WriteMapCopy(const TMap& map, const std::string& path) {
    std::string bytes(reinterpret_cast<const char*>(map.Header), TMap::HeaderSize);
    bytes.append(reinterpret_cast<const char*>(map.Cells), TMap::CellCount);
    WritePrivateFile(path, bytes);
}

// ---- TRecoveryFolder ---------------------------------------------------------------------

TRecoveryFolder::TRecoveryFolder(std::string folder) : Folder(std::move(folder)) {}

std::optional<std::string> TRecoveryFolder::Find() {
    // Temporary files of a write that was killed half-way: this is the only editor writing
    // here (one running copy per user), so none of them is still being written.
    ::unlink(SaveTempPath(MapPath()).c_str());
    ::unlink(SaveTempPath(SourcePath()).c_str());
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
            throw QuarvelError(ErrorKind::CannotSave, FileRole::RecoveryCopy, MapPath(), errno);
        WrittenSource.reset();
        WritePrivateFile(SourcePath(), map.FileName);
        WrittenSource = map.FileName;
    }
    WriteMapCopy(map, MapPath());
}

std::optional<std::time_t> TRecoveryFolder::CopyTime() {
    struct stat st;
    if (::stat(MapPath().c_str(), &st) != 0) return std::nullopt;
    return st.st_mtime;
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
    const int answer = State.Windows.Messages->Show(OfferQuestion(original, Store.CopyTime()),
                                                    Tr("Messages", "確認"), MsgButtons::YesNo);
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
    KeepBaselineOf(State, original); // the changes are those since the file was saved
    AdoptDiskFile(State);
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
            State.Windows.Messages->Show(ShownErrorText(e), ApplicationTitle, MsgButtons::Ok);
        }
    }
}

void TRecovery::KeepNow() {
    if (LeftOriginal || !State.TheMap || !State.TheMap->Modified) return;
    std::vector<uint8_t> now = Snapshot();
    if (CopyExists && now == Copied && State.TheMap->FileName == CopiedName) return;
    CopyExists = true;
    Store.Save(*State.TheMap);
    Copied = Previous = std::move(now);
    CopiedName = State.TheMap->FileName;
    FirstChange.reset();
    LastChange.reset();
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

void TRecovery::FileLost() {
    if (!CopyExists) Copied.clear(); // the unchanged map is on disk nowhere any more
}

} // namespace quarvel
