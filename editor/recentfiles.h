// The recent files of the File menu: the last maps opened or saved, newest first, kept per
// user between runs.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace quarvel {

class TEditorState;

// Where the list is kept between runs.
class IRecentFilesStore {
public:
    virtual ~IRecentFilesStore() = default;
    virtual std::vector<std::string> Load() = 0;
    virtual void Save(const std::vector<std::string>& paths) = 0;
};

// The menu items that show the list.
class IRecentFilesMenu {
public:
    virtual ~IRecentFilesMenu() = default;
    virtual void ShowRecentFiles(const std::vector<std::string>& paths) = 0;
};

// Shown when a listed file is gone (before its name).
extern const char* const RecentFileGone; // "ファイルが見つかりません。一覧から外します。"

class TRecentFiles {
public:
    static constexpr size_t MaxCount = 8;

    // Reads the kept list (absolute names, no repeats, at most MaxCount) and shows it.
    TRecentFiles(TEditorState& state, IRecentFilesStore& store, IRecentFilesMenu& menu);

    const std::vector<std::string>& Paths() const { return List; }
    // `path` was opened or saved: it moves to the top; the ninth name falls off.
    void Add(const std::string& path);
    // The menu's item `index`: a file that no longer exists leaves the list with a message;
    // any other is opened as OpenMapFile does (save question first).
    void Open(size_t index);

private:
    void Put(const std::string& path); // to the top, at most MaxCount
    void Changed();

    TEditorState& State;
    IRecentFilesStore& Store;
    IRecentFilesMenu& Menu;
    std::vector<std::string> List;
};

} // namespace quarvel
