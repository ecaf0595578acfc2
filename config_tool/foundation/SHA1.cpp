#include "config_tool/foundation/SHA1.h"

#include "platform/TextCodec.h"

#include <array>

namespace tarn {

namespace {

using Word = std::uint32_t;

Word rotl(Word v, unsigned n)
{
    return (v << n) | (v >> (32u - n));
}

Word loadBigEndian(const unsigned char* p)
{
    return (Word(p[0]) << 24) | (Word(p[1]) << 16) | (Word(p[2]) << 8) | Word(p[3]);
}

void compress(std::array<Word, 5>& h, const unsigned char* block)
{
    std::array<Word, 80> w {};
    for (std::size_t t = 0; t < 16; ++t) {
        w[t] = loadBigEndian(block + 4 * t);
    }
    for (std::size_t t = 16; t < 80; ++t) {
        w[t] = rotl(w[t - 3] ^ w[t - 8] ^ w[t - 14] ^ w[t - 16], 1);
    }

    Word a = h[0], b = h[1], c = h[2], d = h[3], e = h[4];
    for (std::size_t t = 0; t < 80; ++t) {
        Word f;
        Word k;
        if (t < 20) {
            f = (b & c) | (~b & d);
            k = 0x5A827999u;
        } else if (t < 40) {
            f = b ^ c ^ d;
            k = 0x6ED9EBA1u;
        } else if (t < 60) {
            f = (b & c) | (b & d) | (c & d);
            k = 0x8F1BBCDCu;
        } else {
            f = b ^ c ^ d;
            k = 0xCA62C1D6u;
        }
        const Word temp = rotl(a, 5) + f + e + w[t] + k;
        e = d;
        d = c;
        c = rotl(b, 30);
        b = a;
        a = temp;
    }
    h[0] += a;
    h[1] += b;
    h[2] += c;
    h[3] += d;
    h[4] += e;
}

int hexDigitValue(char c)
{
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return -1;
}

std::string hexDigitsOf(std::string_view text)
{
    std::string digits;
    for (char c : text) {
        if (hexDigitValue(c) >= 0) {
            digits += c;
        }
    }
    return digits;
}

// The bytes that a hexadecimal text spells, without text conversion.
std::string hexBytes(std::string_view text)
{
    std::string digits = hexDigitsOf(text);
    if (digits.size() % 2 != 0) {
        digits.insert(digits.begin(), '0');
    }
    std::string bytes;
    bytes.reserve(digits.size() / 2);
    for (std::size_t i = 0; i < digits.size(); i += 2) {
        bytes += static_cast<char>(hexDigitValue(digits[i]) * 16 + hexDigitValue(digits[i + 1]));
    }
    return bytes;
}

} // namespace

std::string SHA1::digestOfBytes(std::string_view bytes)
{
    std::array<Word, 5> h { 0x67452301u, 0xEFCDAB89u, 0x98BADCFEu, 0x10325476u, 0xC3D2E1F0u };

    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    const std::size_t fullBlocks = bytes.size() / 64;
    for (std::size_t i = 0; i < fullBlocks; ++i) {
        compress(h, data + 64 * i);
    }

    // The tail, the 0x80 marker and the length fill one block, or two when the tail leaves fewer
    // than nine bytes for them.
    std::array<unsigned char, 128> tail {};
    const std::size_t rest = bytes.size() - 64 * fullBlocks;
    for (std::size_t i = 0; i < rest; ++i) {
        tail[i] = data[64 * fullBlocks + i];
    }
    tail[rest] = 0x80;
    const std::size_t tailLength = rest < 56 ? 64 : 128;
    const std::uint64_t bitCount = static_cast<std::uint64_t>(bytes.size()) * 8u;
    for (std::size_t i = 0; i < 8; ++i) {
        tail[tailLength - 1 - i] = static_cast<unsigned char>(bitCount >> (8 * i));
    }
    for (std::size_t offset = 0; offset < tailLength; offset += 64) {
        compress(h, tail.data() + offset);
    }

    std::string digest;
    digest.reserve(44);
    for (std::size_t i = 0; i < h.size(); ++i) {
        if (i > 0) {
            digest += ' ';
        }
        digest += dectohex(static_cast<std::int32_t>(h[i]), 8);
    }
    return digest;
}

std::string SHA1::sha1(std::string_view message)
{
    return digestOfBytes(orvant::platform::utf8ToAnsi(message));
}

std::string SHA1::sha1hex(std::string_view hexText)
{
    return digestOfBytes(hexBytes(hexText));
}

std::int32_t SHA1::i32add(std::int32_t a, std::int32_t b)
{
    return static_cast<std::int32_t>(static_cast<Word>(a) + static_cast<Word>(b));
}

std::int32_t SHA1::i32sub(std::int32_t a, std::int32_t b)
{
    return static_cast<std::int32_t>(static_cast<Word>(a) - static_cast<Word>(b));
}

std::int32_t SHA1::i32rotateleft(std::int32_t v, std::int16_t n)
{
    if (n < 1 || n > 31) {
        return v;
    }
    return static_cast<std::int32_t>(rotl(static_cast<Word>(v), static_cast<unsigned>(n)));
}

std::int32_t SHA1::i32rotateright(std::int32_t v, std::int16_t n)
{
    if (n < 1 || n > 31) {
        return v;
    }
    return static_cast<std::int32_t>(rotl(static_cast<Word>(v), 32u - static_cast<unsigned>(n)));
}

std::int32_t SHA1::i32shiftleft(std::int32_t v, std::int16_t n)
{
    if (n <= 0) {
        return v;
    }
    if (n >= 32) {
        return 0;
    }
    return static_cast<std::int32_t>(static_cast<Word>(v) << n);
}

std::int32_t SHA1::i32shiftright(std::int32_t v, std::int16_t n)
{
    if (n <= 0) {
        return v;
    }
    if (n >= 32) {
        return 0;
    }
    return static_cast<std::int32_t>(static_cast<Word>(v) >> n);
}

std::string SHA1::dectohex(std::int32_t v, int n)
{
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string eight(8, '0');
    Word w = static_cast<Word>(v);
    for (int i = 7; i >= 0; --i) {
        eight[static_cast<std::size_t>(i)] = kDigits[w & 0xFu];
        w >>= 4;
    }
    if (n <= 0) {
        return {};
    }
    const auto width = static_cast<std::size_t>(n > 8 ? 8 : n);
    return eight.substr(8 - width);
}

std::int32_t SHA1::hextodec(std::string_view text)
{
    std::string digits = hexDigitsOf(text);
    if (digits.size() > 8) {
        digits.erase(0, digits.size() - 8);
    }
    // Fewer than eight digits can never reach the sign bit, so the unsigned reading covers both rules.
    Word value = 0;
    for (char c : digits) {
        value = (value << 4) | static_cast<Word>(hexDigitValue(c));
    }
    return static_cast<std::int32_t>(value);
}

std::string SHA1::hextobin(std::string_view text)
{
    return orvant::platform::ansiToUtf8(hexBytes(text));
}

} // namespace tarn
