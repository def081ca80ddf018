// Whole decimal numbers through std::from_chars, which reads no blanks, no '+' and no base.
#include "map/parseint.h"

#include <charconv>
#include <system_error>

namespace quarvel {

IntParse ParseDecimalInt(const std::string& text, int& value, bool plusAllowed) {
    const char* first = text.data();
    const char* const last = first + text.size();
    // from_chars takes a '-' but no '+'; after a '+' a digit must follow ("+-1" is no number).
    if (plusAllowed && first != last && *first == '+') {
        ++first;
        if (first == last || *first < '0' || *first > '9') return IntParse::NotANumber;
    }
    int parsed = 0;
    const auto [end, error] = std::from_chars(first, last, parsed);
    if (error == std::errc::result_out_of_range && end == last) return IntParse::OutOfRange;
    if (error != std::errc() || end != last) return IntParse::NotANumber;
    value = parsed;
    return IntParse::Ok;
}

} // namespace quarvel
