// quarvel-cli: flags and options of the tool commands.
#include "app/cli/toolargs.h"

#include "app/cli/commands.h"

#include <algorithm>

namespace quarvel::cli {

bool TakeFlag(std::vector<std::string>& args, const std::string& flag) {
    const auto n = std::count(args.begin(), args.end(), flag);
    if (n > 1) throw UsageError(flag + " given twice");
    args.erase(std::remove(args.begin(), args.end(), flag), args.end());
    return n == 1;
}

std::string TakeValue(std::vector<std::string>& args, const std::string& name) {
    std::string value;
    bool seen = false;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] != name) continue;
        if (seen) throw UsageError(name + " given twice");
        if (i + 1 >= args.size() || args[i + 1].empty()) throw UsageError(name + " needs a value");
        seen = true;
        value = args[i + 1];
        args.erase(args.begin() + long(i), args.begin() + long(i) + 2);
        --i;
    }
    return value;
}

void ExpectOperands(const std::vector<std::string>& args, size_t count, bool orMore) {
    for (const std::string& a : args)
        if (a.size() > 2 && a.compare(0, 2, "--") == 0)
            throw UsageError("unknown option '" + a + "'");
    if (args.size() < count) throw UsageError("missing arguments");
    if (args.size() > count && !orMore) throw UsageError("too many arguments");
    for (const std::string& a : args)
        if (a.empty()) throw UsageError("empty argument");
}

} // namespace quarvel::cli
