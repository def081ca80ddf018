// Fuzzes the map archive in a fresh folder per input. Unpack: an index made of the input
// beside a data file; nothing may appear outside dat/unpacked/, no temporary file may stay,
// and every unpacked file must hold what a plain reading of the index and the data file
// gives for an entry of its name. Build: a map.ini made of the input over a few map files;
// a failed build leaves the old pair as it was, a finished one holds exactly the records a
// plain reading of map.ini asks for, and nothing else changes.
//
// Input: one byte (bit 0: build, bit 1: an old pair / dummy.map, bit 2: a short map file),
// then for unpack the index, the data file's record count and size change and its bytes; for
// build the text of map.ini.
#include "archive/datlib.h"
#include "fuzz/fuzzutil.h"
#include "map/maperror.h"
#include "tests/testutil.h"

#include <algorithm>
#include <filesystem>
#include <set>
#include <vector>

using namespace quarvel;
using namespace quarvel::fuzz;

namespace {

namespace fs = std::filesystem;

constexpr size_t MapBytes = 49200;

uint32_t U32(const std::string& s, size_t at) {
    const auto b = [&](size_t i) { return uint32_t(uint8_t(s[at + i])); };
    return b(0) | b(1) << 8 | b(2) << 16 | b(3) << 24;
}

std::string Pattern(const std::string& seed, size_t n) {
    std::string s = seed.empty() ? std::string("\x11\x22\x33", 3) : seed;
    s.reserve(n);
    while (s.size() < n) s.append(s.data(), std::min(s.size(), n - s.size()));
    s.resize(n);
    return s;
}

// The map file that a record holds: its header, then each level without its leading word.
std::string MapOfRecord(const std::string& dat, size_t offset) {
    std::string map = dat.substr(offset + 4, 48);
    for (int z = 0; z < 48; ++z) map += dat.substr(offset + 4 + 48 + size_t(z) * 1026 + 2, 1024);
    return map;
}

// The record that a map file becomes.
std::string RecordOfMap(const std::string& map) {
    std::string rec = std::string("\x94\xc0\x20\x30", 4) + map.substr(0, 48);
    for (int z = 0; z < 48; ++z)
        rec += std::string("\x24\x00", 2) + map.substr(48 + size_t(z) * 1024, 1024);
    return rec + std::string(12, '\0');
}

// Everything below `root` that differs from `before`, or is new.
std::vector<std::string> Changed(const Listing& before, const Listing& after) {
    std::vector<std::string> out;
    for (const auto& [path, bytes] : after) {
        auto it = before.find(path);
        if (it == before.end() || it->second != bytes) out.push_back(path);
    }
    for (const auto& [path, bytes] : before)
        if (!after.count(path)) out.push_back(path);
    return out;
}

struct Folder {
    test::TempDir Dir; // the folder around the program folder: writes here are outside it
    std::string Root = Dir.File("root");
    Folder() {
        for (const char* d : {"root", "root/map", "root/dat", "root/dat/unpacked", "other"})
            fs::create_directory(Dir.File(d));
        WriteFile(Dir.File("other/secret.map"), "secret");
    }
};

void FuzzUnpack(Input& in, Folder& f) {
    const std::string lib = in.Take(size_t(in.Int(0, 8 * 40 + 39)));
    const int records = in.Byte() % 3;
    const long long datSize = std::max(0LL, records * 49312LL + in.Int(-320, 320));
    const std::string dat = Pattern(in.Rest(), size_t(datSize));
    WriteFile(f.Root + "/dat/data1.lib", lib);
    WriteFile(f.Root + "/dat/data1.dat", dat);
    const Listing before = ListTree(f.Dir.Path());

    bool done = false;
    try {
        done = UnpackDat(f.Root);
    } catch (const QuarvelError&) {
    }
    const Listing after = ListTree(f.Dir.Path());

    // A plain reading of the index: entry names, and the map file of each whole record.
    std::vector<std::pair<std::string, std::string>> entries;
    for (size_t pos = 0; pos + 32 <= lib.size(); pos += 40) {
        const std::string name = lib.substr(pos, std::min(lib.find('\0', pos), pos + 32) - pos);
        std::string map;
        if (pos + 40 <= lib.size()) {
            const int32_t offset = int32_t(U32(lib, pos + 32));
            if (offset >= 0 && offset + 49300LL <= datSize) map = MapOfRecord(dat, size_t(offset));
        }
        entries.push_back({name, map});
    }
    const std::string prefix = "root/dat/unpacked/";
    std::set<std::string> files;
    for (const std::string& path : Changed(before, after)) {
        if (path.compare(0, prefix.size(), prefix) != 0 || path.size() == prefix.size() ||
            path.find('/', prefix.size()) != std::string::npos || !after.count(path) ||
            after.at(path) == "<folder>" || after.at(path) == "<link>")
            Fail("unpack changed something outside dat/unpacked/ or left a temporary file: " +
                 path);
        const std::string name = path.substr(prefix.size());
        const std::string& bytes = after.at(path);
        bool matches = false;
        for (const auto& e : entries) matches |= e.first == name && e.second == bytes;
        if (!matches) Fail("unpacked file '" + name + "' is no record of an entry of that name");
        files.insert(name);
    }
    if (done) {
        std::set<std::string> names;
        for (const auto& e : entries) names.insert(e.first);
        Check(names == files, "a finished unpack did not write one file per entry name");
        for (const std::string& name : names) { // the last entry of a name wins
            const auto last = std::find_if(entries.rbegin(), entries.rend(),
                                           [&](const auto& e) { return e.first == name; });
            Check(after.at(prefix + name) == last->second,
                  "an unpacked file does not hold the last record of its name");
        }
    }
}

std::vector<std::string> PlainLines(const std::string& text) {
    std::vector<std::string> lines;
    std::string line;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            lines.push_back(line);
            line.clear();
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            line += text[i];
        }
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
}

void FuzzBuild(Input& in, Folder& f, uint8_t flags) {
    const std::string map = f.Root + "/map/";
    WriteFile(f.Root + "/secret.map", Pattern("root secret", MapBytes));
    WriteFile(map + "a.map", Pattern("map a", MapBytes));
    WriteFile(map + "b.map", Pattern("map b", flags & 4 ? 1000 : MapBytes + 10));
    if (flags & 2) {
        WriteFile(map + "dummy.map", Pattern("dummy", MapBytes));
        WriteFile(f.Root + "/dat/data1.dat", "old data");
        WriteFile(f.Root + "/dat/data1.lib", "old index");
    }
    fs::create_directory(map + "folder.map");
    const std::string ini = in.Rest();
    WriteFile(map + "map.ini", ini);
    const Listing before = ListTree(f.Dir.Path());

    bool done = false;
    try {
        done = BuildDat(f.Root);
    } catch (const QuarvelError&) {
    }
    const Listing after = ListTree(f.Dir.Path());
    for (const std::string& path : Changed(before, after))
        if (!done || (path != "root/dat/data1.dat" && path != "root/dat/data1.lib"))
            Fail("building changed " + path);
    if (!done) return;

    // A plain reading of map.ini: one 40-byte entry and one record per line.
    const std::vector<std::string> lines = PlainLines(ini);
    const std::string& lib = after.at("root/dat/data1.lib");
    const std::string& dat = after.at("root/dat/data1.dat");
    Check(lib.size() == lines.size() * 40 && dat.size() == lines.size() * 49312,
          "the archive's size differs from the lines of map.ini");
    for (size_t i = 0; i < lines.size(); ++i) {
        std::string name = lines[i].substr(0, 30);
        name.resize(32, '\0');
        Check(lib.compare(i * 40, 32, name) == 0, "an entry's name differs from its line");
        Check(U32(lib, i * 40 + 32) == i * 49312 && U32(lib, i * 40 + 36) == 49300,
              "an entry's offset or length is wrong");
        const std::string path = map + lines[i];
        std::error_code ec;
        const bool own = lines[i].find('\0') == std::string::npos && fs::is_regular_file(path, ec);
        const std::string file = ReadFile(own ? path : map + "dummy.map");
        Check(file.size() >= MapBytes, "a short map file was archived");
        Check(dat.compare(i * 49312, 49312, RecordOfMap(file)) == 0,
              "a record differs from its map file");
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    UseMemoryTempFolder();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Input in(data, size);
    const uint8_t flags = in.Byte();
    Folder f;
    if (flags & 1)
        FuzzBuild(in, f, flags);
    else
        FuzzUnpack(in, f);
    return 0;
}
