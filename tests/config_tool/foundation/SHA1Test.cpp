#include "config_tool/foundation/SHA1.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <limits>
#include <string>

namespace {

using tarn::SHA1;

constexpr auto kMax = std::numeric_limits<std::int32_t>::max();
constexpr auto kMin = std::numeric_limits<std::int32_t>::min();

TEST(SHA1Digest, KnownVectors)
{
    const std::pair<std::string, const char*> cases[] = {
        { "", "DA39A3EE 5E6B4B0D 3255BFEF 95601890 AFD80709" },
        { "abc", "A9993E36 4706816A BA3E2571 7850C26C 9CD0D89D" },
        { "abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq", "84983E44 1C3BD26E BAAE4AA1 F95129E5 E54670F1" },
        { std::string(1000000, 'a'), "34AA973C D4C4DAA4 F61EEB2B DBAD2731 6534016F" },
        // 55 bytes leave room for the marker and the length; 56 need a second block; 64 fill one exactly.
        { std::string(55, 'a'), "C1C8BBDC 22796E28 C0E15163 D20899B6 5621D65A" },
        { std::string(56, 'a'), "C2DB330F 6083854C 99D4B5BF B6E8F29F 201BE699" },
        { std::string(64, 'a'), "0098BA82 4B5C1642 7BD7A112 2A5A442A 25EC644D" },
        // Text is hashed as Windows-1252 bytes: "£" is the byte A3.
        { "\xC2\xA3", "121A9AF8 89BD4CA2 266BE5A4 F680D3BE AD8D02D6" },
        { "caf\xC3\xA9 \xE2\x82\xAC", "B4039A75 30832D54 085EC1F0 8C556B7E 62DC7DA9" },
        // The five bytes Windows-1252 leaves undefined travel as U+0081, U+008D, U+008F, U+0090, U+009D.
        { "\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D", "F9B90606 10D6249F 41A9DFBB 7632F9F5 7ADAC41C" },
        // The salted password as the user store hashes it.
        { "secret" + std::string(tarn::kSalt), "C6D60415 31D3F3C3 68163427 CEC91346 139351A6" },
    };
    for (const auto& [message, digest] : cases) {
        EXPECT_EQ(SHA1::sha1(message), digest) << message.substr(0, 60);
    }
}

TEST(SHA1Hex, HashesTheSpelledBytes)
{
    std::string allBytesHex;
    for (int b = 0; b < 256; ++b) {
        allBytesHex += SHA1::dectohex(b, 2);
    }
    EXPECT_EQ(SHA1::sha1hex(allBytesHex), "4916D6BD B7F78E68 03698CAB 32D1586E A457DFC8");
    EXPECT_EQ(SHA1::sha1hex("61 62 63"), "A9993E36 4706816A BA3E2571 7850C26C 9CD0D89D");
    EXPECT_EQ(SHA1::sha1hex("a3"), "121A9AF8 89BD4CA2 266BE5A4 F680D3BE AD8D02D6");
    EXPECT_EQ(SHA1::sha1hex(""), "DA39A3EE 5E6B4B0D 3255BFEF 95601890 AFD80709");
}

TEST(SHA1Words, WrapAroundArithmetic)
{
    EXPECT_EQ(SHA1::i32add(kMax, 1), kMin);
    EXPECT_EQ(SHA1::i32add(-1, -1), -2);
    EXPECT_EQ(SHA1::i32add(0x12345678, 0x11111111), 0x23456789);
    EXPECT_EQ(SHA1::i32sub(kMin, 1), kMax);
    EXPECT_EQ(SHA1::i32sub(5, 7), -2);

    EXPECT_EQ(SHA1::i32rotateleft(static_cast<std::int32_t>(0x80000001u), 1), 3);
    EXPECT_EQ(SHA1::i32rotateleft(0x12345678, 8), 0x34567812);
    EXPECT_EQ(SHA1::i32rotateleft(1, 31), kMin);
    EXPECT_EQ(SHA1::i32rotateright(1, 1), kMin);
    EXPECT_EQ(SHA1::i32rotateright(0x12345678, 8), 0x78123456);
    for (const std::int16_t n : { std::int16_t(0), std::int16_t(32), std::int16_t(-1), std::int16_t(100) }) {
        EXPECT_EQ(SHA1::i32rotateleft(0x12345678, n), 0x12345678) << n;
        EXPECT_EQ(SHA1::i32rotateright(0x12345678, n), 0x12345678) << n;
    }

    EXPECT_EQ(SHA1::i32shiftright(-1, 28), 15);
    EXPECT_EQ(SHA1::i32shiftright(-1, 31), 1);
    EXPECT_EQ(SHA1::i32shiftright(-1, 32), 0);
    EXPECT_EQ(SHA1::i32shiftright(-8, 0), -8);
    EXPECT_EQ(SHA1::i32shiftright(-8, -3), -8);
    EXPECT_EQ(SHA1::i32shiftleft(1, 32), 0);
    EXPECT_EQ(SHA1::i32shiftleft(1, 31), kMin);
    EXPECT_EQ(SHA1::i32shiftleft(static_cast<std::int32_t>(0xF0000001u), 4), 0x10);
    EXPECT_EQ(SHA1::i32shiftleft(7, 0), 7);
    EXPECT_EQ(SHA1::i32shiftleft(7, -2), 7);
}

TEST(SHA1Hex, Conversions)
{
    EXPECT_EQ(SHA1::dectohex(-1, 8), "FFFFFFFF");
    EXPECT_EQ(SHA1::dectohex(255, 12), "000000FF");
    EXPECT_EQ(SHA1::dectohex(0x1ABC, 3), "ABC");
    EXPECT_EQ(SHA1::dectohex(kMin, 8), "80000000");
    EXPECT_EQ(SHA1::dectohex(10, 0), "");

    const std::pair<const char*, std::int32_t> toDecimal[] = {
        { "ff", 255 },
        { "0x00ff", 255 },
        { "1FFFFFFFF", -1 },
        { "FFFFFFFF", -1 },
        { "80000000", kMin },
        { "7fffffff", kMax },
        { "FFFFFFF", 0x0FFFFFFF },
        { "G-H z", 0 },
        { "", 0 },
        { "A9993E36 4706816A", 0x4706816A },
    };
    for (const auto& [hex, value] : toDecimal) {
        EXPECT_EQ(SHA1::hextodec(hex), value) << hex;
    }

    EXPECT_EQ(SHA1::hextobin("61:62 63"), "abc");
    EXPECT_EQ(SHA1::hextobin("abc"), "\n\xC2\xBC"); // odd count: "0abc" gives the bytes 0A BC
    EXPECT_EQ(SHA1::hextobin("A3"), "\xC2\xA3");
    EXPECT_EQ(SHA1::hextobin("80"), "\xE2\x82\xAC");
    EXPECT_EQ(SHA1::hextobin("00"), std::string(1, '\0'));
    EXPECT_EQ(SHA1::hextobin("zz"), "");
}

} // namespace
