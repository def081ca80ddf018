// Text forms of maps: the dump and the differences of two maps.
#include "map/mapdiff.h"

#include "map/chipclasses.h"
#include "map/mapclass.h"
#include "map/maperror.h"

#include <cstring>

namespace quarvel {

namespace {

void AppendHex(std::string& out, unsigned char c) {
    static const char digits[] = "0123456789ABCDEF";
    out += "\\x";
    out += digits[c >> 4];
    out += digits[c & 15];
}

// Small non-negative numbers (coordinates and chips) without a formatting library.
void AppendNumber(std::string& out, int n) {
    char buf[12];
    int len = 0;
    do {
        buf[len++] = char('0' + n % 10);
        n /= 10;
    } while (n > 0);
    while (len > 0) out += buf[--len];
}

// The version tag: the first 8 header bytes up to a zero byte; other than printable ASCII
// shown as "\xNN".
std::string VersionLine(const TMap& map) {
    std::string out;
    for (int i = 0; i < 8 && map.Header[i] != 0; ++i) {
        const unsigned char c = map.Header[i];
        if (c < 0x20 || c >= 0x7F)
            AppendHex(out, c);
        else
            out += char(c);
    }
    return out;
}

void AppendCell(std::string& out, int x, int y, int z) {
    AppendNumber(out, x);
    out += ' ';
    AppendNumber(out, y);
    out += ' ';
    AppendNumber(out, z);
    out += ' ';
}

} // namespace

const char* ChipLabel(uint8_t chip) {
    return chip < TMap::ChipCount ? ChipNames[chip] : "?";
}

std::string NameLine(const std::string& cp932, const NameToText& toText) {
    // Control characters (C0, DEL and C1) and bytes that are not UTF-8 become "\xNN".
    return PrintableName(toText ? toText(cp932) : cp932);
}

std::string DumpMap(const TMap& map, const NameToText& toText) {
    std::string out = NameLine(map.GetName(), toText) + "\n";
    AppendNumber(out, map.GetTerrain());
    out += "\n" + VersionLine(map) + "\n";
    int used = 0;
    for (uint8_t c : map.Cells) used += c != 0;
    out.reserve(out.size() + size_t(used) * 24);
    for (int z = 0; z < TMap::SizeZ; ++z)
        for (int y = 0; y < TMap::SizeY; ++y)
            for (int x = 0; x < TMap::SizeX; ++x) {
                const uint8_t c = map.Cells[TMap::Index(x, y, z)];
                if (c == 0) continue;
                AppendCell(out, x, y, z);
                AppendNumber(out, c);
                out += ' ';
                out += ChipLabel(c);
                out += '\n';
            }
    return out;
}

void ChangedCells(const TMap& before, const TMap& after, std::vector<int32_t>& out) {
    out.clear();
    // Eight cells at a time: in a map with few changes nearly every word is equal.
    static_assert(TMap::CellCount % 8 == 0, "the cells are whole words");
    for (int i = 0; i < TMap::CellCount; i += 8) {
        uint64_t a, b;
        std::memcpy(&a, before.Cells + i, 8);
        std::memcpy(&b, after.Cells + i, 8);
        if (a == b) continue;
        for (int k = i; k < i + 8; ++k)
            if (before.Cells[k] != after.Cells[k]) out.push_back(k);
    }
}

std::string DiffMaps(const TMap& before, const TMap& after, const NameToText& toText) {
    std::string out;
    const std::string oldName = before.GetName(), newName = after.GetName();
    if (oldName != newName)
        out += "name: " + NameLine(oldName, toText) + " -> " + NameLine(newName, toText) + "\n";
    if (before.GetTerrain() != after.GetTerrain()) {
        out += "terrain: ";
        AppendNumber(out, before.GetTerrain());
        out += " -> ";
        AppendNumber(out, after.GetTerrain());
        out += '\n';
    }
    std::vector<int32_t> cells;
    ChangedCells(before, after, cells);
    for (const int32_t i : cells) {
        const uint8_t a = before.Cells[i], b = after.Cells[i];
        AppendCell(out, i % TMap::SizeX, i / TMap::SizeX % TMap::SizeY, i / TMap::LevelSize);
        AppendNumber(out, a);
        out += ' ';
        AppendNumber(out, b);
        out += '\n';
    }
    return out;
}

} // namespace quarvel
