// The map archive: building data1.dat / data1.lib from the map folder and unpacking it again.
// Every output is saved safely (TSaveFile); the archive pair is replaced both or neither.
#include "archive/datlib.h"

#include "map/cp932.h"

#include "map/fileio.h"
#include "map/mapclass.h"

#include <algorithm>
#include <cstring>
#include <exception>
#include <filesystem>
#include <sys/stat.h>
#include <unordered_map>

namespace quarvel {

namespace {

namespace fs = std::filesystem;

constexpr int MapFileSize = 49200; // header and cells of one map file
constexpr int MapHeaderSize = TMap::HeaderSize;
constexpr int LevelCount = TMap::SizeZ;
constexpr int LevelSize = TMap::LevelSize;
// What the unpack reads of a record: from past the two leading words to the closing bytes.
constexpr int RecordBodySize = DatRecordLength - 4;

std::string WithSlash(const std::string& folder) {
    if (folder.empty()) return "./";
    return folder.back() == '/' ? folder : folder + "/";
}

bool IsFolder(const std::string& path) {
    std::error_code ec;
    return fs::is_directory(path, ec);
}

bool IsFile(const std::string& path) {
    std::error_code ec;
    return fs::is_regular_file(path, ec);
}

void PutWord(uint8_t* p, uint16_t v) {
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
}

void PutLong(uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = uint8_t(v >> (8 * i));
}

uint32_t GetLong(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

// True when cutting `name` to 30 bytes would keep the lead byte of a character but not its
// second byte.
bool CutSplitsCharacter(const std::string& name) {
    if (name.size() <= size_t(LibNameMaxBytes)) return false;
    return Cp932Prefix(name, size_t(LibNameMaxBytes)).size() < size_t(LibNameMaxBytes);
}

// Control characters (below 0x20, and DEL) never occur inside a code page 932 character.
bool HasControl(const std::string& name) {
    return std::any_of(name.begin(), name.end(), [](char c) {
        const auto b = static_cast<unsigned char>(c);
        return b < 0x20 || b == 0x7F;
    });
}

// A name that stays a plain file name inside its folder. Pack and unpack share this rule,
// so pack never builds an archive that unpack refuses.
bool IsPlainFileName(const std::string& name) {
    return !name.empty() && name != "." && name.find('/') == std::string::npos &&
           name.find('\\') == std::string::npos && name.find("..") == std::string::npos &&
           name.find('\0') == std::string::npos;
}

// Reads the first 49,200 bytes of a map file; a shorter file is an error naming it.
void ReadMapFile(const std::string& path, uint8_t* out) {
    TReadFile in(path, FileRole::MapFile);
    const size_t n = in.Read(out, MapFileSize);
    if (n != size_t(MapFileSize))
        throw QuarvelError(ErrorKind::TooShort, FileRole::MapFile, path).Sizes(MapFileSize, n);
}

// Makes the DAT record of one map file.
void MakeRecord(const uint8_t* map, uint8_t* rec) {
    PutWord(rec, DatRecordLength);
    PutWord(rec + 2, DatSecondWord);
    std::memcpy(rec + 4, map, MapHeaderSize);
    uint8_t* p = rec + 4 + MapHeaderSize;
    const uint8_t* cells = map + MapHeaderSize;
    for (int z = 0; z < LevelCount; ++z) {
        PutWord(p, DatLevelWord);
        std::memcpy(p + 2, cells + z * LevelSize, LevelSize);
        p += 2 + LevelSize;
    }
    std::memset(p, 0, 12);
}

std::string ConvertName(const DatOptions& opts, const std::string& name) {
    return opts.ToFileName ? opts.ToFileName(name) : name;
}

// The file-system names of the list's lines, once every line has been checked: no control
// characters, no cut at 30 bytes inside a character, a plain file name in the map folder,
// and no two different names that the index would store alike. An empty line stays allowed: it is
// archived as dummy.map under an empty name.
std::vector<std::string> CheckListNames(const std::vector<std::string>& lines,
                                        const std::string& iniPath, const DatOptions& opts) {
    std::vector<std::string> names;
    names.reserve(lines.size());
    std::unordered_map<std::string, size_t> firstLine; // stored name -> first line index
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        const long long lineNo = static_cast<long long>(i + 1);
        auto refuse = [&](ErrorKind kind, const std::string& shown) {
            return QuarvelError(kind, FileRole::ListFile, iniPath).At(lineNo).Named(shown);
        };
        if (HasControl(line)) throw refuse(ErrorKind::NameHasControl, line);
        if (CutSplitsCharacter(line))
            throw refuse(ErrorKind::NameSplitsChar, line).Sizes(LibNameMaxBytes, line.size());
        std::string name;
        try {
            name = ConvertName(opts, line);
        } catch (const std::exception&) {
            throw refuse(ErrorKind::NameNotText, line);
        }
        if (!line.empty()) {
            if (!IsPlainFileName(name)) throw refuse(ErrorKind::NameNotPlain, name);
            // The same line twice stores the same map twice, which loses nothing.
            const auto [at, fresh] = firstLine.emplace(line.substr(0, size_t(LibNameMaxBytes)), i);
            if (!fresh && lines[at->second] != line)
                throw refuse(ErrorKind::NameDuplicate, name)
                    .Also(static_cast<long long>(at->second + 1))
                    .Sizes(LibNameMaxBytes, line.size());
        }
        names.push_back(std::move(name));
    }
    return names;
}

struct UnpackEntry {
    std::string FileName; // file-system name inside the unpack folder
    uint32_t Offset = 0;
};

// Checks the index entry that starts at `e` (at least 32 bytes, `available` bytes up to the
// end of data1.lib) before its file is written: it needs its offset, a name that stays a
// plain file name inside the unpack folder, and a whole record inside data1.dat.
UnpackEntry CheckEntry(const std::string& libPath, size_t index, const uint8_t* e, size_t available,
                       uint64_t datSize, const DatOptions& opts) {
    size_t len = 0;
    while (len < size_t(LibNameSize) && e[len] != 0) ++len;
    const std::string raw(reinterpret_cast<const char*>(e), len);
    auto refuse = [&](ErrorKind kind, const std::string& shown) {
        return QuarvelError(kind, FileRole::ArchiveIndex, libPath)
            .At(static_cast<long long>(index))
            .Named(shown);
    };
    if (available < size_t(LibEntrySize)) {
        std::string shown = raw;
        try {
            if (!HasControl(raw)) shown = ConvertName(opts, raw);
        } catch (const std::exception&) {
        }
        throw refuse(ErrorKind::EntryCutOff, shown);
    }
    if (raw.empty()) throw refuse(ErrorKind::NameEmpty, raw);
    if (HasControl(raw)) throw refuse(ErrorKind::NameHasControl, raw);
    std::string name;
    try {
        name = ConvertName(opts, raw);
    } catch (const std::exception&) {
        throw refuse(ErrorKind::NameNotText, raw);
    }
    if (!IsPlainFileName(name)) throw refuse(ErrorKind::NameNotPlain, name);
    const int32_t offset = int32_t(GetLong(e + LibNameSize));
    if (offset < 0 || uint64_t(offset) + uint64_t(DatRecordLength) > datSize)
        throw refuse(ErrorKind::EntryPastEnd, name).Also(offset).Sizes(datSize, 0);
    return {name, uint32_t(offset)};
}

// The unpack folder must be a real folder: a symbolic link could send the maps anywhere.
void CheckUnpackFolder(const std::string& unpackDir) {
    const std::string path = unpackDir.substr(0, unpackDir.size() - 1); // without the '/'
    struct stat st;
    if (::lstat(path.c_str(), &st) != 0 || !(S_ISDIR(st.st_mode) || S_ISLNK(st.st_mode)))
        throw QuarvelError(ErrorKind::NotFound, FileRole::UnpackFolder, unpackDir);
    if (S_ISLNK(st.st_mode))
        throw QuarvelError(ErrorKind::FolderIsLink, FileRole::UnpackFolder, unpackDir);
}

} // namespace

std::vector<std::string> SplitListLines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c != '\r' && c != '\n') continue;
        lines.push_back(text.substr(start, i - start));
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < text.size()) lines.push_back(text.substr(start));
    return lines;
}

std::vector<std::string> ReadListFile(const std::string& path) {
    return SplitListLines(TReadFile(path, FileRole::ListFile).ReadAll());
}

std::string ListedMapFile(const std::string& mapDir, const std::string& name) {
    // A name with a zero byte cannot name a file; the path would stop at the zero.
    const std::string path = mapDir + name;
    return name.find('\0') == std::string::npos && IsFile(path) ? path : std::string();
}

void MakeLibName(const std::string& name, uint8_t (&field)[LibNameSize]) {
    std::memset(field, 0, sizeof field);
    std::memcpy(field, name.data(), std::min(name.size(), size_t(LibNameMaxBytes)));
}

bool BuildDat(const std::string& programFolder, const DatOptions& opts) {
    const std::string root = WithSlash(programFolder);
    const std::string mapDir = root + "map/";
    const std::string datDir = root + "dat/";
    if (!IsFolder(datDir)) throw QuarvelError(ErrorKind::NotFound, FileRole::ArchiveFolder, datDir);
    if (!IsFolder(mapDir)) throw QuarvelError(ErrorKind::NotFound, FileRole::MapFolder, mapDir);
    const std::string datPath = datDir + "data1.dat";
    const std::string libPath = datDir + "data1.lib";
    const std::string iniPath = mapDir + "map.ini";
    std::error_code ec;
    if (!fs::exists(iniPath, ec)) // anything else than a file is refused by TReadFile
        throw QuarvelError(ErrorKind::NotFound, FileRole::ListFile, iniPath);
    const std::vector<std::string> lines = ReadListFile(iniPath);
    if (lines.size() > size_t(DatMaxEntries))
        throw QuarvelError(ErrorKind::TooManyEntries, FileRole::ListFile, iniPath)
            .Sizes(DatMaxEntries, lines.size());
    // Every line is checked before anything is written.
    const std::vector<std::string> names = CheckListNames(lines, iniPath, opts);

    TSaveFile dat(datPath, FileRole::ArchiveData);
    TSaveFile lib(libPath, FileRole::ArchiveIndex);
    std::vector<uint8_t> map(MapFileSize), record(DatRecordSize), dummy;
    const size_t total = lines.size();
    if (opts.Progress) opts.Progress(0, total);
    for (size_t i = 0; i < total; ++i) {
        const std::string& line = lines[i];
        const std::string path = ListedMapFile(mapDir, names[i]);
        if (!path.empty()) {
            ReadMapFile(path, map.data());
            MakeRecord(map.data(), record.data());
        } else {
            if (dummy.empty()) {
                const std::string dummyPath = mapDir + "dummy.map";
                if (!IsFile(dummyPath))
                    throw QuarvelError(ErrorKind::MapMissing, FileRole::MapFile, dummyPath)
                        .At(static_cast<long long>(i + 1))
                        .Named(names[i]);
                dummy.resize(MapFileSize);
                ReadMapFile(dummyPath, dummy.data());
            }
            MakeRecord(dummy.data(), record.data());
        }
        dat.Write(record.data(), record.size());

        uint8_t entry[LibEntrySize];
        uint8_t nameField[LibNameSize];
        MakeLibName(line, nameField);
        std::memcpy(entry, nameField, LibNameSize);
        PutLong(entry + LibNameSize, uint32_t(int32_t(i) * DatRecordSize));
        PutLong(entry + LibNameSize + 4, DatRecordLength);
        lib.Write(entry, sizeof entry);
        if (opts.Progress) opts.Progress(i + 1, total);
    }
    // The old pair stays until both new files are in place, and comes back on a failure.
    TSaveFile::CommitBoth(dat, lib);
    return true;
}

bool UnpackDat(const std::string& programFolder, const DatOptions& opts) {
    const std::string root = WithSlash(programFolder);
    const std::string datDir = root + "dat/";
    const std::string unpackDir = datDir + "unpacked/";
    const std::string datPath = datDir + "data1.dat";
    const std::string libPath = datDir + "data1.lib";
    // No archive folder means no archive pair: the ordinary "not found" outcome.
    if (!IsFile(datPath) || !IsFile(libPath)) return false;
    CheckUnpackFolder(unpackDir);

    TReadFile lib(libPath, FileRole::ArchiveIndex);
    TReadFile dat(datPath, FileRole::ArchiveData);
    const uint64_t datSize = dat.Size();
    // The index is measured before it is read: it may list no more entries than an archive
    // holds, and no more maps than its data file has bytes for.
    const uint64_t libSize = lib.Size();
    const uint64_t complete = libSize / uint64_t(LibEntrySize);
    // Fewer than 32 bytes left is the normal end of the index.
    const uint64_t total = complete + (libSize % uint64_t(LibEntrySize) >= uint64_t(LibNameSize));
    if (total > uint64_t(DatMaxEntries))
        throw QuarvelError(ErrorKind::TooManyEntries, FileRole::ArchiveIndex, libPath)
            .Sizes(DatMaxEntries, total);
    if (complete * uint64_t(MapFileSize) > datSize)
        throw QuarvelError(ErrorKind::MoreThanDataHolds, FileRole::ArchiveIndex, libPath)
            .Sizes(datSize, complete * uint64_t(MapFileSize));
    std::vector<uint8_t> index(static_cast<size_t>(libSize));
    index.resize(lib.Read(index.data(), index.size()));

    std::vector<uint8_t> body(RecordBodySize), map(MapFileSize);
    const size_t entries = index.size() / size_t(LibEntrySize) +
                           (index.size() % size_t(LibEntrySize) >= size_t(LibNameSize) ? 1 : 0);
    if (opts.Progress) opts.Progress(0, entries);
    for (size_t i = 0; i < entries; ++i) {
        const size_t pos = i * size_t(LibEntrySize);
        // Entries are taken one by one, as the index is read: the files of the entries
        // before a broken one are written and stay.
        const UnpackEntry e =
            CheckEntry(libPath, i, index.data() + pos, index.size() - pos, datSize, opts);
        dat.ReadAt(uint64_t(e.Offset) + 4, body.data(), body.size());
        std::memcpy(map.data(), body.data(), MapHeaderSize);
        for (int z = 0; z < LevelCount; ++z)
            std::memcpy(map.data() + MapHeaderSize + z * LevelSize,
                        body.data() + MapHeaderSize + z * (2 + LevelSize) + 2, LevelSize);
        // Unpacked maps can be unpacked again: they are not flushed one by one.
        WriteFileAtomically(unpackDir + e.FileName, map.data(), map.size(), FileRole::MapFile,
                            TSaveFile::Unflushed);
        if (opts.Progress) opts.Progress(i + 1, entries);
    }
    return true;
}

} // namespace quarvel
