// quarvel-cli: the argument parser shared by the commands.
#include "app/cli/cliargs.h"

#include "app/cli/commands.h"

#include <memory>

namespace quarvel::cli {

CliArgs& CliArgs::Option(const std::string& name, Take take, const std::string& missing) {
    Options.push_back({name, std::move(take), missing.empty() ? name + " needs a value" : missing});
    return *this;
}

CliArgs& CliArgs::Single(const std::string& name, std::string& into, const std::string& missing) {
    auto given = std::make_shared<bool>(false);
    return Option(
        name,
        [&into, given, name, missing](const std::string& value) {
            if (*given) throw UsageError(name + " given twice");
            if (value.empty()) throw UsageError(missing);
            *given = true;
            into = value;
        },
        missing);
}

CliArgs& CliArgs::Flag(const std::string& name, bool& into) {
    auto given = std::make_shared<bool>(false);
    Option(name, [&into, given, name](const std::string&) {
        if (*given) throw UsageError(name + " given twice");
        *given = into = true;
    });
    Options.back().HasValue = false;
    return *this;
}

CliArgs& CliArgs::NoEmptyArguments() {
    RefuseEmpty = true;
    return *this;
}

CliArgs& CliArgs::NoOtherOptions() {
    RefuseOthers = true;
    return *this;
}

CliArgs& CliArgs::Positional(Take take) {
    TakePositional = std::move(take);
    return *this;
}

std::vector<std::string> CliArgs::Parse(const std::vector<std::string>& args) const {
    std::vector<std::string> positional;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const Declared* known = nullptr;
        for (const Declared& s : Options)
            if (s.Name == arg) known = &s;
        const bool other = !known && RefuseOthers && arg.compare(0, 2, "--") == 0;
        if (known && !known->HasValue) {
            known->TakeValue(std::string());
            continue;
        }
        if (!known && !other) {
            if (RefuseEmpty && arg.empty()) throw UsageError("empty argument");
            if (TakePositional)
                TakePositional(arg);
            else
                positional.push_back(arg);
            continue;
        }
        // An unknown option also takes the argument after it, so that the message names it.
        if (i + 1 >= args.size()) throw UsageError(known ? known->Missing : arg + " needs a value");
        const std::string& value = args[++i];
        if (!known) throw UsageError("unknown option '" + arg + "'");
        known->TakeValue(value);
    }
    return positional;
}

std::vector<std::string> CliArgs::Parse(const std::vector<std::string>& args, size_t count) const {
    std::vector<std::string> positional = Parse(args);
    ExpectCount(positional, count);
    return positional;
}

std::vector<std::string> CliArgs::ParseAtLeast(const std::vector<std::string>& args,
                                               size_t count) const {
    std::vector<std::string> positional = Parse(args);
    if (positional.size() < count) throw UsageError("missing arguments");
    return positional;
}

void ExpectCount(const std::vector<std::string>& args, size_t count) {
    if (args.size() != count)
        throw UsageError(args.size() < count ? "missing arguments" : "too many arguments");
}

} // namespace quarvel::cli
