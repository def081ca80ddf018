// TDesktop: timer, settings, menu items, drops and handed-over files, forwarding to the
// editor's recovery, recent files and OpenMapFile.
#include "app/desktop.h"

#include "app/recentsettings.h"

#include "app/Form_Main.h"
#include "app/windowset.h"
#include "editor/commands.h"
#include "editor/global.h"
#include "editor/session.h"
#include "editor/userfolders.h"
#include "views/application.h"

#include <QAction>
#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QMenu>
#include <QMimeData>
#include <QSettings>
#include <QUrl>
#include <cstdio>
#include <exception>

namespace quarvel {

namespace {

constexpr int RetryMs = 250; // a queued file waits this long for a dialog to close

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

} // namespace

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
}

TDesktop::~TDesktop() {
    Set.Form1->removeEventFilter(this);
    State.Session = EditorSession{};
}

void TDesktop::Start(const std::string& file) {
    QTimer::singleShot(0, this, [this, file] {
        RunGuarded([&] { StartSession(State, file); });
        Started = true;
        RecoveryTimer.start();
        OpenQueued();
    });
}

void TDesktop::Raise() {
    QWidget* frame = Set.Form1;
    frame->setWindowState((frame->windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    frame->show();
    frame->raise();
    frame->activateWindow();
}

void TDesktop::TakeHandedOver(const std::string& path) {
    Raise();
    OpenLater(path);
}

void TDesktop::EndNow() {
    if (Recovery) {
        try {
            Recovery->KeepNow();
        } catch (const std::exception& e) {
            std::fprintf(stderr, "quarvel: %s\n", e.what()); // no time to ask anyone
        }
    }
    Set.Form1->Terminate();
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
    return ReadRecentFiles(UserSettingsFile("quarvel", "quarvel"), TRecentFiles::MaxCount);
}

void TDesktop::Save(const std::vector<std::string>& paths) {
    // A pipe or huge file in the settings' place stays as it is, unread.
    WriteSettingsFile(UserSettingsFile("quarvel", "quarvel"), [&](QSettings& settings) {
        settings.remove("RecentFiles");
        settings.beginWriteArray("RecentFiles", int(paths.size()));
        for (int i = 0; i < int(paths.size()); ++i) {
            settings.setArrayIndex(i);
            settings.setValue("Path", QByteArray::fromStdString(paths[size_t(i)]));
        }
        settings.endArray();
    });
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
