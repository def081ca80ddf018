// THeadlessWindows: message boxes as printed lines, menu check marks as flags.
#include "app/cli/headless.h"

#include "editor/commands.h"
#include "editor/global.h"

#include <ostream>

namespace quarvel {

THeadlessWindows::THeadlessWindows(std::ostream& out) : Msgs(*this, out), Main(*this) {}

void THeadlessWindows::Install(TEditorState& State) {
    State.Windows.Main = &Main;
    State.Windows.Info = &Info;
    State.Windows.Edit = &Edit;
    State.Windows.Whole = &Whole;
    State.Windows.Messages = &Msgs;
}

int THeadlessWindows::Messages::Show(const std::string& text, const std::string&,
                                     MsgButtons buttons) {
    Out << text << "\n";
    return buttons == MsgButtons::Ok ? int(mrOk) : Owner.YesNoCancelAnswer;
}

void THeadlessWindows::MainFrame::SetMenuChecked(int tag, bool checked) {
    if (tag == tagEZoom) EZoomChecked = checked;
    if (tag == tagVZoom) VZoomChecked = checked;
}

bool THeadlessWindows::MainFrame::IsMenuChecked(int tag) const {
    return (tag == tagEZoom && EZoomChecked) || (tag == tagVZoom && VZoomChecked);
}

} // namespace quarvel
