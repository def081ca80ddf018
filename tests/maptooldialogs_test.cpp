// The shift and swap dialogs' OK actions: text to number, the key filter, and the results.
#include "editor/maptooldialogs.h"
#include "map/maperror.h"
#include "tests/fakewindows.h"

#include <climits>

namespace quarvel::test {
namespace {

class MapToolDialogsTest : public EditorTest {};

std::string ErrorOf(const std::string& text) {
    try {
        StrToInt(text);
    } catch (const QuarvelError& e) {
        return e.what();
    }
    return "no error";
}

TEST(StrToIntTest, AcceptsSignedDecimalIntegers) {
    EXPECT_EQ(StrToInt("0"), 0);
    EXPECT_EQ(StrToInt("-12"), -12);
    EXPECT_EQ(StrToInt("+7"), 7);
    EXPECT_EQ(StrToInt("007"), 7);
    EXPECT_EQ(StrToInt("2147483647"), INT_MAX);
    EXPECT_EQ(StrToInt("-2147483648"), INT_MIN);
}

TEST(StrToIntTest, RejectsEverythingElseNamingTheText) {
    EXPECT_EQ(ErrorOf(""), "'' は整数ではありません");
    EXPECT_EQ(ErrorOf("-"), "'-' は整数ではありません");
    EXPECT_EQ(ErrorOf("1-"), "'1-' は整数ではありません");
    for (const char* bad : {" 1", "1 ", "+", "--1", "1.5", "0x10", "abc", "2147483648",
                            "-2147483649", "99999999999999999999999"})
        EXPECT_EQ(ErrorOf(bad), std::string("'") + bad + "' は整数ではありません");
}

TEST(ShiftKeyTest, PassesBackspaceMinusAndDigitsOnly) {
    for (int ch : std::initializer_list<int>{8, '-', '0', '5', '9'})
        EXPECT_TRUE(ShiftKeyAllowed(ch)) << ch;
    for (int ch : std::initializer_list<int>{0, 9, 13, 27, '+', ' ', 'a', '/', ':', 0x3000})
        EXPECT_FALSE(ShiftKeyAllowed(ch));
}

TEST_F(MapToolDialogsTest, InvalidOffsetChangesNothing) {
    State.TheMap->UndoBuf.BeginStep();
    State.TheMap->SetChip(0, 0, 0, 9);
    const int before = State.TheMap->UndoBuf.Current;
    for (const auto& e :
         {std::vector<std::string>{"", "0", "0"}, {"1", "-", "0"}, {"1", "0", "1-"}})
        EXPECT_THROW(ShiftDialogOk(State, e[0], e[1], e[2]), QuarvelError);
    EXPECT_EQ(State.TheMap->GetChip(0, 0, 0), 9);
    EXPECT_EQ(State.TheMap->UndoBuf.Current, before);
    // The first invalid text is the one named.
    try {
        ShiftDialogOk(State, "x", "y", "0");
        FAIL();
    } catch (const QuarvelError& e) {
        EXPECT_EQ(std::string(e.what()), "'x' は整数ではありません");
    }
}

TEST_F(MapToolDialogsTest, ZeroOffsetsCancelAndOthersShift) {
    State.TheMap->UndoBuf.BeginStep();
    State.TheMap->SetChip(0, 0, 0, 9);
    const int before = State.TheMap->UndoBuf.Current;
    EXPECT_EQ(ShiftDialogOk(State, "0", "-0", "+0"), mrCancel);
    EXPECT_EQ(State.TheMap->UndoBuf.Current, before);

    EXPECT_EQ(ShiftDialogOk(State, "1", "0", "0"), mrOk);
    EXPECT_EQ(State.TheMap->GetChip(0, 0, 0), 0);
    EXPECT_EQ(State.TheMap->GetChip(1, 0, 0), 9);
    EXPECT_TRUE(State.TheMap->Undo());
    EXPECT_EQ(State.TheMap->GetChip(0, 0, 0), 9);

    // Offsets far beyond the map empty it without overflowing.
    EXPECT_EQ(ShiftDialogOk(State, "-2147483648", "0", "0"), mrOk);
    EXPECT_EQ(State.TheMap->GetChip(0, 0, 0), 0);
    EXPECT_EQ(ShiftDialogOk(State, "0", "0", "2147483647"), mrOk);
}

TEST_F(MapToolDialogsTest, SwapOfOneCountryWithItselfCancels) {
    State.TheMap->UndoBuf.BeginStep();
    State.TheMap->SetChip(2, 2, 5, 25);
    const int before = State.TheMap->UndoBuf.Current;
    EXPECT_EQ(SwapDialogOk(State, 1, 1), mrCancel);
    EXPECT_EQ(SwapDialogOk(State, 0, 4), mrCancel);
    EXPECT_EQ(State.TheMap->UndoBuf.Current, before);
    EXPECT_EQ(SwapDialogOk(State, 0, 3), mrOk);
    EXPECT_EQ(State.TheMap->GetChip(2, 2, 5), 28);
}

} // namespace
} // namespace quarvel::test
