// 問題: the map checker's findings for the editor's map, kept up to date after every change by
// checking again only the cells around what changed; the panel's caption and texts, and the
// move to a finding's cell.
#pragma once

#include "map/mapcheck.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace quarvel {

class TMap;
class TEditorState;

// One change of the list's rows: at Row, Removed rows give way to Inserted new ones. The
// splices of one update come in row order, each counted on the list as the splices before
// it left it, so that a view applies them one after the other.
struct ProblemSplice {
    int Row = 0;
    int Removed = 0;
    int Inserted = 0;
};

struct ProblemChange {
    bool Reset = false; // the list is new as a whole; no splices then
    std::vector<ProblemSplice> Splices;
    bool Any() const { return Reset || !Splices.empty(); }
};

// The findings of a map (CheckMap's, in its order), and what changed in them since the last
// update.
class TProblemList {
public:
    // Brings the list up to `map`: compares its cells with those of the last update and checks
    // again the cells whose finding may depend on a changed one (CheckNeighbourhood); a first
    // update, or one after many changed cells, checks the whole map. Cheap when nothing
    // changed, so it may run after every event.
    ProblemChange Update(const TMap& map);
    // The next Update checks the whole map.
    void Forget();
    const std::vector<MapFinding>& Findings() const { return List; }

    // More changed cells than this are checked as a whole map.
    static constexpr size_t WholeCheckFrom = 1024;

private:
    std::vector<uint8_t> Seen; // the cells at the last update; empty before the first
    std::vector<MapFinding> List;
    std::vector<MapFinding> Next; // the list being built, kept for its storage
    std::vector<int> Changed, Affected;
};

// The text of a finding as the panel shows it: the checker's Japanese wording, translated as
// every shown text.
std::string ProblemText(const MapFinding& finding);
// The panel's title with the number of findings: "問題 (3)".
std::string ProblemsCaption(size_t count);

// Moves the cursor and CurrentLevel to cell (x, y, z) as the level list does (the selection
// goes off on another level) and scrolls both views to it.
void MoveCursorTo(TEditorState& State, int x, int y, int z);
// Double-click or Enter on row `row` of the list: MoveCursorTo its cell. Nothing for a row
// outside the list.
void GoToProblem(TEditorState& State, const TProblemList& list, int row);
// The panel was closed by its own close button: the 表示 menu's item goes off too.
void ProblemsPanelClosed(TEditorState& State);

} // namespace quarvel
