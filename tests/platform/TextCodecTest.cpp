#include "platform/TextCodec.h"

#include <gtest/gtest.h>

using orvant::platform::ansiToUtf8;
using orvant::platform::utf8ToAnsi;

TEST(TextCodec, EveryByteSurvivesARoundTrip)
{
    std::string allBytes;
    for (int b = 0; b < 256; ++b) {
        allBytes.push_back(static_cast<char>(b));
    }
    const std::string utf8 = ansiToUtf8(allBytes);
    EXPECT_EQ(utf8ToAnsi(utf8), allBytes);
}

TEST(TextCodec, MapsTheWindows1252Letters)
{
    EXPECT_EQ(ansiToUtf8("\xA3"), "\xC2\xA3"); // pound sign
    EXPECT_EQ(ansiToUtf8("\x80"), "\xE2\x82\xAC"); // euro sign
    EXPECT_EQ(ansiToUtf8("\x9F"), "\xC5\xB8"); // Y with diaeresis
    EXPECT_EQ(ansiToUtf8("\x81\x8D"), "\xC2\x81\xC2\x8D"); // undefined bytes keep their C1 code point
    EXPECT_EQ(utf8ToAnsi("\xE2\x80\x9C"
                         "a"
                         "\xE2\x80\x9D"),
              "\x93"
              "a"
              "\x94");
}

TEST(TextCodec, CharactersWithoutAByteBecomeQuestionMarks)
{
    EXPECT_EQ(utf8ToAnsi("\xE4\xB8\xAD"), "?"); // a CJK character
    EXPECT_EQ(utf8ToAnsi("a\xF0\x9F\x98\x80z"), "a?z"); // outside the basic plane
    EXPECT_EQ(utf8ToAnsi("\xC2\x80"), "?"); // U+0080 has no byte: 0x80 is the euro sign
    EXPECT_EQ(utf8ToAnsi("x\xFFy"), "x?y"); // malformed UTF-8
    EXPECT_EQ(utf8ToAnsi("\xE2\x82"), "??"); // truncated sequence, one mark per byte
    EXPECT_EQ(utf8ToAnsi("\xC0\xAF"), "??"); // overlong encoding of "/"
}
