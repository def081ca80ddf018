// TRunningCopy: the lock file and the hand-over socket in the user's runtime folder.
#include "app/runningcopy.h"

#include "editor/session.h"
#include "editor/userfolders.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>
#include <unistd.h>

namespace quarvel {

namespace {

constexpr int HandOverTimeoutMs = 10000;

std::string FileSystemName(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

std::string ForeignText(const QString& path) {
    return QCoreApplication::translate("RunningCopy",
                                       "「%1」は別のユーザーのものです。\n"
                                       "他のユーザーのファイルは使えないため、起動を中止します。")
        .arg(path)
        .toStdString();
}

} // namespace

TRunningCopy::TRunningCopy() : TRunningCopy(QFile::decodeName(RunningCopyFolder().c_str())) {}

TRunningCopy::TRunningCopy(const QString& folder) : Folder(folder) {}

TRunningCopy::~TRunningCopy() {
    if (Server) Server->close(); // removes the socket file
    Server.reset();
    File.reset(); // unlocks: the lock file goes
}

LockResult TRunningCopy::Lock() {
    if (Folder.isEmpty()) return LockResult::Unguarded;
    const uid_t me = ::getuid();
    switch (MakePrivateFolder(FileSystemName(Folder), me)) {
    case PrivateFolder::Foreign:
        ProblemText = ForeignText(Folder);
        return LockResult::Foreign;
    case PrivateFolder::Unusable:
        return LockResult::Unguarded;
    case PrivateFolder::Ready:
        break;
    }
    for (const QString& name : {LockName(), SocketName()}) {
        if (OwnedByAnother(FileSystemName(name), me)) {
            ProblemText = ForeignText(name);
            return LockResult::Foreign;
        }
    }
    // A lock left by a process that has ended (even by a crash) is taken over.
    File = std::make_unique<QLockFile>(LockName());
    File->setStaleLockTime(0);
    if (File->tryLock(0)) return LockResult::Taken;
    if (File->error() == QLockFile::LockFailedError) return LockResult::HeldByOther;
    File.reset();
    return LockResult::Unguarded;
}

HandOverResult TRunningCopy::HandOver(const std::string& file) {
    QElapsedTimer waited;
    waited.start();
    // The running copy may still be starting (its socket not yet open), or just ending.
    while (waited.elapsed() < HandOverTimeoutMs) {
        QLocalSocket socket;
        socket.connectToServer(SocketName());
        if (socket.waitForConnected(1000)) {
            const std::string message = EncodeHandOver(file);
            socket.write(message.data(), qint64(message.size()));
            if (socket.waitForBytesWritten(HandOverTimeoutMs) &&
                (socket.bytesAvailable() > 0 || socket.waitForReadyRead(HandOverTimeoutMs)))
                return socket.read(1) == QByteArray(1, '\1') ? HandOverResult::Taken
                                                             : HandOverResult::NoAnswer;
            // No answer: the running copy ended while we spoke. Its lock comes free, and
            // this start becomes the editor (or calls the next running copy).
        }
        if (File && File->tryLock(0)) return HandOverResult::CopyEnded;
        QThread::msleep(100);
    }
    return HandOverResult::NoAnswer;
}

void TRunningCopy::Listen(std::function<void(const std::string& path)> opened) {
    if (!File || !File->isLocked()) return; // only the copy holding the lock listens
    // Only the running copy gets here, so a socket left by a copy that was killed is stale.
    QLocalServer::removeServer(SocketName());
    Server = std::make_unique<QLocalServer>();
    Server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!Server->listen(SocketName())) return; // a second start then says nobody answered
    QLocalServer* server = Server.get();
    QObject::connect(server, &QLocalServer::newConnection, server, [server, opened] {
        while (QLocalSocket* socket = server->nextPendingConnection()) {
            auto buffer = std::make_shared<std::string>();
            QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            QObject::connect(socket, &QLocalSocket::readyRead, socket, [socket, buffer, opened] {
                const QByteArray bytes = socket->readAll();
                buffer->append(bytes.constData(), size_t(bytes.size()));
                std::string path;
                const HandOverMessage got = DecodeHandOver(*buffer, path);
                if (got == HandOverMessage::Partial) return;
                if (got == HandOverMessage::Whole) {
                    socket->write(QByteArray(1, '\1'));
                    socket->flush();
                    opened(path);
                }
                socket->disconnectFromServer();
            });
        }
    });
}

} // namespace quarvel
