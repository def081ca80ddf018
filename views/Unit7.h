// TForm7: the dialog "選択範囲を移動" that moves the selection box and its cells by X, Y and Z
// offsets; the shift dialog's controls and input rules with another OK.
#pragma once

#include "views/Unit5.h"

namespace quarvel {

class TForm7 : public TForm5 {
public:
    explicit TForm7(TEditorState& state, QWidget* owner = nullptr);

    // Moves the selection; a refused move has shown its message and the dialog stays open.
    void Button1Click() override;
};

} // namespace quarvel
