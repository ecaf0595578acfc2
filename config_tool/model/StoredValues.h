#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tarn::StoredValues {

// Conversions between the stored texts of the configuration and the record's typed fields. Stored
// values are read the way the engine's original tooling read them (Visual Basic's CBool, CInt and
// CLng); a text that cannot be converted gives nothing, and the caller falls back to the field's
// default instead of failing the whole load.

// A decimal number with optional surrounding blanks, sign, fraction and exponent ("12", " -3",
// "10.5", "1e2"); nothing for anything else, including the empty text.
std::optional<double> parseNumber(std::string_view text);

// Rounds to the nearest integer, halves to the even neighbour (2.5 -> 2, 3.5 -> 4).
double roundHalfEven(double value);

// CBool: "True"/"False" in any letter case (blanks around allowed), or a number (non-zero = true).
std::optional<bool> parseBoolean(std::string_view text);

// CInt / CLng: a number rounded half to even, within the 16-bit or 32-bit signed range.
std::optional<std::int16_t> parseInt16(std::string_view text);
std::optional<std::int32_t> parseInt32(std::string_view text);

// With the fallback applied: the stored text, else the default text (which must convert), else the
// type's zero.
bool toBoolean(std::string_view stored, std::string_view defaultText);
std::int16_t toInt16(std::string_view stored, std::string_view defaultText);
std::int32_t toInt32(std::string_view stored, std::string_view defaultText);

// "True" / "False".
std::string booleanText(bool value);

} // namespace tarn::StoredValues
