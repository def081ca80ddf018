// Errors raised by file and data operations: the core records what failed (the kind, the file,
// the system's error, the numbers); each front end words it (English below, Japanese in editor).
#pragma once

#include <cstdint>
#include <exception>
#include <string>

namespace quarvel {

// What went wrong. The fields of QuarvelError that each kind fills are listed beside it;
// "the place" is Line for a list file's line, Entry for an archive index's entry.
enum class ErrorKind : uint8_t {
    Message,           // Text: already worded by the front end that raised it
    CannotOpen,        // Path could not be opened for reading; Errno
    CannotRead,        // reading Path failed; Errno (0: it ended early)
    NotRegularFile,    // Path is a folder (Errno EISDIR), a device or a pipe, not a file
    TooShort,          // Path holds FileSize bytes, needs at least MinimumSize
    NotAMap,           // Path has no map file header
    NotFound,          // Path, a file or folder that must exist, is missing
    CannotCreate,      // the folder Path cannot be created; Errno
    CannotSave,        // Path cannot be written or replaced by its new content; Errno
    Busy,              // Path is being saved by another process right now
    WriteProtected,    // Path exists and the user may not write it: it is not replaced
    NoUserFolder,      // the user's folder Path has no place: no absolute XDG variable or HOME
    FolderIsLink,      // Path is a symbolic link where a real folder is needed
    TooManyEntries,    // Path lists EntryCount entries; an archive holds at most EntryLimit
    ListTooLarge,      // list Path has FileSize bytes, more than MaximumSize (what the most
                       // lines hold)
    MoreThanDataHolds, // index Path would unpack UnpackSize bytes; its data holds DataSize
    MapMissing,        // Line names Name, missing in the map folder, and no dummy Path
    NameNotText,       // Name at the place in Path cannot be turned into a file name
    NameNotPlain,      // Name at the place in Path is not a plain file name in its folder
    NameHasControl,    // Name at the place in Path holds control characters
    NameSplitsChar,    // Name at Line of Path, cut to KeptBytes, splits a double-byte char
    NameDuplicate,     // Name at Line of Path equals line SameAsLine in its first KeptBytes
    NameEmpty,         // Entry of Path has an empty name
    EntryCutOff,       // Entry (Name) of Path ends before its offset
    EntryPastEnd,      // Entry (Name): its record at Offset lies past the data's DataSize
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

    // Chained setters for what a kind carries: throw QuarvelError(..).AtLine(3).Named(n);
    QuarvelError& Named(std::string name);
    QuarvelError& Detail(std::string text);
    QuarvelError& AtLine(long long line);   // a list file's line, from 1
    QuarvelError& AtEntry(long long entry); // an archive index's entry, from 0
    QuarvelError& Sizes(uint64_t minimumSize, uint64_t fileSize);    // TooShort
    QuarvelError& TooLarge(uint64_t maximumSize, uint64_t fileSize); // ListTooLarge
    QuarvelError& Entries(uint64_t entryLimit, uint64_t entryCount); // TooManyEntries
    QuarvelError& Unpacks(uint64_t unpackSize, uint64_t dataSize);   // MoreThanDataHolds
    QuarvelError& CutTo(uint64_t keptBytes);                     // NameSplitsChar, NameDuplicate
    QuarvelError& SameAs(long long sameAsLine);                  // NameDuplicate
    QuarvelError& RecordAt(long long offset, uint64_t dataSize); // EntryPastEnd

    // The English wording (EnglishErrorText).
    const char* what() const noexcept override;

    ErrorKind Kind = ErrorKind::Message;
    FileRole Role = FileRole::File;
    std::string Path; // file-system path (UTF-8)
    std::string Name; // a map or entry name, as it stands (may hold any byte)
    std::string Text;
    int Errno = 0;
    long long Line = -1;       // a list file's line, from 1; -1: none
    long long Entry = -1;      // an archive index's entry, from 0; -1: none
    long long SameAsLine = -1; // the earlier line of a duplicate name
    long long Offset = 0;      // where an index entry's record starts (may be negative)
    uint64_t MinimumSize = 0;  // the bytes a file needs at least
    uint64_t MaximumSize = 0;  // the bytes a file may hold at most
    uint64_t FileSize = 0;     // the bytes it holds
    uint64_t EntryLimit = 0;   // the most entries an archive holds
    uint64_t EntryCount = 0;   // the entries a list or index has
    uint64_t UnpackSize = 0;   // the bytes an index would unpack
    uint64_t DataSize = 0;     // the bytes of an archive's data file
    uint64_t KeptBytes = 0;    // the bytes of a name an archive index keeps

private:
    mutable std::string Worded;
};

// The one English wording of an error, used by quarvel-cli and by what().
std::string EnglishErrorText(const QuarvelError& e);

// The two wordings of errors: English (quarvel-cli, what()) and Japanese (the editor).
enum class Wording { English, Japanese };

// How a wording names a file of `role`: "map file" / "マップファイル".
const char* RoleWords(FileRole role, Wording wording);

// The last part of a path, after its last '/'.
std::string FileBaseName(const std::string& path);

// Where an error's name stands: for an archive index, Entry of the index File (its base
// name); otherwise Line of the file File (its whole path). File is printable.
struct NamePlace {
    bool IsEntry = false;
    long long Number = -1;
    std::string File;
};
NamePlace PlaceOf(const QuarvelError& e);

// A name or path made safe to print: control characters, DEL, C1 controls and bytes that
// are not UTF-8 become \xHH; every other character stays as it is.
std::string PrintableName(const std::string& text);

} // namespace quarvel
