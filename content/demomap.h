// The demonstration map: a small landscape that uses every chip family, for a first start.
#pragma once

namespace quarvel {

class TMap;

// Turns `map` into the demonstration map "デモマップ" (terrain set 0): a river with banks,
// bridges and a landing stage, terraced hills with stairs, an elevator and cave entrances,
// woods, fields, villages, enemies and treasure, and the walled castles of two countries.
// The map is shaped, its undo history is empty and it is marked modified (not saved).
void BuildDemoMap(TMap& map);

} // namespace quarvel
