// The texts the editor shows, written in Japanese in the code, pass through one translator that
// the program installs at start; without one (the command-line tool, the tests) they stay as
// written.
#pragma once

#include "map/textmarker.h" // QUARVEL_TR_NOOP, for tables of texts

#include <functional>
#include <initializer_list>
#include <string>

namespace quarvel {

// Looks up the text the code wrote (`source`, UTF-8) among the translations of `context`;
// returns the source itself when there is none.
using TextTranslator = std::function<std::string(const char* context, const char* source)>;

// Installs the translator for the whole program (an empty one restores the texts as written).
void SetTextTranslator(TextTranslator translator);

// The shown form of a text. Write the context and the text as literals at the call, so that the
// translation tools find them: Tr("ChipReplace", "見つかりません"). A text from a table is marked
// where it is written, QUARVEL_TR_NOOP("ChipNames", "岩"), and shown as Tr("ChipNames", text).
std::string Tr(const char* context, const char* source);

// Puts the arguments in place of every %1 .. %9 of `text` in one pass (an argument that
// itself holds "%2" is not replaced again); a %N without an argument stays as it is.
std::string Arg(const std::string& text, std::initializer_list<std::string> args);

} // namespace quarvel
