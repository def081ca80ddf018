// quarvel-cli: the archive commands pack and unpack (map/ -> dat/data1.dat + data1.lib ->
// dat/unpacked/), on the program folder of quarvel-cli or the one given with --root.
#include "app/cli/cliargs.h"
#include "app/cli/commands.h"
#include "archive/datlib.h"
#include "map/cp932.h"

#include <iostream>
#include <memory>
#include <unistd.h>

namespace quarvel::cli {

std::function<std::string(const std::string&)> ListNameConverter() {
    auto decoder = std::make_shared<TCp932Decoder>();
    return [decoder](const std::string& cp932) { return decoder->ToUtf8(cp932); };
}

namespace {

// Reads "[--root DIR]"; DIR defaults to quarvel-cli's program folder.
std::string TakeRoot(const std::vector<std::string>& args) {
    std::string root;
    bool given = false;
    CliArgs()
        .Option(
            "--root",
            [&](const std::string& value) {
                if (given) throw UsageError("too many arguments");
                if (value.empty()) throw UsageError("--root needs a folder");
                root = value;
                given = true;
            },
            "--root needs a folder")
        .Positional([&](const std::string& arg) {
            throw UsageError(given ? "too many arguments" : "unknown argument '" + arg + "'");
        })
        .Parse(args);
    return given ? root : ProgramFolderOfCli();
}

// Entry names are code page 932; the file system sees them as UTF-8. On a terminal the
// progress goes to standard error as one line that is rewritten.
DatOptions MakeOptions(const char* verb) {
    DatOptions opts;
    opts.ToFileName = ListNameConverter();
    if (isatty(STDERR_FILENO)) {
        opts.Progress = [verb](size_t done, size_t total) {
            if (total <= 300) return; // short lists finish at once
            if (done != total && done % 64 != 0) return;
            std::cerr << "\r" << verb << " " << done << "/" << total << (done == total ? "\n" : "")
                      << std::flush;
        };
    }
    return opts;
}

int RunPack(const std::vector<std::string>& args) {
    const std::string root = TakeRoot(args);
    BuildDat(root, MakeOptions("packing"));
    std::cout << "datフォルダに出力しました\n";
    return ExitOk;
}

int RunUnpack(const std::vector<std::string>& args) {
    const std::string root = TakeRoot(args);
    if (!UnpackDat(root, MakeOptions("unpacking"))) {
        std::cerr << "ファイルが見つかりません\n";
        return ExitError;
    }
    std::cout << "unpackedフォルダに出力しました\n";
    return ExitOk;
}

CliRegistration packReg{{"pack", "pack [--root DIR]", &RunPack}};
CliRegistration unpackReg{{"unpack", "unpack [--root DIR]", &RunUnpack}};

} // namespace

} // namespace quarvel::cli
