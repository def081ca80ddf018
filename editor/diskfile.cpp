// The map's file on disk: its stamp and bytes as last loaded or saved, a look at it now, and
// the questions and messages when another program changed it.
#include "editor/diskfile.h"

#include "editor/commands.h"
#include "editor/global.h"
#include "editor/recovery.h"
#include "editor/texts.h"
#include "editor/windows.h"
#include "map/fileio.h"
#include "map/mapclass.h"
#include "map/maperror.h"

#include <cerrno>
#include <ctime>
#include <sys/stat.h>

namespace quarvel {

namespace {

constexpr int64_t NsPerSec = 1000000000;

TFileStamp StampOf(const struct stat& st) {
    TFileStamp s;
    s.Device = uint64_t(st.st_dev);
    s.Inode = uint64_t(st.st_ino);
    s.Size = uint64_t(st.st_size);
    s.ModifiedSec = int64_t(st.st_mtim.tv_sec);
    s.ModifiedNsec = int64_t(st.st_mtim.tv_nsec);
    s.ChangedSec = int64_t(st.st_ctim.tv_sec);
    s.ChangedNsec = int64_t(st.st_ctim.tv_nsec);
    return s;
}

// A stamp can be relied on once the file's last write is more than a second old: a write in
// the same clock tick as the stamp would not show in it. (A later write sets the time anew;
// one that sets an old time back still changes the status time, which the stamp holds.)
bool Settled(const TFileStamp& s) {
    struct timespec now;
    ::clock_gettime(CLOCK_REALTIME, &now);
    const int64_t nowNs = int64_t(now.tv_sec) * NsPerSec + now.tv_nsec;
    return nowNs - (s.ModifiedSec * NsPerSec + s.ModifiedNsec) > NsPerSec;
}

std::vector<uint8_t> MapBytes(const TMap& map) {
    std::vector<uint8_t> bytes(map.Header, map.Header + TMap::HeaderSize);
    bytes.insert(bytes.end(), map.Cells, map.Cells + TMap::CellCount);
    return bytes;
}

// Two looks see the same version of the file.
bool SameVersion(const TFileLook& a, const TFileLook& b) {
    if (a.What != b.What) return false;
    if (a.What == TFileLook::Gone) return true;
    if (a.Stamp && b.Stamp && *a.Stamp == *b.Stamp) return true;
    return a.Read && b.Read && a.Bytes == b.Bytes;
}

// The editor's copy stays and, being on disk nowhere any more, counts as unsaved.
void KeepEditorCopy(TEditorState& State) {
    State.TheMap->Modified = true;
    if (State.Session.Recovery) State.Session.Recovery->FileLost();
    State.Windows.Info->UpdateInfo();
}

int Tell(TEditorState& State, const std::string& text, const std::string& caption,
         MsgButtons buttons) {
    TDiskFile& file = State.DiskFile;
    file.Asking = true;
    struct Done {
        bool& Flag;
        ~Done() { Flag = false; }
    } done{file.Asking};
    return State.Windows.Messages->Show(text, caption, buttons);
}

// はい to the question: the file again, as 開く loads it, but never a file shorter than a
// map (likely cut short or still being written: its missing cells would load as empty).
void Reload(TEditorState& State) {
    const std::string path = State.DiskFile.Path;
    struct stat st;
    if (::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && st.st_size < TMap::FileSize) {
        KeepEditorCopy(State);
        Tell(
            State,
            Arg(Tr("DiskFile", "ファイルが途中までしかないため（%1 バイト）、読み込み直しませんでし"
                               "た。編集中のマップはそのまま残します。"),
                {std::to_string(st.st_size)}),
            Tr("DiskFile", "エラー"), MsgButtons::Ok);
        return;
    }
    bool loaded = false;
    try {
        loaded = OpenMapFile(State, path, SaveQuestion::Asked);
    } catch (...) {
        KeepEditorCopy(State);
        throw;
    }
    if (!loaded) KeepEditorCopy(State);
}

} // namespace

bool TFileStamp::operator==(const TFileStamp& o) const {
    return Device == o.Device && Inode == o.Inode && Size == o.Size &&
           ModifiedSec == o.ModifiedSec && ModifiedNsec == o.ModifiedNsec &&
           ChangedSec == o.ChangedSec && ChangedNsec == o.ChangedNsec;
}

TFileLook LookAtFile(const TDiskFile& file, const std::string& path) {
    TFileLook look;
    struct stat st;
    if (::stat(path.c_str(), &st) != 0) {
        look.What = errno == ENOENT || errno == ENOTDIR ? TFileLook::Gone : TFileLook::Changed;
        return look;
    }
    look.Stamp = StampOf(st);
    if (file.Stamp && file.Trusted && *file.Stamp == *look.Stamp) return look; // Same
    look.What = TFileLook::Changed;
    if (!S_ISREG(st.st_mode)) return look;
    try {
        TReadFile in(path, FileRole::MapFile);
        look.Bytes.assign(TMap::FileSize, 0);
        in.Read(look.Bytes.data(), look.Bytes.size());
        look.Read = true;
    } catch (const QuarvelError&) {
        look.Bytes.clear();
        return look;
    }
    if (look.Bytes == file.Bytes) look.What = TFileLook::Same;
    return look;
}

void NoteDiskFile(TEditorState& State) {
    TDiskFile& file = State.DiskFile;
    file = TDiskFile{};
    file.Path = State.TheMap->FileName;
    file.Bytes = MapBytes(*State.TheMap);
    const TFileLook look = LookAtFile(file, file.Path);
    if (look.What == TFileLook::Same && look.Stamp) {
        file.Stamp = look.Stamp;
        file.Trusted = Settled(*look.Stamp);
    }
}

void AdoptDiskFile(TEditorState& State) {
    TDiskFile& file = State.DiskFile;
    file = TDiskFile{};
    TFileLook look = LookAtFile(file, State.TheMap->FileName);
    if (!look.Read) return;
    file.Path = State.TheMap->FileName;
    file.Bytes = std::move(look.Bytes);
    file.Stamp = look.Stamp;
    file.Trusted = Settled(*look.Stamp);
}

void ForgetDiskFile(TEditorState& State) {
    State.DiskFile = TDiskFile{};
}

void CheckDiskFile(TEditorState& State) {
    TDiskFile& file = State.DiskFile;
    if (file.Asking || !State.TheMap || file.Path.empty() || State.TheMap->FileName != file.Path)
        return;
    TFileLook look = LookAtFile(file, file.Path);
    if (look.What == TFileLook::Same) {
        if (look.Read) { // the same bytes under a new stamp (touched, or copied over)
            file.Stamp = look.Stamp;
            file.Trusted = Settled(*look.Stamp);
        }
        file.Reported.reset();
        return;
    }
    const bool known = file.Reported && SameVersion(*file.Reported, look);
    file.Reported = std::move(look);
    if (known) return;

    const std::string caption = Tr("DiskFile", "確認");
    if (file.Reported->What == TFileLook::Gone) {
        KeepEditorCopy(State);
        Tell(State,
             Tr("DiskFile", "ファイルが他のプログラムで削除されたか、名前を変えられました。編集中"
                            "のマップは保存されていないものとして残します。"),
             caption, MsgButtons::Ok);
    } else if (State.TheMap->Modified) {
        Tell(State,
             Tr("DiskFile", "ファイルが他のプログラムで変更されました。編集中のマップはそのまま残"
                            "します。上書き保存するときにもう一度確認します。"),
             caption, MsgButtons::Ok);
    } else if (Tell(
                   State,
                   Tr("DiskFile", "ファイルが他のプログラムで変更されました。読み込み直しますか？"),
                   caption, MsgButtons::YesNo) == mrYes) {
        Reload(State);
    } else {
        KeepEditorCopy(State);
    }
}

SaveOver BeforeSave(TEditorState& State) {
    TDiskFile& file = State.DiskFile;
    const std::string& name = State.TheMap->FileName;
    if (name.empty() || file.Path != name) return SaveOver::Write;
    const TFileLook look = LookAtFile(file, name);
    switch (look.What) {
    case TFileLook::Same:
        return SaveOver::Write;
    case TFileLook::Gone:
        return SaveOver::AskName;
    case TFileLook::Changed:
        break;
    }
    return Tell(State,
                Tr("DiskFile", "ファイルは他のプログラムで変更されています。上書きしますか？"),
                Tr("DiskFile", "確認"), MsgButtons::YesNo) == mrYes
               ? SaveOver::Write
               : SaveOver::Cancel;
}

} // namespace quarvel
