// Safe file access for every reader and writer of the program: reading only regular files,
// and saving through a temporary file that replaces the target only once it is complete.
#pragma once

#include "map/maperror.h"

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>

struct stat;

namespace quarvel {

// A regular file opened for reading. Opening never blocks: a pipe, device or folder of that
// name is refused (QuarvelError NotRegularFile) before anything is read from it.
class TReadFile {
public:
    TReadFile(const std::string& path, FileRole role); // throws CannotOpen, NotRegularFile
    ~TReadFile();
    TReadFile(const TReadFile&) = delete;
    TReadFile& operator=(const TReadFile&) = delete;

    uint64_t Size() const { return FileSize; } // when opened
    // Reads up to `size` bytes from the current position; fewer only at the end of the file.
    size_t Read(void* data, size_t size); // throws CannotRead
    // Reads exactly `size` bytes at `offset`; throws CannotRead when the file ends before.
    void ReadAt(uint64_t offset, void* data, size_t size);
    std::string ReadAll();

private:
    std::string Path;
    FileRole Role;
    int Fd = -1;
    uint64_t FileSize = 0;
};

// A new version of a file, written beside it and put in its place by Commit. Until then the
// target is untouched; destroyed without Commit, the temporary file is removed.
//  - A symbolic link is followed: the file it points to is replaced, the link stays.
//  - Only a regular file or a new name is replaced: a folder, device or pipe is refused.
//  - The new file keeps the old file's permissions; a new file gets 0666 less the umask.
//  - The content is flushed to disk before the rename (unless asked not to, below).
// The temporary file of "dir/name" is always "dir/.name.quarvel-save", held under an
// exclusive lock (flock) while it is written. A save killed half-way (SIGKILL, SIGXFSZ, a
// crash) leaves it behind unlocked, since the lock ends with the process; the next save of
// the same file takes that name, finds the lock free, and reuses and so removes it. A lock
// still held means another process is saving the file right now (QuarvelError Busy).
class TSaveFile {
public:
    // Flushed: the content reaches the disk before the rename. Unflushed: the rename follows
    // at once, for files that can be made again from their source (unpacked maps, rendered
    // pictures: a flush costs milliseconds each, more than writing them); after a crash of
    // the whole system such a file may be empty.
    enum Durability { Flushed, Unflushed };

    struct Choices {
        Durability Durable = Flushed;
        // The permissions of the new file, also when it replaces one with others; unset: the
        // old file's, or 0666 less the umask for a new file.
        int Mode = -1;
        // Where the old content is kept while a file is rewritten in place (see below); empty:
        // never in place.
        std::string BackupFolder;
    };

    // Throws NotRegularFile, WriteProtected, CannotSave, Busy.
    //  - A file the user may not write is write-protected and never replaced (for root: a
    //    file without any write permission bit).
    //  - A writable file in a folder the user may not write cannot be replaced by a new file:
    //    with a BackupFolder it is rewritten in place at Commit. Its old bytes are first kept
    //    in BackupFolder ("saving.map", its path in "saving.source", both 0600), then the
    //    file is overwritten, cut to length and flushed, then the kept copy goes. When a step
    //    fails, the old bytes are written back and the first failure reported.
    TSaveFile(const std::string& path, FileRole role, Durability durability = Flushed);
    TSaveFile(const std::string& path, FileRole role, const Choices& choices);
    ~TSaveFile();
    TSaveFile(const TSaveFile&) = delete;
    TSaveFile& operator=(const TSaveFile&) = delete;

    std::FILE* File() { return Stream; }
    void Write(const void* data, size_t size); // throws CannotSave
    // Flushes the content to disk and gives it the target's permissions; throws CannotSave.
    void Finish();
    // Finish, then rename over the target; throws CannotSave.
    void Commit();
    const std::string& Path() const { return Named; }
    bool InPlace() const { return TargetFd >= 0; }

    // Puts `first` and then `second` in place, or neither: when the second cannot replace its
    // target, the old first file is put back (or the new one removed when there was none).
    static void CommitBoth(TSaveFile& first, TSaveFile& second);

private:
    [[noreturn]] void Fail(int err) const;
    void Close();
    bool OpenInPlace(int firstErr);
    void CommitInPlace();

    std::string Named;  // the path as given, for messages
    std::string Target; // the file actually replaced (a link's destination)
    std::string Temp;
    FileRole Role;
    unsigned Mode = 0;
    Durability Durable;
    std::string BackupFolder;
    std::FILE* Stream = nullptr;
    int TargetFd = -1;      // in place: the target, locked
    char* Buffer = nullptr; // in place: the new content until Commit
    size_t BufferSize = 0;
    bool Finished = false;
    bool Committed = false;
};

// Saves `path` safely (TSaveFile): `write` writes the whole content to the stream; an
// exception from it leaves the old file untouched and no temporary file behind.
void SaveFileAtomically(const std::string& path, const std::function<void(std::FILE*)>& write,
                        FileRole role = FileRole::File,
                        TSaveFile::Durability durability = TSaveFile::Flushed);
void WriteFileAtomically(const std::string& path, const void* data, size_t size,
                         FileRole role = FileRole::File,
                         TSaveFile::Durability durability = TSaveFile::Flushed);
void WriteFileAtomically(const std::string& path, const void* data, size_t size, FileRole role,
                         const TSaveFile::Choices& choices);

// True when the user may write the existing file `st` describes (root: when it has any write
// permission bit). `path` names it for the system's own check of other users.
bool UserMayWrite(const std::string& path, const struct stat& st);

// The name of the temporary file that a save of `path` writes (beside it).
std::string SaveTempPath(const std::string& path);

} // namespace quarvel
