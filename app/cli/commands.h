// quarvel-cli: the table of commands. Each command lives in its own file and registers
// itself with a static CliRegistration.
#pragma once

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace quarvel {
class TMap;
}

namespace quarvel::cli {

// Exit statuses.
constexpr int ExitOk = 0;
constexpr int ExitError = 1;
constexpr int ExitUsage = 2;

// Thrown for a usage error (exit status 2); the message goes to standard error.
class UsageError : public std::runtime_error {
public:
    explicit UsageError(const std::string& what) : std::runtime_error(what) {}
};

using CommandFn = int (*)(const std::vector<std::string>& args);

struct CliCommand {
    const char* Name;
    const char* Usage; // one line, e.g. "shape MAP [-o OUT]"
    CommandFn Run;
};

std::vector<CliCommand>& Commands();

struct CliRegistration {
    explicit CliRegistration(const CliCommand& c) { Commands().push_back(c); }
};

// The program folder of quarvel-cli (with a trailing '/'): the folder that holds it when
// that has chip/, otherwise the user's folder (made and seeded on demand; throws
// ProgramFolderError when it cannot be made).
std::string ProgramFolderOfCli();

// The file-system name of a list line (code page 932 as UTF-8), with one conversion for the
// whole list; throws QuarvelError for a line that is not code page 932 text.
std::function<std::string(const std::string&)> ListNameConverter();

// A map name (code page 932) as text that is safe to print: bad bytes and control
// characters as "\xNN".
std::string PrintableMapName(const std::string& cp932);
// Runs the command line `argv` (argv[1] names the command) as quarvel-cli does and returns
// its exit status; messages go to standard output and standard error.
int RunCli(int argc, char** argv);

// Parses a whole decimal integer (optional '-'); throws UsageError naming `what` otherwise.
int ParseInt(const std::string& text, const std::string& what);

// Loads the map file `path` into `map`; a file that is not a map file is an error
// (QuarvelError "PATH: マップファイルじゃないよ？"), as are files that cannot be read.
void LoadMapFile(TMap& map, const std::string& path);

} // namespace quarvel::cli
