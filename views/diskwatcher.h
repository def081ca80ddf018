// TDiskWatcher: notices when another program changes the open map's file, and lets the
// editor's rules (CheckDiskFile) decide what to tell the user.
#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <QTimer>

namespace quarvel {

class TEditorState;

// The file and its folder are watched by the system (inotify): a write, a rename over the
// file, a removal, a link pointed elsewhere. The events of one change come in a burst; the
// check follows once they have settled. It runs only while the application is active and no
// dialog, menu or mouse drag is going on; otherwise it waits for the next tick (once a
// second while active) and runs at once when the application comes to the front. Where the
// system cannot watch (no inotify, its limit reached, a file system without notices), each
// tick looks at the file instead: one stat.
class TDiskWatcher : public QObject {
public:
    static constexpr int SettleMs = 200;
    static constexpr int TickMs = 1000;

    explicit TDiskWatcher(TEditorState& state, QObject* parent = nullptr);

    // Looks at the file now, or as soon as no dialog is up.
    void CheckNow();
    // The file and folder the system watches right now (for tests).
    QStringList Watched() const;

private:
    void Arm();
    void Tick();
    void Changed();
    bool Active() const;

    TEditorState& State;
    QFileSystemWatcher Watcher;
    QTimer Settle;
    QTimer Ticker;
    QString Path;          // the file watched (empty: none)
    quint64 PathInode = 0; // the file the watch was set on: a new one needs a new watch
    bool FileWatched = false;
    bool FolderWatched = false;
    bool Pending = false; // a check is due
};

} // namespace quarvel
