// TDesktop: the editor's ties to the user's desktop for one run: the recovery copy's timer,
// the recent files in the File menu and the user's settings, map files dropped on the
// frame, and files handed over by a second start. It only forwards to the editor's rules.
#pragma once

#include "editor/recentfiles.h"
#include "editor/recovery.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>
#include <deque>
#include <memory>
#include <string>

class QAction;
class QLocalServer;
class QLockFile;

namespace quarvel {

class TEditorState;
class TWindowSet;

// The per-user names of the running copy's lock file and hand-over socket, in the
// temporary folder.
QString RunningCopyLockName();
QString HandOverSocketName();

// A second start with a file: hands `file` (an absolute file-system name) to the running
// copy. 0 when it was taken, 1 when no running copy answered within a few seconds, -1 when
// the running copy ended meanwhile and `lock` is now this process's (it runs as the first).
int HandOverToRunningCopy(QLockFile& lock, const std::string& file);

class TDesktop : public QObject, public IRecentFilesStore, public IRecentFilesMenu {
public:
    // Installs the recovery copy (in the user's state folder) and the recent files, and
    // listens for other starts. The editor must have started.
    explicit TDesktop(TWindowSet& windows);
    ~TDesktop() override;

    // Offers a copy left behind and opens `file` (may be empty), once the message loop runs.
    void Start(const std::string& file);

    // IRecentFilesStore: QSettings of the user ("quarvel", key "RecentFiles").
    std::vector<std::string> Load() override;
    void Save(const std::vector<std::string>& paths) override;
    // IRecentFilesMenu: numbered items after 名前を付けて保存, before the separator above 終了.
    void ShowRecentFiles(const std::vector<std::string>& paths) override;

    // Queues a file to open (a drop, another start) and opens it when no dialog is up.
    void OpenLater(const std::string& path);
    QList<QAction*> RecentItems() const { return Items; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Listen();
    void OpenQueued();
    void Raise();

    TWindowSet& Set;
    TEditorState& State; // the editor of Set
    std::unique_ptr<IRecoveryStore> RecoveryStore;
    std::unique_ptr<TRecovery> Recovery;
    std::unique_ptr<TRecentFiles> Recent;
    QTimer RecoveryTimer;
    QElapsedTimer Clock;
    QLocalServer* Server = nullptr;
    QAction* RecentSeparator = nullptr;
    QList<QAction*> Items;
    std::deque<std::string> Queue;
    bool Started = false;
};

} // namespace quarvel
