// quarvel-cli's arguments: options with a value among positional arguments, and the
// message of each kind of mistake, as the commands print them.
#include "tests/testutil.h"

#include <gtest/gtest.h>

namespace quarvel::test {
namespace {

// The first line quarvel-cli prints on standard error.
std::string FirstErrorLine(const std::string& args) {
    RunResult r = RunCli(args);
    EXPECT_EQ(r.Status, 2) << args;
    return r.Err.substr(0, r.Err.find('\n'));
}

TEST(CliArgsTest, UsageErrors) {
    const std::pair<const char*, const char*> rows[] = {
        {"shape", "shape: missing arguments"},
        {"shape a b", "shape: too many arguments"},
        {"shape a -o", "shape: -o needs a file name"},
        {"shape a -o ''", "shape: -o needs a file name"},
        {"shape a -o x -o y", "shape: -o given twice"},
        {"shape -o x --foo a", "shape: too many arguments"}, // "--foo" is an argument here
        {"shift m 1 2", "shift: missing arguments"},
        {"shift m 1 2 3 4", "shift: too many arguments"},
        {"shift m x 2 3", "shift: DX is not a whole number: 'x'"},
        {"shift m +1 2 3", "shift: DX is not a whole number: '+1'"},
        {"shift m 1 2 99999999999", "shift: DZ is out of range: '99999999999'"},
        {"swap m 1 5", "swap: countries are 0..3"},
        {"render a", "render: missing arguments"},
        {"render a b c", "render: too many arguments"},
        {"render a b --foo", "render: --foo needs a value"},
        {"render --foo x a b", "render: unknown option '--foo'"},
        {"render a b --level", "render: --level needs a value"},
        {"render a b --level 48", "render: --level must be 0..47"},
        {"render a b --level q --zoom 2", "render: --level is not a whole number: 'q'"},
        {"render a b --zoom 2 --level q", "render: --zoom must be 0 or 1"},
        {"render a b --chips ''", "render: --chips needs a folder"},
        {"render a b --terrain 4", "render: --terrain must be 0..3"},
        {"render a b --background zz", "render: --background needs a colour RRGGBB in hex: 'zz'"},
        {"render '' b", "render: empty file name"},
        {"pack a", "pack: unknown argument 'a'"},
        {"pack --root", "pack: --root needs a folder"},
        {"pack --root ''", "pack: --root needs a folder"},
        {"pack --root a b", "pack: too many arguments"},
        {"pack b --root a", "pack: unknown argument 'b'"},
        {"unpack --root a --root b", "unpack: too many arguments"},
    };
    for (const auto& [args, message] : rows)
        EXPECT_EQ(FirstErrorLine(args), std::string("quarvel-cli ") + message) << args;
}

TEST(CliArgsTest, OptionValuesMayLookLikeOptions) {
    TempDir dir;
    // "-o" takes the next argument whatever it is; a negative offset is no option.
    ASSERT_EQ(RunCli("new " + dir.File("m.map")).Status, 0);
    RunResult r = RunCli("shift -o " + dir.File("-o") + " " + dir.File("m.map") + " -1 0 -2");
    EXPECT_EQ(r.Status, 0) << r.Err;
    EXPECT_EQ(r.Out, "unchanged\n");
    EXPECT_EQ(ReadBytes(dir.File("-o")), ReadBytes(dir.File("m.map")));
}

} // namespace
} // namespace quarvel::test
