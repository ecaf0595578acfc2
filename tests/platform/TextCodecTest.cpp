#include "platform/TextCodec.h"

#include "tests/support/Files.h"

#include <gtest/gtest.h>

namespace orvant::platform {
namespace {

// The file holds the character of every byte 00-FF in byte order, so the whole code page is compared.
TEST(TextCodec, EveryByteMapsToItsCharacterAndBack)
{
    std::string allBytes;
    for (int b = 0; b < 256; ++b) {
        allBytes.push_back(static_cast<char>(b));
    }
    const std::string utf8 = ansiToUtf8(allBytes);
    EXPECT_TRUE(test::matchesDataFile(utf8, "platform/windows-1252.txt"));
    EXPECT_EQ(utf8ToAnsi(utf8), allBytes);
}

TEST(TextCodec, CharactersWithoutAByteBecomeQuestionMarks)
{
    const std::pair<const char*, const char*> cases[] = {
        { "\xE4\xB8\xAD", "?" }, // a CJK character
        { "a\xF0\x9F\x98\x80z", "a?z" }, // outside the basic plane
        { "\xC2\x80", "?" }, // U+0080 has no byte: 0x80 is the euro sign
        { "x\xFFy", "x?y" }, // malformed
        { "\xE2\x82", "??" }, // truncated, one mark per byte
        { "\xC0\xAF", "??" }, // overlong "/"
    };
    for (const auto& [utf8, ansi] : cases) {
        EXPECT_EQ(utf8ToAnsi(utf8), ansi) << utf8;
    }
}

TEST(TextCodec, UpperCasesTheLettersWindows1252HasInBothCases)
{
    EXPECT_EQ(upperCaseAnsi(R"(c:\program files\x86 àéîõü ÿ šœž æøþ ß ÷ µ)"),
              R"(C:\PROGRAM FILES\X86 ÀÉÎÕÜ Ÿ ŠŒŽ ÆØÞ ß ÷ µ)");
    EXPECT_EQ(upperCaseAnsi("\xC3"), "\xC3");
}

} // namespace
} // namespace orvant::platform
