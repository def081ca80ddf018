// Safe file access: regular files only for reading, and saving through a locked temporary
// file beside the target that is renamed over it once complete.
#include "map/fileio.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <stdexcept>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quarvel {

namespace {

// Temporary names keep at most this many bytes of the target's name, so that they stay
// within the 255 bytes a file name may have.
constexpr size_t TempBaseBytes = 200;
constexpr const char* TempSuffix = ".quarvel-save";
constexpr const char* BackupSuffix = ".quarvel-old";

std::string FolderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

// "dir/name" -> "dir/.name<suffix>", the name cut to TempBaseBytes.
std::string Beside(const std::string& path, const char* suffix) {
    const size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "" : path.substr(0, slash + 1);
    const std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
    return folder + "." + base.substr(0, TempBaseBytes) + suffix;
}

// The file a save replaces: symbolic links followed to their end, also a link to a file not
// yet there. A loop of links is left to the open that follows, which reports it.
std::string FollowLinks(const std::string& path) {
    std::string target = path;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st;
        if (::lstat(target.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return target;
        char buf[PATH_MAX];
        const ssize_t n = ::readlink(target.c_str(), buf, sizeof buf - 1);
        if (n <= 0) return target;
        const std::string dest(buf, size_t(n));
        target = dest[0] == '/' ? dest : FolderOf(target) + "/" + dest;
    }
    return target;
}

// The permissions a new file gets: 0666 less the process's umask. (umask can only be read by
// setting it; the program saves from one thread at a time.)
unsigned NewFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666u & ~unsigned(mask);
}

void SyncFolder(const std::string& path) {
    const int dir = ::open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir < 0) return;
    ::fsync(dir); // best effort: the rename itself is done
    ::close(dir);
}

bool SameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

} // namespace

// ---- Reading ------------------------------------------------------------------------------

TReadFile::TReadFile(const std::string& path, FileRole role) : Path(path), Role(role) {
    // O_NONBLOCK: opening a pipe without a writer would otherwise wait for one.
    Fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (Fd < 0) throw QuarvelError(ErrorKind::CannotOpen, role, path, errno);
    struct stat st;
    if (::fstat(Fd, &st) != 0) {
        const int err = errno;
        ::close(Fd);
        throw QuarvelError(ErrorKind::CannotRead, role, path, err);
    }
    if (!S_ISREG(st.st_mode)) {
        ::close(Fd);
        throw QuarvelError(ErrorKind::NotRegularFile, role, path, S_ISDIR(st.st_mode) ? EISDIR : 0);
    }
    ::fcntl(Fd, F_SETFL, ::fcntl(Fd, F_GETFL) & ~O_NONBLOCK);
    FileSize = uint64_t(st.st_size);
}

TReadFile::~TReadFile() {
    if (Fd >= 0) ::close(Fd);
}

size_t TReadFile::Read(void* data, size_t size) {
    size_t done = 0;
    while (done < size) {
        const ssize_t n = ::read(Fd, static_cast<char*>(data) + done, size - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            throw QuarvelError(ErrorKind::CannotRead, Role, Path, errno);
        }
        if (n == 0) break;
        done += size_t(n);
    }
    return done;
}

void TReadFile::ReadAt(uint64_t offset, void* data, size_t size) {
    size_t done = 0;
    while (done < size) {
        const ssize_t n =
            ::pread(Fd, static_cast<char*>(data) + done, size - done, off_t(offset + done));
        if (n < 0) {
            if (errno == EINTR) continue;
            throw QuarvelError(ErrorKind::CannotRead, Role, Path, errno);
        }
        if (n == 0) throw QuarvelError(ErrorKind::CannotRead, Role, Path, 0);
        done += size_t(n);
    }
}

std::string TReadFile::ReadAll() {
    std::string text;
    char buf[65536];
    while (size_t n = Read(buf, sizeof buf)) text.append(buf, n);
    return text;
}

// ---- Saving -------------------------------------------------------------------------------

std::string SaveTempPath(const std::string& path) {
    return Beside(path, TempSuffix);
}

bool UserMayWrite(const std::string& path, const struct stat& st) {
    if (::geteuid() == 0) return (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0;
    return ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0 || errno != EACCES;
}

TSaveFile::TSaveFile(const std::string& path, FileRole role, Durability durability)
    : TSaveFile(path, role, Choices{durability, -1, {}}) {}

TSaveFile::TSaveFile(const std::string& path, FileRole role, const Choices& choices)
    : Named(path), Target(FollowLinks(path)), Temp(SaveTempPath(Target)), Role(role),
      Durable(choices.Durable), BackupFolder(choices.BackupFolder) {
    struct stat st;
    const bool exists = ::stat(Target.c_str(), &st) == 0;
    if (exists) {
        if (!S_ISREG(st.st_mode))
            throw QuarvelError(ErrorKind::NotRegularFile, role, path,
                               S_ISDIR(st.st_mode) ? EISDIR : 0);
        if (!UserMayWrite(Target, st)) throw QuarvelError(ErrorKind::WriteProtected, role, path);
        Mode = unsigned(st.st_mode) & 07777u;
    } else {
        Mode = NewFileMode();
    }
    if (choices.Mode >= 0) Mode = unsigned(choices.Mode) & 07777u;
    // Take the temporary name under its lock. Another save may rename or remove the file
    // between our open and our lock: the name must still be the file locked, else again.
    int firstErr = 0;
    for (int attempt = 0; attempt < 20; ++attempt) {
        const int fd =
            ::open(Temp.c_str(), O_WRONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, Mode);
        if (fd < 0 && errno == EACCES && attempt == 0) {
            firstErr = errno;
            if (::unlink(Temp.c_str()) == 0) continue; // a stale file we may not open
            if (exists && !BackupFolder.empty() && OpenInPlace(firstErr)) return;
            Fail(firstErr); // the reason is the open's, not the unlink's
        }
        if (fd < 0) Fail(errno);
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            const int err = errno;
            ::close(fd);
            if (err == EWOULDBLOCK) throw QuarvelError(ErrorKind::Busy, role, path);
            Fail(err);
        }
        struct stat mine, named;
        if (::fstat(fd, &mine) != 0 || ::lstat(Temp.c_str(), &named) != 0 ||
            !SameFile(mine, named)) {
            ::close(fd);
            continue;
        }
        // A stale file is emptied; one with other permissions gets the target's.
        if (!S_ISREG(mine.st_mode) || (mine.st_size != 0 && ::ftruncate(fd, 0) != 0) ||
            ((unsigned(mine.st_mode) & 07777u) != Mode && ::fchmod(fd, Mode) != 0)) {
            const int err = S_ISREG(mine.st_mode) ? errno : EEXIST;
            ::close(fd);
            Fail(err);
        }
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
        Stream = ::fdopen(fd, "wb");
        if (!Stream) {
            const int err = errno;
            ::unlink(Temp.c_str());
            ::close(fd);
            Fail(err);
        }
        return;
    }
    throw QuarvelError(ErrorKind::Busy, role, path);
}

// The folder refused a new file: the target itself is opened, locked, and the new content
// gathered in memory until Commit. False when the target cannot be opened for writing.
bool TSaveFile::OpenInPlace(int firstErr) {
    const int fd = ::open(Target.c_str(), O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return false;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int err = errno;
        ::close(fd);
        if (err == EWOULDBLOCK) throw QuarvelError(ErrorKind::Busy, Role, Named);
        Fail(firstErr);
    }
    Stream = ::open_memstream(&Buffer, &BufferSize);
    if (!Stream) {
        const int err = errno;
        ::close(fd);
        Fail(err);
    }
    TargetFd = fd;
    return true;
}

namespace {

// Writes all of `data` at the start of `fd`, cuts the file there and flushes it; the errno
// of the first failure, or 0.
int Overwrite(int fd, const char* data, size_t size) {
    for (size_t done = 0; done < size;) {
        const ssize_t n = ::pwrite(fd, data + done, size - done, off_t(done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return n < 0 ? errno : ENOSPC;
        done += size_t(n);
    }
    if (::ftruncate(fd, off_t(size)) != 0 || ::fsync(fd) != 0) return errno;
    return 0;
}

} // namespace

void TSaveFile::CommitInPlace() {
    Finish();
    struct stat st;
    if (::fstat(TargetFd, &st) != 0) Fail(errno);
    std::string old(size_t(st.st_size), '\0');
    for (size_t done = 0; done < old.size();) {
        const ssize_t n = ::pread(TargetFd, old.data() + done, old.size() - done, off_t(done));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) Fail(errno);
        if (n == 0) {
            old.resize(done);
            break;
        }
        done += size_t(n);
    }
    const std::string kept = BackupFolder + "/saving.map";
    const std::string keptName = BackupFolder + "/saving.source";
    if (::mkdir(BackupFolder.c_str(), 0700) != 0 && errno != EEXIST)
        throw QuarvelError(ErrorKind::CannotCreate, FileRole::Folder, BackupFolder, errno);
    Choices privately{Flushed, 0600, {}};
    WriteFileAtomically(keptName, Target.data(), Target.size(), FileRole::File, privately);
    WriteFileAtomically(kept, old.data(), old.size(), FileRole::File, privately);
    if (const int err = Overwrite(TargetFd, Buffer, BufferSize)) {
        // Put the old bytes back; the copy stays when even that fails.
        if (Overwrite(TargetFd, old.data(), old.size()) == 0) {
            ::unlink(kept.c_str());
            ::unlink(keptName.c_str());
        }
        Fail(err);
    }
    ::unlink(kept.c_str());
    ::unlink(keptName.c_str());
    Committed = true;
    Close();
}

TSaveFile::~TSaveFile() {
    if (!Committed && Stream && !InPlace()) ::unlink(Temp.c_str()); // ours: the lock is held
    Close();
}

void TSaveFile::Close() {
    if (Stream) std::fclose(Stream); // ends the lock
    Stream = nullptr;
    std::free(Buffer);
    Buffer = nullptr;
    if (TargetFd >= 0) ::close(TargetFd);
    TargetFd = -1;
}

void TSaveFile::Fail(int err) const {
    throw QuarvelError(ErrorKind::CannotSave, Role, Named, err);
}

void TSaveFile::Write(const void* data, size_t size) {
    if (std::fwrite(data, 1, size, Stream) != size) Fail(errno);
}

void TSaveFile::Finish() {
    if (Finished) return;
    if (std::ferror(Stream)) Fail(errno ? errno : EIO);
    if (std::fflush(Stream) != 0) Fail(errno);
    if (!InPlace() && Durable == Flushed && ::fsync(::fileno(Stream)) != 0) Fail(errno);
    Finished = true;
}

void TSaveFile::Commit() {
    if (InPlace()) return CommitInPlace();
    Finish();
    if (::rename(Temp.c_str(), Target.c_str()) != 0) Fail(errno);
    Committed = true;
    Close();
    if (Durable == Flushed) SyncFolder(Target);
}

void TSaveFile::CommitBoth(TSaveFile& first, TSaveFile& second) {
    if (first.InPlace() || second.InPlace()) throw std::logic_error("pairs are never in place");
    first.Finish();
    second.Finish();
    // The old first file is kept under a second name until the second file is in place.
    const std::string backup = Beside(first.Target, BackupSuffix);
    struct stat st;
    const bool hadOld = ::lstat(first.Target.c_str(), &st) == 0;
    if (hadOld) {
        ::unlink(backup.c_str()); // left by a pack that was killed
        if (::link(first.Target.c_str(), backup.c_str()) != 0 &&
            ::rename(first.Target.c_str(), backup.c_str()) != 0)
            first.Fail(errno);
    }
    auto putBack = [&] {
        if (hadOld)
            ::rename(backup.c_str(), first.Target.c_str());
        else
            ::unlink(first.Target.c_str());
    };
    if (::rename(first.Temp.c_str(), first.Target.c_str()) != 0) {
        const int err = errno;
        if (hadOld) ::rename(backup.c_str(), first.Target.c_str());
        first.Fail(err);
    }
    first.Committed = true;
    first.Close();
    if (::rename(second.Temp.c_str(), second.Target.c_str()) != 0) {
        const int err = errno;
        putBack();
        second.Fail(err);
    }
    second.Committed = true;
    second.Close();
    if (hadOld) ::unlink(backup.c_str());
    SyncFolder(first.Target);
    if (FolderOf(second.Target) != FolderOf(first.Target)) SyncFolder(second.Target);
}

void SaveFileAtomically(const std::string& path, const std::function<void(std::FILE*)>& write,
                        FileRole role, TSaveFile::Durability durability) {
    TSaveFile file(path, role, durability);
    write(file.File());
    file.Commit();
}

void WriteFileAtomically(const std::string& path, const void* data, size_t size, FileRole role,
                         TSaveFile::Durability durability) {
    WriteFileAtomically(path, data, size, role, TSaveFile::Choices{durability, -1, {}});
}

void WriteFileAtomically(const std::string& path, const void* data, size_t size, FileRole role,
                         const TSaveFile::Choices& choices) {
    TSaveFile file(path, role, choices);
    file.Write(data, size);
    file.Commit();
}

} // namespace quarvel
