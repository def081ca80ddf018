// quarvel-cli: the commands chips (the default chip set; a chip sheet to and from PNG for
// image editors) and demo (the demonstration map).
#include "app/cli/chippng.h"
#include "app/cli/cliargs.h"
#include "app/cli/commands.h"
#include "content/defaultchips.h"
#include "content/demomap.h"
#include "graphics/chipimport.h"
#include "graphics/chipsheet.h"
#include "map/chipclasses.h"
#include "map/mapclass.h"
#include "map/maperror.h"

#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>

namespace quarvel::cli {

namespace {

const std::string& OnlyArgument(const std::vector<std::string>& args, const char* what) {
    if (args.empty()) throw UsageError(std::string("missing ") + what);
    if (args.size() > 1) throw UsageError("too many arguments");
    if (args[0].empty()) throw UsageError(std::string("empty ") + what);
    return args[0];
}

// STEM names one of the four terrain sets' files.
void CheckStem(const std::string& stem) {
    for (const char* name : TerrainFileNames)
        if (stem == name) return;
    throw UsageError("STEM is one of B_000, B_010, B_020, B_030, not '" + stem + "'");
}

bool IsFile(const std::string& path) {
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec);
}

// chips export CHIPDIR STEM OUT.png [--small]
int RunChipsExport(const std::vector<std::string>& argsIn) {
    bool small = false;
    const auto args =
        CliArgs().Flag("--small", small).NoOtherOptions().NoEmptyArguments().Parse(argsIn, 3);
    const int size = small ? 1 : 0;
    const std::string &dir = args[0], &stem = args[1], &out = args[2];
    CheckStem(stem);
    const TBMP256 sheet =
        ReadStoredChipSheet(ChipFilePath(dir, stem, size), PaletteFilePath(dir, stem, size), size);
    WriteSheetPng(out, sheet, sheet.GetPixel(0, 0));
    std::cout << "wrote " << out << "\n";
    return ExitOk;
}

// chips import IN.png CHIPDIR STEM [--small] [--palette FILE.pal]
int RunChipsImport(const std::vector<std::string>& argsIn) {
    bool small = false;
    std::string paletteFile;
    const auto args = CliArgs()
                          .Flag("--small", small)
                          .Single("--palette", paletteFile, "--palette needs a value")
                          .NoOtherOptions()
                          .NoEmptyArguments()
                          .Parse(argsIn, 3);
    const int size = small ? 1 : 0;
    const std::string &in = args[0], &dir = args[1], &stem = args[2];
    CheckStem(stem);
    const std::string pixelPath = ChipFilePath(dir, stem, size);
    const std::string palettePath = PaletteFilePath(dir, stem, size);

    const SheetImage image = ReadSheetPng(in, ChipWidth[size], ChipHeight[size] * TMap::ChipCount);
    CheckSheetImageSize(image, size, in);
    // The palette true colours are matched against, and that fills in what an indexed picture
    // lacks: the one given, else the stored one. The stored one is read only when needed, so
    // a complete indexed picture can replace a broken palette file.
    const bool complete = image.Indexed && image.Colours.size() >= 256 && image.Flags.size() == 256;
    SheetReference ref;
    std::optional<Palette> colours;
    ref.ColoursName = paletteFile.empty() ? palettePath : paletteFile;
    if (!paletteFile.empty() || (!complete && IsFile(palettePath))) {
        colours = ReadChipPalette(ref.ColoursName);
        ref.Colours = &*colours;
    }
    // True colour keeps the stored indices where the colours are unchanged.
    std::optional<TBMP256> stored;
    if (!image.Indexed && ref.Colours && IsFile(pixelPath)) {
        stored = ReadStoredChipSheet(pixelPath, ref.ColoursName, size);
        ref.Stored = &*stored;
    }
    const TBMP256 sheet = SheetFromImage(image, size, in, ref);
    WriteChipFilePair(pixelPath, EncodeChipPixels(sheet), palettePath,
                      EncodeChipPalette(sheet.GetPalette()));
    std::cout << "wrote " << pixelPath << " and " << palettePath << "\n";
    return ExitOk;
}

int RunChips(const std::vector<std::string>& args) {
    if (!args.empty() && args[0] == "export")
        return RunChipsExport(std::vector<std::string>(args.begin() + 1, args.end()));
    if (!args.empty() && args[0] == "import")
        return RunChipsImport(std::vector<std::string>(args.begin() + 1, args.end()));
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

CliRegistration chipsCommand(
    {"chips",
     "chips DIR (writes the default chip set) | chips export CHIPDIR STEM OUT.png [--small] | "
     "chips import IN.png CHIPDIR STEM [--small] [--palette FILE.pal]",
     &RunChips});
CliRegistration demoCommand({"demo", "demo OUT (writes the demonstration map)", &RunDemo});

} // namespace

} // namespace quarvel::cli
