// Conversions between code page 932 (Shift_JIS) bytes, which the core keeps, and the texts
// and file names of the widgets.
#pragma once

#include <QString>
#include <string>

namespace quarvel {

// Code page 932 bytes as text; bytes that are not code page 932 become U+FFFD.
QString FromCp932(const std::string& bytes);
// Text as code page 932 bytes. `ok` (when given) becomes false when a character has no
// code page 932 form; such characters are replaced.
std::string ToCp932(const QString& text, bool* ok = nullptr);
// A code page 932 file name (an entry of map.ini) as the file system's name; throws
// QuarvelError when the bytes are not code page 932.
std::string Cp932FileName(const std::string& bytes);

} // namespace quarvel
