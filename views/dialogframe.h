// Window frames of the editor's small dialogs and message boxes: wide enough for a window
// manager to show the whole caption, and no minimise or maximise button on a fixed size.
#pragma once

class QMessageBox;
class QString;
class QWidget;

namespace quarvel {

// The least outer width at which a title bar shows `caption` whole. A window manager draws
// the caption in a font of its own, often bold and larger than the window's, beside an icon
// and up to three buttons; the width allows for all of that.
int CaptionWidth(const QString& caption, const QWidget* window);

// A window that must stay in sight: where a window manager minimises it (some draw a minimise
// button whatever a window asks for) it shows itself again at once.
void KeepShown(QWidget* window);

// A dialog of fixed size: widened (controls keep their places) until its caption fits, with
// a title bar that has neither a minimise nor a maximise button (nor a close button). Where a
// window manager minimises it all the same, it shows itself again at once.
void FitFixedDialog(QWidget* dialog);

// A message box: its close button stays; it gets no minimise or maximise button (and comes
// back when minimised all the same) and at least the width its caption needs.
void FitMessageBox(QMessageBox& box);

} // namespace quarvel
