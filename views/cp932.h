// Texts of the widgets as code page 932 bytes, which the core keeps, and back; both go
// through the core's one code page 932 conversion.
#pragma once

#include <QString>
#include <string>

namespace quarvel {

// Code page 932 bytes as text; a byte that starts no valid character shows as "\xNN".
QString FromCp932(const std::string& bytes);
// Text as code page 932 bytes. When a character has no code page 932 form the result is
// empty and `ok` (when given) becomes false.
std::string ToCp932(const QString& text, bool* ok = nullptr);

} // namespace quarvel
