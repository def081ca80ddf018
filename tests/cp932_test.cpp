// Code page 932: the characters where it differs from plain Shift_JIS, the code chosen for a
// character the page holds twice, refusals, bad bytes, and cutting at character boundaries.
#include "map/cp932.h"
#include "map/maperror.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace quarvel::test {
namespace {

struct Row {
    const char* Text; // UTF-8
    const char* Bytes;
};

// Characters whose code page 932 form differs from plain Shift_JIS or comes from the NEC
// and IBM extensions, each with the bytes Windows writes for it.
const Row Table[] = {
    {"～", "\x81\x60"}, {"∥", "\x81\x61"},  {"－", "\x81\x7C"},
    {"￢", "\x81\xCA"}, {"￠", "\x81\x91"}, {"￡", "\x81\x92"},
    {"―", "\x81\x5C"},  {"＼", "\x81\x5F"}, {"\\", "\x5C"},
    {"~", "\x7E"},      {"ｱ", "\xB1"},      {"①", "\x87\x40"},
    {"⑳", "\x87\x53"},  {"Ⅰ", "\x87\x54"},  {"㈱", "\x87\x8A"},
    {"№", "\x87\x82"},  {"℡", "\x87\x84"},  {"∵", "\x81\xE6"},
    {"≒", "\x81\xE0"},  {"ⅰ", "\xFA\x40"},  {"￤", "\xFA\x55"},
    {"＇", "\xFA\x56"}, {"＂", "\xFA\x57"}, {"纊", "\xFA\x5C"},
    {"髙", "\xFB\xFC"}, {"黑", "\xFC\x4B"}, {"\xEE\x80\x80", "\xF0\x40"}, // user area
};

TEST(Cp932Test, TableBothWays) {
    for (const Row& r : Table) {
        EXPECT_EQ(Utf8ToCp932(r.Text), r.Bytes) << r.Text;
        EXPECT_EQ(Cp932ToUtf8(r.Bytes), r.Text) << r.Text;
    }
    std::string text, bytes;
    for (const Row& r : Table) text += r.Text, bytes += r.Bytes;
    EXPECT_EQ(Utf8ToCp932(text), bytes);
    EXPECT_EQ(Cp932ToUtf8(bytes), text);
}

TEST(Cp932Test, SecondCodesReadAsTheFirst) {
    // NEC's selection of IBM characters (0xED, 0xEE) and NEC row 13 repeat characters found
    // elsewhere; they read as those characters and are written back with the first code.
    const Row seconds[] = {{"ⅰ", "\xEE\xEF"},  {"￢", "\xEE\xF9"}, {"￢", "\xFA\x54"},
                           {"㈱", "\xFA\x58"}, {"∵", "\x87\x9A"},  {"∵", "\xFA\x5B"},
                           {"≒", "\x87\x90"},  {"纊", "\xED\x40"}, {"Ⅰ", "\xFA\x4A"}};
    for (const Row& r : seconds) EXPECT_EQ(Cp932ToUtf8(r.Bytes), r.Text) << r.Text;
}

// Every double-byte code: what reads as a character is written back as the code Windows
// chooses, the lowest code of the character except that NEC's selection of IBM characters
// (lead bytes 0xED and 0xEE) comes last; and writing that character reads it back.
TEST(Cp932Test, EveryCodeRoundTrips) {
    std::map<std::string, std::vector<unsigned>> codes;
    for (unsigned code = 0x8140; code <= 0xFCFC; ++code) {
        if (!IsCp932LeadByte(uint8_t(code >> 8))) continue;
        const std::string bytes = {char(code >> 8), char(code & 0xFF)};
        std::string text;
        try {
            text = Cp932ToUtf8(bytes);
        } catch (const QuarvelError&) {
            continue;
        }
        codes[text].push_back(code);
    }
    EXPECT_EQ(codes.size(), 7724u - 398u + 1880u); // 398 repeats; 1880 user-defined
    for (const auto& [text, list] : codes) {
        unsigned want = list[0];
        for (unsigned c : list) {
            const bool nec = (want >> 8) == 0xED || (want >> 8) == 0xEE;
            if (nec && (c >> 8) != 0xED && (c >> 8) != 0xEE) want = c;
        }
        const std::string bytes = Utf8ToCp932(text);
        ASSERT_EQ(bytes.size(), 2u);
        EXPECT_EQ(unsigned(uint8_t(bytes[0])) << 8 | uint8_t(bytes[1]), want) << std::hex << want;
    }
}

TEST(Cp932Test, RefusesWhatDoesNotReadBackTheSame) {
    // Look-alikes the C library would take (they read back as other characters), a character
    // it would drop, characters outside the page, and broken UTF-8.
    for (const char* text : {"〜", "‖", "−", "¥", "‾", "¢", "£", "¬", "—", "😀", "\xF3\xA0\x81\x81",
                             "한", "\x80", "a\xE3\x81", "\xC0\x80", "\xED\xA0\x80", "\xFF"}) {
        std::string out;
        EXPECT_FALSE(TryUtf8ToCp932(std::string("ok") + text, out)) << text;
        EXPECT_THROW(Utf8ToCp932(text), QuarvelError) << text;
    }
    std::string out = "stale";
    EXPECT_TRUE(TryUtf8ToCp932("", out));
    EXPECT_EQ(out, "");
}

TEST(Cp932Test, BadBytes) {
    // Single bytes the page leaves out, a lead byte without a valid second byte, an unused
    // double-byte code, and a lead byte at the very end.
    const Row bad[] = {{"\\x80", "\x80"},
                       {"\\xA0", "\xA0"},
                       {"\\xFD\\xFE\\xFF", "\xFD\xFE\xFF"},
                       {"\\x81 a", "\x81\x20"
                                   "a"},
                       {"\\x85@", "\x85\x40"},
                       {"A\\x81", "A\x81"},
                       {"新\\x90", "\x90\x56\x90"}};
    for (const Row& r : bad) {
        EXPECT_EQ(Cp932ToUtf8Lossy(r.Bytes), r.Text) << r.Text;
        EXPECT_THROW(Cp932ToUtf8(r.Bytes), QuarvelError) << r.Text;
    }
    EXPECT_EQ(Cp932ToUtf8Lossy("\x90\x56\x8B\x4B"), "新規");
}

TEST(Cp932Test, PrefixNeverCutsADoubleByteCharacter) {
    const std::string kanji = "\x90\x56"; // one double-byte character
    const std::string kana = "\xB1";      // half-width katakana: one byte
    EXPECT_EQ(Cp932Prefix(std::string(20, 'a'), 20), std::string(20, 'a'));
    EXPECT_EQ(Cp932Prefix(std::string(25, 'a'), 20), std::string(20, 'a'));
    EXPECT_EQ(Cp932Prefix(std::string(19, 'a') + kanji, 20), std::string(19, 'a'));
    EXPECT_EQ(Cp932Prefix(std::string(18, 'a') + kanji + "b", 20), std::string(18, 'a') + kanji);
    std::string tenKanji;
    for (int i = 0; i < 11; ++i) tenKanji += kanji;
    EXPECT_EQ(Cp932Prefix(tenKanji, 20).size(), 20u);
    EXPECT_EQ(Cp932Prefix(kana + tenKanji, 20), kana + tenKanji.substr(0, 18));
    EXPECT_EQ(Cp932Prefix("\xE0\x40xyz", 3), "\xE0\x40x");
    EXPECT_EQ(Cp932Prefix("ab\x81", 20), "ab\x81"); // a lone lead byte at the end stays
    EXPECT_EQ(Cp932Prefix("", 20), "");
    // A lead byte counts with the byte after it, whatever that is (the map keeps bytes).
    EXPECT_EQ(Cp932Prefix("a\x81\x20", 2), "a");
    EXPECT_EQ(Cp932Prefix("\xFC\xFC", 1), "");
    EXPECT_EQ(Cp932CharLength("\x9F\x40\xA0", 0), 2u);
    EXPECT_EQ(Cp932CharLength("\x9F\x40\xA0", 2), 1u);
}

} // namespace
} // namespace quarvel::test
