#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tarn {

// Appended to a password before hashing, and to the XML configuration file for the configuration
// hash. Changing it invalidates every stored password hash and every installation's ConfigHash.
inline constexpr std::string_view kSalt = "7A3B9E10C4D25F86E01B";

// SHA-1 (FIPS 180-1) of a text, and the 32-bit and hexadecimal helpers it is built on.
//
// A text is hashed one byte per character in Windows-1252, so "£" counts as the single byte A3, as
// the engine hashes it. Words are handed around as signed 32-bit values with the bit pattern of the
// unsigned word. The class holds no state; the operations are static so that callers may create a
// fresh object or call them directly.
class SHA1
{
public:
    // Five groups of eight upper-case hexadecimal digits separated by single spaces (44 characters).
    static std::string sha1(std::string_view message);
    // The digest of the bytes that the hexadecimal text spells (see hextobin).
    static std::string sha1hex(std::string_view hexText);

    static std::int32_t i32add(std::int32_t a, std::int32_t b);
    static std::int32_t i32sub(std::int32_t a, std::int32_t b);
    // Rotations by 1 to 31 bits; any other count returns v unchanged.
    static std::int32_t i32rotateleft(std::int32_t v, std::int16_t n);
    static std::int32_t i32rotateright(std::int32_t v, std::int16_t n);
    // Logical shifts: 0 from 32 bits on, v unchanged for a count of 0 or less.
    static std::int32_t i32shiftleft(std::int32_t v, std::int16_t n);
    static std::int32_t i32shiftright(std::int32_t v, std::int16_t n);

    // The rightmost n of the eight upper-case hexadecimal digits of v; n above 8 counts as 8.
    static std::string dectohex(std::int32_t v, int n);
    // The last eight hexadecimal digits of the text (other characters skipped) as a signed 32-bit
    // value: eight digits starting with 8-F are read as two's complement. No digits give 0.
    static std::int32_t hextodec(std::string_view text);
    // One character per pair of hexadecimal digits (other characters skipped, an odd count gets a
    // leading "0"); each character is the Windows-1252 character of the pair's byte, as UTF-8.
    static std::string hextobin(std::string_view text);

    // The digest text of raw bytes, without any text conversion.
    static std::string digestOfBytes(std::string_view bytes);
};

} // namespace tarn
