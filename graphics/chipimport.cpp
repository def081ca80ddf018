// Chip sheets from edited pictures: size check, indexed pictures as they stand, true colour
// matched against a palette.
#include "graphics/chipimport.h"

#include "graphics/chipsheet.h"
#include "map/chipclasses.h"
#include "map/maperror.h"

#include <algorithm>
#include <cstdio>
#include <stdexcept>

namespace quarvel {

namespace {

uint32_t Rgb(uint8_t r, uint8_t g, uint8_t b) {
    return uint32_t(r) << 16 | uint32_t(g) << 8 | b;
}

uint32_t Rgb(const PaletteEntry& e) {
    return Rgb(e.Red, e.Green, e.Blue);
}

std::string ColourText(uint32_t rgb) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "#%06X", unsigned(rgb));
    return buf;
}

std::string PixelText(const std::string& imageName, int x, int y, int chipHeight) {
    return "pixel (" + std::to_string(x) + ", " + std::to_string(y) + ") of " + imageName +
           " (chip " + std::to_string(y / chipHeight) + ")";
}

TBMP256 FromIndexed(const SheetImage& image, const SheetReference& ref) {
    Palette pal{};
    if (ref.Colours) pal = *ref.Colours;
    for (size_t n = 0; n < 256; ++n) {
        PaletteEntry& e = pal[n];
        if (n < image.Colours.size())
            e.Red = image.Colours[n].Red, e.Green = image.Colours[n].Green,
            e.Blue = image.Colours[n].Blue;
        else if (!ref.Colours)
            e = PaletteEntry{};
        if (image.Flags.size() == 256) e.Flags = image.Flags[n];
    }
    TBMP256 sheet;
    sheet.SetSize(image.Width, image.Height);
    std::copy(image.Pixels.begin(), image.Pixels.end(), sheet.Bits());
    sheet.SetPalette(pal);
    return sheet;
}

// Counts the colours of an RGBA picture (all fully transparent pixels as one) up to 257.
int CountColours(const SheetImage& image) {
    std::vector<uint64_t> seen(size_t(1) << 18, 0); // one bit per RGB colour
    int count = 0;
    bool transparent = false;
    const uint8_t* p = image.Pixels.data();
    for (size_t i = 0, n = size_t(image.Width) * size_t(image.Height); i < n; ++i, p += 4) {
        if (p[3] == 0) {
            count += !transparent;
            transparent = true;
        } else {
            const uint32_t c = Rgb(p[0], p[1], p[2]) | (p[3] == 255 ? 0u : 1u << 24);
            if (c >> 24) continue; // partly transparent: named by the pixel check
            uint64_t& word = seen[c >> 6];
            const uint64_t bit = uint64_t(1) << (c & 63);
            count += (word & bit) == 0;
            word |= bit;
        }
        if (count > 256) break;
    }
    return count;
}

TBMP256 FromTrueColour(const SheetImage& image, int size, const std::string& imageName,
                       const SheetReference& ref) {
    if (!ref.Colours)
        throw QuarvelError(imageName +
                           " is a true-colour picture: its colours need a palette file to "
                           "come from, and there is none");
    if (CountColours(image) > 256)
        throw QuarvelError(imageName + " has more than 256 colours; a chip sheet has 256");
    const Palette& pal = *ref.Colours;
    const TBMP256* stored =
        ref.Stored && ref.Stored->Width() == image.Width && ref.Stored->Height() == image.Height
            ? ref.Stored
            : nullptr;
    const uint8_t transparent = stored ? stored->GetPixel(0, 0) : 0;

    // The lowest index of each palette colour, the transparent index last.
    std::vector<std::pair<uint32_t, int>> byColour;
    for (int n = 0; n < 256; ++n)
        byColour.push_back({Rgb(pal[size_t(n)]), n == transparent ? 256 + n : n});
    std::sort(byColour.begin(), byColour.end());

    TBMP256 sheet;
    sheet.SetSize(image.Width, image.Height);
    sheet.SetPalette(pal);
    const uint8_t* p = image.Pixels.data();
    for (int y = 0; y < image.Height; ++y) {
        uint8_t* row = sheet.Row(y);
        for (int x = 0; x < image.Width; ++x, p += 4) {
            if (p[3] == 0) {
                row[x] = transparent;
                continue;
            }
            if (p[3] != 255)
                throw QuarvelError(PixelText(imageName, x, y, ChipHeight[size]) +
                                   " is partly transparent (alpha " + std::to_string(p[3]) +
                                   "); chip pixels are opaque or fully transparent");
            const uint32_t c = Rgb(p[0], p[1], p[2]);
            if (stored) {
                const uint8_t old = stored->Row(y)[x];
                if (Rgb(pal[old]) == c) { // unchanged (also a flattened transparent pixel)
                    row[x] = old;
                    continue;
                }
            }
            const auto it =
                std::lower_bound(byColour.begin(), byColour.end(), std::pair<uint32_t, int>{c, -1});
            if (it == byColour.end() || it->first != c)
                throw QuarvelError(PixelText(imageName, x, y, ChipHeight[size]) +
                                   " has the colour " + ColourText(c) +
                                   ", which is not in the palette of " + ref.ColoursName);
            row[x] = uint8_t(it->second & 255);
        }
    }
    return sheet;
}

} // namespace

void CheckSheetImageSize(const SheetImage& image, int size, const std::string& imageName) {
    if (size < 0 || size > 1) throw std::out_of_range("size index outside 0..1");
    const int w = ChipWidth[size], h = TMap::ChipCount * ChipHeight[size];
    if (image.Width != w || image.Height != h)
        throw QuarvelError(imageName + " is " + std::to_string(image.Width) + " x " +
                           std::to_string(image.Height) + " pixels; a " +
                           (size == 0 ? "large" : "small") + " chip sheet is " + std::to_string(w) +
                           " x " + std::to_string(h));
}

TBMP256 SheetFromImage(const SheetImage& image, int size, const std::string& imageName,
                       const SheetReference& ref) {
    CheckSheetImageSize(image, size, imageName);
    const int w = ChipWidth[size], h = TMap::ChipCount * ChipHeight[size];
    const size_t expected = size_t(w) * size_t(h) * (image.Indexed ? 1 : 4);
    if (image.Pixels.size() != expected)
        throw QuarvelError(imageName + ": the picture's pixels are incomplete");
    return image.Indexed ? FromIndexed(image, ref) : FromTrueColour(image, size, imageName, ref);
}

} // namespace quarvel
