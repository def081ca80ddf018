// The 表示 menu's looks into the stack, each off at first: the level below as a faint ghost
// in the edit view, the levels above the edited one cut away in the whole-map view, and the
// cell under the pointer in the whole-map view; the cells changed since the last save outlined
// in both views; and the problems panel (問題). Each is kept per user once it was changed.
#pragma once

#include <string>

namespace quarvel {

class TEditorState;

enum class ViewOption { Ghost, CutAway, Hover, Changes, Problems };

struct TViewOptions {
    bool Ghost = false;
    bool CutAway = false;
    bool Hover = false;
    bool Changes = false;
    bool Problems = false;
    bool& operator[](ViewOption o);
    bool operator[](ViewOption o) const { return const_cast<TViewOptions&>(*this)[o]; }
};

// What belongs to each option: its menu item's tag, the name it is kept under in the user's
// settings, and its member of TViewOptions. One row per option, in menu order.
struct ViewOptionRow {
    ViewOption Option;
    int Tag;
    const char* Key;
    bool TViewOptions::*Member;
};
extern const ViewOptionRow ViewOptionRows[5];
const ViewOptionRow& RowOf(ViewOption option);

// Where the options are kept between runs.
class IViewOptionsStore {
public:
    virtual ~IViewOptionsStore() = default;
    virtual TViewOptions Load() = 0; // what the user chose, off where nothing was kept
    virtual void Save(ViewOption option, bool on) = 0;
};

// Takes the kept options (before StartEditor, so that the first pictures show them) and sets
// the menu's check marks.
void LoadViewOptions(TEditorState& State);
// The menu item of `option`: flips it and its check mark, shows the view it concerns anew and
// keeps the new value.
void ToggleViewOption(TEditorState& State, ViewOption option);

// The highest level the whole-map view draws and picks from: CurrentLevel with the cut-away,
// else the top of the map.
int WholeTop(const TEditorState& State);
// CurrentLevel changed (a level command, the panel's level list, a pick): the whole-map view
// follows it while the cut-away is on. The edit view is the caller's.
void LevelChanged(TEditorState& State);

// The cell a left click at pixel (px, py) of the whole-map picture at `zoom` picks: the
// highest level from WholeTop down with a stored chip under the pixel. False when none.
bool WholePick(const TEditorState& State, int px, int py, int zoom, int& x, int& y, int& z);

// The cell under the pointer, as the whole-map view shows it while the hover is on.
struct THoverCell {
    bool Shown = false;
    int X = 0, Y = 0, Z = 0;
    std::string Text; // "X:12 Y:3 Z:5 石畳5" (UTF-8)
};
// Nothing is shown while the hover is off, or where a click would pick nothing.
THoverCell HoverAt(const TEditorState& State, int px, int py, int zoom);

} // namespace quarvel
