#include "config_tool/model/StoredValues.h"

#include <cmath>
#include <gtest/gtest.h>

namespace tarn {
namespace {

using namespace StoredValues;

TEST(StoredValuesTest, BooleansReadAsCBoolDoes)
{
    EXPECT_EQ(parseBoolean("True"), true);
    EXPECT_EQ(parseBoolean("false"), false);
    EXPECT_EQ(parseBoolean("TRUE"), true);
    EXPECT_EQ(parseBoolean("  True "), true);
    EXPECT_EQ(parseBoolean("1"), true);
    EXPECT_EQ(parseBoolean("-1"), true);
    EXPECT_EQ(parseBoolean("2"), true);
    EXPECT_EQ(parseBoolean("0"), false);
    EXPECT_EQ(parseBoolean("0.0"), false);
    EXPECT_EQ(parseBoolean("0.5"), true);

    EXPECT_FALSE(parseBoolean("").has_value());
    EXPECT_FALSE(parseBoolean("yes").has_value());
    EXPECT_FALSE(parseBoolean("Tru").has_value());
    EXPECT_FALSE(parseBoolean("True1").has_value());
}

TEST(StoredValuesTest, NumbersNeedTheWholeTextToBeDecimal)
{
    EXPECT_EQ(parseNumber("12"), 12.0);
    EXPECT_EQ(parseNumber(" -3 "), -3.0);
    EXPECT_EQ(parseNumber("+4"), 4.0);
    EXPECT_EQ(parseNumber("10.5"), 10.5);
    EXPECT_EQ(parseNumber(".5"), 0.5);
    EXPECT_EQ(parseNumber("5."), 5.0);
    EXPECT_EQ(parseNumber("1e2"), 100.0);
    EXPECT_EQ(parseNumber("1E-1"), 0.1);

    for (const char* bad :
         { "", " ", "abc", "12abc", "1 2", "--1", "+", ".", "e5", "1e", "inf", "nan", "0x10", "1,5" }) {
        EXPECT_FALSE(parseNumber(bad).has_value()) << bad;
    }
}

TEST(StoredValuesTest, RoundingTakesHalvesToEven)
{
    EXPECT_EQ(roundHalfEven(0.5), 0.0);
    EXPECT_EQ(roundHalfEven(1.5), 2.0);
    EXPECT_EQ(roundHalfEven(2.5), 2.0);
    EXPECT_EQ(roundHalfEven(3.5), 4.0);
    EXPECT_EQ(roundHalfEven(-1.5), -2.0);
    EXPECT_EQ(roundHalfEven(-2.5), -2.0);
    EXPECT_EQ(roundHalfEven(133.33), 133.0);
    EXPECT_EQ(roundHalfEven(133.6), 134.0);
    EXPECT_EQ(roundHalfEven(-0.4), 0.0);
}

TEST(StoredValuesTest, IntegersKeepToTheirRange)
{
    EXPECT_EQ(parseInt16("32767"), 32767);
    EXPECT_EQ(parseInt16("-32768"), -32768);
    EXPECT_FALSE(parseInt16("32768").has_value());
    EXPECT_FALSE(parseInt16("-32769").has_value());
    // Rounding comes first, so a half above the limit overflows.
    EXPECT_FALSE(parseInt16("32767.5").has_value());
    EXPECT_EQ(parseInt16("32766.5"), 32766);
    EXPECT_EQ(parseInt16("2.5"), 2);
    EXPECT_EQ(parseInt16("05001"), 5001);
    EXPECT_FALSE(parseInt16("word").has_value());

    EXPECT_EQ(parseInt32("2147483647"), 2147483647);
    EXPECT_EQ(parseInt32("-2147483633"), -2147483633);
    EXPECT_FALSE(parseInt32("2147483648").has_value());
    EXPECT_FALSE(parseInt32("1e10").has_value());
}

TEST(StoredValuesTest, UnconvertibleValuesFallBackToTheDefault)
{
    EXPECT_TRUE(toBoolean("maybe", "True"));
    EXPECT_FALSE(toBoolean("maybe", "False"));
    EXPECT_FALSE(toBoolean("False", "True"));
    EXPECT_EQ(toInt16("abc", "1"), 1);
    EXPECT_EQ(toInt16("40000", "100"), 100);
    EXPECT_EQ(toInt16("7", "100"), 7);
    EXPECT_EQ(toInt32("", "0"), 0);
    EXPECT_EQ(toInt32("3000000000", "0"), 0);
    EXPECT_EQ(booleanText(true), "True");
    EXPECT_EQ(booleanText(false), "False");
}

} // namespace
} // namespace tarn
