// Tests of the chip colour layout: every ramp shade and single colour has its own index, and
// none takes the transparent index or an overlay line colour.
#include "content/chippalette.h"

#include <gtest/gtest.h>

#include <set>
#include <stdexcept>

using namespace quarvel;

TEST(ChipPalette, EveryColourHasItsOwnIndexOutsideTheReservedOnes) {
    std::set<int> used;
    for (int r = 0; r < RampCount; ++r)
        for (int s = 0; s < RampShades; ++s) used.insert(RampIndex(Ramp(r), s));
    for (int c = 0; c < int(Single::Count); ++c) used.insert(SingleIndex(Single(c)));
    EXPECT_EQ(used.size(), size_t(RampCount * RampShades + int(Single::Count)));
    for (int reserved : {0, 164, 249, 251, 255}) EXPECT_EQ(used.count(reserved), 0u) << reserved;
    // Shades outside the ramp stay at its ends.
    EXPECT_EQ(RampIndex(Ramp::Water, -3), RampIndex(Ramp::Water, 0));
    EXPECT_EQ(RampIndex(Ramp::Water, 40), RampIndex(Ramp::Water, RampShades - 1));
}

TEST(ChipPalette, RampsRunFromDarkToLightAndCountriesDiffer) {
    for (int set = 0; set < 4; ++set) {
        const Palette pal = DefaultChipPalette(set);
        for (int r = 0; r < RampCount; ++r) {
            auto light = [&](int s) {
                const PaletteEntry& e = pal[RampIndex(Ramp(r), s)];
                return e.Red + e.Green + e.Blue;
            };
            for (int s = 1; s < RampShades; ++s) EXPECT_GE(light(s), light(s - 1)) << r;
        }
        std::set<std::tuple<int, int, int>> countries;
        for (int c = 0; c < 4; ++c) {
            const PaletteEntry& e = pal[RampIndex(CountryRamp(c), 6)];
            countries.insert({e.Red, e.Green, e.Blue});
        }
        EXPECT_EQ(countries.size(), 4u);
    }
    EXPECT_THROW(DefaultChipPalette(4), std::out_of_range);
    EXPECT_THROW(DefaultChipPalette(-1), std::out_of_range);
}
