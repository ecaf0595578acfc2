#pragma once

#include <algorithm>
#include <string>
#include <string_view>

// Small helpers for ASCII text: letter case, blanks and digits. Bytes beyond ASCII are left alone, so
// UTF-8 and Windows-1252 text pass through unchanged (TextCodec.h upper-cases Windows-1252 letters).
namespace orvant::ascii {

constexpr char toUpper(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

constexpr char toLower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

constexpr bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

constexpr bool isLetter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// A non-empty text of the digits 0-9 only.
inline bool isDigits(std::string_view text)
{
    return !text.empty() && std::all_of(text.begin(), text.end(), isDigit);
}

inline bool equalsIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size()
        && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return toLower(x) == toLower(y); });
}

inline std::string toLower(std::string_view text)
{
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(), [](char c) { return toLower(c); });
    return lower;
}

// The text without the given characters at either end; by default spaces only, as the tools take
// typed names and passwords.
constexpr std::string_view trim(std::string_view text, std::string_view characters = " ")
{
    const auto first = text.find_first_not_of(characters);
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(characters) - first + 1);
}

} // namespace orvant::ascii
