// quarvel-cli: the render command, which draws a map as the whole-map view or as the edit
// view of one level and writes the picture as an 8-bit paletted PNG.
#include "app/cli/cliargs.h"
#include "app/cli/commands.h"
#include "app/cli/pngwriter.h"
#include "graphics/chipsheet.h"
#include "graphics/editpicture.h"
#include "graphics/wholepicture.h"
#include "map/mapclass.h"
#include "map/maperror.h"

#include <memory>
#include <optional>

namespace quarvel::cli {

namespace {

struct RenderArgs {
    std::string MapPath;
    std::string OutPath;
    std::optional<int> Level;
    std::optional<int> Top; // the whole map cut above this level
    bool Ghost = false;     // the level below faintly under the level
    int Zoom = 0;
    std::string ChipDir;
    std::optional<int> Terrain;
    std::optional<TColor> Background;
};

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// "RRGGBB" (a leading '#' is allowed) as a colour.
TColor ParseColour(const std::string& text) {
    const std::string hex = !text.empty() && text[0] == '#' ? text.substr(1) : text;
    int v[6];
    bool ok = hex.size() == 6;
    for (size_t i = 0; ok && i < 6; ++i) ok = (v[i] = HexDigit(hex[i])) >= 0;
    if (!ok) throw UsageError("--background needs a colour RRGGBB in hex: '" + text + "'");
    return RGBColor(uint8_t(v[0] * 16 + v[1]), uint8_t(v[2] * 16 + v[3]),
                    uint8_t(v[4] * 16 + v[5]));
}

RenderArgs ParseArgs(const std::vector<std::string>& args) {
    RenderArgs r;
    const auto files =
        CliArgs()
            .Option("--level",
                    [&](const std::string& value) {
                        r.Level = ParseInt(value, "--level");
                        if (*r.Level < 0 || *r.Level >= TMap::SizeZ)
                            throw UsageError("--level must be 0.." +
                                             std::to_string(TMap::SizeZ - 1));
                    })
            .Option("--top",
                    [&](const std::string& value) {
                        r.Top = ParseInt(value, "--top");
                        if (*r.Top < 0 || *r.Top > TMap::SizeZ - 1)
                            throw UsageError("--top must be 0..47");
                    })
            .Flag("--ghost", r.Ghost)
            .Option("--zoom",
                    [&](const std::string& value) {
                        r.Zoom = ParseInt(value, "--zoom");
                        if (r.Zoom != 0 && r.Zoom != 1) throw UsageError("--zoom must be 0 or 1");
                    })
            .Option("--chips",
                    [&](const std::string& value) {
                        if (value.empty()) throw UsageError("--chips needs a folder");
                        r.ChipDir = value;
                    })
            .Option("--terrain",
                    [&](const std::string& value) {
                        r.Terrain = ParseInt(value, "--terrain");
                        if (*r.Terrain < 0 || *r.Terrain > 3)
                            throw UsageError("--terrain must be 0..3");
                    })
            .Option("--background",
                    [&](const std::string& value) { r.Background = ParseColour(value); })
            .NoOtherOptions()
            .Parse(args, 2);
    if (r.Ghost && !r.Level) throw UsageError("--ghost needs --level");
    if (r.Top && r.Level) throw UsageError("--top cuts the whole map: not with --level");
    r.MapPath = files[0];
    r.OutPath = files[1];
    if (r.MapPath.empty() || r.OutPath.empty()) throw UsageError("empty file name");
    if (r.ChipDir.empty()) r.ChipDir = ProgramFolderOfCli() + "chip/";
    return r;
}

int RunRender(const std::vector<std::string>& args) {
    const RenderArgs r = ParseArgs(args);
    auto map = std::make_unique<TMap>();
    if (!map->LoadFromFile(r.MapPath))
        throw QuarvelError(ErrorKind::NotAMap, FileRole::MapFile, r.MapPath);
    int terrain = r.Terrain ? *r.Terrain : map->GetTerrain();
    if (terrain < 0 || terrain > 3)
        throw QuarvelError(r.MapPath + ": terrain set " + std::to_string(terrain) +
                           " is not one of 0..3; choose one with --terrain");

    TBMP256 sheets[2];
    uint8_t transparent[2] = {0, 0};
    if (!ReadChipSheets(r.ChipDir, terrain, sheets, transparent))
        throw QuarvelError("chip files for terrain set " + std::to_string(terrain) +
                           " not found in " + r.ChipDir);

    // The picture is drawn band by band on the PNG writer's threads, each band compressed as
    // soon as it is drawn; the bands together are exactly RedrawLevel's or RedrawAll's picture.
    if (r.Level) {
        auto view = std::make_unique<TEditPicture>();
        view->Attach(map.get(), sheets, transparent);
        view->SetZoom(r.Zoom);
        view->SetGhost(r.Ghost);
        view->BackColor = r.Background ? *r.Background : TColor(0x808080);
        const int level = *r.Level, width = view->PictureWidth();
        WritePalettedPng(r.OutPath, view->Picture, [&](int first, int end) {
            view->RedrawRect(level, 0, first, width, end);
        });
    } else {
        auto view = std::make_unique<TWholePicture>();
        view->Attach(map.get(), sheets, transparent);
        view->SetZoom(r.Zoom);
        if (r.Top) view->SetTop(*r.Top);
        view->BackColor = r.Background ? *r.Background : TColor(0);
        const int width = view->PictureWidth();
        WritePalettedPng(r.OutPath, view->Picture,
                         [&](int first, int end) { view->RedrawRect(0, first, width, end); });
    }
    return ExitOk;
}

CliRegistration renderReg{
    {"render",
     "render MAP OUT.png [--level Z [--ghost] | --top Z] [--zoom 0|1] [--chips DIR] "
     "[--terrain N] [--background RRGGBB]",
     &RunRender}};

} // namespace

} // namespace quarvel::cli
