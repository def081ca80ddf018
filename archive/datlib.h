// The map archive: packs the maps listed in map/map.ini into dat/data1.dat and dat/data1.lib
// for the game, and unpacks such a pair into single map files in dat/unpacked/.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace quarvel {

// One DAT record: two words, the 48-byte header, 48 blocks of a word and 1,024 cells, and
// 12 closing zero bytes.
constexpr int DatRecordSize = 49312;
constexpr int DatRecordLength = 49300; // the record without its closing bytes
constexpr int DatSecondWord = 12320;
constexpr int DatLevelWord = 36;
constexpr int LibEntrySize = 40;
constexpr int LibNameSize = 32;
constexpr int LibNameMaxBytes = 30; // longer names are cut to this many bytes
// The offsets are signed 32-bit: record 43,549 would start past 2,147,483,647.
constexpr int DatMaxEntries = 43549;

struct DatOptions {
    // Turns an entry name of map.ini (code page 932 bytes, as stored in data1.lib) into the
    // name the file system knows it by. Identity when empty. May throw to refuse a name.
    std::function<std::string(const std::string& cp932)> ToFileName;
    // Called after each archived or unpacked entry with (entries done, entries in all).
    std::function<void(size_t done, size_t total)> Progress;
};

// Archives every map listed in map.ini into dat/data1.dat and dat/data1.lib below
// `programFolder`. Every line is checked first, and a line that would leave the map folder,
// holds control characters, would be cut at 30 bytes inside a double-byte character, or
// would be stored like an earlier different line is refused with an error naming it, before
// anything is written. The new pair replaces the old one only when every entry was archived,
// and both files or neither: after any failure the old pair stays as it was, and
// QuarvelError says what failed. Returns true.
bool BuildDat(const std::string& programFolder, const DatOptions& opts = {});

// Unpacks dat/data1.dat and dat/data1.lib into dat/unpacked/, one 49,200-byte map file per
// index entry, in index order. Returns false, doing nothing, when either archive file (or
// the archive folder) is missing. Refused before anything is written: an unpack folder that
// is a symbolic link, an index of more entries than an archive holds or of more maps than
// data1.dat has bytes for. A broken entry (record past the end of data1.dat, unsafe name or
// one with control characters, cut-off index entry) throws QuarvelError before its file is
// created; the files of the entries before it stay. A file that cannot be written throws.
bool UnpackDat(const std::string& programFolder, const DatOptions& opts = {});

// The lines of a list file: lines end in CR LF, LF or CR; a last line without an ending
// counts; a line ending at the very end adds no entry; lines are kept exactly as written.
std::vector<std::string> SplitListLines(const std::string& text);

// The most bytes a list of DatMaxEntries lines can have: each a file name (at most 255 bytes)
// and its CR LF.
constexpr uint64_t ListMaxBytes = uint64_t(DatMaxEntries) * (255 + 2);

// The lines of the list file `path` as SplitListLines splits them. Throws QuarvelError when
// it cannot be read, ListTooLarge (before reading) when it is larger than ListMaxBytes, and
// TooManyEntries when it has more than DatMaxEntries lines (only the first are kept while
// the rest is counted).
std::vector<std::string> ReadListFile(const std::string& path);

// The file-system names of the list's lines (ToFileName of each), once every line has been
// checked as pack checks them: no control characters, no cut at 30 bytes inside a character,
// a plain file name in the map folder, and no two different names that the index would store
// alike. An empty line stays allowed (archived as dummy.map under an empty name). The first
// fault throws QuarvelError naming its line of `listPath`.
std::vector<std::string> CheckListNames(const std::vector<std::string>& lines,
                                        const std::string& listPath, const DatOptions& opts);

// The map file of the listed name `name` (file-system form) in the map folder `mapDir` (with
// its trailing '/'): mapDir + name when that is a file, else "" (the archive then holds
// "dummy.map" in its place).
std::string ListedMapFile(const std::string& mapDir, const std::string& name);

// The 32-byte name field of a LIB entry: at most the first 30 bytes of `name`, then zeros.
void MakeLibName(const std::string& name, uint8_t (&field)[LibNameSize]);

} // namespace quarvel
