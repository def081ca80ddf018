// The constant chip sets, the level rule and the chip names.
#include "map/chipclasses.h"

#include "map/textmarker.h"

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
// The names as the info panel and the tools show them, marked for the translations ("-": no
// chip of its own).
const char* const ChipNames[TMap::ChipCount] = {
    /*   0 */ QUARVEL_TR_NOOP("ChipNames", "空白"), QUARVEL_TR_NOOP("ChipNames", "さら地1"),
              QUARVEL_TR_NOOP("ChipNames", "さら地2"), QUARVEL_TR_NOOP("ChipNames", "さら地3"),
              QUARVEL_TR_NOOP("ChipNames", "さら地4"), QUARVEL_TR_NOOP("ChipNames", "さら地5"),
              QUARVEL_TR_NOOP("ChipNames", "さら地6"), QUARVEL_TR_NOOP("ChipNames", "さら地7"),
    /*   8 */ QUARVEL_TR_NOOP("ChipNames", "さら地8"), QUARVEL_TR_NOOP("ChipNames", "さら地9"),
              QUARVEL_TR_NOOP("ChipNames", "さら地10"), QUARVEL_TR_NOOP("ChipNames", "さら地11"),
              QUARVEL_TR_NOOP("ChipNames", "さら地12"), QUARVEL_TR_NOOP("ChipNames", "さら地13"),
              QUARVEL_TR_NOOP("ChipNames", "さら地14"), QUARVEL_TR_NOOP("ChipNames", "さら地15"),
    /*  16 */ QUARVEL_TR_NOOP("ChipNames", "さら地16"), QUARVEL_TR_NOOP("ChipNames", "石畳1"),
              QUARVEL_TR_NOOP("ChipNames", "石畳2"), QUARVEL_TR_NOOP("ChipNames", "石畳3"),
              QUARVEL_TR_NOOP("ChipNames", "石畳4"), QUARVEL_TR_NOOP("ChipNames", "石畳5"),
              QUARVEL_TR_NOOP("ChipNames", "石畳6"), QUARVEL_TR_NOOP("ChipNames", "石畳7"),
    /*  24 */ QUARVEL_TR_NOOP("ChipNames", "石畳8"), QUARVEL_TR_NOOP("ChipNames", "畑1"),
              QUARVEL_TR_NOOP("ChipNames", "畑2"), QUARVEL_TR_NOOP("ChipNames", "畑3"),
              QUARVEL_TR_NOOP("ChipNames", "畑4"), QUARVEL_TR_NOOP("ChipNames", "村1"),
              QUARVEL_TR_NOOP("ChipNames", "村2"), QUARVEL_TR_NOOP("ChipNames", "村3"),
    /*  32 */ QUARVEL_TR_NOOP("ChipNames", "村4"), QUARVEL_TR_NOOP("ChipNames", "木-上"),
              QUARVEL_TR_NOOP("ChipNames", "木-中"), QUARVEL_TR_NOOP("ChipNames", "木-下"), "-", "-",
              "-", "-",
    /*  40 */ QUARVEL_TR_NOOP("ChipNames", "柵-上"), QUARVEL_TR_NOOP("ChipNames", "柵-下"), "-", "-",
              "-", "-", "-", "-",
    /*  48 */ QUARVEL_TR_NOOP("ChipNames", "封印-上"), QUARVEL_TR_NOOP("ChipNames", "封印-下"),
              QUARVEL_TR_NOOP("ChipNames", "敵-弱"), QUARVEL_TR_NOOP("ChipNames", "敵-中"),
              QUARVEL_TR_NOOP("ChipNames", "敵-強"), QUARVEL_TR_NOOP("ChipNames", "草"), "-", "-",
    /*  56 */ "-", "-", QUARVEL_TR_NOOP("ChipNames", "橋1"), QUARVEL_TR_NOOP("ChipNames", "橋2"),
              QUARVEL_TR_NOOP("ChipNames", "橋3"), QUARVEL_TR_NOOP("ChipNames", "橋4"),
              QUARVEL_TR_NOOP("ChipNames", "橋5"), QUARVEL_TR_NOOP("ChipNames", "橋6"),
    /*  64 */ QUARVEL_TR_NOOP("ChipNames", "橋7"), QUARVEL_TR_NOOP("ChipNames", "橋8"),
              QUARVEL_TR_NOOP("ChipNames", "橋9"), QUARVEL_TR_NOOP("ChipNames", "橋10"),
              QUARVEL_TR_NOOP("ChipNames", "橋11"), QUARVEL_TR_NOOP("ChipNames", "壊れ橋1"),
              QUARVEL_TR_NOOP("ChipNames", "壊れ橋2"), QUARVEL_TR_NOOP("ChipNames", "壊れ橋3"),
    /*  72 */ QUARVEL_TR_NOOP("ChipNames", "壊れ橋4"), QUARVEL_TR_NOOP("ChipNames", "壊れ橋5"),
              QUARVEL_TR_NOOP("ChipNames", "壊れ橋6"), QUARVEL_TR_NOOP("ChipNames", "壊れ橋7"),
              QUARVEL_TR_NOOP("ChipNames", "壊れ橋8"), QUARVEL_TR_NOOP("ChipNames", "壊れ橋9"),
              QUARVEL_TR_NOOP("ChipNames", "壊れ橋10"), QUARVEL_TR_NOOP("ChipNames", "壊れ橋11"),
    /*  80 */ "-", QUARVEL_TR_NOOP("ChipNames", "階段1"), QUARVEL_TR_NOOP("ChipNames", "階段2"),
              QUARVEL_TR_NOOP("ChipNames", "川1"), "-", "-", "-", QUARVEL_TR_NOOP("ChipNames", "川2"),
    /*  88 */ "-", "-", "-", QUARVEL_TR_NOOP("ChipNames", "川3"), "-", "-", "-",
              QUARVEL_TR_NOOP("ChipNames", "川4"),
    /*  96 */ "-", "-", "-", QUARVEL_TR_NOOP("ChipNames", "川5"), "-", "-", "-",
              QUARVEL_TR_NOOP("ChipNames", "川6"),
    /* 104 */ "-", "-", "-", QUARVEL_TR_NOOP("ChipNames", "川7"), "-", "-", "-",
              QUARVEL_TR_NOOP("ChipNames", "岩"),
    /* 112 */ QUARVEL_TR_NOOP("ChipNames", "巣穴1"), QUARVEL_TR_NOOP("ChipNames", "巣穴2"),
              QUARVEL_TR_NOOP("ChipNames", "巣穴3"), QUARVEL_TR_NOOP("ChipNames", "巣穴4"),
              QUARVEL_TR_NOOP("ChipNames", "入口1"), QUARVEL_TR_NOOP("ChipNames", "入口2"),
              QUARVEL_TR_NOOP("ChipNames", "入口3"), QUARVEL_TR_NOOP("ChipNames", "入口4"),
    /* 120 */ QUARVEL_TR_NOOP("ChipNames", "昇降機-下"), QUARVEL_TR_NOOP("ChipNames", "昇降機-上"),
              QUARVEL_TR_NOOP("ChipNames", "昇降機-中1"), QUARVEL_TR_NOOP("ChipNames", "昇降機-中2"), "-",
              QUARVEL_TR_NOOP("ChipNames", "水晶"), QUARVEL_TR_NOOP("ChipNames", "お金"),
              QUARVEL_TR_NOOP("ChipNames", "時計"),
    /* 128 */ QUARVEL_TR_NOOP("ChipNames", "王様1"), QUARVEL_TR_NOOP("ChipNames", "王様2"),
              QUARVEL_TR_NOOP("ChipNames", "王様3"), QUARVEL_TR_NOOP("ChipNames", "王様4"), "-", "-",
              "-", "-",
    /* 136 */ QUARVEL_TR_NOOP("ChipNames", "城門-下1"), QUARVEL_TR_NOOP("ChipNames", "城門-下2"),
              QUARVEL_TR_NOOP("ChipNames", "城門-下3"), QUARVEL_TR_NOOP("ChipNames", "城門-下4"), "-",
              "-", "-", "-",
    /* 144 */ QUARVEL_TR_NOOP("ChipNames", "城門-上1"), QUARVEL_TR_NOOP("ChipNames", "城門-上2"),
              QUARVEL_TR_NOOP("ChipNames", "城門-上3"), QUARVEL_TR_NOOP("ChipNames", "城門-上4"), "-",
              "-", "-", "-",
    /* 152 */ QUARVEL_TR_NOOP("ChipNames", "城壁-下1"), QUARVEL_TR_NOOP("ChipNames", "城壁-下2"),
              QUARVEL_TR_NOOP("ChipNames", "城壁-下3"), QUARVEL_TR_NOOP("ChipNames", "城壁-下4"), "-",
              "-", "-", "-",
    /* 160 */ QUARVEL_TR_NOOP("ChipNames", "城壁-上1"), QUARVEL_TR_NOOP("ChipNames", "城壁-上2"),
              QUARVEL_TR_NOOP("ChipNames", "城壁-上3"), QUARVEL_TR_NOOP("ChipNames", "城壁-上4"), "-",
              "-", "-", "-",
};
// clang-format on

} // namespace quarvel
