// TRunningCopy: one running copy of the editor per user. The copy that runs holds a lock file
// and listens on a hand-over socket; a second start with a file hands the file over and
// ends. Both live in the user's private runtime folder (RunningCopyFolder), never in one that
// other users can write; a lock, socket or folder that another user owns is refused.
#pragma once

#include <QLockFile>
#include <QString>
#include <functional>
#include <memory>
#include <string>

class QLocalServer;

namespace quarvel {

enum class LockResult {
    Taken,       // this process is the running copy
    HeldByOther, // another copy runs
    Unguarded,   // no lock can be made here (no folder, a read-only one): run without
    Foreign,     // the folder, lock or socket belongs to another user: Problem() says which
};

enum class HandOverResult {
    Taken,     // the running copy has the file
    NoAnswer,  // no running copy answered within a few seconds
    CopyEnded, // the running copy ended meanwhile; this process holds the lock now
};

class TRunningCopy {
public:
    TRunningCopy(); // in RunningCopyFolder()
    explicit TRunningCopy(const QString& folder);
    ~TRunningCopy(); // the socket file goes, the lock is released
    TRunningCopy(const TRunningCopy&) = delete;
    TRunningCopy& operator=(const TRunningCopy&) = delete;

    LockResult Lock();
    // The message for a Foreign lock (UTF-8, for a message box).
    const std::string& Problem() const { return ProblemText; }

    // A second start with a file: hands `file` (an absolute file-system name) to the running
    // copy.
    HandOverResult HandOver(const std::string& file);
    // The running copy: takes files handed over and passes each to `opened`.
    void Listen(std::function<void(const std::string& path)> opened);

    QString LockName() const { return Folder + "/quarvel.lock"; }
    QString SocketName() const { return Folder + "/quarvel.socket"; }

private:
    QString Folder; // empty: none can be named
    std::unique_ptr<QLockFile> File;
    std::unique_ptr<QLocalServer> Server;
    std::string ProblemText;
};

} // namespace quarvel
