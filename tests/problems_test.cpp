// The problems list kept up to date step by step: after random edits of every kind it holds
// what checking the whole map finds, its row changes rebuild the shown rows, and it says what
// quarvel-cli check says of the saved map.
#include "editor/chipreplace.h"
#include "editor/clipboard.h"
#include "editor/commands.h"
#include "editor/editlogic.h"
#include "editor/problems.h"
#include "map/maptools.h"
#include "tests/fakewindows.h"

#include <random>
#include <sstream>

namespace quarvel {

// Findings compared as the English text would tell them, without making the texts.
bool operator==(const MapFinding& a, const MapFinding& b) {
    bool same = a.X == b.X && a.Y == b.Y && a.Z == b.Z && a.Kind == b.Kind && a.Chip == b.Chip &&
                a.ShapedChip == b.ShapedChip && a.MissingCount == b.MissingCount;
    for (int k = 0; same && k < a.MissingCount; ++k)
        same = a.Expected[k].Z == b.Expected[k].Z && a.Expected[k].Chip == b.Expected[k].Chip &&
               a.Found[k] == b.Found[k];
    return same;
}

std::ostream& operator<<(std::ostream& out, const MapFinding& f) {
    return out << FindingText(f);
}

} // namespace quarvel

namespace quarvel::test {
namespace {

// Ground, bridge and river chips that shaping turns, multi-level objects and their parts,
// plain chips, and bytes that are no chip.
constexpr uint8_t Pool[] = {0,  0,  1,  5,  9,   17,  25,  33,  34,  35,  36, 38,  40,  41,  44, 58,
                            63, 70, 83, 95, 111, 112, 136, 144, 152, 160, 50, 120, 167, 168, 255};

uint8_t Pick(std::mt19937& rng) {
    return Pool[rng() % std::size(Pool)];
}

class ProblemsTest : public EditorTest {
protected:
    // The rows a view shows, changed only through the splices of each update.
    std::vector<MapFinding> Shown;
    TProblemList List;
    int Spliced = 0; // updates that changed rows without a whole new list

    void UpdateAndCompare(const std::string& step) {
        SCOPED_TRACE(step);
        const ProblemChange change = List.Update(*State.TheMap);
        const std::vector<MapFinding>& now = List.Findings();
        if (change.Reset) {
            Shown = now;
        } else {
            Spliced += !change.Splices.empty();
            int last = -1;
            for (const ProblemSplice& s : change.Splices) {
                ASSERT_GT(s.Row, last) << "splices in row order";
                ASSERT_LE(size_t(s.Row + s.Removed), Shown.size());
                Shown.erase(Shown.begin() + s.Row, Shown.begin() + s.Row + s.Removed);
                Shown.insert(Shown.begin() + s.Row, now.begin() + s.Row,
                             now.begin() + s.Row + s.Inserted);
                last = s.Row + s.Inserted - 1;
            }
        }
        const std::vector<MapFinding> whole = CheckMap(*State.TheMap);
        ASSERT_EQ(now, whole);
        ASSERT_EQ(Shown, whole);
    }

    void RandomBox(std::mt19937& rng) {
        const int x = int(rng() % 32), y = int(rng() % 32), z = int(rng() % 48);
        SelectBox(x, y, std::min(31, x + int(rng() % 4)), std::min(31, y + int(rng() % 4)), z,
                  std::clamp(z + int(rng() % 5) - 2, 0, 47));
    }
};

// Random maps, then random steps of every kind the editor makes, each followed by an update:
// single chips (objects fill and clear partners two levels away, ground reshapes around it),
// raw bytes as a file would bring them, fills, undo and redo, paste, delete, moves of the
// selection, replace, shaping, shifts, new maps. Every few steps the map is saved and
// quarvel-cli check must print the same findings.
TEST_F(ProblemsTest, StepByStepListEqualsTheWholeCheckAndTheCommandLineTool) {
    const int maps = Sampled ? 1 : 3, steps = Sampled ? 60 : 250;
    const std::string file = Dir.File("checked.map");
    int cliRuns = 0;
    for (int seed = 1; seed <= maps; ++seed) {
        std::mt19937 rng{unsigned(seed)};
        for (auto& c : State.TheMap->Cells) c = rng() % 3 ? 0 : Pick(rng);
        List.Forget();
        UpdateAndCompare("start");
        for (int step = 0; step < steps; ++step) {
            const int x = int(rng() % 32), y = int(rng() % 32), z = int(rng() % 48);
            const int what = int(rng() % 20);
            std::ostringstream name;
            name << "seed " << seed << " step " << step << " kind " << what;
            TMap& map = *State.TheMap;
            switch (what) {
            case 0:
            case 1:
            case 2:
            case 3:
            case 4:
            case 5: // a painted chip
                map.UndoBuf.BeginStep();
                PutChip(State, x, y, z, Pick(rng));
                break;
            case 6: // a byte of a file
                map.Cells[TMap::Index(x, y, z)] = Pick(rng);
                break;
            case 7:
                map.UndoBuf.BeginStep();
                FloodFill(State, x, y, z, Pick(rng));
                break;
            case 8:
            case 9:
                MenuClick(State, tagUndo);
                break;
            case 10:
                MenuClick(State, tagRedo);
                break;
            case 11:
                RandomBox(rng);
                MenuClick(State, tagCopy);
                RandomBox(rng);
                MenuClick(State, tagPaste);
                break;
            case 12:
                RandomBox(rng);
                MenuClick(State, tagDelete);
                break;
            case 13:
                RandomBox(rng);
                MoveSelectionCommand(State, int(rng() % 3) - 1, int(rng() % 3) - 1,
                                     int(rng() % 3) - 1);
                break;
            case 14:
                ReplaceChips(map, Pick(rng), Pick(rng),
                             {x, y, z, x + int(rng() % 8), y + int(rng() % 8), z + 2});
                break;
            case 15:
                if (rng() % 4 == 0) MenuClick(State, tagFix);
                break;
            case 16:
                if (rng() % 8 == 0) ShiftMap(map, int(rng() % 3) - 1, 0, int(rng() % 3) - 1);
                break;
            case 17:
                if (rng() % 20 == 0) map.Clear();
                break;
            default: // only the cursor moves: nothing to do for the list
                State.CursorX = x;
                break;
            }
            UpdateAndCompare(name.str());
            if (step % 50 == 49) {
                map.WriteToFile(file);
                const RunResult r = RunCli("check " + file);
                std::string expected;
                for (const MapFinding& f : Shown) expected += file + ": " + FindingText(f) + "\n";
                ASSERT_EQ(r.Out, expected) << name.str();
                ASSERT_EQ(r.Status, expected.empty() ? 0 : 1);
                ++cliRuns;
            }
        }
    }
    EXPECT_GT(cliRuns, 0);
    EXPECT_GT(Spliced, steps / 4);
}

// The list stays as it is while only the cursor moves, and a step changes only the rows of
// the cells around it: painting a tree trunk far from the other findings is one splice.
TEST_F(ProblemsTest, OnlyTheRowsAroundAChangeAreSpliced) {
    TMap& map = *State.TheMap;
    map.Cells[TMap::Index(0, 0, 0)] = 200;
    map.Cells[TMap::Index(31, 31, 47)] = 201;
    EXPECT_TRUE(List.Update(map).Reset);
    EXPECT_FALSE(List.Update(map).Any());
    map.UndoBuf.BeginStep();
    PutChip(State, 10, 10, 20, 34); // a tree's middle: the whole tree, no finding
    EXPECT_FALSE(List.Update(map).Any());
    map.Cells[TMap::Index(10, 10, 21)] = 0; // its top taken away: two parts broken
    const ProblemChange c = List.Update(map);
    ASSERT_EQ(c.Splices.size(), 1u);
    EXPECT_EQ(c.Splices[0].Row, 1);
    EXPECT_EQ(c.Splices[0].Removed, 0);
    EXPECT_EQ(c.Splices[0].Inserted, 2);
    EXPECT_EQ(List.Findings().size(), 4u);
    EXPECT_EQ(ProblemsCaption(List.Findings().size()), "問題 (4)");
}

// The panel's text is the Japanese wording of the same finding; the cell comes first.
TEST_F(ProblemsTest, TheGoToMovesCursorAndLevelAndScrollsBothViews) {
    TMap& map = *State.TheMap;
    map.Cells[TMap::Index(3, 4, 7)] = 170;
    List.Update(map);
    ASSERT_EQ(List.Findings().size(), 1u);
    EXPECT_EQ(ProblemText(List.Findings()[0]),
              "X:3 Y:4 Z:7 チップ 170 はありません（チップは 0～167）");
    GoToProblem(State, List, 1); // beyond the list: nothing
    GoToProblem(State, List, -1);
    EXPECT_EQ(State.CursorX, 0);
    GoToProblem(State, List, 0);
    EXPECT_EQ(State.CursorX, 3);
    EXPECT_EQ(State.CursorY, 4);
    EXPECT_EQ(State.CurrentLevel, 7);
    EXPECT_EQ(Count("edit.ScrollToCell 3 4"), 1);
    EXPECT_EQ(Count("whole.ScrollToCell 3 4 7"), 1);
}

} // namespace
} // namespace quarvel::test
