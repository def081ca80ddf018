// The map archive: building data1.dat / data1.lib from the map folder and unpacking it again.
// Every output goes through a temporary file that is renamed into place once it is complete.
#include "archive/datlib.h"

#include "map/maperror.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <random>

namespace quarvel {

namespace {

namespace fs = std::filesystem;

constexpr int MapFileSize = 49200; // header and cells of one map file
constexpr int MapHeaderSize = 48;
constexpr int LevelCount = 48;
constexpr int LevelSize = 1024;
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

std::string SystemError() {
    return std::strerror(errno);
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

// A file written under a temporary name in its target folder and renamed over the target by
// Commit. Until then the target is untouched; a file that is not committed is removed.
class PendingFile {
public:
    PendingFile(const std::string& folder, const std::string& target) : Target(target) {
        static std::mt19937_64 rng{std::random_device{}()};
        for (int attempt = 0; attempt < 100 && !File; ++attempt) {
            char suffix[24];
            std::snprintf(suffix, sizeof suffix, "%012llx",
                          static_cast<unsigned long long>(rng() & 0xFFFFFFFFFFFFull));
            TempPath = folder + ".quarvel-" + suffix + ".tmp";
            File = std::fopen(TempPath.c_str(), "wbx"); // exclusive: never reuse a name
            if (!File && errno != EEXIST) break;
        }
        if (!File) throw QuarvelError("cannot create a file in " + folder + ": " + SystemError());
    }
    ~PendingFile() {
        if (File) std::fclose(File);
        if (!Committed) std::remove(TempPath.c_str());
    }
    PendingFile(const PendingFile&) = delete;
    PendingFile& operator=(const PendingFile&) = delete;

    void Write(const void* data, size_t size) {
        if (std::fwrite(data, 1, size, File) != size)
            throw QuarvelError("cannot write " + Target + ": " + SystemError());
    }
    // Finishes the file; a failure here (a full disk shows at the latest now) is an error.
    void Close() {
        std::FILE* f = File;
        File = nullptr;
        int err = std::fflush(f) == 0 ? 0 : errno;
        if (std::fclose(f) != 0 && err == 0) err = errno;
        if (err != 0) throw QuarvelError("cannot write " + Target + ": " + std::strerror(err));
    }
    void Commit() {
        if (File) Close();
        if (std::rename(TempPath.c_str(), Target.c_str()) != 0)
            throw QuarvelError("cannot replace " + Target + ": " + SystemError());
        Committed = true;
    }

private:
    std::string Target;
    std::string TempPath;
    std::FILE* File = nullptr;
    bool Committed = false;
};

// Closes a FILE* opened for reading.
struct ReadFile {
    std::FILE* File = nullptr;
    explicit ReadFile(const std::string& path) : File(std::fopen(path.c_str(), "rb")) {}
    ~ReadFile() {
        if (File) std::fclose(File);
    }
    ReadFile(const ReadFile&) = delete;
    ReadFile& operator=(const ReadFile&) = delete;
};

std::string ReadWholeFile(const std::string& path) {
    ReadFile in(path);
    if (!in.File) throw QuarvelError("cannot open " + path + ": " + SystemError());
    std::string text;
    char buf[65536];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, in.File)) > 0) text.append(buf, n);
    if (std::ferror(in.File)) throw QuarvelError("cannot read " + path + ": " + SystemError());
    return text;
}

// Reads the first 49,200 bytes of a map file; a shorter file is an error naming it.
void ReadMapFile(const std::string& path, uint8_t* out) {
    ReadFile in(path);
    if (!in.File) throw QuarvelError("cannot open " + path + ": " + SystemError());
    size_t n = std::fread(out, 1, MapFileSize, in.File);
    if (std::ferror(in.File)) throw QuarvelError("cannot read " + path + ": " + SystemError());
    if (n != size_t(MapFileSize))
        throw QuarvelError("map file " + path + " is shorter than 49,200 bytes (" +
                           std::to_string(n) + " bytes)");
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

// The entry name for messages: its file-system form when it converts, else the bytes.
std::string DisplayName(const DatOptions& opts, const std::string& name) {
    try {
        return ConvertName(opts, name);
    } catch (const std::exception&) {
        return name;
    }
}

struct UnpackEntry {
    std::string FileName; // file-system name inside the unpack folder
    uint32_t Offset = 0;
};

std::string EntryLabel(size_t index, const std::string& name) {
    return "data1.lib entry " + std::to_string(index) + " \"" + name + "\"";
}

// Checks the index entry that starts at `e` (at least 32 bytes, `available` bytes up to the
// end of data1.lib) before its file is written: it needs its offset, a name that stays a
// plain file name inside the unpack folder, and a whole record inside data1.dat.
UnpackEntry CheckEntry(size_t index, const uint8_t* e, size_t available, uint64_t datSize,
                       const DatOptions& opts) {
    size_t len = 0;
    while (len < size_t(LibNameSize) && e[len] != 0) ++len;
    const std::string raw(reinterpret_cast<const char*>(e), len);
    if (available < size_t(LibEntrySize))
        throw QuarvelError(EntryLabel(index, DisplayName(opts, raw)) +
                           " is cut off: data1.lib ends before its offset");
    if (raw.empty())
        throw QuarvelError("data1.lib entry " + std::to_string(index) + " has an empty name");
    std::string name;
    try {
        name = ConvertName(opts, raw);
    } catch (const std::exception& ex) {
        throw QuarvelError(EntryLabel(index, raw) + ": " + ex.what());
    }
    if (name.empty() || name.find('/') != std::string::npos ||
        name.find('\\') != std::string::npos || name.find("..") != std::string::npos ||
        name == "." || name.find('\0') != std::string::npos)
        throw QuarvelError(EntryLabel(index, name) + " is not a plain file name");
    const int32_t offset = int32_t(GetLong(e + LibNameSize));
    if (offset < 0 || uint64_t(offset) + uint64_t(DatRecordLength) > datSize)
        throw QuarvelError(EntryLabel(index, name) + ": its record at offset " +
                           std::to_string(offset) + " lies past the end of data1.dat (" +
                           std::to_string(datSize) + " bytes)");
    return {name, uint32_t(offset)};
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
    return SplitListLines(ReadWholeFile(path));
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
    if (!IsFolder(datDir)) throw QuarvelError("archive folder not found: " + datDir);
    if (!IsFolder(mapDir)) throw QuarvelError("map folder not found: " + mapDir);
    const std::string datPath = datDir + "data1.dat";
    const std::string libPath = datDir + "data1.lib";
    for (const std::string& target : {datPath, libPath}) {
        std::error_code ec;
        if (fs::exists(target, ec) && !IsFile(target))
            throw QuarvelError("cannot replace " + target + ": it is not a file");
    }
    const std::string iniPath = mapDir + "map.ini";
    if (!IsFile(iniPath)) throw QuarvelError("list file not found: " + iniPath);
    const std::vector<std::string> lines = ReadListFile(iniPath);
    if (lines.size() > size_t(DatMaxEntries))
        throw QuarvelError(iniPath + " lists " + std::to_string(lines.size()) +
                           " maps; an archive holds at most 43,549");

    PendingFile dat(datDir, datPath);
    PendingFile lib(datDir, libPath);
    std::vector<uint8_t> map(MapFileSize), record(DatRecordSize), dummy;
    const size_t total = lines.size();
    if (opts.Progress) opts.Progress(0, total);
    for (size_t i = 0; i < total; ++i) {
        const std::string& line = lines[i];
        std::string name;
        try {
            name = ConvertName(opts, line);
        } catch (const std::exception& ex) {
            throw QuarvelError(iniPath + " line " + std::to_string(i + 1) + ": " + ex.what());
        }
        const std::string path = ListedMapFile(mapDir, name);
        if (!path.empty()) {
            ReadMapFile(path, map.data());
            MakeRecord(map.data(), record.data());
        } else {
            if (dummy.empty()) {
                const std::string dummyPath = mapDir + "dummy.map";
                if (!IsFile(dummyPath))
                    throw QuarvelError("map \"" + name + "\" (line " + std::to_string(i + 1) +
                                       " of map.ini) not found, and no dummy.map in " + mapDir);
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
    dat.Close();
    lib.Close();
    dat.Commit();
    lib.Commit();
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
    if (!IsFolder(unpackDir)) throw QuarvelError("unpack folder not found: " + unpackDir);

    std::error_code ec;
    const uint64_t datSize = fs::file_size(datPath, ec);
    if (ec) throw QuarvelError("cannot read " + datPath + ": " + ec.message());
    const std::string lib = ReadWholeFile(libPath);
    const uint8_t* libBytes = reinterpret_cast<const uint8_t*>(lib.data());
    // Fewer than 32 bytes left is the normal end of the index.
    const size_t total = lib.size() / size_t(LibEntrySize) +
                         (lib.size() % size_t(LibEntrySize) >= size_t(LibNameSize) ? 1 : 0);

    ReadFile dat(datPath);
    if (!dat.File) throw QuarvelError("cannot open " + datPath + ": " + SystemError());
    std::vector<uint8_t> body(RecordBodySize), map(MapFileSize);
    if (opts.Progress) opts.Progress(0, total);
    for (size_t i = 0; i < total; ++i) {
        const size_t pos = i * size_t(LibEntrySize);
        // Entries are taken one by one, as the index is read: the files of the entries
        // before a broken one are written and stay.
        const UnpackEntry e = CheckEntry(i, libBytes + pos, lib.size() - pos, datSize, opts);
        if (std::fseek(dat.File, long(e.Offset) + 4, SEEK_SET) != 0 ||
            std::fread(body.data(), 1, body.size(), dat.File) != body.size())
            throw QuarvelError("cannot read the record of \"" + e.FileName + "\" from " + datPath);
        std::memcpy(map.data(), body.data(), MapHeaderSize);
        for (int z = 0; z < LevelCount; ++z)
            std::memcpy(map.data() + MapHeaderSize + z * LevelSize,
                        body.data() + MapHeaderSize + z * (2 + LevelSize) + 2, LevelSize);
        PendingFile out(unpackDir, unpackDir + e.FileName);
        out.Write(map.data(), map.size());
        out.Commit();
        if (opts.Progress) opts.Progress(i + 1, total);
    }
    return true;
}

} // namespace quarvel
