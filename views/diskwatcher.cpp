// TDiskWatcher: the system's file notices, the ticks while active, and the checks they start.
#include "views/diskwatcher.h"

#include "editor/diskfile.h"
#include "editor/global.h"
#include "views/application.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <sys/stat.h>

namespace quarvel {

TDiskWatcher::TDiskWatcher(TEditorState& state, QObject* parent) : QObject(parent), State(state) {
    Settle.setSingleShot(true);
    Settle.setInterval(SettleMs);
    Ticker.setInterval(TickMs);
    connect(&Settle, &QTimer::timeout, this, &TDiskWatcher::CheckNow);
    connect(&Ticker, &QTimer::timeout, this, &TDiskWatcher::Tick);
    // Each notice (re)starts the settle time: a burst of them makes one check.
    connect(&Watcher, &QFileSystemWatcher::fileChanged, this, &TDiskWatcher::Changed);
    connect(&Watcher, &QFileSystemWatcher::directoryChanged, this, &TDiskWatcher::Changed);
    connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState s) {
        if (s == Qt::ApplicationActive) {
            Ticker.start();
            CheckNow();
        } else {
            Ticker.stop();
        }
    });
    if (Active()) Ticker.start();
}

bool TDiskWatcher::Active() const {
    return QGuiApplication::applicationState() == Qt::ApplicationActive;
}

QStringList TDiskWatcher::Watched() const {
    return Watcher.files() + Watcher.directories();
}

void TDiskWatcher::Changed() {
    Pending = true;
    Settle.start();
}

void TDiskWatcher::Tick() {
    // The map may have a new file (opened, saved under another name). Otherwise, while the
    // system watches, a tick costs no call to it.
    const bool moved = QFile::decodeName(QByteArray::fromStdString(State.DiskFile.Path)) != Path;
    if (moved) Arm();
    if (moved || Pending || !FileWatched || !FolderWatched) CheckNow();
}

void TDiskWatcher::CheckNow() {
    Pending = true;
    // Never a question over another dialog, an open menu or in the middle of a drag.
    if (!Active() || QApplication::activeModalWidget() || QApplication::activePopupWidget() ||
        QGuiApplication::mouseButtons() != Qt::NoButton)
        return;
    Pending = false;
    RunGuarded([this] { CheckDiskFile(State); });
    Arm();
}

void TDiskWatcher::Arm() {
    const QString path = QFile::decodeName(QByteArray::fromStdString(State.DiskFile.Path));
    if (path != Path) {
        const QStringList old = Watched();
        if (!old.isEmpty()) Watcher.removePaths(old);
        Path = path;
        PathInode = 0;
        FileWatched = FolderWatched = false;
        if (Path.isEmpty()) return;
    }
    if (Path.isEmpty()) return;
    const QString folder = QFileInfo(Path).absolutePath();
    if (!Watcher.directories().contains(folder)) FolderWatched = Watcher.addPath(folder);
    // A file replaced by a rename is another file: the watch on the old one tells nothing
    // more. A file that is gone cannot be watched; the folder tells when it comes back.
    struct stat st;
    const std::string name = State.DiskFile.Path;
    const quint64 inode = ::stat(name.c_str(), &st) == 0 ? quint64(st.st_ino) : 0;
    if (inode != PathInode || !Watcher.files().contains(Path)) {
        if (Watcher.files().contains(Path)) Watcher.removePath(Path);
        FileWatched = inode != 0 && Watcher.addPath(Path);
        PathInode = FileWatched ? inode : 0;
    }
}

} // namespace quarvel
