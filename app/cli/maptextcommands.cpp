// quarvel-cli: the review commands dump (a map as text, also a textconv filter for version
// control), diff (what differs between two maps) and check (faults before packing).
#include "app/cli/cliargs.h"
#include "app/cli/commands.h"
#include "archive/datlib.h"
#include "map/cp932.h"
#include "map/mapcheck.h"
#include "map/mapclass.h"
#include "map/mapdiff.h"
#include "map/maperror.h"

#include <cstdio>
#include <exception>
#include <iostream>
#include <memory>
#include <set>

namespace quarvel::cli {

namespace {

// Map names are code page 932; bytes that are not show as "\xNN" (DumpMap and DiffMaps
// escape control characters themselves).
std::string NameText(const std::string& cp932) {
    return Cp932ToUtf8Lossy(cp932);
}

// Standard output is written in one go: a dump can be a megabyte.
void Print(const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
    if (std::ferror(stdout)) throw QuarvelError("cannot write to standard output");
}

std::unique_ptr<TMap> LoadMap(const std::string& path) {
    auto map = std::make_unique<TMap>();
    LoadMapFile(*map, path);
    return map;
}

int RunDump(const std::vector<std::string>& argsIn) {
    const auto args = CliArgs().NoOtherOptions().NoEmptyArguments().Parse(argsIn, 1);
    Print(DumpMap(*LoadMap(args[0]), NameText));
    return ExitOk;
}

int RunDiff(const std::vector<std::string>& argsIn) {
    bool exitCode = false;
    const auto args = CliArgs()
                          .Flag("--exit-code", exitCode)
                          .NoOtherOptions()
                          .NoEmptyArguments()
                          .Parse(argsIn, 2);
    const auto before = LoadMap(args[0]);
    const auto after = LoadMap(args[1]);
    const std::string text = DiffMaps(*before, *after, NameText);
    Print(text);
    return exitCode && !text.empty() ? ExitError : ExitOk;
}

// Checks the map file `path` and prints its findings; false when there were any.
bool CheckFile(const std::string& path) {
    const auto map = LoadMap(path);
    const std::vector<MapFinding> findings = CheckMap(*map);
    std::string out;
    out.reserve(findings.size() * (path.size() + 80));
    const std::string shown = PrintableName(path);
    for (const MapFinding& f : findings) {
        out += shown;
        out += ": ";
        out += FindingText(f);
        out += '\n';
    }
    Print(out);
    return out.empty();
}

// Runs `check` on one file; an error is reported and counts as a fault, and the other maps
// are still checked.
bool CheckOrReport(const std::string& path) {
    try {
        return CheckFile(path);
    } catch (const std::exception& e) {
        std::cerr << "quarvel-cli check: " << e.what() << "\n";
        return false;
    }
}

// The maps of a list file, found as pack finds them: the list read with pack's limits and
// its names checked by pack's rules (a fault there ends the check, as it ends a pack); each
// name is a file in the list file's folder, else "dummy.map" stands for it. Each file is
// checked once.
bool CheckList(const std::string& listPath) {
    const size_t slash = listPath.rfind('/');
    const std::string folder = slash == std::string::npos ? "" : listPath.substr(0, slash + 1);
    DatOptions opts;
    opts.ToFileName = ListNameConverter();
    std::vector<std::string> names;
    try {
        names = CheckListNames(ReadListFile(listPath), listPath, opts);
    } catch (const QuarvelError& e) {
        std::cerr << "quarvel-cli check: " << e.what() << "\n";
        return false;
    }
    std::set<std::string> checked;
    bool clean = true;
    for (size_t i = 0; i < names.size(); ++i) {
        std::string path = ListedMapFile(folder, names[i]);
        if (path.empty()) {
            const std::string dummy = (folder.empty() ? std::string("./") : folder) + "dummy.map";
            path = ListedMapFile(folder, "dummy.map");
            if (path.empty()) {
                const QuarvelError missing =
                    QuarvelError(ErrorKind::MapMissing, FileRole::MapFile, dummy)
                        .AtLine(static_cast<long long>(i + 1))
                        .Named(names[i]);
                std::cerr << "quarvel-cli check: " << missing.what() << "\n";
                clean = false;
                continue;
            }
        }
        if (checked.insert(path).second) clean = CheckOrReport(path) && clean;
    }
    return clean;
}

int RunCheck(const std::vector<std::string>& argsIn) {
    std::string list;
    const CliArgs parser = CliArgs()
                               .Single("--list", list, "--list needs a value")
                               .NoOtherOptions()
                               .NoEmptyArguments();
    std::vector<std::string> args = parser.ParseAtLeast(argsIn, 0);
    if (list.empty()) {
        if (args.empty()) throw UsageError("missing arguments");
    } else if (!args.empty()) {
        throw UsageError("too many arguments");
    }
    if (!list.empty()) return CheckList(list) ? ExitOk : ExitError;
    bool clean = true;
    for (const std::string& path : args) clean = CheckOrReport(path) && clean;
    return clean ? ExitOk : ExitError;
}

CliRegistration dumpCommand({"dump", "dump MAP (the map as text)", &RunDump});
CliRegistration diffCommand({"diff", "diff A B [--exit-code]", &RunDiff});
CliRegistration checkCommand({"check", "check MAP... | check --list map/map.ini", &RunCheck});

} // namespace

} // namespace quarvel::cli
