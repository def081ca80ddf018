// quarvel-cli: the commands chips (the default chip set) and demo (the demonstration map).
#include "app/cli/commands.h"
#include "content/defaultchips.h"
#include "content/demomap.h"
#include "map/mapclass.h"
#include "map/maperror.h"

#include <iostream>
#include <memory>

namespace quarvel::cli {

namespace {

const std::string& OnlyArgument(const std::vector<std::string>& args, const char* what) {
    if (args.empty()) throw UsageError(std::string("missing ") + what);
    if (args.size() > 1) throw UsageError("too many arguments");
    if (args[0].empty()) throw UsageError(std::string("empty ") + what);
    return args[0];
}

int RunChips(const std::vector<std::string>& args) {
    const std::string& dir = OnlyArgument(args, "folder");
    WriteDefaultChips(dir);
    std::cout << "wrote the chip files of 4 terrain sets to " << dir << "\n";
    return ExitOk;
}

int RunDemo(const std::vector<std::string>& args) {
    const std::string& out = OnlyArgument(args, "output file");
    auto map = std::make_unique<TMap>();
    BuildDemoMap(*map);
    if (!map->SaveToFile(out)) throw QuarvelError("cannot save " + out);
    std::cout << "wrote the demonstration map to " << out << "\n";
    return ExitOk;
}

CliRegistration chipsCommand({"chips", "chips DIR (writes the default chip set)", &RunChips});
CliRegistration demoCommand({"demo", "demo OUT (writes the demonstration map)", &RunDemo});

} // namespace

} // namespace quarvel::cli
