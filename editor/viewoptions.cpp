// The 表示 menu's options: their check marks, what each shows anew, and the pick they share.
#include "editor/viewoptions.h"

#include "editor/commands.h"
#include "editor/global.h"
#include "editor/infopanel.h"
#include "graphics/wholepicture.h"
#include "map/chipclasses.h"
#include "map/mapclass.h"

namespace quarvel {

const ViewOptionRow ViewOptionRows[5] = {
    {ViewOption::Ghost, tagGhost, "View/GhostBelow", &TViewOptions::Ghost},
    {ViewOption::CutAway, tagCutAway, "View/CutAwayAbove", &TViewOptions::CutAway},
    {ViewOption::Hover, tagHover, "View/HoverCell", &TViewOptions::Hover},
    {ViewOption::Changes, tagChanges, "View/ChangedCells", &TViewOptions::Changes},
    {ViewOption::Problems, tagProblems, "View/ProblemsPanel", &TViewOptions::Problems},
};

const ViewOptionRow& RowOf(ViewOption option) {
    for (const ViewOptionRow& row : ViewOptionRows)
        if (row.Option == option) return row;
    return ViewOptionRows[0]; // every option has its row
}

bool& TViewOptions::operator[](ViewOption o) {
    return this->*RowOf(o).Member;
}

void LoadViewOptions(TEditorState& State) {
    State.View = State.ViewStore ? State.ViewStore->Load() : TViewOptions{};
    for (const ViewOptionRow& row : ViewOptionRows)
        State.Windows.Main->SetMenuChecked(row.Tag, State.View.*row.Member);
}

void ToggleViewOption(TEditorState& State, ViewOption option) {
    const bool on = !State.View[option];
    State.View[option] = on;
    State.Windows.Main->SetMenuChecked(RowOf(option).Tag, on);
    switch (option) {
    case ViewOption::Ghost:
        State.Windows.Edit->RedrawLevel();
        break;
    case ViewOption::CutAway:
        State.Windows.Whole->RedrawAll();
        break;
    case ViewOption::Hover:
        State.Windows.Whole->ShowHover();
        break;
    case ViewOption::Changes:
        // The views outline the changed cells, or take the outlines away, as they show
        // themselves; the panel shows the count, or nothing.
        State.Windows.Edit->PaintView();
        State.Windows.Whole->PaintView();
        State.Windows.Info->UpdateInfo();
        break;
    case ViewOption::Problems:
        if (State.Windows.Problems) State.Windows.Problems->ShowPanel(on);
        break;
    }
    if (State.ViewStore) State.ViewStore->Save(option, on);
}

int WholeTop(const TEditorState& State) {
    return State.View.CutAway ? State.CurrentLevel : TMap::SizeZ - 1;
}

void LevelChanged(TEditorState& State) {
    if (State.View.CutAway) State.Windows.Whole->RedrawAll();
}

bool WholePick(const TEditorState& State, int px, int py, int zoom, int& x, int& y, int& z) {
    return State.TheMap && PickCell(*State.TheMap, px, py, zoom, WholeTop(State), x, y, z);
}

THoverCell HoverAt(const TEditorState& State, int px, int py, int zoom) {
    THoverCell h;
    if (!State.View.Hover || !WholePick(State, px, py, zoom, h.X, h.Y, h.Z)) return h;
    h.Shown = true;
    const int chip = State.TheMap->GetChip(h.X, h.Y, h.Z);
    // A byte beyond the named chips (a map written elsewhere) shows its number.
    h.Text = "X:" + std::to_string(h.X) + " Y:" + std::to_string(h.Y) +
             " Z:" + std::to_string(h.Z) + " " + ShownChipName(chip);
    return h;
}

} // namespace quarvel
