// The map's file on disk as the editor last loaded or saved it, and what the editor does when
// another program changes, replaces or removes that file.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quarvel {

class TEditorState;

// What stat tells of a file: enough to see a new version without reading it.
struct TFileStamp {
    uint64_t Device = 0, Inode = 0, Size = 0;
    int64_t ModifiedSec = 0, ModifiedNsec = 0, ChangedSec = 0, ChangedNsec = 0;
    bool operator==(const TFileStamp& o) const;
    bool operator!=(const TFileStamp& o) const { return !(*this == o); }
};

// One look at the file: gone, or there with this stamp and, when it was read, the map bytes a
// load would take from it (the first 49,200 bytes, missing ones as zero).
struct TFileLook {
    enum Kind { Same, Changed, Gone } What = Same;
    std::optional<TFileStamp> Stamp; // none when stat failed
    std::vector<uint8_t> Bytes;      // read: empty when not read or not readable
    bool Read = false;
};

// Kept in the editor state (TEditorState::DiskFile).
struct TDiskFile {
    // The file the rest belongs to; empty while the map has no file (new map).
    std::string Path;
    // The map bytes of the file as last loaded or saved (49,200).
    std::vector<uint8_t> Bytes;
    // Its stamp then. A stamp taken within a second of the file's last write may miss a
    // write of the same size in the same clock tick: it only spares reading the file once it
    // is older than that (Trusted).
    std::optional<TFileStamp> Stamp;
    bool Trusted = false;
    // The version of the file already reported to the user (told, asked, or the map marked
    // modified), so that one change is reported once.
    std::optional<TFileLook> Reported;
    bool Asking = false; // a question or message about the file is up
};

// Looks at `path` against what `file` holds (Path is not consulted). Same when the stamp is
// trusted and unchanged, or when the content read is the kept one; Gone when there is no
// such file (ENOENT, ENOTDIR); Changed otherwise (new content, a folder or other non-regular
// file, a file that cannot be read).
TFileLook LookAtFile(const TDiskFile& file, const std::string& path);

// TheMap was just loaded from or saved to TheMap->FileName: that file, as it is now, becomes
// the one the map is compared with. A file that does not hold the map's bytes (another
// program wrote it right after us) keeps no stamp, so the next check reads it.
void NoteDiskFile(TEditorState& State);
// A map restored from a recovery copy under its file's name: that file as it is now becomes
// the one compared with; nothing is watched when it cannot be read.
void AdoptDiskFile(TEditorState& State);
// The map has no file any more (a new map).
void ForgetDiskFile(TEditorState& State);

// Run when the file may have changed (a notice from the file system, the application coming
// to the front, a timer). Reports each new version of the file once:
//  - an unmodified map: asks whether to load it again; はい loads it as 開く does, いいえ
//    keeps the editor's copy, which then counts as modified;
//  - a modified map: says so and keeps the editor's copy;
//  - the file gone: says so and marks the map modified.
// A reload that fails (a folder, a file that is not a map, one that cannot be read, one
// shorter than a map) reports the error and keeps the editor's copy, marked modified; an
// error of the load itself propagates as 開く lets it.
void CheckDiskFile(TEditorState& State);

// Asked by 上書き保存 before it writes TheMap->FileName.
enum class SaveOver { Write, Cancel, AskName };
// Write when the file is as last loaded or saved (or the map has none); when another program
// changed it, asks "ファイルは他のプログラムで変更されています。上書きしますか？" (Write on
// はい, else Cancel); AskName when the file is gone.
SaveOver BeforeSave(TEditorState& State);

} // namespace quarvel
