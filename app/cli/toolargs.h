// quarvel-cli: the option handling of the tool commands (dump, diff, check, chips export and
// import): flags and "--name VALUE" options taken out of the argument list.
#pragma once

#include <string>
#include <vector>

namespace quarvel::cli {

// Removes `flag` from `args`; true when it was there. Given twice is a usage error.
bool TakeFlag(std::vector<std::string>& args, const std::string& flag);

// Removes "name VALUE" from `args`; returns VALUE, or "" when absent. A missing or empty
// VALUE, or the option given twice, is a usage error.
std::string TakeValue(std::vector<std::string>& args, const std::string& name);

// The arguments left must be `count` operands (or at least `count` when `orMore`); an
// argument left that starts with "--" is an unknown option. Usage errors otherwise.
void ExpectOperands(const std::vector<std::string>& args, size_t count, bool orMore = false);

} // namespace quarvel::cli
