// quarvel-cli's table of commands and the run of one command line.
#include "app/cli/commands.h"
#include "editor/programfolder.h"
#include "map/maperror.h"
#include "map/parseint.h"

#include <algorithm>
#include <exception>
#include <iostream>

namespace quarvel::cli {

std::vector<CliCommand>& Commands() {
    static std::vector<CliCommand> commands;
    return commands;
}

std::string ProgramFolderOfCli() {
    return FindProgramFolder(ProgramFileFolder());
}

int ParseInt(const std::string& text, const std::string& what) {
    int value = 0;
    switch (ParseDecimalInt(text, value)) {
    case IntParse::Ok:
        return value;
    case IntParse::OutOfRange:
        throw UsageError(what + " is out of range: '" + text + "'");
    case IntParse::NotANumber:
        break;
    }
    throw UsageError(what + " is not a whole number: '" + text + "'");
}

namespace {

void PrintUsage(std::ostream& out) {
    auto commands = Commands();
    std::sort(commands.begin(), commands.end(), [](const CliCommand& a, const CliCommand& b) {
        return std::string(a.Name) < b.Name;
    });
    out << "usage: quarvel-cli COMMAND [ARGS]\n\ncommands:\n";
    for (const auto& c : commands) out << "  quarvel-cli " << c.Usage << "\n";
}

} // namespace

int RunCli(int argc, char** argv) {
    if (argc < 2) {
        PrintUsage(std::cerr);
        return ExitUsage;
    }
    std::string name = argv[1];
    if (name == "help" || name == "--help" || name == "-h") {
        PrintUsage(std::cout);
        return ExitOk;
    }
    std::vector<std::string> args(argv + 2, argv + argc);
    for (const auto& c : Commands()) {
        if (name != c.Name) continue;
        try {
            return c.Run(args);
        } catch (const UsageError& e) {
            std::cerr << "quarvel-cli " << name << ": " << e.what() << "\n"
                      << "usage: quarvel-cli " << c.Usage << "\n";
            return ExitUsage;
        } catch (const std::exception& e) {
            std::cerr << "quarvel-cli " << name << ": " << e.what() << "\n";
            return ExitError;
        }
    }
    std::cerr << "quarvel-cli: unknown command '" << name << "'\n";
    PrintUsage(std::cerr);
    return ExitUsage;
}

} // namespace quarvel::cli
