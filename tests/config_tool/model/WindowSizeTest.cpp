#include "config_tool/model/WindowSize.h"

#include <gtest/gtest.h>
#include <limits>

namespace tarn {
namespace {

TEST(WindowSize, TheLeadingNumberOfAText)
{
    const std::pair<std::string, std::optional<double>> cases[] = {
        { "80%", 80.0 }, { " 7 9.5x", 79.5 }, { "-5", -5.0 },
        { "+81", 81.0 }, { "1.2.3", 1.2 },    { ".5", 0.5 },
        { "abc", {} },   { "", {} },          { "-", {} },
        { ".", {} },     { "0.000", 0.0 },    { std::string(400, '9'), std::numeric_limits<double>::max() },
    };
    for (const auto& [text, number] : cases) {
        EXPECT_EQ(readLeadingNumber(text), number) << text;
    }
    EXPECT_EQ(leadingNumber("none"), 0.0);
}

TEST(WindowSize, SizesUpToSeventyNineOrAboveAHundredBecomeAHundred)
{
    const std::pair<const char*, const char*> cases[] = {
        { "79", "100" },     { "79.5", "79.5" }, { "80", "80" },       { "85%", "85%" }, { "100", "100" },
        { "100.01", "100" }, { "101", "100" },   { "letters", "100" }, { "", "100" },    { "-90", "100" },
    };
    for (const auto& [typed, corrected] : cases) {
        EXPECT_EQ(correctWindowSize(typed), corrected) << typed;
    }
    // Stored rounded half to even, within 16 bits.
    const std::pair<const char*, std::int16_t> stored[] = { { "79.5", 80 },    { "80.5", 80 }, { "81.5", 82 },
                                                            { "95 %", 95 },    { "x", 0 },     { "1e9", 1 },
                                                            { "99999", 32767 } };
    for (const auto& [text, size] : stored) {
        EXPECT_EQ(windowSizeOf(text), size) << text;
    }
}

} // namespace
} // namespace tarn
