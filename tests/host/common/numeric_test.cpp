#include <gtest/gtest.h>

#include "common/errors.h"
#include "common/numeric.h"

namespace orv {
namespace {

struct ReadCase {
    const char* text;
    double value;
};

TEST(ReadNumber, ReadsTheNumberAtTheStartOfTheText) {
    const ReadCase cases[] = {
        {"  12abc", 12}, {"1 2", 12},    {"&H1F", 31}, {"&h1f", 31},   {"&O17", 15}, {"1e2", 100},
        {"1D2", 100},    {"1d-2", 0.01}, {"50%", 50},  {"-5", -5},     {"+7", 7},    {"7.5", 7.5},
        {"abc", 0},      {"", 0},        {".5", 0.5},  {"1.2.3", 1.2}, {"1,5", 1},   {"\t4\n2", 42},
        {"- 3", -3},     {"1e", 1},      {"1e+", 1},   {"&H", 0},      {"&X1", 0},   {"12\r3", 12},
        {"-", 0},        {"3E1x", 30},   {".", 0},     {"0.5e1", 5},
    };
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(ReadNumber(c.text), c.value) << '"' << c.text << '"';
}

TEST(ParseNumber, AcceptsOnlyAWholeNumber) {
    EXPECT_EQ(ParseNumber(" 1234 "), 1234);
    EXPECT_EQ(ParseNumber("1234.5"), 1234.5);
    EXPECT_EQ(ParseNumber("&H10"), 16);
    EXPECT_FALSE(ParseNumber(""));
    EXPECT_FALSE(ParseNumber("   "));
    EXPECT_FALSE(ParseNumber("12abc"));
    EXPECT_FALSE(ParseNumber("abc"));
    EXPECT_FALSE(ParseNumber("1 2"));
}

TEST(ToInt16, RoundsHalvesToEven) {
    const std::pair<double, int> cases[] = {{2.5, 2},         {3.5, 4},         {7.5, 8},
                                            {6.5, 6},         {-2.5, -2},       {-3.5, -4},
                                            {7.6, 8},         {0.49, 0},        {32767, 32767},
                                            {-32768, -32768}, {32767.4, 32767}, {-32768.5, -32768}};
    for (const auto& [in, out] : cases)
        EXPECT_EQ(ToInt16(in), out) << in;
}

TEST(ToInt16, OverflowsOutsideSixteenBits) {
    for (double v : {32767.5, 32768.0, -32769.0, -32768.6, 40000.0, 1e300}) {
        try {
            ToInt16(v);
            ADD_FAILURE() << v << " did not overflow";
        } catch (const RuntimeError& e) {
            EXPECT_EQ(e.Number(), 6) << v;
            EXPECT_EQ(e.Description(), "Overflow");
        }
    }
}

TEST(ToInt16, TextThatIsNoNumberIsATypeMismatch) {
    EXPECT_EQ(ToInt16(std::string_view(" 7.5 ")), 8);
    try {
        ToInt16(std::string_view("12abc"));
        ADD_FAILURE();
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.Number(), 13);
        EXPECT_EQ(e.Description(), "Type mismatch");
    }
}

TEST(ToInt32, CoversTheThirtyTwoBitRange) {
    EXPECT_EQ(ToInt32(2147483647.0), 2147483647);
    EXPECT_EQ(ToInt32(-2147483648.0), -2147483647 - 1);
    EXPECT_THROW(ToInt32(2147483648.0), RuntimeError);
}

} // namespace
} // namespace orv
