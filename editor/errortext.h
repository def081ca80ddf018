// The editor's wording of errors, naming the file and the reason: written in Japanese and shown
// through the translations (Tr), so in English where the program runs in English.
#pragma once

#include "map/maperror.h"

#include <exception>
#include <string>

namespace quarvel {

// The shown text of an error that ended a command, for the error box. An error that is
// not the core's (a programming error) shows its own text.
std::string ShownErrorText(const std::exception& e);
std::string ShownErrorText(const QuarvelError& e);

// The system's error number in the shown words; an unknown one by its number.
std::string ShownErrnoText(int err);

} // namespace quarvel
