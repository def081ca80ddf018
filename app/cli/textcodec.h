// quarvel-cli: text conversion between UTF-8 (the terminal) and code page 932 (map names).
#pragma once

#include <string>

namespace quarvel::cli {

// Throw QuarvelError when the text has a character the other side cannot hold, or is not
// valid text of its own encoding.
std::string Utf8ToCp932(const std::string& utf8);
std::string Cp932ToUtf8(const std::string& cp932);

// Like Cp932ToUtf8, but each byte that does not start a valid character comes out as "\xNN".
std::string Cp932ToUtf8Lossy(const std::string& cp932);

} // namespace quarvel::cli
