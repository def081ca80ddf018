// Tests of the demonstration map: the file quarvel-cli demo writes, and that the map is a
// finished one: every chip family on it, shaped, objects complete, nothing floating.
#include "content/demomap.h"
#include "map/mapclass.h"
#include "tests/testutil.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <set>
#include <string>

using namespace quarvel;
using namespace quarvel::test;

namespace {

class DemoMapFile : public ::testing::Test {
protected:
    void SetUp() override {
        const RunResult r = RunCli("demo '" + Dir.File("demo.map") + "'");
        ASSERT_EQ(r.Status, 0) << r.Err;
        ASSERT_TRUE(Map->LoadFromFile(Dir.File("demo.map")));
    }
    int Count(int first, int last) const {
        int n = 0;
        for (uint8_t c : Map->Cells) n += c >= first && c <= last;
        return n;
    }

    TempDir Dir;
    std::unique_ptr<TMap> Map = std::make_unique<TMap>();
};

TEST_F(DemoMapFile, IsAMapFileNamedDemoMap) {
    const auto bytes = ReadBytes(Dir.File("demo.map"));
    ASSERT_EQ(bytes.size(), 49200u);
    EXPECT_EQ(std::memcmp(bytes.data(), "Ver1.6+\0", 8), 0);
    EXPECT_EQ(Map->GetName(), "\x83\x66\x83\x82\x83\x7D\x83\x62\x83\x76"); // デモマップ
    EXPECT_EQ(Map->GetTerrain(), 0);
}

TEST_F(DemoMapFile, UsesEveryChipFamily) {
    const struct {
        const char* Family;
        int First, Last;
    } families[] = {
        {"covered ground", 1, 4},   {"open ground", 5, 16},    {"paving", 17, 24},
        {"fields", 25, 28},         {"villages", 29, 32},      {"broadleaf trees", 33, 35},
        {"conifers", 36, 38},       {"palisades", 40, 43},     {"railings", 44, 47},
        {"seal", 48, 49},           {"weak enemy", 50, 50},    {"medium enemy", 51, 51},
        {"strong enemy", 52, 52},   {"grass", 53, 53},         {"bridges", 58, 68},
        {"broken bridges", 69, 79}, {"landing stage", 80, 80}, {"stairs", 81, 82},
        {"river", 83, 110},         {"rock", 111, 111},        {"nests", 112, 115},
        {"entrances", 116, 119},    {"elevator", 120, 123},    {"crystal", 125, 125},
        {"money", 126, 126},        {"clock", 127, 127},       {"kings", 128, 131},
        {"tents", 132, 135},        {"gates", 136, 151},       {"walls", 152, 159},
        {"towers", 156, 159},       {"battlements", 160, 167},
    };
    for (const auto& f : families) EXPECT_GT(Count(f.First, f.Last), 0) << f.Family;
    // Two countries, each with its king, village, field, gate and walls.
    for (int country : {0, 1}) {
        EXPECT_EQ(Count(128 + country, 128 + country), 1) << country;
        EXPECT_GT(Count(29 + country, 29 + country), 0) << country;
        EXPECT_GT(Count(25 + country, 25 + country), 0) << country;
        EXPECT_GT(Count(152 + country, 152 + country), 0) << country;
    }
    EXPECT_GT(Count(136, 136) + Count(140, 140), 0);
    EXPECT_GT(Count(137, 137) + Count(141, 141), 0);
}

TEST_F(DemoMapFile, IsAlreadyShaped) {
    EXPECT_FALSE(Map->Shape());
    // The river shows banks on several sides and the sound bridge runs along x.
    std::set<int> rivers;
    for (uint8_t c : Map->Cells)
        if (c >= 83 && c <= 110) rivers.insert(c);
    EXPECT_GE(rivers.size(), 4u);
    EXPECT_GT(Count(59, 59), 0);
}

TEST_F(DemoMapFile, ObjectsAreCompleteAndNothingFloats) {
    int highest = 0;
    for (int z = 0; z < TMap::SizeZ; ++z) {
        for (int y = 0; y < TMap::SizeY; ++y) {
            for (int x = 0; x < TMap::SizeX; ++x) {
                const int c = Map->GetChip(x, y, z);
                if (c == 0) continue;
                highest = z;
                if (z > 0) {
                    EXPECT_NE(Map->GetChip(x, y, z - 1), 0) << x << "," << y << "," << z;
                }
                if (c == 35 || c == 38) {
                    EXPECT_EQ(Map->GetChip(x, y, z + 1), c - 1);
                    EXPECT_EQ(Map->GetChip(x, y, z + 2), c - 2);
                } else if (c >= 41 && c <= 49 && c % 2 == 1) {
                    EXPECT_EQ(Map->GetChip(x, y, z + 1), c - 1);
                } else if ((c >= 136 && c <= 143) || (c >= 152 && c <= 159)) {
                    EXPECT_EQ(Map->GetChip(x, y, z + 1), c + 8);
                }
            }
        }
    }
    EXPECT_LE(highest, 10); // the landscape sits low, in view of the whole-map picture
}

TEST(DemoMap, BuildsWithoutUndoHistoryAndCommandErrorsAreReported) {
    auto map = std::make_unique<TMap>();
    BuildDemoMap(*map);
    EXPECT_FALSE(map->Undo());
    EXPECT_TRUE(map->FileName.empty());

    EXPECT_EQ(RunCli("demo").Status, 2);
    TempDir dir;
    const RunResult r = RunCli("demo '" + dir.File("missing/demo.map") + "'");
    EXPECT_EQ(r.Status, 1);
    EXPECT_FALSE(r.Err.empty());
}

} // namespace
