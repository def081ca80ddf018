// What the OK buttons of the shift and swap dialogs do, so the dialog windows stay thin.
#pragma once

#include <string>

namespace quarvel {

class TEditorState;

// The shift dialog's key filter: backspace (8), '-' and the digits pass.
bool ShiftKeyAllowed(int ch);

// A signed decimal 32-bit integer: an optional '+' or '-' followed by digits only. Anything
// else (empty, "-", "1-", " 1", out of range) throws QuarvelError with the text
// "'%s' は整数ではありません" (UTF-8), %s being the text.
int StrToInt(const std::string& text);

// The shift dialog's OK: converts e1, e2, e3 in this order (the first invalid one throws,
// and nothing has changed then), then shifts TheMap. mrOk when the map was shifted,
// mrCancel when all three offsets are 0. The dialog catches the error, shows it in a box
// titled "Quarvel" and stays open.
int ShiftDialogOk(TEditorState& State, const std::string& e1, const std::string& e2,
                  const std::string& e3);

// The swap dialog's OK: swaps countries a and b (0..3) of TheMap. mrOk, or mrCancel when
// a == b or either is not a country.
int SwapDialogOk(TEditorState& State, int a, int b);

} // namespace quarvel
