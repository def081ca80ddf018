// The commands' keys on random tables: no key ever runs two commands, what is kept comes back
// as it was, and a kept key falls back only when it cannot be used or is another's key.
#include "editor/shortcuts.h"

#include <gtest/gtest.h>
#include <random>
#include <set>

namespace quarvel::test {
namespace {

const int KeyCount = 10;

std::string Key(int k) {
    return "k" + std::to_string(k);
}

// Commands with 0, 1 or 2 default keys, no key the default of two; every fourth one fixed.
TShortcutTable RandomTable(std::mt19937& rng, size_t commands) {
    std::vector<int> keys(KeyCount);
    for (int k = 0; k < KeyCount; ++k) keys[size_t(k)] = k;
    std::shuffle(keys.begin(), keys.end(), rng);
    std::vector<TShortcutCommand> list;
    size_t next = 0;
    for (size_t i = 0; i < commands; ++i) {
        TShortcutCommand c{"C" + std::to_string(i), "", {}};
        c.Fixed = i % 4 == 3;
        for (int n = std::uniform_int_distribution<int>(0, 2)(rng); n > 0 && next < keys.size();
             --n)
            c.Defaults.push_back(Key(keys[next++]));
        list.push_back(c);
    }
    return TShortcutTable(list);
}

// Fails when a key is held by two commands.
void ExpectNoKeyTwice(const TShortcutTable& t) {
    std::set<std::string> seen;
    for (size_t i = 0; i < t.Size(); ++i)
        for (const std::string& k : t.Keys(i)) EXPECT_TRUE(seen.insert(k).second) << k;
}

// Keys spelled in upper case are the same keys; "bad" texts are no keys.
std::string Canonical(const std::string& text) {
    if (text.rfind("bad", 0) == 0) return "";
    std::string s = text;
    for (char& c : s) c = char(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

} // namespace

TEST(Shortcuts, EditsNeverGiveAKeyTwiceAndTheKeptChangesComeBack) {
    std::mt19937 rng(21);
    for (int round = 0; round < 300; ++round) {
        TShortcutTable t = RandomTable(rng, 6);
        std::uniform_int_distribution<size_t> command(0, t.Size() - 1);
        std::uniform_int_distribution<int> key(-1, KeyCount - 1), what(0, 3);
        for (int step = 0; step < 20; ++step) {
            const size_t i = command(rng);
            if (t.Command(i).Fixed) continue; // no edit is offered for it
            const TShortcutTable before = t;
            if (what(rng) == 0) {
                const size_t holder = t.PutBackDefault(i);
                if (holder == TShortcutTable::None) {
                    EXPECT_EQ(t.Keys(i), t.Command(i).Defaults);
                } else {
                    // Refused: the named command holds one of the defaults, nothing changed.
                    EXPECT_NE(holder, i);
                    bool held = false;
                    for (const std::string& k : t.Command(i).Defaults)
                        held |= t.Holder(k, i) == holder;
                    EXPECT_TRUE(held);
                    for (size_t j = 0; j < t.Size(); ++j) EXPECT_EQ(t.Keys(j), before.Keys(j));
                }
            } else {
                const int k = key(rng);
                const std::string text = k < 0 ? "" : Key(k);
                const size_t holder = t.Assign(i, text);
                if (holder == TShortcutTable::None) {
                    EXPECT_EQ(t.Keys(i),
                              k < 0 ? std::vector<std::string>{} : std::vector<std::string>{text});
                } else {
                    EXPECT_NE(holder, i);
                    EXPECT_EQ(before.Holder(text, i), holder);
                    for (size_t j = 0; j < t.Size(); ++j) EXPECT_EQ(t.Keys(j), before.Keys(j));
                }
            }
            ExpectNoKeyTwice(t);
            // Only changed commands are kept; a fresh table takes them back as they are.
            const TKeptShortcuts kept = t.Changes();
            for (size_t j = 0; j < t.Size(); ++j)
                EXPECT_EQ(kept.count(t.Command(j).Name) == 1, t.Keys(j) != t.Command(j).Defaults);
            std::vector<TShortcutCommand> commands;
            for (size_t j = 0; j < t.Size(); ++j) commands.push_back(t.Command(j));
            TShortcutTable restarted(commands);
            EXPECT_TRUE(restarted.Load(kept, Canonical).empty());
            for (size_t j = 0; j < t.Size(); ++j) EXPECT_EQ(restarted.Keys(j), t.Keys(j));
        }
    }
}

TEST(Shortcuts, AKeptKeyFallsBackOnlyWhenItIsBadOrAnothersKey) {
    // Two commands whose keys were swapped come back swapped: the check is on the whole table.
    TShortcutTable swap({{"UP1", "", {"up"}}, {"DOWN1", "", {"down"}}, {"PREV1", "", {"left"}}});
    EXPECT_TRUE(swap.Load({{"UP1", "Down"}, {"DOWN1", "Up"}}, Canonical).empty());
    EXPECT_EQ(swap.Keys(0), std::vector<std::string>{"down"});
    EXPECT_EQ(swap.Keys(1), std::vector<std::string>{"up"});

    std::mt19937 rng(2121);
    std::uniform_int_distribution<int> key(-3, KeyCount - 1), coin(0, 2);
    for (int round = 0; round < 3000; ++round) {
        TShortcutTable t = RandomTable(rng, 7);
        // Kept texts: cleared, bad, upper case, and names of no command.
        TKeptShortcuts kept;
        for (size_t i = 0; i < t.Size() + 1; ++i) {
            if (coin(rng) == 0) continue;
            const int k = key(rng);
            kept["C" + std::to_string(i)] = k == -3   ? ""
                                            : k == -2 ? "bad"
                                            : k == -1 ? "K" + std::to_string(KeyCount - 1)
                                                      : Key(k);
        }
        const std::vector<std::string> fell = t.Load(kept, Canonical);
        ExpectNoKeyTwice(t);
        for (size_t i = 0; i < t.Size(); ++i) {
            const TShortcutCommand& c = t.Command(i);
            const bool fellBack = std::find(fell.begin(), fell.end(), c.Name) != fell.end();
            const auto k = kept.find(c.Name);
            if (k == kept.end() || c.Fixed) {
                EXPECT_EQ(t.Keys(i), c.Defaults);
                EXPECT_FALSE(fellBack);
                continue;
            }
            const std::string want = k->second.empty() ? "" : Canonical(k->second);
            if (k->second.empty()) {
                EXPECT_TRUE(t.Keys(i).empty());
                EXPECT_FALSE(fellBack);
            } else if (want.empty()) {
                EXPECT_EQ(t.Keys(i), c.Defaults);
                EXPECT_TRUE(fellBack);
            } else if (fellBack) {
                // Lost to a command that has its defaults, or to a changed one before it (or
                // the key is among its own defaults, which it has again).
                EXPECT_EQ(t.Keys(i), c.Defaults);
                if (std::find(c.Defaults.begin(), c.Defaults.end(), want) != c.Defaults.end())
                    continue;
                const size_t holder = t.Holder(want, i);
                ASSERT_NE(holder, TShortcutTable::None) << c.Name << " fell back for nothing";
                EXPECT_TRUE(!t.Changed(holder) || holder < i);
            } else {
                EXPECT_EQ(t.Keys(i), std::vector<std::string>{want});
            }
        }
    }
}

} // namespace quarvel::test
