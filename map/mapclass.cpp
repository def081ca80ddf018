// The map document: the map file, cell writes with their neighbour
// upkeep, undo and redo. Shaping and the whole-map chip choice are in mapshape.cpp.
#include "map/mapclass.h"

#include "map/cp932.h"
#include "map/maperror.h"

#include <array>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quarvel {

namespace {

// ---- The map file ------------------------------------------------------------------------

constexpr char VersionTag[8] = {'V', 'e', 'r', '1', '.', '6', '+', '\0'};
// "新規マップ" in code page 932.
constexpr uint8_t NewMapName[10] = {0x90, 0x56, 0x8B, 0x4B, 0x83, 0x7D, 0x83, 0x62, 0x83, 0x76};

std::string ErrnoText(int err) {
    return std::strerror(err);
}

// Closes a descriptor when it goes out of scope, keeping errno as it was.
struct FdCloser {
    int Fd;
    ~FdCloser() {
        if (Fd >= 0) {
            int saved = errno;
            ::close(Fd);
            errno = saved;
        }
    }
};

// Reads up to `size` bytes; returns the count read (less at end of file), -1 on error.
ssize_t ReadFully(int fd, uint8_t* data, size_t size) {
    size_t done = 0;
    while (done < size) {
        ssize_t n = ::read(fd, data + done, size - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return -1;
        }
        if (n == 0) break;
        done += size_t(n);
    }
    return ssize_t(done);
}

bool WriteFully(int fd, const uint8_t* data, size_t size) {
    size_t done = 0;
    while (done < size) {
        ssize_t n = ::write(fd, data + done, size - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        done += size_t(n);
    }
    return true;
}

std::string FolderOf(const std::string& path) {
    size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

// The file a save replaces: a symbolic link is followed, so the link stays a link.
std::string SaveTarget(const std::string& name) {
    struct stat st;
    if (::lstat(name.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        if (char* real = ::realpath(name.c_str(), nullptr)) {
            std::string resolved(real);
            std::free(real);
            return resolved;
        }
    }
    return name;
}

mode_t NewFileMode() {
    mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// ---- Partner table ------------------------------------------------------------

struct PartnerRule {
    int8_t Count = 0;              // 0, 1 or 2 partner levels
    int8_t UnlinkDz[2] = {0, 0};   // partner levels in UnlinkCell order
    int8_t LinkDz[2] = {0, 0};     // partner levels in LinkCell order
    int8_t LinkOffset[2] = {0, 0}; // partner chip = own chip + offset, in LinkCell order
};

constexpr std::array<PartnerRule, 256> MakePartnerRules() {
    std::array<PartnerRule, 256> t{};
    auto two = [&](int k, int u0, int u1, int l0, int o0, int l1, int o1) {
        t[k].Count = 2;
        t[k].UnlinkDz[0] = int8_t(u0);
        t[k].UnlinkDz[1] = int8_t(u1);
        t[k].LinkDz[0] = int8_t(l0);
        t[k].LinkOffset[0] = int8_t(o0);
        t[k].LinkDz[1] = int8_t(l1);
        t[k].LinkOffset[1] = int8_t(o1);
    };
    auto one = [&](int k, int dz, int off) {
        t[k].Count = 1;
        t[k].UnlinkDz[0] = int8_t(dz);
        t[k].LinkDz[0] = int8_t(dz);
        t[k].LinkOffset[0] = int8_t(off);
    };
    for (int k : {33, 36}) two(k, -2, -1, -1, +1, -2, +2); // tops
    for (int k : {34, 37}) two(k, -1, +1, +1, -1, -1, +1); // middles
    for (int k : {35, 38}) two(k, +1, +2, +1, -1, +2, -2); // bottoms
    for (int k = 41; k <= 49; k += 2) one(k, +1, -1);      // lower halves at distance 1
    for (int k = 40; k <= 48; k += 2) one(k, -1, +1);      // upper halves at distance 1
    for (int k = 136; k <= 143; ++k) one(k, +1, +8);       // gate lower halves
    for (int k = 144; k <= 151; ++k) one(k, -1, -8);       // gate upper halves
    for (int k = 152; k <= 159; ++k) one(k, +1, +8);       // wall lower halves
    for (int k = 160; k <= 167; ++k) one(k, -1, -8);       // wall upper halves
    return t;
}

constexpr std::array<PartnerRule, 256> PartnerRules = MakePartnerRules();

constexpr bool LevelInside(int z) {
    return unsigned(z) < unsigned(TMap::SizeZ);
}

} // namespace

// ---- Document and file --------------------------------------------------------------------

void TMap::Clear() {
    Modified = false;
    FileName.clear();
    std::memset(Header, 0, sizeof Header);
    std::memcpy(Header, VersionTag, sizeof VersionTag);
    std::memcpy(Header + NameOffset, NewMapName, sizeof NewMapName);
    std::memset(Cells, 0, sizeof Cells);
    UndoBuf.Reset();
}

bool TMap::LoadFromFile(const std::string& name) {
    int fd = ::open(name.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) throw QuarvelError("cannot open map file '" + name + "': " + ErrnoText(errno));
    FdCloser closer{fd};
    struct stat st;
    if (::fstat(fd, &st) != 0)
        throw QuarvelError("cannot read map file '" + name + "': " + ErrnoText(errno));
    if (S_ISDIR(st.st_mode))
        throw QuarvelError("cannot read map file '" + name + "': it is a folder");

    // Bytes that a short file does not supply stay zero; a longer file's rest is ignored.
    uint8_t bytes[FileSize] = {};
    if (ReadFully(fd, bytes, sizeof bytes) < 0)
        throw QuarvelError("cannot read map file '" + name + "': " + ErrnoText(errno));

    if (std::memcmp(bytes, VersionTag, sizeof VersionTag) != 0) return false;
    Modified = false;
    FileName = name;
    std::memcpy(Header, bytes, HeaderSize);
    std::memcpy(Cells, bytes + HeaderSize, CellCount);
    UndoBuf.Reset();
    return true;
}

bool TMap::SaveToFile(const std::string& name) {
    if (!name.empty()) FileName = name;
    if (FileName.empty()) return false;

    // The new content goes to a temporary file beside the target, which replaces the old
    // file only once it is complete and on disk.
    const std::string target = SaveTarget(FileName);
    auto fail = [&](const std::string& what, int err) {
        throw QuarvelError("cannot save map file '" + FileName + "': " + what +
                           (err ? ": " + ErrnoText(err) : std::string()));
    };
    struct stat st;
    bool exists = ::stat(target.c_str(), &st) == 0;
    if (exists && S_ISDIR(st.st_mode)) fail("it is a folder", 0);

    std::string temp = target + ".tmp-XXXXXX";
    int fd = ::mkstemp(temp.data());
    if (fd < 0) fail("cannot create a temporary file in " + FolderOf(target), errno);
    bool renamed = false;
    try {
        FdCloser closer{fd};
        if (::fchmod(fd, exists ? (st.st_mode & 07777) : NewFileMode()) != 0)
            fail("cannot set the file mode", errno);
        if (!WriteFully(fd, Header, HeaderSize) || !WriteFully(fd, Cells, CellCount))
            fail("write failed", errno);
        if (::fsync(fd) != 0) fail("write failed", errno);
        closer.Fd = -1;
        if (::close(fd) != 0) fail("write failed", errno);
        if (::rename(temp.c_str(), target.c_str()) != 0) fail("cannot replace the file", errno);
        renamed = true;
    } catch (...) {
        if (!renamed) ::unlink(temp.c_str());
        throw;
    }
    int dir = ::open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir); // best effort: the rename itself is done
        ::close(dir);
    }
    Modified = false;
    return true;
}

std::string TMap::GetName() const {
    const char* p = reinterpret_cast<const char*>(Header + NameOffset);
    return std::string(p, strnlen(p, NameSize));
}

void TMap::SetName(const std::string& text) {
    Modified = true;
    // The rest of the field is left as it is: its bytes after the zero byte are saved too.
    const std::string kept = Cp932Prefix(text, NameMaxBytes);
    std::memcpy(Header + NameOffset, kept.data(), kept.size());
    Header[NameOffset + kept.size()] = 0;
}

int TMap::GetTerrain() const {
    const uint8_t* p = Header + TerrainOffset;
    uint32_t code =
        uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
    return int(code / 10);
}

void TMap::SetTerrain(int n) {
    Modified = true;
    uint32_t code = uint32_t(n) * 10u;
    for (int i = 0; i < 4; ++i) Header[TerrainOffset + i] = uint8_t(code >> (8 * i));
}

// ---- Cell writes and the neighbour upkeep -------------------------------------------------

void TMap::SetChip(int x, int y, int z, uint8_t chip) {
    if (!Inside(x, y, z)) return; // a caller's error; never write outside the map
    uint8_t& cell = Cells[Index(x, y, z)];
    const uint8_t old = cell;
    UndoBuf.Push(PackUndoRecord(x, y, z, old));
    if (PartnerRules[old].Count) UnlinkCell(x, y, z); // most chips have no partners
    cell = chip;
    if (PartnerRules[chip].Count) LinkCell(x, y, z);
    Modified = true;
}

// Partner levels outside 0..47 are skipped: nothing is read or written outside the map.
void TMap::UnlinkCell(int x, int y, int z) {
    const PartnerRule& rule = PartnerRules[Cells[Index(x, y, z)]];
    for (int i = 0; i < rule.Count; ++i) {
        int pz = z + rule.UnlinkDz[i];
        if (!LevelInside(pz)) continue;
        uint8_t& partner = Cells[Index(x, y, pz)];
        UndoBuf.Push(PackUndoRecord(x, y, pz, partner));
        partner = 0;
    }
}

void TMap::LinkCell(int x, int y, int z) {
    const PartnerRule& rule = PartnerRules[Cells[Index(x, y, z)]];
    if (rule.Count == 0) return;
    for (int i = 0; i < rule.Count; ++i) {
        int pz = z + rule.LinkDz[i];
        if (LevelInside(pz)) UnlinkCell(x, y, pz);
    }
    for (int i = 0; i < rule.Count; ++i) {
        int pz = z + rule.LinkDz[i];
        if (LevelInside(pz)) UndoBuf.Push(PackUndoRecord(x, y, pz, Cells[Index(x, y, pz)]));
    }
    for (int i = 0; i < rule.Count; ++i) {
        int pz = z + rule.LinkDz[i];
        // The own cell is read again: in an inconsistent map the unlink above may have
        // cleared it, and the partner is then derived from what it holds now.
        if (LevelInside(pz))
            Cells[Index(x, y, pz)] = uint8_t(Cells[Index(x, y, z)] + rule.LinkOffset[i]);
    }
}

// ---- Undo and redo ------------------------------------------------------------------------

bool TMap::Undo() {
    if (UndoBuf.Count() == 0) UndoBuf.StepBack();
    if (UndoBuf.Count() == 0) return false;
    // A step's records already hold every write of its neighbour upkeep, so they are replayed
    // as plain cell writes, newest first. Each write records the value it overwrites into the
    // now empty slot, which then holds exactly the records that undo this undo: the step keeps
    // its size through any number of undo/redo pairs.
    std::vector<UndoRecord> records;
    records.swap(UndoBuf.Slots[UndoBuf.Current]);
    UndoBuf.Slots[UndoBuf.Current].reserve(records.size());
    for (auto it = records.rbegin(); it != records.rend(); ++it) {
        const UndoRecord r = *it;
        const int x = int(r & 0xFF), y = int((r >> 8) & 0xFF), z = int((r >> 16) & 0xFF);
        if (!Inside(x, y, z)) continue;
        uint8_t& cell = Cells[Index(x, y, z)];
        UndoBuf.Push(PackUndoRecord(x, y, z, cell));
        cell = uint8_t(r >> 24);
        Modified = true;
    }
    UndoBuf.StepBack();
    ++UndoBuf.RedoCount;
    return true;
}

bool TMap::Redo() {
    if (UndoBuf.RedoCount <= 0) return false;
    UndoBuf.StepForward();
    Undo();
    UndoBuf.StepForward();
    UndoBuf.RedoCount -= 2;
    return true;
}

} // namespace quarvel
