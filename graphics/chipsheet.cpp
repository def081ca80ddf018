// Chip sheets: reading a terrain set's pixel and palette files into the two chip sheets, and
// the chip files of one sheet as stored, encoded and written back.
#include "graphics/chipsheet.h"

#include "graphics/hugepages.h"
#include "map/chipclasses.h"
#include "map/fileio.h"

#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <utility>
#include <vector>

namespace quarvel {

const char* const TerrainFileNames[4] = {"B_000", "B_010", "B_020", "B_030"};
const char* const ChipFileSuffix[2] = {".2c", "s.2c"};
const char* const PaletteFileSuffix[2] = {".pal", "s.pal"};

namespace {

constexpr size_t PaletteBytes = 1024;

// Only a regular file counts: a folder (or anything else) of that name is treated as absent.
bool FileExists(const std::string& path) {
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec);
}

// A chip file's bytes (half a megabyte, read once): on huge pages like the sheets.
using FileBytes = std::vector<uint8_t, LargeAllocator<uint8_t>>;

// Reads the first `needed` bytes of a file; anything beyond is not read at all.
FileBytes ReadPrefix(const std::string& path, size_t needed, FileRole role) {
    TReadFile in(path, role);
    FileBytes bytes(needed);
    const size_t got = in.Read(bytes.data(), needed);
    if (got < needed) throw QuarvelError(ErrorKind::TooShort, role, path).Sizes(needed, got);
    return bytes;
}

// Palette index n comes from record (n + 112) mod 256.
Palette DecodePalette(const FileBytes& bytes) {
    Palette pal;
    for (int n = 0; n < 256; ++n) {
        const uint8_t* rec = bytes.data() + size_t((n + 112) % 256) * 4;
        pal[n].Red = rec[0];
        pal[n].Green = rec[1];
        pal[n].Blue = rec[2];
        pal[n].Flags = rec[3];
    }
    return pal;
}

// Chip records hold their pixels in q x q blocks: three bands of four blocks, each block
// row by row. Every block row is q consecutive bytes of one sheet row.
void DecodePixels(const FileBytes& bytes, int w, int h, TBMP256& sheet) {
    const int q = w / 4;
    sheet.SetSize(w, TMap::ChipCount * h);
    const uint8_t* src = bytes.data();
    for (int k = 0; k < TMap::ChipCount; ++k)
        for (int band = 0; band < 3; ++band)
            for (int block = 0; block < 4; ++block)
                for (int row = 0; row < q; ++row) {
                    std::memcpy(sheet.Row(k * h + band * q + row) + block * q, src, size_t(q));
                    src += q;
                }
}

// The lowest parts of two- and three-level objects also show the upper parts that fall into
// their rectangle: {destination chip, source chip, first source band, bands copied}.
struct DerivedCopy {
    int Dest, Source, FirstBand, Bands;
};
constexpr DerivedCopy DerivedCopies[9] = {
    {35, 34, 1, 2}, {35, 33, 2, 1}, {38, 37, 1, 2}, {38, 36, 2, 1}, {41, 40, 1, 2},
    {43, 42, 1, 2}, {45, 44, 1, 2}, {47, 46, 1, 2}, {49, 48, 1, 2},
};

void ComposeDerivedChips(TBMP256& sheet, int w, int h, uint8_t transparent) {
    const int t = h / 3;
    for (const DerivedCopy& c : DerivedCopies)
        sheet.Blit(0, c.Dest * h, sheet, transparent, 0, c.Source * h + c.FirstBand * t, w,
                   c.Bands * t);
}

std::string WithSlash(const std::string& folder) {
    return folder.empty() || folder.back() == '/' ? folder : folder + "/";
}

} // namespace

bool ReadChipSheets(const std::string& chipDir, int set, TBMP256 (&sheets)[2],
                    uint8_t (&transparent)[2]) {
    if (set < 0 || set > 3)
        throw std::out_of_range("terrain set out of range: " + std::to_string(set));
    std::string base = chipDir;
    if (!base.empty() && base.back() != '/') base += '/';
    base += TerrainFileNames[set];

    const std::string pixelFiles[2] = {base + ChipFileSuffix[0], base + ChipFileSuffix[1]};
    const std::string paletteFiles[2] = {base + PaletteFileSuffix[0], base + PaletteFileSuffix[1]};
    for (const std::string* name :
         {&pixelFiles[0], &pixelFiles[1], &paletteFiles[0], &paletteFiles[1]})
        if (!FileExists(*name)) return false;

    // Everything is read and decoded aside; the sheets change only once all four files
    // turned out complete.
    TBMP256 decoded[2];
    uint8_t index[2] = {0, 0};
    for (int s = 0; s < 2; ++s) {
        const int w = ChipWidth[s], h = ChipHeight[s];
        const FileBytes pixels = ReadPrefix(
            pixelFiles[s], size_t(TMap::ChipCount) * size_t(w) * size_t(h), FileRole::ChipFile);
        const FileBytes palette = ReadPrefix(paletteFiles[s], PaletteBytes, FileRole::PaletteFile);
        DecodePixels(pixels, w, h, decoded[s]);
        decoded[s].SetPalette(DecodePalette(palette));
        index[s] = decoded[s].GetPixel(0, 0);
        ComposeDerivedChips(decoded[s], w, h, index[s]);
    }
    for (int s = 0; s < 2; ++s) {
        sheets[s] = std::move(decoded[s]);
        transparent[s] = index[s];
    }
    return true;
}

std::string ChipFilePath(const std::string& chipDir, const std::string& stem, int size) {
    return WithSlash(chipDir) + stem + ChipFileSuffix[size];
}

std::string PaletteFilePath(const std::string& chipDir, const std::string& stem, int size) {
    return WithSlash(chipDir) + stem + PaletteFileSuffix[size];
}

TBMP256 ReadStoredChipSheet(const std::string& pixelPath, const std::string& palettePath,
                            int size) {
    if (size < 0 || size > 1) throw std::out_of_range("size index outside 0..1");
    const int w = ChipWidth[size], h = ChipHeight[size];
    const FileBytes pixels =
        ReadPrefix(pixelPath, size_t(TMap::ChipCount) * size_t(w) * size_t(h), FileRole::ChipFile);
    const FileBytes palette = ReadPrefix(palettePath, PaletteBytes, FileRole::PaletteFile);
    TBMP256 sheet;
    DecodePixels(pixels, w, h, sheet);
    sheet.SetPalette(DecodePalette(palette));
    return sheet;
}

Palette ReadChipPalette(const std::string& path) {
    return DecodePalette(ReadPrefix(path, PaletteBytes, FileRole::PaletteFile));
}

std::vector<uint8_t> EncodeChipPixels(const TBMP256& sheet) {
    const int w = sheet.Width(), q = w / 4, h = 3 * q;
    const int chips = sheet.Height() / h;
    std::vector<uint8_t> bytes(size_t(chips) * size_t(w) * size_t(h));
    size_t o = 0;
    for (int k = 0; k < chips; ++k)
        for (int band = 0; band < 3; ++band)
            for (int block = 0; block < 4; ++block)
                for (int y = 0; y < q; ++y) {
                    const uint8_t* row = sheet.Row(k * h + band * q + y) + block * q;
                    for (int x = 0; x < q; ++x) bytes[o++] = row[x];
                }
    return bytes;
}

std::vector<uint8_t> EncodeChipPalette(const Palette& palette) {
    std::vector<uint8_t> bytes(PaletteBytes);
    for (int n = 0; n < 256; ++n) {
        uint8_t* rec = bytes.data() + size_t((n + 112) % 256) * 4;
        rec[0] = palette[size_t(n)].Red;
        rec[1] = palette[size_t(n)].Green;
        rec[2] = palette[size_t(n)].Blue;
        rec[3] = palette[size_t(n)].Flags;
    }
    return bytes;
}

void WriteChipFilePair(const std::string& pixelPath, const std::vector<uint8_t>& pixels,
                       const std::string& palettePath, const std::vector<uint8_t>& palette) {
    TSaveFile first(pixelPath, FileRole::ChipFile);
    first.Write(pixels.data(), pixels.size());
    TSaveFile second(palettePath, FileRole::PaletteFile);
    second.Write(palette.data(), palette.size());
    // The old pixel file comes back when the palette file cannot replace its own.
    TSaveFile::CommitBoth(first, second);
}

} // namespace quarvel
