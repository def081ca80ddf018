// THeadlessWindows: a window set without any window, for running the editor's commands from
// the command-line tool. Views do nothing; message boxes print their text.
#pragma once

#include "editor/windows.h"

#include <iosfwd>

namespace quarvel {

class TEditorState;

class THeadlessWindows {
public:
    // Message box texts go to `out`, one line each.
    explicit THeadlessWindows(std::ostream& out);
    THeadlessWindows(const THeadlessWindows&) = delete;
    THeadlessWindows& operator=(const THeadlessWindows&) = delete;

    // Makes these the windows of `State`.
    void Install(TEditorState& State);

    // What a Yes/No/Cancel box answers (mrYes, mrNo or mrCancel); OK boxes answer mrOk.
    int YesNoCancelAnswer = mrCancel;
    // What the shift and swap dialogs end with.
    int DialogResult = mrCancel;
    // Set by Terminate and CloseFrame.
    bool Terminated = false;
    bool Closed = false;

private:
    class EditView : public IEditView {
    public:
        void RedrawLevel() override {}
        void RedrawCell(int, int) override {}
        void MarkCell(int, int, bool) override {}
        void PaintView() override {}
        void ScrollToCell(int, int) override {}
        int GetZoom() const override { return Zoom; }
        void SetZoom(int z) override { Zoom = z; }
        TColor GetBackColor() const override { return Back; }
        void SetBackColor(TColor c) override { Back = c; }
        int Zoom = 0;
        TColor Back = 0x808080;
    };

    class WholeView : public IWholeView {
    public:
        void RedrawAll() override {}
        void RedrawCell(int, int, int) override {}
        void PaintView() override {}
        void ScrollToCell(int, int, int) override {}
        int GetZoom() const override { return Zoom; }
        void SetZoom(int z) override { Zoom = z; }
        TColor GetBackColor() const override { return Back; }
        void SetBackColor(TColor c) override { Back = c; }
        int Zoom = 0;
        TColor Back = 0;
    };

    class InfoPanel : public IInfoPanel {
    public:
        void UpdateInfo() override {}
        void PaintPalette() override {}
    };

    class Messages : public IMessages {
    public:
        Messages(THeadlessWindows& owner, std::ostream& out) : Owner(owner), Out(out) {}
        int Show(const std::string& text, const std::string& caption, MsgButtons buttons) override;

    private:
        THeadlessWindows& Owner;
        std::ostream& Out;
    };

    class MainFrame : public IMainFrame {
    public:
        explicit MainFrame(THeadlessWindows& owner) : Owner(owner) {}
        void SetCaption(const std::string&) override {}
        std::string RunOpenDialog() override { return ""; }
        std::string RunSaveDialog() override { return ""; }
        bool RunColorDialog(TColor&) override { return false; }
        int RunShiftDialog() override { return Owner.DialogResult; }
        int RunSwapDialog() override { return Owner.DialogResult; }
        int RunMoveDialog() override { return Owner.DialogResult; }
        void CloseFrame() override { Owner.Closed = true; }
        void Maximize() override {}
        void NextChild() override {}
        void Cascade() override {}
        void TileHorizontal() override {}
        void TileVertical() override {}
        void SetMenuChecked(int tag, bool checked) override;
        bool IsMenuChecked(int tag) const override;
        void PlaceInfoPanel() override {}
        void Terminate() override { Owner.Terminated = true; }

    private:
        THeadlessWindows& Owner;
        bool EZoomChecked = false;
        bool VZoomChecked = false;
    };

    EditView Edit;
    WholeView Whole;
    InfoPanel Info;
    Messages Msgs;
    MainFrame Main;
};

} // namespace quarvel
