// The baseline of the changed cells and the comparison with it.
#include "editor/changes.h"

#include "editor/global.h"
#include "editor/texts.h"
#include "map/mapclass.h"
#include "map/mapdiff.h"

#include <cstring>
#include <exception>
#include <memory>

namespace quarvel {

namespace {

// The baseline, made the empty map on first use.
TMap& Baseline(TEditorState& State) {
    if (!State.Baseline) {
        State.Baseline = std::make_unique<TMap>();
        State.Baseline->Clear();
    }
    return *State.Baseline;
}

} // namespace

void KeepBaseline(TEditorState& State) {
    if (!State.TheMap) return;
    TMap& base = Baseline(State);
    std::memcpy(base.Header, State.TheMap->Header, sizeof base.Header);
    std::memcpy(base.Cells, State.TheMap->Cells, sizeof base.Cells);
}

void KeepBaselineOf(TEditorState& State, const std::string& path) {
    auto base = std::make_unique<TMap>();
    bool loaded = false;
    try {
        loaded = !path.empty() && base->LoadFromFile(path);
    } catch (const std::exception&) {
        // Gone, unreadable or no regular file: everything counts as changed.
    }
    if (!loaded) base->Clear();
    State.Baseline = std::move(base);
}

void ChangesSaved(TEditorState& State) {
    KeepBaseline(State);
    if (!State.View.Changes) return;
    State.Windows.Edit->PaintView();
    State.Windows.Whole->PaintView();
}

const std::vector<int32_t>& UpdateChanges(TEditorState& State) {
    if (!State.View.Changes || !State.TheMap)
        State.Changes.clear();
    else
        ChangedCells(Baseline(State), *State.TheMap, State.Changes);
    return State.Changes;
}

std::string ChangesText(TEditorState& State) {
    if (!State.View.Changes) return "";
    return Arg(Tr("Form4", "変更 %1"), {std::to_string(UpdateChanges(State).size())});
}

} // namespace quarvel
