// The main window's commands: dispatch by menu tag, file commands with the save question,
// undo, level and chip stepping, windows, zoom, clipboard and tool commands.
#include "editor/commands.h"

#include "archive/datlib.h"
#include "editor/changes.h"
#include "editor/chipreplace.h"
#include "editor/clipboard.h"
#include "editor/diskfile.h"
#include "editor/global.h"
#include "editor/recovery.h"
#include "editor/selectarea.h"
#include "editor/selectionmove.h"
#include "editor/session.h"
#include "editor/texts.h"
#include "editor/userfolders.h"
#include "editor/windows.h"
#include "map/cp932.h"
#include "map/mapclass.h"
#include "map/maperror.h"

#include <exception>

namespace quarvel {

namespace {

// Edit view, whole-map view, info panel: the order in which every window catches up.
void RedrawAll(TEditorState& State) {
    State.Windows.Edit->RedrawLevel();
    State.Windows.Whole->RedrawAll();
    State.Windows.Info->UpdateInfo();
}

void SelectionOff(TEditorState& State) {
    State.TheSelection->SetActive(false);
}

DatOptions ArchiveOptions(TEditorState& State) {
    DatOptions opts;
    opts.ToFileName = State.Cp932ToFileName;
    opts.Progress = State.ArchiveProgress;
    return opts;
}

void OpenMap(TEditorState& State) {
    if (!SavePrompt(State)) return;
    const std::string name = State.Windows.Main->RunOpenDialog();
    if (name.empty()) return;
    OpenMapFile(State, name, SaveQuestion::Asked);
}

void ToggleEditZoom(TEditorState& State) {
    State.Windows.Main->SetMenuChecked(tagEZoom, !State.Windows.Main->IsMenuChecked(tagEZoom));
    State.Windows.Edit->SetZoom(1 - State.Windows.Edit->GetZoom());
    State.Windows.Edit->RedrawLevel();
    State.Windows.Edit->ScrollToCell(State.CursorX, State.CursorY);
}

void ToggleWholeZoom(TEditorState& State) {
    State.Windows.Main->SetMenuChecked(tagVZoom, !State.Windows.Main->IsMenuChecked(tagVZoom));
    State.Windows.Whole->SetZoom(1 - State.Windows.Whole->GetZoom());
    State.Windows.Whole->RedrawAll();
    State.Windows.Whole->ScrollToCell(State.CursorX, State.CursorY, State.CurrentLevel);
}

} // namespace

void MenuClick(TEditorState& State, int tag) {
    switch (tag) {
    case tagNew:
        if (SavePrompt(State)) {
            ClearToNewMap(*State.TheMap);
            KeepBaseline(State);
            NoteMapClean(State);
            ForgetDiskFile(State);
            ResetViews(State);
        }
        break;
    case tagOpen:
        OpenMap(State);
        break;
    case tagSave:
        Save(State);
        State.Windows.Info->UpdateInfo();
        break;
    case tagSaveAs:
        SaveAs(State);
        State.Windows.Info->UpdateInfo();
        break;
    case tagExit:
        State.Windows.Main->CloseFrame(); // the frame's close asks FormClose
        break;
    case tagUndo:
        if (State.TheMap->Undo()) {
            SelectionOff(State);
            RedrawAll(State);
        }
        break;
    case tagRedo:
        if (State.TheMap->Redo()) {
            SelectionOff(State);
            RedrawAll(State);
        }
        break;
    case tagCut:
        CopySelection(State);
        DeleteSelection(State);
        break;
    case tagCopy:
        CopySelection(State);
        SelectionOff(State);
        break;
    case tagPaste:
        PasteCopyBuf(State);
        break;
    case tagDelete:
        DeleteSelection(State);
        break;
    case tagSelectAll:
        SelectAll(State);
        break;
    case tagUp:
    case tagDown:
        if (tag == tagUp ? State.CurrentLevel < TMap::SizeZ - 1 : State.CurrentLevel > 0) {
            SelectionOff(State);
            State.CurrentLevel += tag == tagUp ? 1 : -1;
            State.Windows.Edit->RedrawLevel();
            LevelChanged(State);
            State.Windows.Info->UpdateInfo();
        }
        break;
    case tagUpKeep:
        if (State.CurrentLevel < TMap::SizeZ - 1)
            ChangeLevelKeepingSelection(State, State.CurrentLevel + 1);
        break;
    case tagDownKeep:
        if (State.CurrentLevel > 0) ChangeLevelKeepingSelection(State, State.CurrentLevel - 1);
        break;
    case tagPrev:
        if (State.CurrentChip >= 1) {
            --State.CurrentChip;
            State.Windows.Info->UpdateInfo();
        }
        break;
    case tagNext:
        if (State.CurrentChip < TMap::ChipCount - 1) {
            ++State.CurrentChip;
            State.Windows.Info->UpdateInfo();
        }
        break;
    case tagRefresh:
        State.Windows.Whole->ScrollToCell(State.CursorX, State.CursorY, State.CurrentLevel);
        break;
    case tagFix:
        if (State.TheMap->Shape()) RedrawAll(State); // the selection stays
        break;
    case tagSwitch:
        State.Windows.Main->NextChild();
        break;
    case tagCascade:
        State.Windows.Main->Cascade();
        break;
    case tagHTile:
        State.Windows.Main->TileHorizontal();
        break;
    case tagVTile:
        State.Windows.Main->TileVertical();
        break;
    case tagEZoom:
        ToggleEditZoom(State);
        break;
    case tagVZoom:
        ToggleWholeZoom(State);
        break;
    case tagGhost:
        ToggleViewOption(State, ViewOption::Ghost);
        break;
    case tagCutAway:
        ToggleViewOption(State, ViewOption::CutAway);
        break;
    case tagHover:
        ToggleViewOption(State, ViewOption::Hover);
        break;
    case tagChanges:
        ToggleViewOption(State, ViewOption::Changes);
        break;
    case tagProblems:
        ToggleViewOption(State, ViewOption::Problems);
        break;
    case tagMake:
        if (BuildDat(State.ProgramFolder, ArchiveOptions(State)))
            State.Windows.Messages->Show(Tr("Commands", "datフォルダに出力しました"),
                                         Tr("Commands", "DAT構築"), MsgButtons::Ok);
        break;
    case tagUnpack:
        if (UnpackDat(State.ProgramFolder, ArchiveOptions(State)))
            State.Windows.Messages->Show(Tr("Commands", "unpackedフォルダに出力しました"),
                                         Tr("Commands", "DAT分解"), MsgButtons::Ok);
        else
            State.Windows.Messages->Show(Tr("Commands", "ファイルが見つかりません"),
                                         Tr("Commands", "DAT分解"), MsgButtons::Ok);
        break;
    case tagShift:
    case tagReplace:
        SHIFT1Click(State, tag);
        break;
    case tagMoveSelection:
        MoveSelectionDialog(State);
        break;
    case tagFindReplace:
        ReplaceChipsDialog(State);
        break;
    case tagMoveLeft:
        MoveSelectionCommand(State, -1, 0, 0);
        break;
    case tagMoveRight:
        MoveSelectionCommand(State, 1, 0, 0);
        break;
    case tagMoveBack:
        MoveSelectionCommand(State, 0, -1, 0);
        break;
    case tagMoveForward:
        MoveSelectionCommand(State, 0, 1, 0);
        break;
    case tagMoveUp:
        MoveSelectionCommand(State, 0, 0, 1);
        break;
    case tagMoveDown:
        MoveSelectionCommand(State, 0, 0, -1);
        break;
    default:
        break; // menu titles and separators
    }
}

bool SavePrompt(TEditorState& State) {
    if (!State.TheMap->Modified) return true;
    switch (State.Windows.Messages->Show(Tr("Commands", "編集中のマップを保存しますか？"),
                                         Tr("Messages", "確認"), MsgButtons::YesNoCancel)) {
    case mrYes:
        return Save(State);
    case mrNo:
        return true;
    default:
        return false; // Cancel, or the box closed without a choice
    }
}

bool OpenMapFile(TEditorState& State, const std::string& path, SaveQuestion question) {
    if (question == SaveQuestion::Ask && !SavePrompt(State)) return false;
    TRecovery* recovery = State.Session.Recovery;
    if (recovery && recovery->LeftCopyBelongsTo(path) && recovery->OfferLeftCopy()) return true;
    if (!State.TheMap->LoadFromFile(path)) {
        State.Windows.Messages->Show(Tr("Commands", "マップファイルじゃないよ？"),
                                     Tr("Messages", "エラー"), MsgButtons::Ok);
        return false;
    }
    KeepBaseline(State);
    NoteMapFile(State, path);
    ResetViews(State);
    return true;
}

namespace {

// 名前を付けて保存, the dialog opened on `suggested` when it is not empty.
bool SaveAsNamed(TEditorState& State, const std::string& suggested) {
    const std::string name = suggested.empty() ? State.Windows.Main->RunSaveDialog()
                                               : State.Windows.Main->RunSaveDialogAt(suggested);
    if (name.empty()) return false;
    if (!State.TheMap->SaveToFile(name, UserStateFolder())) return false;
    ChangesSaved(State);
    NoteMapFile(State, State.TheMap->FileName);
    return true;
}

} // namespace

bool Save(TEditorState& State) {
    switch (BeforeSave(State)) {
    case SaveOver::Write:
        break;
    case SaveOver::Cancel:
        return false;
    case SaveOver::AskName:
        // The file was removed or renamed away: writing it again where it was is one Enter
        // in the dialog, and the user may follow it to its new name instead.
        return SaveAsNamed(State, State.TheMap->FileName);
    }
    if (State.TheMap->SaveToFile("", UserStateFolder())) {
        ChangesSaved(State);
        NoteMapFile(State, State.TheMap->FileName);
        return true;
    }
    return SaveAs(State); // the map has never had a file name
}

bool SaveAs(TEditorState& State) {
    return SaveAsNamed(State, "");
}

void ResetViews(TEditorState& State) {
    State.CursorX = 0;
    State.CursorY = 0;
    State.CurrentLevel = 0;
    State.CurrentChip = 0;
    SelectionOff(State);
    // A loaded file may carry a terrain code outside the four sets: the pictures then stay.
    const int terrain = State.TheMap->GetTerrain();
    std::exception_ptr chipError;
    if (terrain != State.CurrentTerrain && terrain >= 0 && terrain <= 3) {
        try {
            LoadChips(State, terrain);
        } catch (...) {
            // The new map is in memory already: show it with the old pictures, then report.
            chipError = std::current_exception();
        }
    }
    State.Windows.Edit->RedrawLevel();
    State.Windows.Edit->ScrollToCell(State.CursorX, State.CursorY);
    State.Windows.Whole->RedrawAll();
    State.Windows.Whole->ScrollToCell(State.CursorX, State.CursorY, State.CurrentLevel);
    State.Windows.Info->UpdateInfo();
    if (chipError) std::rethrow_exception(chipError);
}

void SHIFT1Click(TEditorState& State, int tag) {
    int result = mrCancel;
    if (tag == tagShift)
        result = State.Windows.Main->RunShiftDialog();
    else if (tag == tagReplace)
        result = State.Windows.Main->RunSwapDialog();
    else
        return;
    if (result == mrOk) {
        State.Windows.Edit->RedrawLevel();
        State.Windows.Whole->RedrawAll();
        if (State.View.Changes) State.Windows.Info->UpdateInfo(); // the count of changed cells
    }
}

void N4Click(TEditorState& State) {
    TColor color = State.LastChosenColor;
    if (!State.Windows.Main->RunColorDialog(color)) return;
    State.LastChosenColor = color;
    State.Windows.Edit->SetBackColor(color);
    State.Windows.Edit->RedrawLevel();
}

void N5Click(TEditorState& State) {
    TColor color = State.LastChosenColor;
    if (!State.Windows.Main->RunColorDialog(color)) return;
    State.LastChosenColor = color;
    State.Windows.Whole->SetBackColor(color);
    State.Windows.Whole->RedrawAll();
}

bool FormClose(TEditorState& State) {
    if (!SavePrompt(State)) return false;
    NoteMapClean(State); // a clean exit keeps no recovery copy
    return true;
}

} // namespace quarvel
