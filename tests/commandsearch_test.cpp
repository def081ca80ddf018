// Finding a command by the characters of its caption, against a plain reference on random
// texts of ASCII, Japanese and stray bytes.
#include "editor/commandsearch.h"

#include <gtest/gtest.h>
#include <random>

namespace quarvel::test {
namespace {

// The pieces random texts are made of, each with the character it stands for: upper and
// lower case of one letter are one character; "上" and "下" share their first two bytes; the
// stray bytes are the last bytes of those two.
struct Piece {
    const char* Text;
    int Char;
};
const Piece Pieces[] = {{"a", 1},         {"A", 1},    {"b", 2},  {"上", 3},
                        {"下", 4},        {"の", 5},   {"階", 6}, {"層", 7},
                        {"\x8a", 8},      {"\x8b", 9}, {"é", 10}, {"\xF0\x9F\x98\x80", 11},
                        {"\xE4\xB8", 12}, {"-", 13}};

struct Text {
    std::string Bytes;
    std::vector<int> Chars;
};

Text RandomText(std::mt19937& rng, int maxLength) {
    Text t;
    const int n = std::uniform_int_distribution<int>(0, maxLength)(rng);
    for (int i = 0; i < n; ++i) {
        const Piece& p =
            Pieces[std::uniform_int_distribution<size_t>(0, std::size(Pieces) - 1)(rng)];
        // A cut-off "上" followed by a whole character would read as other characters.
        if (p.Char == 12 && i + 1 < n) continue;
        t.Bytes += p.Text;
        t.Chars.push_back(p.Char);
    }
    return t;
}

// Longest common subsequence: the typed text matches when all of it is common.
bool Reference(const std::vector<int>& typed, const std::vector<int>& caption) {
    std::vector<std::vector<size_t>> l(typed.size() + 1, std::vector<size_t>(caption.size() + 1));
    for (size_t i = 1; i <= typed.size(); ++i)
        for (size_t j = 1; j <= caption.size(); ++j)
            l[i][j] = typed[i - 1] == caption[j - 1] ? l[i - 1][j - 1] + 1
                                                     : std::max(l[i - 1][j], l[i][j - 1]);
    return l[typed.size()][caption.size()] == typed.size();
}

TEST(CommandSearchTest, MatchesEveryCharacterInOrderLikeTheReference) {
    std::mt19937 rng(21);
    int matched = 0;
    for (int round = 0; round < 20000; ++round) {
        const Text caption = RandomText(rng, 10);
        Text typed = RandomText(rng, 4);
        if (round % 2 == 0) {
            // Half the time a piece of the caption, so that matches are common.
            typed = {};
            for (size_t i = 0; i < caption.Chars.size(); ++i) {
                if (rng() % 3 == 0) typed.Chars.push_back(caption.Chars[i]);
            }
            for (int c : typed.Chars)
                for (const Piece& p : Pieces)
                    if (p.Char == c) {
                        typed.Bytes += p.Text;
                        break;
                    }
        }
        const bool want = Reference(typed.Chars, caption.Chars);
        matched += want;
        ASSERT_EQ(MatchesInOrder(typed.Bytes, caption.Bytes), want)
            << "typed '" << typed.Bytes << "' caption '" << caption.Bytes << "'";
    }
    EXPECT_GT(matched, 5000);
    EXPECT_LT(matched, 19000);
}

TEST(CommandSearchTest, RecentFirstThenTheEarliestMatchesInMenuOrder) {
    const std::vector<std::string> captions = {
        "選択範囲を1マス移動 > 上の階層へ", "上の階層", "下の階層",
        "選択したまま上の階層へ",           "終了",     "上の階層を隠す"};
    EXPECT_EQ(FindCommands(captions, {}, "上の"), (std::vector<size_t>{1, 5, 3, 0}));
    EXPECT_EQ(FindCommands(captions, {3, 4, 3}, "上の"), (std::vector<size_t>{3, 1, 5, 0}));
    EXPECT_EQ(FindCommands(captions, {4, 2}, ""), (std::vector<size_t>{4, 2, 0, 1, 3, 5}));
    EXPECT_EQ(FindCommands(captions, {}, "上階"), (std::vector<size_t>{1, 5, 3, 0}));
    EXPECT_TRUE(FindCommands(captions, {9}, "xyz").empty());

    TCommandHistory history;
    for (const char* name : {"UP1", "SAVE1", "UP1", "NEW1"}) history.Ran(name);
    EXPECT_EQ(history.Names(), (std::vector<std::string>{"NEW1", "UP1", "SAVE1"}));
}

} // namespace
} // namespace quarvel::test
