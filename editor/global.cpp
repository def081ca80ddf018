// The editor's shared state, chip loading, and start-up and shut-down of the state.
#include "editor/global.h"

#include "editor/changes.h"
#include "editor/errortext.h"
#include "editor/infopanel.h"
#include "editor/selectarea.h"
#include "editor/texts.h"
#include "editor/windows.h"
#include "map/chipclasses.h"
#include "map/cp932.h"
#include "map/mapclass.h"
#include "map/maperror.h"

#include <algorithm>
#include <exception>
#include <utility>

namespace quarvel {

namespace {

std::string DefaultCp932ToFileName(const std::string& cp932) {
    try {
        return Cp932ToUtf8(cp932);
    } catch (const QuarvelError&) {
        throw QuarvelError(Arg(Tr("Global", "ファイル名がShift_JISではありません: %1"),
                               {Cp932ToUtf8Lossy(cp932)}));
    }
}

void CreateSheets(TEditorState& State) {
    State.SheetPair = std::make_unique<TBMP256[]>(2);
    State.ChipSheet[0] = &State.SheetPair[0];
    State.ChipSheet[1] = &State.SheetPair[1];
}

} // namespace

TEditorState::TEditorState() : Cp932ToFileName(DefaultCp932ToFileName) {}

TEditorState::~TEditorState() {
    StopEditor(*this);
}

bool LoadChips(TEditorState& State, int set) {
    // Read into a fresh pair so that a missing or short file leaves the shown sheets alone.
    TBMP256 fresh[2];
    uint8_t transparent[2] = {0, 0};
    if (!ReadChipSheets(State.ProgramFolder + "chip/", set, fresh, transparent)) return false;
    if (!State.ChipSheet[0]) CreateSheets(State);
    for (int s = 0; s < 2; ++s) {
        *State.ChipSheet[s] = std::move(fresh[s]);
        State.TransparentIndex[s] = transparent[s];
    }
    State.CurrentTerrain = set;
    State.Windows.Edit->SetZoom(State.Windows.Edit->GetZoom());
    State.Windows.Whole->SetZoom(State.Windows.Whole->GetZoom());
    State.Windows.Info->PaintPalette();
    return true;
}

void ClearToNewMap(TMap& map) {
    map.Clear();
    const std::string name = Tr("NewMap", "新規マップ");
    const bool ascii =
        std::all_of(name.begin(), name.end(), [](char c) { return c >= 0x20 && c < 0x7F; });
    if (name == "新規マップ" || !ascii) return;
    map.SetName(name);
    map.Modified = false;
}

void StartEditor(TEditorState& State) {
    StopEditor(State);
    State.OwnedMap = std::make_unique<TMap>();
    State.TheMap = State.OwnedMap.get();
    ClearToNewMap(*State.TheMap);
    KeepBaseline(State);
    State.TheSelection = std::make_unique<TSelectArea>(State);
    CreateSheets(State);
    for (int s = 0; s < 2; ++s)
        State.ChipSheet[s]->SetSize(ChipWidth[s], ChipHeight[s] * TMap::ChipCount);

    bool loaded = false;
    try {
        loaded = LoadChips(State, 0);
    } catch (const std::exception& e) {
        // A chip file that exists but cannot be read: the program cannot show anything,
        // so it reports the error and ends like a missing file does.
        State.Windows.Messages->Show(ShownErrorText(e), ApplicationTitle, MsgButtons::Ok);
        State.Windows.Main->Terminate();
        return;
    }
    if (!loaded) {
        State.Windows.Messages->Show(Tr("Global", "チップデータが見つかりません"),
                                     Tr("Messages", "エラー"), MsgButtons::Ok);
        State.Windows.Main->Terminate();
        return;
    }

    State.Windows.Main->Maximize();
    State.Windows.Main->NextChild();
    State.Windows.Main->Cascade();
    State.Windows.Edit->RedrawLevel();
    State.Windows.Edit->ScrollToCell(State.CursorX, State.CursorY);
    State.Windows.Whole->RedrawAll();
    State.Windows.Whole->ScrollToCell(State.CursorX, State.CursorY, State.CurrentLevel);
    State.Windows.Main->PlaceInfoPanel();
}

void StopEditor(TEditorState& State) {
    State.TheMap = nullptr;
    State.OwnedMap.reset();
    State.TheSelection.reset();
    State.ChipSheet[0] = nullptr;
    State.ChipSheet[1] = nullptr;
    State.SheetPair.reset();
}

} // namespace quarvel
