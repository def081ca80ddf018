// The recent files: the list's order and limit, and opening an item.
#include "editor/recentfiles.h"

#include "editor/commands.h"
#include "editor/global.h"
#include "editor/session.h"
#include "editor/texts.h"
#include "editor/windows.h"

#include <algorithm>
#include <cerrno>
#include <sys/stat.h>

namespace quarvel {

const char* const RecentFileGone =
    QUARVEL_TR_NOOP("RecentFiles", "ファイルが見つかりません。一覧から外します。");

TRecentFiles::TRecentFiles(TEditorState& state, IRecentFilesStore& store, IRecentFilesMenu& menu)
    : State(state), Store(store), Menu(menu) {
    // The kept list may have been edited by hand: take it in order, as Add would have.
    const std::vector<std::string> kept = Store.Load();
    for (auto it = kept.rbegin(); it != kept.rend(); ++it)
        if (!it->empty()) Put(*it);
    Menu.ShowRecentFiles(List);
}

void TRecentFiles::Add(const std::string& path) {
    if (path.empty()) return;
    Put(path);
    Changed();
}

void TRecentFiles::Put(const std::string& path) {
    const std::string name = AbsoluteFileName(path);
    List.erase(std::remove(List.begin(), List.end(), name), List.end());
    List.insert(List.begin(), name);
    if (List.size() > MaxCount) List.resize(MaxCount);
}

void TRecentFiles::Open(size_t index) {
    if (index >= List.size()) return;
    const std::string path = List[index];
    struct stat st;
    if (::stat(path.c_str(), &st) != 0 && (errno == ENOENT || errno == ENOTDIR)) {
        List.erase(List.begin() + std::ptrdiff_t(index));
        Changed();
        State.Windows.Messages->Show(path + "\n" + Tr("RecentFiles", RecentFileGone),
                                     Tr("Messages", "エラー"), MsgButtons::Ok);
        return;
    }
    OpenMapFile(State, path); // other errors (no permission, ...) are the open's to report
}

void TRecentFiles::Changed() {
    Store.Save(List);
    Menu.ShowRecentFiles(List);
}

} // namespace quarvel
