// Tests of the chip classes: the constant sets, the level rule table and the names.
#include "map/chipclasses.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace quarvel;

namespace {

bool In(int c, std::initializer_list<std::pair<int, int>> ranges) {
    for (auto [a, b] : ranges)
        if (c >= a && c <= b) return true;
    return false;
}

void ExpectSet(const ChipSet& set, std::initializer_list<std::pair<int, int>> ranges,
               const char* name) {
    for (int c = 0; c < 256; ++c)
        EXPECT_EQ(set.Contains(uint8_t(c)), In(c, ranges)) << name << " " << c;
}

TEST(ChipSets, Members) {
    ExpectSet(GroundChips, {{1, 24}, {112, 121}}, "Ground");
    ExpectSet(BridgeChips, {{58, 82}}, "Bridge");
    ExpectSet(RiverChips, {{83, 110}}, "River");
    ExpectSet(SolidChips, {{1, 24}, {83, 110}, {112, 121}}, "Solid");
    ExpectSet(BridgeJoinChips, {{1, 24}, {58, 82}, {112, 121}}, "BridgeJoin");
    ExpectSet(BankChips, {{1, 24}, {83, 121}}, "Bank");
    ExpectSet(CoverChips, {{1, 24}, {29, 32}, {83, 119}, {128, 143}, {152, 159}}, "Cover");
}

TEST(ChipSets, NotedExclusions) {
    EXPECT_FALSE(SolidChips.Contains(111)); // rock is a bank, not solid ground
    EXPECT_TRUE(BankChips.Contains(111));
    for (int c : {25, 28, 33, 50, 53, 58, 81, 120, 123, 125, 144, 151, 160, 167})
        EXPECT_FALSE(CoverChips.Contains(uint8_t(c))) << c;
    for (int c = 168; c < 256; ++c) {
        const ChipSet* sets[] = {&GroundChips,     &BridgeChips, &RiverChips, &SolidChips,
                                 &BridgeJoinChips, &BankChips,   &CoverChips};
        for (const ChipSet* s : sets) EXPECT_FALSE(s->Contains(uint8_t(c))) << c;
    }
}

// The level rule written from its reason: a chip is refused where a partner level
// of the object would leave the map, and fields are refused on level 0.
int ReferenceWarning(int z, int c) {
    int below = 0, above = 0; // how far the partner cells reach down and up
    if (c == 33 || c == 36) below = 2;
    if (c == 34 || c == 37) below = above = 1;
    if (c == 35 || c == 38) above = 2;
    if (c >= 40 && c <= 49) (c % 2 ? above : below) = 1;
    if ((c >= 136 && c <= 143) || (c >= 152 && c <= 159)) above = 1;
    if ((c >= 144 && c <= 151) || (c >= 160 && c <= 167)) below = 1;
    if (z - below < 0 || (z == 0 && c >= 25 && c <= 28)) return 1;
    if (z + above > 47) return 2;
    return 0;
}

TEST(LevelRule, MatchesThePartnerReach) {
    for (int z = 0; z < 48; ++z)
        for (int c = 0; c < 256; ++c)
            EXPECT_EQ(LevelRuleWarning(z, uint8_t(c)), ReferenceWarning(z, c)) << z << " " << c;
}

TEST(LevelRule, ChipsRefusedOnTheLowestAndHighestLevels) {
    std::vector<int> level0, level1, level46, level47;
    for (int c = 0; c < 256; ++c) {
        if (LevelRuleWarning(0, uint8_t(c))) level0.push_back(c);
        if (LevelRuleWarning(1, uint8_t(c))) level1.push_back(c);
        if (LevelRuleWarning(46, uint8_t(c))) level46.push_back(c);
        if (LevelRuleWarning(47, uint8_t(c))) level47.push_back(c);
    }
    std::vector<int> want0 = {25, 26, 27, 28, 33, 34, 36, 37, 40, 42, 44, 46, 48};
    for (int c = 144; c <= 151; ++c) want0.push_back(c);
    for (int c = 160; c <= 167; ++c) want0.push_back(c);
    std::vector<int> want47 = {34, 35, 37, 38, 41, 43, 45, 47, 49};
    for (int c = 136; c <= 143; ++c) want47.push_back(c);
    for (int c = 152; c <= 159; ++c) want47.push_back(c);
    EXPECT_EQ(level0, want0);
    EXPECT_EQ(level1, (std::vector<int>{33, 36}));
    EXPECT_EQ(level46, (std::vector<int>{35, 38}));
    EXPECT_EQ(level47, want47);
    EXPECT_EQ(LevelRuleWarning(0, 25), 1);
    EXPECT_EQ(LevelRuleWarning(1, 36), 1);
    EXPECT_EQ(LevelRuleWarning(46, 38), 2);
    EXPECT_EQ(LevelRuleWarning(47, 159), 2);
    for (int z : {0, 1, 46, 47}) EXPECT_EQ(LevelRuleWarning(z, 0), 0);
    for (int z : {-1, 2, 45, 48}) EXPECT_EQ(LevelRuleWarning(z, 33), 0);
}

TEST(LevelRule, FilterDropsRefusedChips) {
    EXPECT_EQ(LevelFilter(0, 25), 0);
    EXPECT_EQ(LevelFilter(0, 29), 29);
    EXPECT_EQ(LevelFilter(1, 33), 0);
    EXPECT_EQ(LevelFilter(2, 33), 33);
    EXPECT_EQ(LevelFilter(47, 136), 0);
    EXPECT_EQ(LevelFilter(46, 136), 136);
    EXPECT_EQ(LevelFilter(0, 200), 200);
}

TEST(ChipNames, TheChipList) {
    const std::vector<std::pair<int, std::string>> named = {
        {0, "空白"},         {1, "さら地1"},      {16, "さら地16"},   {17, "石畳1"},
        {24, "石畳8"},       {25, "畑1"},         {28, "畑4"},        {29, "村1"},
        {32, "村4"},         {33, "木-上"},       {34, "木-中"},      {35, "木-下"},
        {40, "柵-上"},       {41, "柵-下"},       {48, "封印-上"},    {49, "封印-下"},
        {50, "敵-弱"},       {51, "敵-中"},       {52, "敵-強"},      {53, "草"},
        {58, "橋1"},         {68, "橋11"},        {69, "壊れ橋1"},    {79, "壊れ橋11"},
        {81, "階段1"},       {82, "階段2"},       {83, "川1"},        {87, "川2"},
        {91, "川3"},         {95, "川4"},         {99, "川5"},        {103, "川6"},
        {107, "川7"},        {111, "岩"},         {112, "巣穴1"},     {115, "巣穴4"},
        {116, "入口1"},      {119, "入口4"},      {120, "昇降機-下"}, {121, "昇降機-上"},
        {122, "昇降機-中1"}, {123, "昇降機-中2"}, {125, "水晶"},      {126, "お金"},
        {127, "時計"},       {128, "王様1"},      {131, "王様4"},     {136, "城門-下1"},
        {139, "城門-下4"},   {144, "城門-上1"},   {147, "城門-上4"},  {152, "城壁-下1"},
        {155, "城壁-下4"},   {160, "城壁-上1"},   {163, "城壁-上4"}};
    for (const auto& [chip, name] : named) EXPECT_EQ(ChipNames[chip], name) << chip;

    std::vector<int> unnamed;
    for (int c = 0; c < TMap::ChipCount; ++c) {
        ASSERT_NE(ChipNames[c], nullptr) << c;
        if (std::string(ChipNames[c]) == "-") unnamed.push_back(c);
    }
    std::vector<int> want = {36, 37, 38, 39, 42, 43, 44, 45, 46, 47, 54, 55, 56, 57, 80};
    for (int r = 83; r <= 107; r += 4)
        for (int k = 1; k <= 3; ++k) want.push_back(r + k);
    want.push_back(124);
    for (int base : {132, 140, 148, 156, 164})
        for (int k = 0; k < 4; ++k) want.push_back(base + k);
    EXPECT_EQ(unnamed, want);
    for (int i = 1; i <= 16; ++i) EXPECT_EQ(ChipNames[i], "さら地" + std::to_string(i));
    for (int i = 1; i <= 11; ++i) EXPECT_EQ(ChipNames[57 + i], "橋" + std::to_string(i));
    for (int i = 1; i <= 11; ++i) EXPECT_EQ(ChipNames[68 + i], "壊れ橋" + std::to_string(i));
}

} // namespace
