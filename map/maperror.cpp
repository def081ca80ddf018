// Errors of the core and their English wording, the one quarvel-cli prints.
#include "map/maperror.h"

#include "map/textmarker.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace quarvel {

QuarvelError::QuarvelError(std::string text) : Text(std::move(text)) {}

QuarvelError::QuarvelError(ErrorKind kind, FileRole role, std::string path, int err)
    : Kind(kind), Role(role), Path(std::move(path)), Errno(err) {}

QuarvelError& QuarvelError::Named(std::string name) {
    Name = std::move(name);
    return *this;
}

QuarvelError& QuarvelError::Detail(std::string text) {
    Text = std::move(text);
    return *this;
}

QuarvelError& QuarvelError::AtLine(long long line) {
    Line = line;
    return *this;
}

QuarvelError& QuarvelError::AtEntry(long long entry) {
    Entry = entry;
    return *this;
}

QuarvelError& QuarvelError::Sizes(uint64_t minimumSize, uint64_t fileSize) {
    MinimumSize = minimumSize;
    FileSize = fileSize;
    return *this;
}

QuarvelError& QuarvelError::TooLarge(uint64_t maximumSize, uint64_t fileSize) {
    MaximumSize = maximumSize;
    FileSize = fileSize;
    return *this;
}

QuarvelError& QuarvelError::Entries(uint64_t entryLimit, uint64_t entryCount) {
    EntryLimit = entryLimit;
    EntryCount = entryCount;
    return *this;
}

QuarvelError& QuarvelError::Unpacks(uint64_t unpackSize, uint64_t dataSize) {
    UnpackSize = unpackSize;
    DataSize = dataSize;
    return *this;
}

QuarvelError& QuarvelError::CutTo(uint64_t keptBytes) {
    KeptBytes = keptBytes;
    return *this;
}

QuarvelError& QuarvelError::SameAs(long long sameAsLine) {
    SameAsLine = sameAsLine;
    return *this;
}

QuarvelError& QuarvelError::RecordAt(long long offset, uint64_t dataSize) {
    Offset = offset;
    DataSize = dataSize;
    return *this;
}

const char* QuarvelError::what() const noexcept {
    try {
        if (Worded.empty()) Worded = EnglishErrorText(*this);
        return Worded.c_str();
    } catch (...) {
        return "error (no memory to describe it)";
    }
}

std::string PrintableName(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    auto escape = [&](unsigned char c) {
        char buf[5];
        std::snprintf(buf, sizeof buf, "\\x%02X", c);
        out += buf;
    };
    const size_t n = text.size();
    for (size_t i = 0; i < n;) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            if (c < 0x20 || c == 0x7F)
                escape(c);
            else
                out += char(c);
            ++i;
            continue;
        }
        // A whole, shortest-form UTF-8 sequence stays; C1 controls (U+0080..U+009F) do not.
        size_t len = c >= 0xF0 && c <= 0xF4 ? 4 : c >= 0xE0 ? 3 : c >= 0xC2 && c <= 0xDF ? 2 : 0;
        bool ok = len > 0 && i + len <= n;
        for (size_t k = 1; ok && k < len; ++k) ok = (uint8_t(text[i + k]) & 0xC0) == 0x80;
        if (ok && len == 3) {
            const uint8_t c1 = uint8_t(text[i + 1]);
            ok = !(c == 0xE0 && c1 < 0xA0) && !(c == 0xED && c1 >= 0xA0);
        }
        if (ok && len == 4) {
            const uint8_t c1 = uint8_t(text[i + 1]);
            ok = !(c == 0xF0 && c1 < 0x90) && !(c == 0xF4 && c1 >= 0x90);
        }
        if (ok && len == 2 && c == 0xC2 && uint8_t(text[i + 1]) < 0xA0) ok = false;
        if (!ok) {
            escape(c);
            ++i;
            continue;
        }
        out.append(text, i, len);
        i += len;
    }
    return out;
}

const char* RoleWords(FileRole role, Wording wording) {
    const bool en = wording == Wording::English;
    switch (role) {
    case FileRole::File:
        break;
    case FileRole::MapFile:
        return en ? "map file" : QUARVEL_TR_NOOP("FileRole", "マップファイル");
    case FileRole::ChipFile:
        return en ? "chip file" : QUARVEL_TR_NOOP("FileRole", "チップファイル");
    case FileRole::PaletteFile:
        return en ? "palette file" : QUARVEL_TR_NOOP("FileRole", "パレットファイル");
    case FileRole::ListFile:
        return en ? "list file" : QUARVEL_TR_NOOP("FileRole", "リストファイル");
    case FileRole::ArchiveData:
        return en ? "archive data file" : QUARVEL_TR_NOOP("FileRole", "DATファイル");
    case FileRole::ArchiveIndex:
        return en ? "archive index" : QUARVEL_TR_NOOP("FileRole", "LIBファイル");
    case FileRole::Picture:
        return en ? "picture" : QUARVEL_TR_NOOP("FileRole", "画像ファイル");
    case FileRole::Folder:
        return en ? "folder" : QUARVEL_TR_NOOP("FileRole", "フォルダ");
    case FileRole::MapFolder:
        return en ? "map folder" : QUARVEL_TR_NOOP("FileRole", "mapフォルダ");
    case FileRole::ArchiveFolder:
        return en ? "archive folder" : QUARVEL_TR_NOOP("FileRole", "datフォルダ");
    case FileRole::UnpackFolder:
        return en ? "unpack folder" : QUARVEL_TR_NOOP("FileRole", "unpackedフォルダ");
    case FileRole::RecoveryCopy:
        return en ? "recovery copy" : QUARVEL_TR_NOOP("FileRole", "復元用のコピー");
    case FileRole::UserFolder:
        return en ? "user folder" : QUARVEL_TR_NOOP("FileRole", "ユーザーフォルダ");
    }
    return en ? "file" : QUARVEL_TR_NOOP("FileRole", "ファイル");
}

std::string FileBaseName(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

NamePlace PlaceOf(const QuarvelError& e) {
    if (e.Role == FileRole::ArchiveIndex)
        return {true, e.Entry, PrintableName(FileBaseName(e.Path))};
    return {false, e.Line, PrintableName(e.Path)};
}

namespace {

std::string Why(int err) {
    return err ? std::string(": ") + std::strerror(err) : std::string();
}

// Where a name stands: "data1.lib entry 4" or "/x/map/map.ini line 5".
std::string Place(const QuarvelError& e) {
    const NamePlace p = PlaceOf(e);
    return p.File + (p.IsEntry ? " entry " : " line ") + std::to_string(p.Number);
}

std::string Quoted(const std::string& name) {
    return "\"" + PrintableName(name) + "\"";
}

} // namespace

std::string EnglishErrorText(const QuarvelError& e) {
    const std::string role = RoleWords(e.Role, Wording::English);
    const std::string path = PrintableName(e.Path);
    const std::string quoted = "'" + path + "'";
    const std::string name = Quoted(e.Name);
    switch (e.Kind) {
    case ErrorKind::Message:
        return e.Text;
    case ErrorKind::CannotOpen:
        return "cannot open " + role + " " + quoted + Why(e.Errno);
    case ErrorKind::CannotRead:
        return "cannot read " + role + " " + quoted +
               (e.Errno ? Why(e.Errno) : ": it ends too early");
    case ErrorKind::NotRegularFile:
        return role + " " + quoted +
               (e.Errno == EISDIR ? " is a folder, not a file"
                                  : " is not a regular file (a device, pipe or socket)");
    case ErrorKind::TooShort:
        return role + " too short: " + path + " (needs at least " + std::to_string(e.MinimumSize) +
               " bytes, has " + std::to_string(e.FileSize) + ")";
    case ErrorKind::NotAMap:
        return path + ": マップファイルじゃないよ？";
    case ErrorKind::NotFound:
        return role + " not found: " + path;
    case ErrorKind::CannotCreate:
        return "cannot create " + role + " " + quoted + Why(e.Errno);
    case ErrorKind::CannotSave:
        return "cannot save " + role + " " + quoted + Why(e.Errno);
    case ErrorKind::Busy:
        return "cannot save " + role + " " + quoted + ": another process is saving it";
    case ErrorKind::WriteProtected:
        return role + " " + quoted +
               " is write-protected; it was not replaced (save under another name)";
    case ErrorKind::NoUserFolder:
        return "cannot set up the " + role + " " + quoted +
               ": neither XDG_DATA_HOME nor HOME is an absolute path";
    case ErrorKind::FolderIsLink:
        return role + " " + quoted + " is a symbolic link; it must be a real folder";
    case ErrorKind::TooManyEntries:
        return role + " " + quoted + " lists " + std::to_string(e.EntryCount) +
               " maps; an archive holds at most " + std::to_string(e.EntryLimit);
    case ErrorKind::ListTooLarge:
        return role + " " + quoted + " is " + std::to_string(e.FileSize) +
               " bytes, more than an archive's list can be (" + std::to_string(e.MaximumSize) +
               " bytes)";
    case ErrorKind::MoreThanDataHolds:
        return role + " " + quoted + " would unpack " + std::to_string(e.UnpackSize) +
               " bytes of maps, more than its data file holds (" + std::to_string(e.DataSize) +
               " bytes)";
    case ErrorKind::MapMissing:
        return "map " + name + " (line " + std::to_string(e.Line) +
               " of map.ini) not found, and no " + path;
    case ErrorKind::NameNotText:
        return Place(e) + ": " + name + " cannot be turned into a file name" +
               (e.Text.empty() ? "" : " (" + e.Text + ")");
    case ErrorKind::NameNotPlain:
        return Place(e) + ": " + name + " is not a plain file name";
    case ErrorKind::NameHasControl:
        return Place(e) + ": " + name + " contains control characters";
    case ErrorKind::NameSplitsChar:
        return Place(e) + ": " + name + " would be cut at " + std::to_string(e.KeptBytes) +
               " bytes inside a double-byte character";
    case ErrorKind::NameDuplicate:
        return Place(e) + ": " + name + " equals line " + std::to_string(e.SameAsLine) +
               " in its first " + std::to_string(e.KeptBytes) +
               " bytes; both would unpack to one file";
    case ErrorKind::NameEmpty:
        return Place(e) + " has an empty name";
    case ErrorKind::EntryCutOff:
        return Place(e) + " " + name + " is cut off: " + PrintableName(FileBaseName(e.Path)) +
               " ends before its offset";
    case ErrorKind::EntryPastEnd:
        return Place(e) + " " + name + ": its record at offset " + std::to_string(e.Offset) +
               " lies past the end of the data file (" + std::to_string(e.DataSize) + " bytes)";
    case ErrorKind::BadImage:
        return "bad BMP image" + (e.Name.empty() ? "" : " " + name) + ": " + e.Text;
    case ErrorKind::NoResource:
        return "no image resource named " + name;
    }
    return "error";
}

} // namespace quarvel
