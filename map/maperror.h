// Errors raised by file and data operations: the core records what failed (the kind, the file,
// the system's error, the numbers); each front end words it (English below, Japanese in editor).
#pragma once

#include <cstdint>
#include <exception>
#include <string>

namespace quarvel {

// What went wrong. The fields of QuarvelError that each kind fills are listed beside it.
enum class ErrorKind : uint8_t {
    Message,           // Text: already worded by the front end that raised it
    CannotOpen,        // Path could not be opened for reading; Errno
    CannotRead,        // reading Path failed; Errno (0: it ended early)
    NotRegularFile,    // Path is a folder (Errno EISDIR), a device or a pipe, not a file
    TooShort,          // Path holds Actual bytes, needs at least Needed
    NotAMap,           // Path has no map file header
    NotFound,          // Path, a file or folder that must exist, is missing
    CannotCreate,      // the folder Path cannot be created; Errno
    CannotSave,        // Path cannot be written or replaced by its new content; Errno
    Busy,              // Path is being saved by another process right now
    WriteProtected,    // Path exists and the user may not write it: it is not replaced
    NoUserFolder,      // the user's folder Path has no place: no absolute XDG variable or HOME
    FolderIsLink,      // Path is a symbolic link where a real folder is needed
    TooManyEntries,    // Path lists Actual entries; an archive holds at most Needed
    ListTooLarge,      // list Path has Actual bytes, more than Needed (what the most lines hold)
    MoreThanDataHolds, // index Path would unpack Actual bytes, its data file holds Needed
    MapMissing,        // line Item names Name, missing in the map folder, and no dummy Path
    NameNotText,       // Name at Item of Path cannot be turned into a file name
    NameNotPlain,      // Name at Item of Path is not a plain file name in its folder
    NameHasControl,    // Name at Item of Path holds control characters
    NameSplitsChar,    // Name at Item of Path, cut to Needed bytes, splits a double-byte char
    NameDuplicate,     // Name at Item of Path equals line Other in its first Needed bytes
    NameEmpty,         // entry Item of Path has an empty name
    EntryCutOff,       // entry Item (Name) of Path ends before its offset
    EntryPastEnd,      // entry Item (Name): record at offset Other past the data's Needed bytes
    BadImage,          // image resource Name is not a usable 8-bit BMP; Text says why
    NoResource,        // no image resource named Name
};

// Which file or folder Path is; lets each front end name it in its own words.
enum class FileRole : uint8_t {
    File,
    MapFile,
    ChipFile,
    PaletteFile,
    ListFile,     // map.ini
    ArchiveData,  // data1.dat
    ArchiveIndex, // data1.lib: Item counts entries from 0 (elsewhere Item is a line from 1)
    Picture,
    Folder,
    MapFolder,
    ArchiveFolder,
    UnpackFolder,
    RecoveryCopy, // the copy of unsaved changes in the user's state folder
    UserFolder,   // the user's own data folder, or a file seeded into it
};

class QuarvelError : public std::exception {
public:
    // A message already worded by a front end (the command-line tool's own checks, say).
    explicit QuarvelError(std::string text);
    QuarvelError(ErrorKind kind, FileRole role, std::string path, int err = 0);

    // Chained setters for the numbers and names a kind needs: throw QuarvelError(..).At(3);
    QuarvelError& At(long long item);
    QuarvelError& Named(std::string name);
    QuarvelError& Sizes(uint64_t needed, uint64_t actual);
    QuarvelError& Also(long long other);
    QuarvelError& Detail(std::string text);

    // The English wording (EnglishErrorText).
    const char* what() const noexcept override;

    ErrorKind Kind = ErrorKind::Message;
    FileRole Role = FileRole::File;
    std::string Path; // file-system path (UTF-8)
    std::string Name; // a map or entry name, as it stands (may hold any byte)
    std::string Text;
    int Errno = 0;
    long long Item = -1;
    long long Other = -1;
    uint64_t Needed = 0;
    uint64_t Actual = 0;

private:
    mutable std::string Worded;
};

// The one English wording of an error, used by quarvel-cli and by what().
std::string EnglishErrorText(const QuarvelError& e);

// A name or path made safe to print: control characters, DEL, C1 controls and bytes that
// are not UTF-8 become \xHH; every other character stays as it is.
std::string PrintableName(const std::string& text);

} // namespace quarvel
