// TBMP256: an 8-bit palette-indexed picture with row access and a clipped, transparent Blit.
#pragma once

#include "graphics/hugepages.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace quarvel {

struct PaletteEntry {
    uint8_t Red = 0, Green = 0, Blue = 0, Flags = 0;
    bool operator==(const PaletteEntry& o) const {
        return Red == o.Red && Green == o.Green && Blue == o.Blue && Flags == o.Flags;
    }
};
using Palette = std::array<PaletteEntry, 256>;

// A colour as the platform keeps it: 0x00BBGGRR (red in the low byte).
using TColor = uint32_t;
constexpr TColor RGBColor(uint8_t r, uint8_t g, uint8_t b) {
    return TColor(r) | (TColor(g) << 8) | (TColor(b) << 16);
}

// The palette index whose colour lies nearest to `color` (squared RGB distance, lowest
// index on a tie): how a fill with a true colour lands in an 8-bit picture.
uint8_t NearestIndex(const Palette& palette, TColor color);

class TBMP256 {
public:
    TBMP256() = default;

    void SetSize(int width, int height); // content becomes index 0
    void SetPalette(const Palette& palette) { Pal = palette; }
    const Palette& GetPalette() const { return Pal; }

    int Width() const { return W; }
    int Height() const { return H; }

    // Checked access: a row outside 0..height-1 or a column outside 0..width-1 throws
    // std::out_of_range.
    uint8_t GetPixel(int x, int y) const;
    void SetPixel(int x, int y, uint8_t value);

    // Unchecked row access for inner loops.
    uint8_t* Row(int y) { return Pixels.data() + size_t(y) * size_t(W); }
    const uint8_t* Row(int y) const { return Pixels.data() + size_t(y) * size_t(W); }
    uint8_t* Bits() { return Pixels.data(); }
    const uint8_t* Bits() const { return Pixels.data(); }

    void Fill(uint8_t index);
    // Fills with the palette entry nearest to `color`.
    void FillColor(TColor color) { Fill(NearestIndex(Pal, color)); }

    // Copies the W x H rectangle at (SrcX, SrcY) of Src to (DX, DY), clipped against this
    // picture, skipping source pixels equal to Transparent (any value outside 0..255 copies
    // everything). W or H of 0 stands for the whole source width or height.
    void Blit(int DX, int DY, const TBMP256& Src, int Transparent, int SrcX, int SrcY, int W,
              int H);

private:
    int W = 0;
    int H = 0;
    std::vector<uint8_t, LargeAllocator<uint8_t>> Pixels;
    Palette Pal{};
};

} // namespace quarvel
