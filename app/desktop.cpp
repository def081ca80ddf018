// TDesktop: timer, settings, menu items, drops and the hand-over socket, forwarding to the
// editor's recovery, recent files and OpenMapFile.
#include "app/desktop.h"

#include "app/Form_Main.h"
#include "app/windowset.h"
#include "editor/commands.h"
#include "editor/global.h"
#include "editor/session.h"
#include "editor/userfolders.h"
#include "views/application.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QMenu>
#include <QMimeData>
#include <QSettings>
#include <QThread>
#include <QUrl>
#include <unistd.h>

namespace quarvel {

namespace {

constexpr int RetryMs = 250; // a queued file waits this long for a dialog to close
constexpr int HandOverTimeoutMs = 10000;

QString RunningCopyFile(const char* suffix) {
    return QDir(QDir::tempPath()).filePath(QString("quarvel-%1.%2").arg(getuid()).arg(suffix));
}

std::string FileSystemName(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

QString ShownName(const std::string& path) {
    return QFile::decodeName(QByteArray::fromStdString(path));
}

// The local .map files of a drag, in order.
std::vector<std::string> DraggedFiles(const QMimeData* data) {
    std::vector<std::string> files;
    if (data && data->hasUrls())
        for (const QUrl& url : data->urls())
            if (url.isLocalFile()) files.push_back(FileSystemName(url.toLocalFile()));
    return files;
}

QSettings UserSettings() {
    return QSettings(QSettings::IniFormat, QSettings::UserScope, "quarvel", "quarvel");
}

} // namespace

QString RunningCopyLockName() {
    return RunningCopyFile("lock");
}
QString HandOverSocketName() {
    return RunningCopyFile("socket");
}

int HandOverToRunningCopy(QLockFile& lock, const std::string& file) {
    QElapsedTimer waited;
    waited.start();
    // The running copy may still be starting (its socket not yet open), or just ending.
    while (waited.elapsed() < HandOverTimeoutMs) {
        QLocalSocket socket;
        socket.connectToServer(HandOverSocketName());
        if (socket.waitForConnected(1000)) {
            const std::string message = EncodeHandOver(file);
            socket.write(message.data(), qint64(message.size()));
            if (socket.waitForBytesWritten(HandOverTimeoutMs) &&
                (socket.bytesAvailable() > 0 || socket.waitForReadyRead(HandOverTimeoutMs)))
                return socket.read(1) == QByteArray(1, '\1') ? 0 : 1;
            break;
        }
        if (lock.tryLock(0)) return -1;
        QThread::msleep(100);
    }
    return 1;
}

TDesktop::TDesktop(TWindowSet& windows) : Set(windows), State(windows.State) {
    Clock.start();
    const std::string state = UserStateFolder();
    if (!state.empty()) {
        RecoveryStore = std::make_unique<TRecoveryFolder>(state);
        Recovery = std::make_unique<TRecovery>(State, *RecoveryStore);
        State.Session.Recovery = Recovery.get();
    }
    Recent = std::make_unique<TRecentFiles>(State, *this, *this);
    State.Session.Recent = Recent.get();

    RecoveryTimer.setInterval(int(TRecovery::TickMs));
    connect(&RecoveryTimer, &QTimer::timeout, this, [this] {
        if (Recovery) RunGuarded([this] { Recovery->Tick(Clock.elapsed()); });
    });

    // Drops on the views reach the frame: none of the widgets inside accepts drops itself.
    Set.Form1->setAcceptDrops(true);
    Set.Form1->installEventFilter(this);
    Listen();
}

TDesktop::~TDesktop() {
    Set.Form1->removeEventFilter(this);
    State.Session = EditorSession{};
    if (Server) Server->close();
}

void TDesktop::Start(const std::string& file) {
    QTimer::singleShot(0, this, [this, file] {
        RunGuarded([&] { StartSession(State, file); });
        Started = true;
        RecoveryTimer.start();
        OpenQueued();
    });
}

void TDesktop::Listen() {
    // Only the running copy gets here (it holds the lock), so a socket left by a copy that
    // was killed is stale.
    const QString name = HandOverSocketName();
    QLocalServer::removeServer(name);
    Server = new QLocalServer(this);
    Server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!Server->listen(name)) return; // a second start then reports that nobody answered
    connect(Server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = Server->nextPendingConnection()) {
            auto buffer = std::make_shared<std::string>();
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket, buffer] {
                const QByteArray bytes = socket->readAll();
                buffer->append(bytes.constData(), size_t(bytes.size()));
                std::string path;
                const int got = DecodeHandOver(*buffer, path);
                if (got == 0) return;
                if (got > 0) {
                    socket->write(QByteArray(1, '\1'));
                    socket->flush();
                    Raise();
                    OpenLater(path);
                }
                socket->disconnectFromServer();
            });
        }
    });
}

void TDesktop::Raise() {
    QWidget* frame = Set.Form1;
    frame->setWindowState((frame->windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    frame->show();
    frame->raise();
    frame->activateWindow();
}

void TDesktop::OpenLater(const std::string& path) {
    Queue.push_back(path);
    QTimer::singleShot(0, this, &TDesktop::OpenQueued);
}

void TDesktop::OpenQueued() {
    if (Queue.empty()) return;
    // Not in the middle of another command's question or dialog: try again later.
    if (!Started || QApplication::activeModalWidget() || QApplication::activePopupWidget()) {
        QTimer::singleShot(RetryMs, this, &TDesktop::OpenQueued);
        return;
    }
    const std::string path = Queue.front();
    Queue.pop_front();
    RunGuarded([&] { OpenMapFile(State, path); });
    if (!Queue.empty()) QTimer::singleShot(0, this, &TDesktop::OpenQueued);
}

bool TDesktop::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Set.Form1) {
        if (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove) {
            auto* drag = static_cast<QDropEvent*>(event);
            if (!DroppedMap(DraggedFiles(drag->mimeData())).empty()) {
                drag->acceptProposedAction();
                return true;
            }
        } else if (event->type() == QEvent::Drop) {
            auto* drop = static_cast<QDropEvent*>(event);
            const std::string map = DroppedMap(DraggedFiles(drop->mimeData()));
            if (!map.empty()) {
                drop->acceptProposedAction();
                OpenLater(map); // the drag's source is not kept waiting on the save question
                return true;
            }
        }
    }
    return QObject::eventFilter(watched, event);
}

std::vector<std::string> TDesktop::Load() {
    std::vector<std::string> paths;
    QSettings settings = UserSettings();
    const int n = settings.beginReadArray("RecentFiles");
    for (int i = 0; i < n; ++i) {
        settings.setArrayIndex(i);
        paths.push_back(settings.value("Path").toByteArray().toStdString());
    }
    settings.endArray();
    return paths;
}

void TDesktop::Save(const std::vector<std::string>& paths) {
    QSettings settings = UserSettings();
    settings.remove("RecentFiles");
    settings.beginWriteArray("RecentFiles", int(paths.size()));
    for (int i = 0; i < int(paths.size()); ++i) {
        settings.setArrayIndex(i);
        settings.setValue("Path", QByteArray::fromStdString(paths[size_t(i)]));
    }
    settings.endArray();
    settings.sync();
}

void TDesktop::ShowRecentFiles(const std::vector<std::string>& paths) {
    QAction* exitSeparator = Set.Form1->MenuItem("SEPARATOR1");
    QMenu* file = Set.Form1->MenuItem("FILE1")->menu();
    if (!exitSeparator || !file) return;
    qDeleteAll(Items);
    Items.clear();
    if (!RecentSeparator) {
        RecentSeparator = new QAction(this);
        RecentSeparator->setSeparator(true);
        file->insertAction(exitSeparator, RecentSeparator);
    }
    RecentSeparator->setVisible(!paths.empty());
    for (size_t i = 0; i < paths.size(); ++i) {
        QString name = ShownName(paths[i]);
        QString caption =
            QString("&%1 %2").arg(i + 1).arg(QString(name).section('/', -1).replace("&", "&&"));
        auto* item = new QAction(caption, this);
        item->setObjectName(QString("RECENT%1").arg(i + 1));
        item->setStatusTip(name);
        item->setToolTip(name);
        connect(item, &QAction::triggered, this, [this, i] {
            // Opening rebuilds these items: not while this one is still being triggered.
            QTimer::singleShot(0, this, [this, i] {
                if (Recent) RunGuarded([&] { Recent->Open(i); });
            });
        });
        file->insertAction(exitSeparator, item);
        Items.append(item);
    }
}

} // namespace quarvel
