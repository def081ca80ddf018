// THeadlessWindows: message boxes as printed lines, menu check marks as flags.
#include "app/cli/headless.h"

#include "editor/commands.h"

#include <ostream>

namespace quarvel {

THeadlessWindows::THeadlessWindows(std::ostream& out) : Msgs(*this, out), Main(*this) {}

void THeadlessWindows::Install() {
    Windows.Main = &Main;
    Windows.Info = &Info;
    Windows.Edit = &Edit;
    Windows.Whole = &Whole;
    Windows.Messages = &Msgs;
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
