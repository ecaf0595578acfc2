#include "config_tool/model/StoredValues.h"

#include <gtest/gtest.h>

namespace tarn {
namespace {

using namespace StoredValues;

// Falling back to a default is seen in the session tests' loads.
TEST(StoredValues, TextsConvertAsTheEnginesToolingConvertedThem)
{
    const std::pair<const char*, double> numbers[]
        = { { " -3 ", -3.0 }, { "+4", 4.0 }, { ".5", 0.5 }, { "5.", 5.0 }, { "1e2", 100.0 }, { "1E-1", 0.1 } };
    for (const auto& [text, value] : numbers) {
        EXPECT_EQ(parseNumber(text), value) << text;
    }
    for (const char* bad :
         { "", " ", "yes", "True1", "12abc", "1 2", "--1", ".", "e5", "1e", "inf", "nan", "0x10", "1,5" }) {
        EXPECT_FALSE(parseNumber(bad)) << bad;
        EXPECT_FALSE(parseBoolean(bad)) << bad;
    }
    const std::pair<const char*, bool> booleans[]
        = { { "True", true }, { "  TRUE ", true }, { "false", false }, { "1", true },
            { "-1", true },   { "0.5", true },     { "0.0", false } };
    for (const auto& [text, value] : booleans) {
        EXPECT_EQ(parseBoolean(text), value) << text;
    }
    const std::pair<const char*, std::int16_t> int16s[]
        = { { "2.5", 2 }, { "3.5", 4 }, { "-2.5", -2 }, { "32766.5", 32766 }, { "-32768", -32768 }, { "05001", 5001 } };
    for (const auto& [text, value] : int16s) {
        EXPECT_EQ(parseInt16(text), value) << text;
    }
    for (const char* bad : { "32768", "-32769", "32767.5", "word" }) {
        EXPECT_FALSE(parseInt16(bad)) << bad;
    }
    EXPECT_FALSE(parseInt32("2147483648"));
    EXPECT_EQ(toInt16("40000", "100"), 100) << "out of range: the default";
    EXPECT_EQ(toInt32("3000000000", "7"), 7);
}

} // namespace
} // namespace tarn
