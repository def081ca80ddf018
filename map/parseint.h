// Whole decimal numbers typed by the user, for the dialogs and for quarvel-cli.
#pragma once

#include <string>

namespace quarvel {

enum class IntParse { Ok, NotANumber, OutOfRange };

// `text` as a 32-bit integer: an optional '-' (or '+' when `plusAllowed`) and then digits
// only, nothing else, not even a blank. `value` is set only when the result is Ok.
IntParse ParseDecimalInt(const std::string& text, int& value, bool plusAllowed = false);

} // namespace quarvel
