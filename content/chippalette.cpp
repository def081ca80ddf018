// The colour layout of the generated chip set and the palettes of the four terrain sets.
#include "content/chippalette.h"

#include <algorithm>
#include <array>
#include <stdexcept>

namespace quarvel {

namespace {

constexpr int SingleCount = int(Single::Count);
constexpr int Allocated = RampCount * RampShades + SingleCount;

constexpr bool IsReserved(int index) {
    return index == ChipTransparentIndex || index == GridLineIndex || index == CursorLineIndex ||
           index == SelectLineIndex || index == GridLightIndex;
}

// Ramp shades first, then the single colours, in index order from 1 on, stepping over the
// reserved indices.
struct Layout {
    std::array<uint8_t, Allocated> Index{};
    constexpr Layout() {
        int next = 1;
        for (int i = 0; i < Allocated; ++i) {
            while (IsReserved(next)) ++next;
            Index[size_t(i)] = uint8_t(next++);
        }
    }
};
constexpr Layout TheLayout;
static_assert(Allocated + 5 <= 256, "the ramps do not fit the palette");

struct Rgb {
    int R, G, B;
};
// Dark, middle and light anchor of a ramp; the shades run through them.
struct Anchors {
    Rgb Dark, Mid, Light;
};

Rgb Mix(Rgb a, Rgb b, double t) {
    auto c = [t](int x, int y) { return int(x + (y - x) * t + 0.5); };
    return {c(a.R, b.R), c(a.G, b.G), c(a.B, b.B)};
}

// Colours that are the same in every terrain set.
Anchors CommonRamp(Ramp r) {
    switch (r) {
    case Ramp::Grey:
        return {{14, 14, 18}, {128, 128, 128}, {250, 250, 245}};
    case Ramp::Wood:
        return {{45, 25, 10}, {135, 85, 42}, {230, 185, 125}};
    case Ramp::Country0:
        return {{8, 48, 14}, {30, 165, 55}, {175, 255, 170}};
    case Ramp::Country1:
        return {{64, 6, 8}, {205, 32, 30}, {255, 175, 160}};
    case Ramp::Country2:
        return {{78, 78, 92}, {196, 196, 206}, {255, 255, 255}};
    case Ramp::Country3:
        return {{10, 16, 76}, {42, 76, 215}, {175, 205, 255}};
    case Ramp::Gold:
        return {{72, 40, 0}, {222, 170, 30}, {255, 250, 200}};
    case Ramp::Plaster:
        return {{82, 66, 52}, {205, 188, 160}, {255, 251, 238}};
    case Ramp::Metal:
        return {{24, 28, 36}, {104, 114, 126}, {226, 234, 244}};
    case Ramp::Crystal:
        return {{0, 50, 90}, {40, 190, 230}, {235, 255, 255}};
    case Ramp::Magic:
        return {{56, 0, 70}, {190, 50, 205}, {255, 205, 255}};
    case Ramp::Slime:
        return {{10, 60, 90}, {60, 170, 220}, {210, 250, 255}};
    case Ramp::Beast:
        return {{50, 10, 40}, {150, 60, 150}, {240, 185, 240}};
    default:
        return {{0, 0, 0}, {128, 128, 128}, {255, 255, 255}};
    }
}

// The ramps that give each terrain set its look.
Anchors TerrainRamp(Ramp r, int set) {
    static const Anchors GroundA[4] = {{{20, 62, 20}, {72, 152, 52}, {192, 232, 122}},
                                       {{112, 80, 30}, {216, 182, 102}, {255, 242, 192}},
                                       {{92, 104, 134}, {204, 214, 234}, {255, 255, 255}},
                                       {{26, 20, 26}, {78, 62, 66}, {156, 124, 112}}};
    static const Anchors GroundB[4] = {{{62, 40, 20}, {152, 112, 62}, {232, 202, 152}},
                                       {{92, 40, 20}, {192, 102, 56}, {250, 182, 122}},
                                       {{40, 72, 112}, {122, 172, 212}, {226, 246, 255}},
                                       {{42, 36, 36}, {112, 102, 96}, {202, 192, 182}}};
    static const Anchors GroundC[4] = {{{42, 72, 16}, {134, 168, 52}, {228, 236, 142}},
                                       {{102, 86, 42}, {192, 172, 112}, {246, 236, 202}},
                                       {{72, 92, 92}, {172, 192, 186}, {242, 252, 246}},
                                       {{52, 10, 6}, {156, 44, 16}, {255, 156, 62}}};
    static const Anchors Earth[4] = {{{40, 25, 15}, {120, 80, 45}, {200, 160, 110}},
                                     {{82, 50, 25}, {172, 122, 72}, {236, 202, 152}},
                                     {{36, 36, 52}, {102, 98, 112}, {192, 188, 202}},
                                     {{16, 10, 10}, {62, 42, 36}, {132, 92, 72}}};
    static const Anchors Stone[4] = {{{40, 40, 50}, {122, 122, 128}, {222, 222, 216}},
                                     {{72, 56, 40}, {172, 150, 120}, {242, 232, 202}},
                                     {{52, 56, 72}, {132, 142, 162}, {232, 237, 247}},
                                     {{26, 22, 28}, {92, 82, 86}, {182, 172, 166}}};
    static const Anchors Water[4] = {{{10, 30, 82}, {40, 102, 192}, {172, 222, 255}},
                                     {{10, 60, 72}, {30, 152, 162}, {162, 242, 232}},
                                     {{20, 50, 92}, {92, 152, 202}, {212, 242, 255}},
                                     {{92, 10, 0}, {232, 82, 10}, {255, 232, 122}}};
    static const Anchors Foliage[4] = {{{10, 46, 16}, {42, 122, 42}, {152, 212, 102}},
                                       {{30, 52, 16}, {102, 132, 42}, {202, 212, 122}},
                                       {{16, 42, 42}, {52, 102, 92}, {232, 246, 246}},
                                       {{22, 6, 6}, {82, 32, 22}, {222, 92, 32}}};
    switch (r) {
    case Ramp::GroundA:
        return GroundA[set];
    case Ramp::GroundB:
        return GroundB[set];
    case Ramp::GroundC:
        return GroundC[set];
    case Ramp::Earth:
        return Earth[set];
    case Ramp::Stone:
        return Stone[set];
    case Ramp::Water:
        return Water[set];
    case Ramp::Foliage:
        return Foliage[set];
    default:
        return CommonRamp(r);
    }
}

Rgb SingleColour(Single s) {
    switch (s) {
    case Single::Black:
        return {18, 14, 16};
    case Single::SkinDark:
        return {150, 90, 60};
    case Single::Skin:
        return {232, 178, 136};
    case Single::SkinLight:
        return {255, 222, 190};
    case Single::FlowerRed:
        return {236, 40, 70};
    case Single::FlowerYellow:
        return {255, 220, 40};
    case Single::FlowerWhite:
        return {246, 246, 236};
    case Single::FlowerBlue:
        return {90, 120, 255};
    case Single::EyeWhite:
        return {244, 244, 232};
    case Single::Ember:
        return {255, 130, 20};
    case Single::Hole:
        return {28, 18, 14};
    default:
        return {0, 0, 0};
    }
}

} // namespace

uint8_t RampIndex(Ramp ramp, int shade) {
    shade = std::clamp(shade, 0, RampShades - 1);
    return TheLayout.Index[size_t(int(ramp) * RampShades + shade)];
}

uint8_t SingleIndex(Single colour) {
    return TheLayout.Index[size_t(RampCount * RampShades + int(colour))];
}

Ramp CountryRamp(int country) {
    return Ramp(int(Ramp::Country0) + (country & 3));
}

Palette DefaultChipPalette(int terrainSet) {
    if (terrainSet < 0 || terrainSet > 3) throw std::out_of_range("terrain set outside 0..3");
    Palette pal{};
    auto put = [&pal](int index, Rgb c) {
        pal[size_t(index)] = {uint8_t(c.R), uint8_t(c.G), uint8_t(c.B), 0};
    };
    // Unused entries stay black.
    // The transparent index is never drawn in the views; where a chip is copied whole (the info
    // panel) it shows as the panel's own light grey.
    put(ChipTransparentIndex, {212, 208, 200});
    put(GridLineIndex, {64, 64, 64});
    put(CursorLineIndex, {255, 0, 0});
    put(SelectLineIndex, {255, 255, 0});
    put(GridLightIndex, {255, 255, 255});
    for (int r = 0; r < RampCount; ++r) {
        const Anchors a = TerrainRamp(Ramp(r), terrainSet);
        for (int s = 0; s < RampShades; ++s) {
            const double t = double(s) / (RampShades - 1);
            const Rgb c = t < 0.5 ? Mix(a.Dark, a.Mid, t * 2) : Mix(a.Mid, a.Light, t * 2 - 1);
            put(RampIndex(Ramp(r), s), c);
        }
    }
    for (int s = 0; s < SingleCount; ++s) put(SingleIndex(Single(s)), SingleColour(Single(s)));
    return pal;
}

} // namespace quarvel
