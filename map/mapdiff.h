// Text forms of maps for review and version control: a dump of the header and of every
// non-empty cell, and the differences between two maps, both in cell order.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace quarvel {

class TMap;

// Turns a map name (code page 932 bytes) into the text that is shown; the caller's codec.
using NameToText = std::function<std::string(const std::string& cp932)>;

// A chip as the text forms name it: the chip list's name for 0..167 ("-" where the list has
// none), "?" for a byte with no chip (168..255).
const char* ChipLabel(uint8_t chip);

// The name as one line of text that is safe to print: `toText` of the name bytes, then every
// control character (C0, DEL, C1) and byte that is not UTF-8 as "\xNN" (PrintableName), so
// that a name never breaks the line structure nor reaches a terminal as a command.
std::string NameLine(const std::string& cp932, const NameToText& toText);

// The dump: the name line, the terrain set (GetTerrain), the version tag, then one line
// "x y z chip label" per non-empty cell, level 0 first, then rows, then columns. Every line
// ends in "\n".
std::string DumpMap(const TMap& map, const NameToText& toText);

// The cells whose chips differ between `before` and `after`, as TMap::Index values in cell
// order (level 0 first, then rows, then columns): the cells DiffMaps lists, and the cells the
// editor outlines as changed since the last save. `out` is replaced.
void ChangedCells(const TMap& before, const TMap& after, std::vector<int32_t>& out);

// What differs from `before` to `after`: "name: OLD -> NEW" when the names differ,
// "terrain: OLD -> NEW" when the terrain sets differ, then one line "x y z old new" per
// changed cell in dump order. Empty when the maps show no difference.
std::string DiffMaps(const TMap& before, const TMap& after, const NameToText& toText);

} // namespace quarvel
