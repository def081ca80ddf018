// The editor's shared state, chip loading, and start-up and shut-down of the state.
#include "editor/global.h"

#include "editor/errortext.h"
#include "editor/infopanel.h"
#include "editor/selectarea.h"
#include "editor/windows.h"
#include "map/chipclasses.h"
#include "map/mapclass.h"

#include <exception>
#include <utility>

namespace quarvel {

TBMP256* ChipSheet[2] = {nullptr, nullptr};
uint8_t TransparentIndex[2] = {0, 0};
TMap* TheMap = nullptr;
int32_t CursorX = 0;
int32_t CursorY = 0;
int32_t CurrentLevel = 0;
uint8_t CurrentChip = 0;
int32_t CurrentTerrain = 0;
TSelectArea* TheSelection = nullptr;
TCopyBuf TheCopyBuf;
std::string ProgramFolder;
EditorWindows Windows;

namespace {

void CreateSheets() {
    TBMP256* pair = new TBMP256[2];
    ChipSheet[0] = &pair[0];
    ChipSheet[1] = &pair[1];
}

void FreeSheets() {
    delete[] ChipSheet[0]; // the pair was allocated as one array
    ChipSheet[0] = nullptr;
    ChipSheet[1] = nullptr;
}

} // namespace

bool LoadChips(int set) {
    // Read into a fresh pair so that a missing or short file leaves the shown sheets alone.
    TBMP256 fresh[2];
    uint8_t transparent[2] = {0, 0};
    if (!ReadChipSheets(ProgramFolder + "chip/", set, fresh, transparent)) return false;
    if (!ChipSheet[0]) CreateSheets();
    for (int s = 0; s < 2; ++s) {
        *ChipSheet[s] = std::move(fresh[s]);
        TransparentIndex[s] = transparent[s];
    }
    CurrentTerrain = set;
    Windows.Edit->SetZoom(Windows.Edit->GetZoom());
    Windows.Whole->SetZoom(Windows.Whole->GetZoom());
    Windows.Info->PaintPalette();
    return true;
}

void StartEditor() {
    StopEditor();
    TheMap = new TMap;
    TheMap->Clear();
    TheSelection = new TSelectArea;
    CreateSheets();
    for (int s = 0; s < 2; ++s) ChipSheet[s]->SetSize(ChipWidth[s], ChipHeight[s] * ChipCount);

    bool loaded = false;
    try {
        loaded = LoadChips(0);
    } catch (const std::exception& e) {
        // A chip file that exists but cannot be read: the program cannot show anything,
        // so it reports the error and ends like a missing file does.
        Windows.Messages->Show(JapaneseErrorText(e), ApplicationTitle, MsgButtons::Ok);
        Windows.Main->Terminate();
        return;
    }
    if (!loaded) {
        Windows.Messages->Show("チップデータが見つかりません", "エラー", MsgButtons::Ok);
        Windows.Main->Terminate();
        return;
    }

    Windows.Main->Maximize();
    Windows.Main->NextChild();
    Windows.Main->Cascade();
    Windows.Edit->RedrawLevel();
    Windows.Edit->ScrollToCell(CursorX, CursorY);
    Windows.Whole->RedrawAll();
    Windows.Whole->ScrollToCell(CursorX, CursorY, CurrentLevel);
    Windows.Main->PlaceInfoPanel();
}

void StopEditor() {
    delete TheMap;
    TheMap = nullptr;
    delete TheSelection;
    TheSelection = nullptr;
    FreeSheets();
}

} // namespace quarvel
