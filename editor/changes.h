// The cells changed since the last save: the editor keeps the map as its file was last loaded
// or saved (the baseline) and, while 変更箇所を表示 is on, the cells that differ from it, which
// both views outline and the info panel counts.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quarvel {

class TEditorState;

// The map as it stands becomes the baseline: after it was opened, saved, or made new (then
// the baseline is the empty map that 新規作成 makes).
void KeepBaseline(TEditorState& State);
// The file `path` on disk becomes the baseline (a recovered copy that belongs to it); an
// empty map when there is no name, or the file cannot be read or is not a map.
void KeepBaselineOf(TEditorState& State, const std::string& path);
// The map was saved: it becomes the baseline and the views take away the outlines it ends.
void ChangesSaved(TEditorState& State);

// Compares the map with the baseline (ChangedCells, as `quarvel-cli diff` does) into
// State.Changes and returns it: empty while the option is off. A state without a baseline
// yet compares with the empty map.
const std::vector<int32_t>& UpdateChanges(TEditorState& State);
// The info panel's count while the option is on ("変更 12"), else empty.
std::string ChangesText(TEditorState& State);

} // namespace quarvel
