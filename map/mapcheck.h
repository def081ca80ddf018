// The map checker: finds the cells of a map that the game or the editor would not have made
// that way, before the map goes into the archive.
#pragma once

#include "map/mapclass.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace quarvel {

enum class FindingKind {
    NoChip,        // the cell holds 168..255, which is no chip
    BrokenObject,  // a part of a multi-level object without the partners its write puts there
    ShapeWouldFix, // a ground, bridge or river chip that map shaping would replace
};

struct MapFinding {
    int X = 0, Y = 0, Z = 0;
    FindingKind Kind = FindingKind::NoChip;
    uint8_t Chip = 0; // what the cell holds
    // ShapeWouldFix: the chip shaping writes.
    uint8_t ShapedChip = 0;
    // BrokenObject: the partner cells that differ from what writing the part puts there (a
    // level outside the map counts as differing: the part cannot stand there).
    int MissingCount = 0;
    PartnerCell Expected[2] = {};
    uint8_t Found[2] = {}; // what the partner cells hold (0 outside the map)
};

// Every finding of the map, in cell order (level 0 first, then rows, then columns); at most
// one per cell. The map is not changed: shaping runs on a copy.
std::vector<MapFinding> CheckMap(const TMap& map);

// The finding of the one cell (x, y, z) inside the map, the same as CheckMap's for it; false
// when the cell has none.
bool CheckCell(const TMap& map, int x, int y, int z, MapFinding& finding);

// The cells whose finding may change when cell (x, y, z) changes: those within one column,
// row and level of it, and the two cells above and below it in its column (the reach of
// shaping and of an object's partners). Writes their indices (TMap::Index), in no order,
// and returns their count; cells outside the map are left out.
constexpr int CheckNeighbourhoodSize = 29;
int CheckNeighbourhood(int x, int y, int z, int (&cells)[CheckNeighbourhoodSize]);

// The languages a finding is told in: quarvel-cli's English, the editor's Japanese.
enum class FindingWording { English, Japanese };

// The shown form of a text of `context` (the editor's translator); none: the text as written.
using ShownText = std::function<std::string(const char* context, const char* text)>;

// The finding as text: "x y z: what is wrong" (English), "X:x Y:y Z:z what is wrong"
// (Japanese), with chips as "number name". The Japanese words and the chip names pass through
// `shown` when one is given.
std::string FindingText(const MapFinding& finding, FindingWording wording = FindingWording::English,
                        const ShownText& shown = nullptr);

} // namespace quarvel
