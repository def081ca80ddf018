// Replacing a chip over a box and finding the next cell of a chip, checked against plain
// loops over random maps, and the editor's dialog around them.
#include "editor/chipreplace.h"
#include "tests/fakewindows.h"
#include "tests/maptestutil.h"

#include <algorithm>
#include <random>
#include <tuple>

namespace quarvel::test {
namespace {

// Plain chips, two- and three-level objects and their partner chips, so that matches lie on
// partner cells, writes fill partners that hold the chip being replaced, and some levels
// refuse the new chip.
constexpr uint8_t Pool[] = {0, 1, 5, 33, 34, 35, 40, 41, 136, 144, 25};

uint8_t Pick(std::mt19937& rng) {
    return Pool[rng() % std::size(Pool)];
}

void RandomMap(TMap& m, std::mt19937& rng) {
    for (auto& c : m.Cells) c = rng() % 3 ? 0 : Pick(rng);
}

// Every matching cell noted first, then the writes cell by cell, skipping refused levels.
ReplaceCount ReferenceReplace(TMap& m, uint8_t a, uint8_t b, const ChipBox& box) {
    ReplaceCount n;
    if (a == b) return n;
    std::vector<std::tuple<int, int, int>> hits;
    for (int z = std::min(box.Z0, box.Z1); z <= std::max(box.Z0, box.Z1); ++z)
        for (int y = std::min(box.Y0, box.Y1); y <= std::max(box.Y0, box.Y1); ++y)
            for (int x = std::min(box.X0, box.X1); x <= std::max(box.X0, box.X1); ++x)
                if (m.GetChip(x, y, z) == a) {
                    if (LevelRuleWarning(z, b))
                        ++n.Skipped;
                    else
                        hits.emplace_back(x, y, z);
                }
    if (hits.empty()) return n;
    m.UndoBuf.BeginStep();
    for (auto [x, y, z] : hits) m.SetChip(x, y, z, b);
    n.Written = int(hits.size());
    return n;
}

TEST(ChipReplaceTest, ReplaceMatchesThePlainLoopAndIsOneUndoStep) {
    std::mt19937 rng(20);
    for (int trial = 0; trial < 300; ++trial) {
        auto m = NewMap();
        RandomMap(*m, rng);
        m->UndoBuf.BeginStep();
        m->Modified = false;
        auto ref = std::make_unique<TMap>(*m);
        const auto before = CellsOf(*m);
        const uint8_t a = Pick(rng), b = trial % 10 == 0 ? a : Pick(rng);
        ChipBox box;
        if (trial % 3) // any two corners, edges of the map included
            box = {int(rng() % 32), int(rng() % 32), int(rng() % 48),
                   int(rng() % 32), int(rng() % 32), int(rng() % 48)};
        const ReplaceCount got = ReplaceChips(*m, a, b, box);
        const ReplaceCount want = ReferenceReplace(*ref, a, b, box);
        SCOPED_TRACE(trial);
        ASSERT_EQ(got.Written, want.Written);
        ASSERT_EQ(got.Skipped, want.Skipped);
        ASSERT_EQ(CellsOf(*m), CellsOf(*ref));
        ASSERT_EQ(m->UndoBuf.Current, ref->UndoBuf.Current);
        ASSERT_EQ(m->UndoBuf.Slots[m->UndoBuf.Current], ref->UndoBuf.Slots[m->UndoBuf.Current]);
        ASSERT_EQ(m->Modified, got.Written > 0);
        if (got.Written == 0) continue;
        const auto after = CellsOf(*m);
        ASSERT_TRUE(m->Undo());
        ASSERT_EQ(CellsOf(*m), before);
        ASSERT_TRUE(m->Redo());
        ASSERT_EQ(CellsOf(*m), after);
    }
}

TEST(ChipReplaceTest, AFilledPartnerThatMatchesIsNotReplacedAgain) {
    // Chip 41's partner above is 40: replacing 40 with 41 on a column of 40s writes 40
    // above each write, and the one above the column is no new match.
    auto m = NewMap();
    for (int z = 10; z <= 12; ++z) Put(*m, 0, 0, z, 40);
    const ReplaceCount n = ReplaceChips(*m, 40, 41, {0, 0, 10, 0, 0, 20});
    EXPECT_EQ(n.Written, 3);
    EXPECT_EQ(m->GetChip(0, 0, 12), 41);
    EXPECT_EQ(m->GetChip(0, 0, 13), 40);
    EXPECT_EQ(m->GetChip(0, 0, 14), 0);
}

// The first match after the cursor cell in z, y, x order, else the first at all.
bool ReferenceFind(const TMap& m, uint8_t chip, int& cx, int& cy, int& cz) {
    std::vector<std::tuple<int, int, int>> hits;
    for (int z = 0; z < 48; ++z)
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x)
                if (m.GetChip(x, y, z) == chip) hits.emplace_back(z, y, x);
    if (hits.empty()) return false;
    auto it = std::upper_bound(hits.begin(), hits.end(), std::make_tuple(cz, cy, cx));
    if (it == hits.end()) it = hits.begin();
    std::tie(cz, cy, cx) = *it;
    return true;
}

TEST(ChipReplaceTest, FindMatchesThePlainLoopAndWrapsToTheCursorCellLast) {
    std::mt19937 rng(7);
    for (int trial = 0; trial < 300; ++trial) {
        auto m = NewMap();
        const int count = int(rng() % 4); // sparse: 0..3 cells of the chip
        for (int i = 0; i < count; ++i) Put(*m, rng() % 32, rng() % 32, rng() % 48, 9);
        int x = rng() % 32, y = rng() % 32, z = rng() % 48;
        if (trial % 5 == 0) Put(*m, x, y, z, 9); // the cursor cell itself matches
        int rx = x, ry = y, rz = z;
        const bool want = ReferenceFind(*m, 9, rx, ry, rz);
        SCOPED_TRACE(trial);
        ASSERT_EQ(FindChip(*m, 9, x, y, z), want);
        ASSERT_EQ(std::tie(x, y, z), std::tie(rx, ry, rz));
    }
}

class ReplaceDialogTest : public EditorTest {};

TEST_F(ReplaceDialogTest, FindNextThenReplaceInTheSelectionOnSomeLevels) {
    for (int z : {1, 2, 3, 4}) State.TheMap->SetChip(5, 5, z, 1);
    State.TheMap->SetChip(9, 9, 2, 1);
    State.TheMap->UndoBuf.BeginStep();
    ReplaceChoices find;
    find.From = 1;
    ReplaceChoices replace = find;
    replace.To = 5;
    replace.InSelection = true;
    replace.Levels = true;
    replace.Low = 3; // given in either order
    replace.High = 1;
    Main.ReplaceAnswers = {{ReplaceAction::FindNext, find}, {ReplaceAction::Replace, replace}};
    State.CursorX = State.CursorY = 5;
    State.CurrentLevel = 4;
    SelectBox(0, 0, 6, 6, 0, 4);
    State.CursorX = State.CursorY = 5; // after (5,5,4) the search wraps to (5,5,1)

    ReplaceChipsDialog(State);
    EXPECT_EQ(std::tie(State.CursorX, State.CursorY, State.CurrentLevel), std::make_tuple(5, 5, 1));
    EXPECT_EQ(Count("edit.ScrollToCell 5 5"), 1);
    EXPECT_EQ(Count("whole.ScrollToCell 5 5 1"), 1);
    // A level change switches the selection off, so the box is the whole map on levels 1..3.
    EXPECT_EQ(Count("main.RunReplaceDialog 1"), 1);
    EXPECT_EQ(Count("main.RunReplaceDialog 0"), 1);
    EXPECT_EQ(Count("msg 4 個のチップを置換しました|チップの置換"), 1);
    EXPECT_EQ(State.TheMap->GetChip(5, 5, 4), 1);
    EXPECT_EQ(State.TheMap->GetChip(9, 9, 2), 5);
    EXPECT_GE(Count("whole.RedrawAll"), 1);

    Log.clear();
    FindNextCommand(State, 77);
    EXPECT_EQ(Count("msg 見つかりません|チップの置換"), 1);
    const auto undo = State.TheMap->UndoBuf;
    ReplaceChipsCommand(State, 25, 26, ChipBox{0, 0, 0, 31, 31, 0}); // no match
    EXPECT_EQ(State.TheMap->UndoBuf.Current, undo.Current);
    EXPECT_EQ(State.TheMap->UndoBuf.Count(), undo.Count());

    ASSERT_TRUE(State.TheMap->Undo()); // one step takes back all four
    EXPECT_EQ(State.TheMap->GetChip(9, 9, 2), 1);
    EXPECT_EQ(State.TheMap->GetChip(5, 5, 1), 1);
    EXPECT_EQ(State.TheMap->GetChip(5, 5, 3), 1);
}

TEST_F(ReplaceDialogTest, RefusedLevelsAreCountedNotWarnedCellByCell) {
    for (int x = 0; x < 3; ++x) {
        State.TheMap->SetChip(x, 0, 0, 1);
        State.TheMap->SetChip(x, 0, 5, 1);
    }
    State.TheMap->UndoBuf.BeginStep();
    State.TheMap->Modified = false;
    ReplaceChipsCommand(State, 1, 40, ChipBox()); // 40 needs the level below it
    EXPECT_EQ(Count("msg 3 個のチップを置換しました\n（階層の制限で 3 個は置換しませんでした）|"
                    "チップの置換"),
              1);
    EXPECT_EQ(Count("msg"), 1);
    EXPECT_EQ(State.TheMap->GetChip(0, 0, 0), 1);
}

} // namespace
} // namespace quarvel::test
