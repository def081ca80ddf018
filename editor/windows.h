// What the editor logic needs from its windows and message boxes. The Qt widgets implement
// these; tests replace them.
#pragma once

#include "graphics/bmp256.h"

#include <cstdint>
#include <string>

namespace quarvel {

// The edit view (TForm2) as the editor logic sees it.
class IEditView {
public:
    virtual ~IEditView() = default;
    virtual void RedrawLevel() = 0;            // rebuild the picture of CurrentLevel and show it
    virtual void RedrawCell(int x, int y) = 0; // rebuild one cell, do not show
    virtual void MarkCell(int x, int y, bool selected) = 0;
    virtual void PaintView() = 0; // show the picture and the cursor
    virtual void ScrollToCell(int x, int y) = 0;
    virtual int GetZoom() const = 0;
    virtual void SetZoom(int z) = 0;
    virtual TColor GetBackColor() const = 0;
    virtual void SetBackColor(TColor c) = 0;
};

// The whole-map view (TForm3).
class IWholeView {
public:
    virtual ~IWholeView() = default;
    virtual void RedrawAll() = 0; // rebuild and show
    virtual void RedrawCell(int x, int y, int z) = 0;
    virtual void PaintView() = 0;
    virtual void ScrollToCell(int x, int y, int z) = 0;
    virtual int GetZoom() const = 0;
    virtual void SetZoom(int z) = 0;
    virtual TColor GetBackColor() const = 0;
    virtual void SetBackColor(TColor c) = 0;
    // The selection or its levels changed (TheSelection, CurrentLevel): show the box's
    // outline anew, or none while the selection is off. The picture is not rebuilt.
    virtual void ShowSelection() {}
    // The hover option changed: show the cell under the pointer, or nothing when it is off.
    virtual void ShowHover() {}
};

// The info panel (TForm4).
class IInfoPanel {
public:
    virtual ~IInfoPanel() = default;
    virtual void UpdateInfo() = 0;
    virtual void PaintPalette() = 0;
    // The selection or its levels changed: show the box's level range anew.
    virtual void ShowSelection() {}
};

// The problems panel (問題): a tool window that lists the map checker's findings.
class IProblemsPanel {
public:
    virtual ~IProblemsPanel() = default;
    virtual void ShowPanel(bool shown) = 0;
};

// Modal message boxes, without icon.
enum ModalResult { mrNone = 0, mrOk = 1, mrCancel = 2, mrYes = 6, mrNo = 7 };
// YesNo boxes answer mrYes or mrNo; a box closed without a choice answers mrCancel.
enum class MsgButtons { Ok, YesNoCancel, YesNo };

class IMessages {
public:
    virtual ~IMessages() = default;
    // text and caption are UTF-8. Returns mrOk, mrYes, mrNo or mrCancel.
    virtual int Show(const std::string& text, const std::string& caption, MsgButtons buttons) = 0;
};

// The offsets of a move of the selection box, in cells and levels.
struct MoveOffsets {
    int X = 0, Y = 0, Z = 0;
};

// The choices of the replace dialog. SelectionOn tells the dialog whether 選択範囲 may be
// chosen; the rest is what it opens on and what the user chose.
struct ReplaceChoices {
    int From = 0, To = 0; // chips 0..167
    bool SelectionOn = false;
    bool InSelection = false; // 選択範囲, else マップ全体
    bool Levels = false;      // 階層 low..high
    int Low = 0, High = 47;
};
enum class ReplaceAction { Cancel, Replace, FindNext };

// The main frame (TForm1): the requests the commands make of the frame and its dialogs.
class IMainFrame {
public:
    virtual ~IMainFrame() = default;
    virtual void SetCaption(const std::string& text) = 0; // UTF-8
    // File dialogs: an empty result means cancelled. Paths are file-system paths.
    virtual std::string RunOpenDialog() = 0;
    virtual std::string RunSaveDialog() = 0;
    // The save dialog opened on the file `name` (its folder, its name filled in).
    virtual std::string RunSaveDialogAt(const std::string& /*name*/) { return RunSaveDialog(); }
    // Colour dialog starting on `color`; false when cancelled.
    virtual bool RunColorDialog(TColor& color) = 0;
    virtual int RunShiftDialog() = 0; // modal result
    virtual int RunSwapDialog() = 0;  // modal result
    // The move dialog, opened on `offsets`; true on OK, with the offsets entered (integers).
    virtual bool RunMoveDialog(MoveOffsets& offsets) = 0;
    // The replace dialog, opened on `choices`: the button pressed, with the choices made.
    virtual ReplaceAction RunReplaceDialog(ReplaceChoices& /*choices*/) {
        return ReplaceAction::Cancel;
    }
    virtual void CloseFrame() = 0;
    virtual void Maximize() = 0;
    virtual void NextChild() = 0;
    virtual void Cascade() = 0;
    virtual void TileHorizontal() = 0;
    virtual void TileVertical() = 0;
    virtual void SetMenuChecked(int tag, bool checked) = 0;
    virtual bool IsMenuChecked(int tag) const = 0;
    virtual void PlaceInfoPanel() = 0; // beside the edit view
    virtual void Terminate() = 0;      // end the application
};

// The windows of the running editor; all set before StartEditor.
struct EditorWindows {
    IMainFrame* Main = nullptr;
    IInfoPanel* Info = nullptr;
    IEditView* Edit = nullptr;
    IWholeView* Whole = nullptr;
    IMessages* Messages = nullptr;
    IProblemsPanel* Problems = nullptr; // none in scripts and most tests
};

} // namespace quarvel
