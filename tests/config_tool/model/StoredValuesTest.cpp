#include "config_tool/model/StoredValues.h"

#include <gtest/gtest.h>

namespace tarn {
namespace {

using namespace StoredValues;

TEST(StoredValuesTest, BooleansReadAsCBoolDoes)
{
    for (const char* yes : { "True", "TRUE", "  True ", "1", "-1", "2", "0.5" }) {
        EXPECT_EQ(parseBoolean(yes), true) << yes;
    }
    for (const char* no : { "false", "0", "0.0" }) {
        EXPECT_EQ(parseBoolean(no), false) << no;
    }
    for (const char* bad : { "", "yes", "Tru", "True1" }) {
        EXPECT_FALSE(parseBoolean(bad).has_value()) << bad;
    }
}

TEST(StoredValuesTest, NumbersNeedTheWholeTextToBeDecimal)
{
    const std::pair<const char*, double> good[]
        = { { "12", 12.0 }, { " -3 ", -3.0 }, { "+4", 4.0 },    { "10.5", 10.5 },
            { ".5", 0.5 },  { "5.", 5.0 },    { "1e2", 100.0 }, { "1E-1", 0.1 } };
    for (const auto& [text, value] : good) {
        EXPECT_EQ(parseNumber(text), value) << text;
    }
    for (const char* bad :
         { "", " ", "abc", "12abc", "1 2", "--1", "+", ".", "e5", "1e", "inf", "nan", "0x10", "1,5" }) {
        EXPECT_FALSE(parseNumber(bad).has_value()) << bad;
    }
}

TEST(StoredValuesTest, RoundingTakesHalvesToEven)
{
    const std::pair<double, double> cases[]
        = { { 0.5, 0.0 },   { 1.5, 2.0 },      { 2.5, 2.0 },     { 3.5, 4.0 }, { -1.5, -2.0 },
            { -2.5, -2.0 }, { 133.33, 133.0 }, { 133.6, 134.0 }, { -0.4, 0.0 } };
    for (const auto& [value, rounded] : cases) {
        EXPECT_EQ(roundHalfEven(value), rounded) << value;
    }
}

TEST(StoredValuesTest, IntegersKeepToTheirRange)
{
    EXPECT_EQ(parseInt16("32767"), 32767);
    EXPECT_EQ(parseInt16("-32768"), -32768);
    EXPECT_EQ(parseInt16("32766.5"), 32766);
    EXPECT_EQ(parseInt16("2.5"), 2);
    EXPECT_EQ(parseInt16("05001"), 5001);
    // Rounding comes first, so a half above the limit overflows.
    for (const char* bad : { "32768", "-32769", "32767.5", "word" }) {
        EXPECT_FALSE(parseInt16(bad).has_value()) << bad;
    }
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
