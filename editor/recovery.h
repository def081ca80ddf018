// Crash recovery: while the map has unsaved changes, a copy of it is kept in the user's state
// folder, and a copy left behind by an editor that did not end cleanly is offered again.
#pragma once

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <vector>

namespace quarvel {

class TMap;
class TEditorState;

// Where the recovery copy lives. One copy at a time: the map file and the name of the file
// the map came from (empty for a map that has never had a file).
class IRecoveryStore {
public:
    virtual ~IRecoveryStore() = default;
    // The original file name of a usable copy, or nothing when there is none.
    virtual std::optional<std::string> Find() = 0;
    // Loads the copy into `map` as LoadFromFile does; false when it is not a map file.
    virtual bool Load(TMap& map) = 0;
    // Writes `map` (its 49,200 file bytes) and its FileName as the copy; throws QuarvelError.
    virtual void Save(const TMap& map) = 0;
    virtual void Remove() = 0;
    // When the copy found was written, when that is known.
    virtual std::optional<std::time_t> CopyTime() { return std::nullopt; }
};

// The copy as two files in a folder: "unsaved.map" and "unsaved.source" (the original file
// name's bytes). The name file is written before the map and only changes after the old map
// is removed, so a map file always stands beside the name it was written with.
class TRecoveryFolder : public IRecoveryStore {
public:
    explicit TRecoveryFolder(std::string folder); // created (mode 0700) on the first Save
    std::optional<std::string> Find() override;
    bool Load(TMap& map) override;
    void Save(const TMap& map) override;
    void Remove() override;
    std::optional<std::time_t> CopyTime() override;
    std::string MapPath() const { return Folder + "/unsaved.map"; }
    std::string SourcePath() const { return Folder + "/unsaved.source"; }

private:
    std::string Folder;
    std::optional<std::string> WrittenSource; // what SourcePath holds, once known
};

// Writes `map`'s file bytes to `path` through a temporary file beside it, without changing
// the map's FileName or Modified. Throws QuarvelError naming the path.
void WriteMapCopy(const TMap& map, const std::string& path);

// When copies are written. The editor calls Tick every TickMs; a change is in a copy once
// the map has been quiet for QuietMs, and never later than CapMs after the first change
// that no copy holds yet (+ one tick): well within 30 s.
class TRecovery {
public:
    static constexpr int64_t TickMs = 1000;
    static constexpr int64_t QuietMs = 2000;
    static constexpr int64_t CapMs = 25000;

    TRecovery(TEditorState& state, IRecoveryStore& store) : State(state), Store(store) {}

    // At start: takes note of a copy that an earlier run left behind. Until that copy is
    // offered (OfferLeftCopy), nothing is written over it.
    void FindLeftCopy();
    bool HasLeftCopy() const { return LeftOriginal.has_value(); }
    // True when the left copy belongs to the file `path`.
    bool LeftCopyBelongsTo(const std::string& path) const;
    // Asks "前回保存されなかった編集内容があります。復元しますか？", naming the map the copy
    // belongs to (its file's name, or 無題) and the time of the copy. いいえ removes the copy;
    // any other answer (はい, or a box closed without a choice) loads it into TheMap as a
    // modified map under its original file name, with an empty undo history, and resets the
    // views. True when the copy was restored.
    bool OfferLeftCopy();

    // Writes a copy of TheMap when it is due (see above). A failed write is reported once
    // per run through the message boxes and tried again later.
    void Tick(int64_t nowMs);
    // TheMap has no unsaved changes any more (saved, new, opened, or dropped at exit): the
    // copy goes.
    void Discard();
    // The map's file no longer holds the map as it was without changes (another program
    // changed or removed it): the map is copied as one with changes.
    void FileLost();
    // The editor ends without asking (a logout, a signal): unsaved changes that no copy
    // holds yet go into a copy at once. Throws QuarvelError when it cannot be written.
    void KeepNow();

private:
    std::vector<uint8_t> Snapshot() const;

    TEditorState& State;
    IRecoveryStore& Store;
    std::optional<std::string> LeftOriginal;
    bool CopyExists = false;
    // What the copy holds, or, with no copy, the map as it was when it had no changes.
    std::vector<uint8_t> Copied;
    std::string CopiedName;
    std::vector<uint8_t> Previous; // the map at the last tick
    std::optional<int64_t> FirstChange, LastChange;
    bool Busy = false;
    bool FailureReported = false;
};

} // namespace quarvel
