// Tests of the map's text forms: the dump and the differences of two maps, against golden
// texts of small made-up maps.
#include "map/mapdiff.h"

#include "tests/maptestutil.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace quarvel;
using quarvel::test::NewMap;
using quarvel::test::Put;

namespace {

// The name bytes as they stand; the command-line tool passes its code page 932 codec.
std::string Same(const std::string& s) {
    return s;
}

void SetTerrainCode(TMap& m, uint32_t code) {
    for (int i = 0; i < 4; ++i) m.Header[TMap::TerrainOffset + i] = uint8_t(code >> (8 * i));
}

TEST(MapDump, HeaderThenCellsLevelByLevelRowByRow) {
    auto m = NewMap();
    m->SetName("Castle");
    m->SetTerrain(3);
    Put(*m, 31, 31, 47, 200); // no chip: "?"
    Put(*m, 1, 0, 1, 33);     // written raw: the dump shows cells as they are
    Put(*m, 0, 1, 0, 9);
    Put(*m, 5, 0, 0, 84); // an unnamed river number: "-"
    Put(*m, 31, 0, 0, 167);
    Put(*m, 0, 0, 1, 144);
    EXPECT_EQ(DumpMap(*m, Same), "Castle\n"
                                 "3\n"
                                 "Ver1.6+\n"
                                 "5 0 0 84 -\n"
                                 "31 0 0 167 -\n"
                                 "0 1 0 9 さら地9\n"
                                 "0 0 1 144 城門-上1\n"
                                 "1 0 1 33 木-上\n"
                                 "31 31 47 200 ?\n");

    m->Clear();
    m->SetName("Empty");
    SetTerrainCode(*m, 25); // the terrain set is the code divided by 10
    EXPECT_EQ(DumpMap(*m, Same), "Empty\n2\nVer1.6+\n");
    // The converter sees the name bytes; whatever it gives is shown.
    EXPECT_EQ(DumpMap(*m, [](const std::string&) { return std::string("N"); }), "N\n2\nVer1.6+\n");
}

TEST(MapDump, NameStaysOneLine) {
    EXPECT_EQ(NameLine("a\nb\rc\x7F"
                       "d\te",
                       Same),
              "a\\x0Ab\\x0Dc\\x7Fd\\x09e");
    EXPECT_EQ(NameLine("", Same), "");
    // A 32-byte name without its zero byte ends at the field's end.
    auto m = NewMap();
    std::memset(m->Header + TMap::NameOffset, 'x', TMap::NameSize);
    EXPECT_EQ(DumpMap(*m, Same).substr(0, 33), std::string(32, 'x') + "\n");
}

TEST(MapDump, ChipLabels) {
    EXPECT_STREQ(ChipLabel(0), "空白");
    EXPECT_STREQ(ChipLabel(35), "木-下");
    EXPECT_STREQ(ChipLabel(163), "城壁-上4");
    EXPECT_STREQ(ChipLabel(167), "-");
    EXPECT_STREQ(ChipLabel(168), "?");
    EXPECT_STREQ(ChipLabel(255), "?");
}

TEST(MapDiff, NameTerrainThenCellsInDumpOrder) {
    auto a = NewMap(), b = NewMap();
    EXPECT_EQ(DiffMaps(*a, *b, Same), "");
    a->SetName("One");
    b->SetName("One");
    EXPECT_EQ(DiffMaps(*a, *b, Same), "");
    b->SetName("Two\nLines");
    b->SetTerrain(1);
    Put(*a, 4, 0, 2, 35);
    Put(*b, 4, 0, 2, 38);
    Put(*b, 0, 3, 0, 200);
    Put(*a, 31, 31, 47, 1);
    Put(*b, 7, 7, 7, 0); // unchanged: 0 on both sides
    EXPECT_EQ(DiffMaps(*a, *b, Same), "name: One -> Two\\x0ALines\n"
                                      "terrain: 0 -> 1\n"
                                      "0 3 0 0 200\n"
                                      "4 0 2 35 38\n"
                                      "31 31 47 1 0\n");
    EXPECT_EQ(DiffMaps(*b, *a, Same), "name: Two\\x0ALines -> One\n"
                                      "terrain: 1 -> 0\n"
                                      "0 3 0 200 0\n"
                                      "4 0 2 38 35\n"
                                      "31 31 47 0 1\n");
}

TEST(MapDiff, OnlyWhatTheDumpShows) {
    auto a = NewMap(), b = NewMap();
    SetTerrainCode(*a, 20);
    SetTerrainCode(*b, 29);                 // both terrain set 2
    b->Header[8] = 7;                       // the reserved word
    b->Header[TMap::NameOffset + 20] = 'z'; // after the name's zero byte
    EXPECT_EQ(DiffMaps(*a, *b, Same), "");
    EXPECT_EQ(DumpMap(*a, Same), DumpMap(*b, Same));
}

} // namespace
