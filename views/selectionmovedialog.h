// TSelectionMoveDialog: the dialog "選択範囲を移動" that asks for the X, Y and Z offsets of a
// move of the selection box, with the shift dialog's controls and input rules. It only
// returns the offsets: the caller moves.
#pragma once

#include "editor/windows.h"
#include "views/Unit5.h"

namespace quarvel {

class TSelectionMoveDialog : public TOffsetsDialog {
    Q_OBJECT

public:
    explicit TSelectionMoveDialog(QWidget* owner = nullptr, MoveOffsets start = {});

    // The offsets of the OK that ended the dialog.
    MoveOffsets Offsets() const { return Chosen; }

    // OK: three integers end the dialog with OK; a text that is not one is shown and the
    // dialog stays open.
    void Button1Click();

private:
    MoveOffsets Chosen;
};

} // namespace quarvel
