// Errors raised by file and data operations of the map core; the editor shows their text.
#pragma once

#include <stdexcept>
#include <string>

namespace quarvel {

class QuarvelError : public std::runtime_error {
public:
    explicit QuarvelError(const std::string& what) : std::runtime_error(what) {}
};

} // namespace quarvel
