// Whole decimal numbers: what is a number, what is out of range, and the '+' sign.
#include "map/parseint.h"

#include <gtest/gtest.h>

#include <climits>

namespace quarvel::test {
namespace {

struct Row {
    const char* Text;
    IntParse Result;
    int Value;
};

TEST(ParseIntTest, Table) {
    const Row rows[] = {
        {"0", IntParse::Ok, 0},
        {"-0", IntParse::Ok, 0},
        {"007", IntParse::Ok, 7},
        {"-12", IntParse::Ok, -12},
        {"2147483647", IntParse::Ok, INT_MAX},
        {"-2147483648", IntParse::Ok, INT_MIN},
        {"00000000000000000000001", IntParse::Ok, 1},
        {"2147483648", IntParse::OutOfRange, 0},
        {"-2147483649", IntParse::OutOfRange, 0},
        {"99999999999999999999999", IntParse::OutOfRange, 0},
        {"", IntParse::NotANumber, 0},
        {"-", IntParse::NotANumber, 0},
        {"+", IntParse::NotANumber, 0},
        {"+7", IntParse::NotANumber, 0},
        {"--1", IntParse::NotANumber, 0},
        {"1-", IntParse::NotANumber, 0},
        {" 1", IntParse::NotANumber, 0},
        {"1 ", IntParse::NotANumber, 0},
        {"1.5", IntParse::NotANumber, 0},
        {"0x10", IntParse::NotANumber, 0},
        {"1e3", IntParse::NotANumber, 0},
        {"abc", IntParse::NotANumber, 0},
        {"99999999999999999999x", IntParse::NotANumber, 0},
        {"\xEF\xBC\x91", IntParse::NotANumber, 0}, // a full-width digit
    };
    for (const Row& r : rows) {
        int value = 12345;
        EXPECT_EQ(ParseDecimalInt(r.Text, value), r.Result) << r.Text;
        EXPECT_EQ(value, r.Result == IntParse::Ok ? r.Value : 12345) << r.Text;
    }
}

TEST(ParseIntTest, PlusWhenAllowed) {
    int value = 0;
    EXPECT_EQ(ParseDecimalInt("+7", value, true), IntParse::Ok);
    EXPECT_EQ(value, 7);
    EXPECT_EQ(ParseDecimalInt("+2147483647", value, true), IntParse::Ok);
    EXPECT_EQ(value, INT_MAX);
    EXPECT_EQ(ParseDecimalInt("+2147483648", value, true), IntParse::OutOfRange);
    for (const char* bad : {"+", "+-1", "++1", "-+1", "+ 1", "+x"})
        EXPECT_EQ(ParseDecimalInt(bad, value, true), IntParse::NotANumber) << bad;
    EXPECT_EQ(value, INT_MAX);
}

} // namespace
} // namespace quarvel::test
