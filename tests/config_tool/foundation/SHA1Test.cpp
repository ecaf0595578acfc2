#include "config_tool/foundation/SHA1.h"

#include <gtest/gtest.h>

namespace tarn {
namespace {

TEST(SHA1, Digests)
{
    const std::pair<std::string, const char*> cases[]
        = { { "", "DA39A3EE 5E6B4B0D 3255BFEF 95601890 AFD80709" },
            { "abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
              "84983E44 1C3BD26E BAAE4AA1 F95129E5 E54670F1" },
            { std::string(1000000, 'a'), "34AA973C D4C4DAA4 F61EEB2B DBAD2731 6534016F" },
            // 55 bytes leave room for the marker and the length; 56 need a second block; 64 fill one.
            { std::string(55, 'a'), "C1C8BBDC 22796E28 C0E15163 D20899B6 5621D65A" },
            { std::string(56, 'a'), "C2DB330F 6083854C 99D4B5BF B6E8F29F 201BE699" },
            { std::string(64, 'a'), "0098BA82 4B5C1642 7BD7A112 2A5A442A 25EC644D" },
            // Text is hashed as Windows-1252 bytes, the five undefined ones (U+0081 ...) included.
            { "caf\xC3\xA9 \xE2\x82\xAC", "B4039A75 30832D54 085EC1F0 8C556B7E 62DC7DA9" },
            { "\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D", "F9B90606 10D6249F 41A9DFBB 7632F9F5 7ADAC41C" } };
    for (const auto& [message, digest] : cases) {
        EXPECT_EQ(SHA1::sha1(message), digest) << message.substr(0, 60);
    }
    std::string allBytes;
    for (int b = 0; b < 256; ++b) {
        allBytes += SHA1::dectohex(b, 2);
    }
    EXPECT_EQ(SHA1::sha1hex(allBytes), "4916D6BD B7F78E68 03698CAB 32D1586E A457DFC8");
    EXPECT_EQ(SHA1::sha1hex("61 62:63"), "A9993E36 4706816A BA3E2571 7850C26C 9CD0D89D");
}

TEST(SHA1, WordAndHexHelpers)
{
    EXPECT_EQ(SHA1::i32rotateleft(0x12345678, 32), 0x12345678) << "counts outside 1..31 change nothing";
    EXPECT_EQ(SHA1::i32shiftright(-1, 28), 15);
    EXPECT_EQ(SHA1::i32shiftleft(1, 32), 0);
    EXPECT_EQ(SHA1::dectohex(-1, 8) + SHA1::dectohex(0x1ABC, 3), "FFFFFFFFABC");
    EXPECT_EQ(SHA1::hextodec("1FFFFFFFF") + SHA1::hextodec("G-H z"), -1);
    EXPECT_EQ(SHA1::hextobin("abc"), "\n\xC2\xBC")
        << "an odd count gets a leading 0, a byte is its Windows-1252 character";
}

} // namespace
} // namespace tarn
