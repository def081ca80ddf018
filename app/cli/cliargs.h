// quarvel-cli: the one parser of a command's arguments, options with a value ("-o OUT",
// "--level N", "--root DIR") anywhere among the positional arguments.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace quarvel::cli {

// Declare the options, then Parse. For example:
//     std::string out;
//     auto files = CliArgs().Single("-o", out, "-o needs a file name").Parse(args, 1);
// Every error is a UsageError.
class CliArgs {
public:
    using Take = std::function<void(const std::string& value)>;

    // An option followed by a value; `take` gets the value of each occurrence, in order.
    // `missing` is the message when the option is the last argument ("NAME needs a value"
    // when empty).
    CliArgs& Option(const std::string& name, Take take, const std::string& missing = "");
    // An option given at most once ("NAME given twice") with a value that is not empty
    // (`missing` otherwise), stored in `into`.
    CliArgs& Single(const std::string& name, std::string& into, const std::string& missing);
    // An option without a value, given at most once ("NAME given twice"); sets `into`.
    CliArgs& Flag(const std::string& name, bool& into);
    // An empty argument is refused ("empty argument").
    CliArgs& NoEmptyArguments();
    // An argument starting with "--" that names no option is refused ("unknown option");
    // without this it is a positional argument.
    CliArgs& NoOtherOptions();
    // Each positional argument goes to `take`, in order, instead of into Parse's result.
    CliArgs& Positional(Take take);

    // Goes through `args` once, in order, and returns the positional arguments.
    std::vector<std::string> Parse(const std::vector<std::string>& args) const;
    // The same, and there must be exactly `count` of them ("missing arguments", "too many
    // arguments").
    std::vector<std::string> Parse(const std::vector<std::string>& args, size_t count) const;
    // The same, and there must be at least `count` of them ("missing arguments").
    std::vector<std::string> ParseAtLeast(const std::vector<std::string>& args, size_t count) const;

private:
    struct Declared {
        std::string Name;
        Take TakeValue;
        std::string Missing;
        bool HasValue = true;
    };
    std::vector<Declared> Options;
    bool RefuseOthers = false;
    bool RefuseEmpty = false;
    Take TakePositional;
};

// Throws UsageError unless `args` has exactly `count` entries.
void ExpectCount(const std::vector<std::string>& args, size_t count);

} // namespace quarvel::cli
