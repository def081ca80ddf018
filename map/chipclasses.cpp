// The constant chip sets, the level rule and the chip names.
#include "map/chipclasses.h"

#include <initializer_list>

namespace quarvel {

namespace {

struct Range {
    int First;
    int Last;
};

constexpr ChipSet MakeSet(std::initializer_list<Range> ranges) {
    ChipSet s{{0, 0, 0, 0}};
    for (const Range& r : ranges)
        for (int c = r.First; c <= r.Last; ++c) s.Bits[c >> 6] |= uint64_t(1) << (c & 63);
    return s;
}

constexpr ChipSet operator|(const ChipSet& a, const ChipSet& b) {
    return ChipSet{{a.Bits[0] | b.Bits[0], a.Bits[1] | b.Bits[1], a.Bits[2] | b.Bits[2],
                    a.Bits[3] | b.Bits[3]}};
}

constexpr ChipSet GroundSet = MakeSet({{1, 24}, {112, 121}});
constexpr ChipSet BridgeSet = MakeSet({{58, 82}});
constexpr ChipSet RiverSet = MakeSet({{83, 110}});
constexpr ChipSet RockSet = MakeSet({{111, 111}});

// The level rule table (also the level filter of the shift and of paste).
constexpr ChipSet RefusedOnLevel0 = MakeSet({{25, 28},
                                             {33, 34},
                                             {36, 37},
                                             {40, 40},
                                             {42, 42},
                                             {44, 44},
                                             {46, 46},
                                             {48, 48},
                                             {144, 151},
                                             {160, 167}});
constexpr ChipSet RefusedOnLevel1 = MakeSet({{33, 33}, {36, 36}});
constexpr ChipSet RefusedOnLevel46 = MakeSet({{35, 35}, {38, 38}});
constexpr ChipSet RefusedOnLevel47 = MakeSet(
    {{34, 35}, {37, 38}, {41, 41}, {43, 43}, {45, 45}, {47, 47}, {49, 49}, {136, 143}, {152, 159}});

} // namespace

const ChipSet GroundChips = GroundSet;
const ChipSet BridgeChips = BridgeSet;
const ChipSet RiverChips = RiverSet;
const ChipSet SolidChips = GroundSet | RiverSet;
const ChipSet BridgeJoinChips = GroundSet | BridgeSet;
const ChipSet BankChips = GroundSet | RiverSet | RockSet;
const ChipSet CoverChips = MakeSet({{1, 24}, {29, 32}, {83, 119}, {128, 143}, {152, 159}});

int LevelRuleWarning(int z, uint8_t chip) {
    switch (z) {
    case 0:
        return RefusedOnLevel0.Contains(chip) ? 1 : 0;
    case 1:
        return RefusedOnLevel1.Contains(chip) ? 1 : 0;
    case 46:
        return RefusedOnLevel46.Contains(chip) ? 2 : 0;
    case 47:
        return RefusedOnLevel47.Contains(chip) ? 2 : 0;
    default:
        return 0;
    }
}

// clang-format off
const char* const ChipNames[TMap::ChipCount] = {
    /*   0 */ "空白", "さら地1", "さら地2", "さら地3", "さら地4", "さら地5", "さら地6", "さら地7",
    /*   8 */ "さら地8", "さら地9", "さら地10", "さら地11", "さら地12", "さら地13", "さら地14", "さら地15",
    /*  16 */ "さら地16", "石畳1", "石畳2", "石畳3", "石畳4", "石畳5", "石畳6", "石畳7",
    /*  24 */ "石畳8", "畑1", "畑2", "畑3", "畑4", "村1", "村2", "村3",
    /*  32 */ "村4", "木-上", "木-中", "木-下", "-", "-", "-", "-",
    /*  40 */ "柵-上", "柵-下", "-", "-", "-", "-", "-", "-",
    /*  48 */ "封印-上", "封印-下", "敵-弱", "敵-中", "敵-強", "草", "-", "-",
    /*  56 */ "-", "-", "橋1", "橋2", "橋3", "橋4", "橋5", "橋6",
    /*  64 */ "橋7", "橋8", "橋9", "橋10", "橋11", "壊れ橋1", "壊れ橋2", "壊れ橋3",
    /*  72 */ "壊れ橋4", "壊れ橋5", "壊れ橋6", "壊れ橋7", "壊れ橋8", "壊れ橋9", "壊れ橋10", "壊れ橋11",
    /*  80 */ "-", "階段1", "階段2", "川1", "-", "-", "-", "川2",
    /*  88 */ "-", "-", "-", "川3", "-", "-", "-", "川4",
    /*  96 */ "-", "-", "-", "川5", "-", "-", "-", "川6",
    /* 104 */ "-", "-", "-", "川7", "-", "-", "-", "岩",
    /* 112 */ "巣穴1", "巣穴2", "巣穴3", "巣穴4", "入口1", "入口2", "入口3", "入口4",
    /* 120 */ "昇降機-下", "昇降機-上", "昇降機-中1", "昇降機-中2", "-", "水晶", "お金", "時計",
    /* 128 */ "王様1", "王様2", "王様3", "王様4", "-", "-", "-", "-",
    /* 136 */ "城門-下1", "城門-下2", "城門-下3", "城門-下4", "-", "-", "-", "-",
    /* 144 */ "城門-上1", "城門-上2", "城門-上3", "城門-上4", "-", "-", "-", "-",
    /* 152 */ "城壁-下1", "城壁-下2", "城壁-下3", "城壁-下4", "-", "-", "-", "-",
    /* 160 */ "城壁-上1", "城壁-上2", "城壁-上3", "城壁-上4", "-", "-", "-", "-",
};
// clang-format on

} // namespace quarvel
