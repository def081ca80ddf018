// Helpers for the picture tests: random chip sheets and maps, and a plain pixel-by-pixel
// copy that the composed pictures are checked against.
#pragma once

#include "graphics/bmp256.h"
#include "graphics/chipsheet.h"
#include "map/mapclass.h"

#include <random>

namespace quarvel::test {

// Two chip sheets of random pixels drawn from few indices, so that the transparent index
// is common inside chips, and random palettes.
struct RandomSheets {
    TBMP256 Sheets[2];
    uint8_t Transparent[2] = {2, 0};

    explicit RandomSheets(std::mt19937& rng) {
        std::uniform_int_distribution<int> pixel(0, 5), byte(0, 255);
        for (int s = 0; s < 2; ++s) {
            Sheets[s].SetSize(ChipWidth[s], 168 * ChipHeight[s]);
            for (int y = 0; y < Sheets[s].Height(); ++y)
                for (int x = 0; x < Sheets[s].Width(); ++x)
                    Sheets[s].Row(y)[x] = uint8_t(pixel(rng) == 5 ? byte(rng) : pixel(rng));
            Palette pal;
            for (auto& e : pal) e = {uint8_t(byte(rng)), uint8_t(byte(rng)), uint8_t(byte(rng)), 0};
            Sheets[s].SetPalette(pal);
        }
    }
};

// Fills `map` with random chips at the given density; some bytes above 167 (no picture)
// appear as they can in loaded files.
inline void RandomMap(TMap& map, std::mt19937& rng, double density) {
    std::uniform_real_distribution<double> d(0, 1);
    std::uniform_int_distribution<int> chip(1, 167), odd(168, 255);
    for (auto& c : map.Cells) {
        const double r = d(rng);
        c = r < density ? uint8_t(chip(rng)) : r < density + 0.002 ? uint8_t(odd(rng)) : 0;
    }
}

// The copy rule pixel by pixel: columns outer, rows inner, clipped against the destination.
// Worked out in 64 bits, so that positions anywhere in the int range cannot overflow.
inline void PlainBlit(TBMP256& d, long long dx, long long dy, const TBMP256& src, int transparent,
                      long long sx, long long sy, long long w, long long h) {
    if (w == 0) w = src.Width();
    if (h == 0) h = src.Height();
    const long long c0 = std::max(-dx, 0LL), r0 = std::max(-dy, 0LL);
    const long long c1 = std::min(d.Width() - dx, w) - 1, r1 = std::min(d.Height() - dy, h) - 1;
    for (long long i = c0; i <= c1; ++i)
        for (long long j = r0; j <= r1; ++j) {
            const int v = src.GetPixel(int(sx + i), int(sy + j));
            if (v != transparent) d.SetPixel(int(dx + i), int(dy + j), uint8_t(v));
        }
}

// A chip of the sheet, or nothing for bytes without a picture.
inline void PlainChip(TBMP256& d, int px, int py, const RandomSheets& s, int zoom, int chip) {
    if (chip == 0 || chip > 167) return;
    PlainBlit(d, px, py, s.Sheets[zoom], s.Transparent[zoom], 0, chip * ChipHeight[zoom],
              ChipWidth[zoom], ChipHeight[zoom]);
}

inline bool SamePixels(const TBMP256& a, const TBMP256& b) {
    return a.Width() == b.Width() && a.Height() == b.Height() &&
           std::equal(a.Bits(), a.Bits() + size_t(a.Width()) * a.Height(), b.Bits());
}

// Whether the w x h rectangles at (x, y) of a and b hold the same pixels (clipped to a).
inline bool SameArea(const TBMP256& a, const TBMP256& b, int x, int y, int w, int h) {
    for (int j = std::max(y, 0); j < std::min(y + h, a.Height()); ++j)
        for (int i = std::max(x, 0); i < std::min(x + w, a.Width()); ++i)
            if (a.GetPixel(i, j) != b.GetPixel(i, j)) return false;
    return true;
}

} // namespace quarvel::test
