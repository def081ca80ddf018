// Tests of the map checker: each kind of fault in maps made to have it, whole objects as
// the map's own writes leave them, and the order and text of the findings.
#include "map/mapcheck.h"

#include "map/chipclasses.h"
#include "tests/maptestutil.h"

#include <gtest/gtest.h>

using namespace quarvel;
using quarvel::test::CellsOf;
using quarvel::test::NewMap;
using quarvel::test::Put;

namespace {

std::vector<std::string> Texts(const TMap& m) {
    std::vector<std::string> out;
    for (const MapFinding& f : CheckMap(m)) out.push_back(FindingText(f));
    return out;
}

using Lines = std::vector<std::string>;

TEST(MapCheck, EmptyMapIsClean) {
    EXPECT_TRUE(CheckMap(*NewMap()).empty());
}

TEST(MapCheck, BytesThatAreNoChip) {
    auto m = NewMap();
    Put(*m, 3, 4, 5, 200);
    Put(*m, 0, 0, 0, 168);
    Put(*m, 31, 31, 47, 255);
    Put(*m, 1, 1, 1, 167 - 8); // a whole wall: 159 below 167
    Put(*m, 1, 1, 2, 167);
    EXPECT_EQ(Texts(*m), (Lines{"0 0 0: chip 168 does not exist (chips are 0..167)",
                                "3 4 5: chip 200 does not exist (chips are 0..167)",
                                "31 31 47: chip 255 does not exist (chips are 0..167)"}));
    const auto f = CheckMap(*m);
    EXPECT_EQ(f[1].Kind, FindingKind::NoChip);
    EXPECT_EQ(f[1].Chip, 200);
}

// Every part of every multi-level object, written by the map itself on a level where all its
// partner levels exist, makes a clean map; taking away any one other level of it breaks it.
TEST(MapCheck, ObjectsAsTheMapWritesThemAreWhole) {
    int parts = 0;
    for (int chip = 1; chip < TMap::ChipCount; ++chip) {
        PartnerCell partners[2];
        const int count = PartnersOf(uint8_t(chip), 20, partners);
        if (count == 0) continue;
        ++parts;
        SCOPED_TRACE(chip);
        auto m = NewMap();
        m->SetChip(7, 9, 20, uint8_t(chip));
        EXPECT_TRUE(CheckMap(*m).empty()) << Texts(*m)[0];
        for (int k = 0; k < count; ++k) {
            auto broken = std::make_unique<TMap>(*m);
            Put(*broken, 7, 9, partners[k].Z, 0);
            const auto f = CheckMap(*broken);
            ASSERT_FALSE(f.empty());
            EXPECT_EQ(f[0].Kind, FindingKind::BrokenObject);
            // The written part itself is among the cells reported.
            bool own = false;
            for (const MapFinding& g : f) own |= g.Z == 20 && g.Chip == chip;
            EXPECT_TRUE(own);
        }
    }
    EXPECT_EQ(parts, 6 + 10 + 32);
}

TEST(MapCheck, BrokenObjectsNameTheirMissingPartners) {
    auto m = NewMap();
    m->SetChip(5, 5, 20, 35); // a tree: 35, 34, 33 on levels 20..22
    Put(*m, 5, 5, 22, 0);     // its top is gone
    Put(*m, 2, 0, 3, 41);     // a fence lower half with a seal's upper half on it
    Put(*m, 2, 0, 4, 48);
    Put(*m, 0, 9, 47, 137); // a gate lower half on the top level: no level above
    Put(*m, 0, 9, 0, 33);   // a tree top on level 0: its lower parts would lie below the map
    EXPECT_EQ(Texts(*m),
              (Lines{"0 9 0: 33 木-上 is not whole: level -1 for 34 木-中 lies outside the map; "
                     "level -2 for 35 木-下 lies outside the map",
                     "2 0 3: 41 柵-下 is not whole: level 4 holds 48 封印-上 instead of 40 柵-上",
                     "2 0 4: 48 封印-上 is not whole: level 3 holds 41 柵-下 instead of 49 封印-下",
                     "5 5 20: 35 木-下 is not whole: level 22 holds 0 空白 instead of 33 木-上",
                     "5 5 21: 34 木-中 is not whole: level 22 holds 0 空白 instead of 33 木-上",
                     "0 9 47: 137 城門-下2 is not whole: level 48 for 145 城門-上2 lies outside "
                     "the map"}));
}

TEST(MapCheck, CellsThatShapingWouldChange) {
    auto m = NewMap();
    Put(*m, 3, 3, 0, 9);   // bare ground alone: 12
    Put(*m, 8, 8, 2, 12);  // already right
    Put(*m, 10, 1, 0, 58); // a bridge between two bridges along x: 59, as they are
    Put(*m, 9, 1, 0, 59);
    Put(*m, 11, 1, 0, 59);
    Put(*m, 20, 20, 5, 85); // an unnamed river number: 83
    Put(*m, 0, 0, 9, 111);  // rock: never shaped
    const std::vector<uint8_t> before = CellsOf(*m);
    const auto f = CheckMap(*m);
    EXPECT_EQ(CellsOf(*m), before); // the check shapes a copy
    EXPECT_EQ(Texts(*m), (Lines{"10 1 0: map shaping would change 58 橋1 to 59 橋2",
                                "3 3 0: map shaping would change 9 さら地9 to 12 さら地12",
                                "20 20 5: map shaping would change 85 - to 83 川1"}));
    ASSERT_EQ(f.size(), 3u);
    EXPECT_EQ(f[1].Kind, FindingKind::ShapeWouldFix);
    EXPECT_EQ(f[1].ShapedChip, 12);

    // After shaping, nothing is left to report.
    m->Shape();
    EXPECT_TRUE(CheckMap(*m).empty());
}

TEST(MapCheck, ShapingJudgedWithTheWholeMap) {
    // A river chip takes its variant from banks on the level above: the same river cell is
    // right or wrong depending on its neighbours.
    auto m = NewMap();
    Put(*m, 4, 4, 0, 103); // 川6: bank at x-1 only
    Put(*m, 3, 4, 1, 111);
    EXPECT_TRUE(CheckMap(*m).empty());
    Put(*m, 4, 3, 1, 111); // now both sides: 川4
    EXPECT_EQ(Texts(*m), Lines{"4 4 0: map shaping would change 103 川6 to 95 川4"});
}

} // namespace
