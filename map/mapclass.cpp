// The map document: the map file, cell writes with their neighbour
// upkeep, undo and redo. Shaping and the whole-map chip choice are in mapshape.cpp.
#include "map/mapclass.h"

#include "map/cp932.h"
#include "map/fileio.h"

#include <array>
#include <cstring>

namespace quarvel {

namespace {

// ---- The map file ------------------------------------------------------------------------

constexpr char VersionTag[8] = {'V', 'e', 'r', '1', '.', '6', '+', '\0'};
// "新規マップ" in code page 932.
constexpr uint8_t NewMapName[10] = {0x90, 0x56, 0x8B, 0x4B, 0x83, 0x7D, 0x83, 0x62, 0x83, 0x76};

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

int PartnersOf(uint8_t chip, int z, PartnerCell (&out)[2]) {
    const PartnerRule& rule = PartnerRules[chip];
    for (int i = 0; i < rule.Count; ++i)
        out[i] = {z + rule.LinkDz[i], uint8_t(chip + rule.LinkOffset[i])};
    return rule.Count;
}

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
    TReadFile file(name, FileRole::MapFile);
    // Bytes that a short file does not supply stay zero; a longer file's rest is ignored.
    uint8_t bytes[FileSize] = {};
    file.Read(bytes, sizeof bytes);

    if (std::memcmp(bytes, VersionTag, sizeof VersionTag) != 0) return false;
    Modified = false;
    FileName = name;
    std::memcpy(Header, bytes, HeaderSize);
    std::memcpy(Cells, bytes + HeaderSize, CellCount);
    UndoBuf.Reset();
    return true;
}

bool TMap::SaveToFile(const std::string& name, const std::string& backupFolder) {
    if (!name.empty()) FileName = name;
    if (FileName.empty()) return false;
    WriteToFile(FileName, backupFolder);
    Modified = false;
    return true;
}

void TMap::WriteToFile(const std::string& path, const std::string& backupFolder) const {
    TSaveFile file(path, FileRole::MapFile,
                   TSaveFile::Choices{TSaveFile::Flushed, -1, backupFolder});
    file.Write(Header, HeaderSize);
    file.Write(Cells, CellCount);
    file.Commit();
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
