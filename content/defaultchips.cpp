// The default chip set: drawing the sheets of the four terrain sets and writing the files.
#include "content/defaultchips.h"

#include "content/chipart.h"
#include "content/chippalette.h"
#include "graphics/chipsheet.h"
#include "map/fileio.h"
#include "map/mapclass.h"

#include <cerrno>
#include <filesystem>
#include <stdexcept>

namespace quarvel {

namespace {

constexpr int SheetChips = TMap::ChipCount;

void DrawFamily(int chip, const chipart::Target& t) {
    using namespace chipart;
    if (chip == 0) return; // the empty cell stays transparent
    if ((chip >= 1 && chip <= 24) || (chip >= 112 && chip <= 123))
        DrawGround(chip, t);
    else if ((chip >= 25 && chip <= 28) || (chip >= 83 && chip <= 111))
        DrawWater(chip, t);
    else if ((chip >= 29 && chip <= 32) || chip >= 128)
        DrawCastle(chip, t);
    else if ((chip >= 33 && chip <= 39) || (chip >= 53 && chip <= 57))
        DrawPlants(chip, t);
    else if (chip >= 40 && chip <= 49)
        DrawFences(chip, t);
    else if (chip >= 58 && chip <= 82)
        DrawBridges(chip, t);
    else
        DrawItems(chip, t); // 50..52, 124..127
}

} // namespace

void DrawDefaultChip(int chip, int terrainSet, int size, TBMP256& out) {
    if (chip < 0 || chip >= SheetChips) throw std::out_of_range("chip outside 0..167");
    if (terrainSet < 0 || terrainSet > 3) throw std::out_of_range("terrain set outside 0..3");
    if (size < 0 || size > 1) throw std::out_of_range("size index outside 0..1");
    out.SetSize(ChipWidth[size], ChipHeight[size]);
    out.Fill(ChipTransparentIndex);
    out.SetPalette(DefaultChipPalette(terrainSet));
    DrawFamily(chip, chipart::Target{out, size == 0 ? 1.0 : 0.5, terrainSet});
}

TBMP256 DrawDefaultChipSheet(int terrainSet, int size) {
    if (size < 0 || size > 1) throw std::out_of_range("size index outside 0..1");
    const int w = ChipWidth[size], h = ChipHeight[size];
    TBMP256 sheet;
    sheet.SetSize(w, h * SheetChips);
    sheet.Fill(ChipTransparentIndex);
    sheet.SetPalette(DefaultChipPalette(terrainSet));
    TBMP256 chip;
    for (int k = 0; k < SheetChips; ++k) {
        DrawDefaultChip(k, terrainSet, size, chip);
        sheet.Blit(0, k * h, chip, -1, 0, 0, 0, 0);
    }
    return sheet;
}

void WriteDefaultChips(const std::string& dir) {
    const std::filesystem::path folder(dir);
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    std::error_code isDir;
    if (!std::filesystem::is_directory(folder, isDir)) {
        const int err = ec && ec.category() == std::generic_category() ? ec.value() : ENOTDIR;
        throw QuarvelError(ErrorKind::CannotCreate, FileRole::Folder, dir, err);
    }
    for (int set = 0; set < 4; ++set) {
        const std::string stem = TerrainFileNames[set];
        for (int size = 0; size < 2; ++size) {
            const TBMP256 sheet = DrawDefaultChipSheet(set, size);
            const std::vector<uint8_t> pixels = EncodeChipPixels(sheet);
            const std::vector<uint8_t> palette = EncodeChipPalette(sheet.GetPalette());
            WriteFileAtomically((folder / (stem + ChipFileSuffix[size])).string(), pixels.data(),
                                pixels.size(), FileRole::ChipFile);
            WriteFileAtomically((folder / (stem + PaletteFileSuffix[size])).string(),
                                palette.data(), palette.size(), FileRole::PaletteFile);
        }
    }
}

} // namespace quarvel
