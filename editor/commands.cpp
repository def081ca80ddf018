// The main window's commands: dispatch by menu tag, file commands with the save question,
// undo, level and chip stepping, windows, zoom, clipboard and tool commands.
#include "editor/commands.h"

#include "archive/datlib.h"
#include "editor/clipboard.h"
#include "editor/global.h"
#include "editor/recovery.h"
#include "editor/selectarea.h"
#include "editor/selectionmove.h"
#include "editor/session.h"
#include "editor/userfolders.h"
#include "editor/windows.h"
#include "map/cp932.h"
#include "map/mapclass.h"
#include "map/maperror.h"

#include <exception>

namespace quarvel {

TColor LastChosenColor = 0;
std::function<void(size_t, size_t)> ArchiveProgress;

std::function<std::string(const std::string&)> Cp932ToFileName = [](const std::string& cp932) {
    try {
        return Cp932ToUtf8(cp932);
    } catch (const QuarvelError&) {
        throw QuarvelError("ファイル名がShift_JISではありません: " + Cp932ToUtf8Lossy(cp932));
    }
};

namespace {

// Edit view, whole-map view, info panel: the order in which every window catches up.
void RedrawAll() {
    Windows.Edit->RedrawLevel();
    Windows.Whole->RedrawAll();
    Windows.Info->UpdateInfo();
}

void SelectionOff() {
    TheSelection->SetActive(false);
}

DatOptions ArchiveOptions() {
    DatOptions opts;
    opts.ToFileName = Cp932ToFileName;
    opts.Progress = ArchiveProgress;
    return opts;
}

void OpenMap() {
    if (!SavePrompt()) return;
    const std::string name = Windows.Main->RunOpenDialog();
    if (name.empty()) return;
    OpenMapFile(name, SaveQuestion::Asked);
}

void ToggleEditZoom() {
    Windows.Main->SetMenuChecked(tagEZoom, !Windows.Main->IsMenuChecked(tagEZoom));
    Windows.Edit->SetZoom(1 - Windows.Edit->GetZoom());
    Windows.Edit->RedrawLevel();
    Windows.Edit->ScrollToCell(CursorX, CursorY);
}

void ToggleWholeZoom() {
    Windows.Main->SetMenuChecked(tagVZoom, !Windows.Main->IsMenuChecked(tagVZoom));
    Windows.Whole->SetZoom(1 - Windows.Whole->GetZoom());
    Windows.Whole->RedrawAll();
    Windows.Whole->ScrollToCell(CursorX, CursorY, CurrentLevel);
}

} // namespace

void MenuClick(int tag) {
    switch (tag) {
    case tagNew:
        if (SavePrompt()) {
            TheMap->Clear();
            NoteMapClean();
            ResetViews();
        }
        break;
    case tagOpen:
        OpenMap();
        break;
    case tagSave:
        Save();
        Windows.Info->UpdateInfo();
        break;
    case tagSaveAs:
        SaveAs();
        Windows.Info->UpdateInfo();
        break;
    case tagExit:
        Windows.Main->CloseFrame(); // the frame's close asks FormClose
        break;
    case tagUndo:
        if (TheMap->Undo()) {
            SelectionOff();
            RedrawAll();
        }
        break;
    case tagRedo:
        if (TheMap->Redo()) {
            SelectionOff();
            RedrawAll();
        }
        break;
    case tagCut:
        CopySelection();
        DeleteSelection();
        break;
    case tagCopy:
        CopySelection();
        SelectionOff();
        break;
    case tagPaste:
        PasteCopyBuf();
        break;
    case tagDelete:
        DeleteSelection();
        break;
    case tagSelectAll:
        SelectAll();
        break;
    case tagUp:
    case tagDown:
        if (tag == tagUp ? CurrentLevel < 47 : CurrentLevel > 0) {
            SelectionOff();
            CurrentLevel += tag == tagUp ? 1 : -1;
            Windows.Edit->RedrawLevel();
            Windows.Info->UpdateInfo();
        }
        break;
    case tagUpKeep:
        if (CurrentLevel < 47) ChangeLevelKeepingSelection(CurrentLevel + 1);
        break;
    case tagDownKeep:
        if (CurrentLevel > 0) ChangeLevelKeepingSelection(CurrentLevel - 1);
        break;
    case tagPrev:
        if (CurrentChip >= 1) {
            --CurrentChip;
            Windows.Info->UpdateInfo();
        }
        break;
    case tagNext:
        if (CurrentChip < 167) {
            ++CurrentChip;
            Windows.Info->UpdateInfo();
        }
        break;
    case tagRefresh:
        Windows.Whole->ScrollToCell(CursorX, CursorY, CurrentLevel);
        break;
    case tagFix:
        if (TheMap->Shape()) RedrawAll(); // the selection stays
        break;
    case tagSwitch:
        Windows.Main->NextChild();
        break;
    case tagCascade:
        Windows.Main->Cascade();
        break;
    case tagHTile:
        Windows.Main->TileHorizontal();
        break;
    case tagVTile:
        Windows.Main->TileVertical();
        break;
    case tagEZoom:
        ToggleEditZoom();
        break;
    case tagVZoom:
        ToggleWholeZoom();
        break;
    case tagMake:
        if (BuildDat(ProgramFolder, ArchiveOptions()))
            Windows.Messages->Show("datフォルダに出力しました", "DAT構築", MsgButtons::Ok);
        break;
    case tagUnpack:
        if (UnpackDat(ProgramFolder, ArchiveOptions()))
            Windows.Messages->Show("unpackedフォルダに出力しました", "DAT分解", MsgButtons::Ok);
        else
            Windows.Messages->Show("ファイルが見つかりません", "DAT分解", MsgButtons::Ok);
        break;
    case tagShift:
    case tagReplace:
        SHIFT1Click(tag);
        break;
    case tagMoveSelection:
        MoveSelectionDialog();
        break;
    case tagMoveLeft:
        MoveSelectionCommand(-1, 0, 0);
        break;
    case tagMoveRight:
        MoveSelectionCommand(1, 0, 0);
        break;
    case tagMoveBack:
        MoveSelectionCommand(0, -1, 0);
        break;
    case tagMoveForward:
        MoveSelectionCommand(0, 1, 0);
        break;
    case tagMoveUp:
        MoveSelectionCommand(0, 0, 1);
        break;
    case tagMoveDown:
        MoveSelectionCommand(0, 0, -1);
        break;
    default:
        break; // menu titles and separators
    }
}

bool SavePrompt() {
    if (!TheMap->Modified) return true;
    switch (
        Windows.Messages->Show("編集中のマップを保存しますか？", "確認", MsgButtons::YesNoCancel)) {
    case mrYes:
        return Save();
    case mrNo:
        return true;
    default:
        return false; // Cancel, or the box closed without a choice
    }
}

bool OpenMapFile(const std::string& path, SaveQuestion question) {
    if (question == SaveQuestion::Ask && !SavePrompt()) return false;
    TRecovery* recovery = Session.Recovery;
    if (recovery && recovery->LeftCopyBelongsTo(path) && recovery->OfferLeftCopy()) return true;
    if (!TheMap->LoadFromFile(path)) {
        Windows.Messages->Show("マップファイルじゃないよ？", "エラー", MsgButtons::Ok);
        return false;
    }
    NoteMapFile(path);
    ResetViews();
    return true;
}

bool Save() {
    if (TheMap->SaveToFile("", UserStateFolder())) {
        NoteMapFile(TheMap->FileName);
        return true;
    }
    return SaveAs(); // the map has never had a file name
}

bool SaveAs() {
    const std::string name = Windows.Main->RunSaveDialog();
    if (name.empty()) return false;
    if (!TheMap->SaveToFile(name, UserStateFolder())) return false;
    NoteMapFile(TheMap->FileName);
    return true;
}

void ResetViews() {
    CursorX = 0;
    CursorY = 0;
    CurrentLevel = 0;
    CurrentChip = 0;
    SelectionOff();
    // A loaded file may carry a terrain code outside the four sets: the pictures then stay.
    const int terrain = TheMap->GetTerrain();
    std::exception_ptr chipError;
    if (terrain != CurrentTerrain && terrain >= 0 && terrain <= 3) {
        try {
            LoadChips(terrain);
        } catch (...) {
            // The new map is in memory already: show it with the old pictures, then report.
            chipError = std::current_exception();
        }
    }
    Windows.Edit->RedrawLevel();
    Windows.Edit->ScrollToCell(CursorX, CursorY);
    Windows.Whole->RedrawAll();
    Windows.Whole->ScrollToCell(CursorX, CursorY, CurrentLevel);
    Windows.Info->UpdateInfo();
    if (chipError) std::rethrow_exception(chipError);
}

void SHIFT1Click(int tag) {
    int result = mrCancel;
    if (tag == tagShift)
        result = Windows.Main->RunShiftDialog();
    else if (tag == tagReplace)
        result = Windows.Main->RunSwapDialog();
    else
        return;
    if (result == mrOk) {
        Windows.Edit->RedrawLevel();
        Windows.Whole->RedrawAll();
    }
}

void N4Click() {
    TColor color = LastChosenColor;
    if (!Windows.Main->RunColorDialog(color)) return;
    LastChosenColor = color;
    Windows.Edit->SetBackColor(color);
    Windows.Edit->RedrawLevel();
}

void N5Click() {
    TColor color = LastChosenColor;
    if (!Windows.Main->RunColorDialog(color)) return;
    LastChosenColor = color;
    Windows.Whole->SetBackColor(color);
    Windows.Whole->RedrawAll();
}

bool FormClose() {
    if (!SavePrompt()) return false;
    NoteMapClean(); // a clean exit keeps no recovery copy
    return true;
}

} // namespace quarvel
