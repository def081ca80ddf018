// The colour layout of the generated chip set: ramps of shades, a few single colours and the
// line colours the editor's overlays use; one palette per terrain set on the same layout.
#pragma once

#include "graphics/bmp256.h"

#include <cstdint>

namespace quarvel {

// Ramps of RampShades shades each, darkest first. Chips are drawn in ramp and shade terms;
// the terrain set only changes the colours behind them.
enum class Ramp : uint8_t {
    Grey,
    GroundA, // open ground, first style (grass, sand, snow, basalt)
    GroundB, // open ground, second style (path, sandstone, ice, ash)
    GroundC, // open ground, third style (meadow, dune, frost, glowing crust)
    Earth,   // the sides of ground and covered ground
    Stone,   // masonry, paving, rock
    Water,   // rivers (lava in the lava set)
    Wood,
    Foliage,
    Country0, // green
    Country1, // red
    Country2, // white
    Country3, // blue
    Gold,
    Plaster,
    Metal,
    Crystal,
    Magic,
    Slime,
    Beast,
    Count
};
constexpr int RampShades = 12;
constexpr int RampCount = int(Ramp::Count);

// Single colours outside the ramps.
enum class Single : uint8_t {
    Black,
    SkinDark,
    Skin,
    SkinLight,
    FlowerRed,
    FlowerYellow,
    FlowerWhite,
    FlowerBlue,
    EyeWhite,
    Ember,
    Hole, // the dark inside of openings
    Count
};

// Fixed indices: the transparent background and the overlay line colours.
constexpr uint8_t ChipTransparentIndex = 0;
constexpr uint8_t GridLineIndex = 164;   // dark grey
constexpr uint8_t CursorLineIndex = 249; // red
constexpr uint8_t SelectLineIndex = 251; // yellow
constexpr uint8_t GridLightIndex = 255;  // white

// The palette index of shade `shade` (clamped to 0..RampShades-1) of a ramp.
uint8_t RampIndex(Ramp ramp, int shade);
uint8_t SingleIndex(Single colour);
// The country ramp of country 0..3.
Ramp CountryRamp(int country);

// The palette of terrain set 0..3 (flags 0 everywhere). Throws std::out_of_range for
// another set.
Palette DefaultChipPalette(int terrainSet);

} // namespace quarvel
