#include "config_tool/model/StoredValues.h"

#include "platform/AsciiText.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace tarn::StoredValues {

namespace {

using orvant::ascii::isDigit;

std::string_view trimBlanks(std::string_view text)
{
    return orvant::ascii::trim(text, " \t");
}

template <typename Int> std::optional<Int> parseInteger(std::string_view text)
{
    const auto number = parseNumber(text);
    if (!number) {
        return std::nullopt;
    }
    const double rounded = roundHalfEven(*number);
    if (rounded < static_cast<double>(std::numeric_limits<Int>::min())
        || rounded > static_cast<double>(std::numeric_limits<Int>::max())) {
        return std::nullopt;
    }
    return static_cast<Int>(rounded);
}

} // namespace

std::optional<double> parseNumber(std::string_view text)
{
    text = trimBlanks(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    // Check the grammar first: from_chars would also take "inf", "nan" and hexadecimal forms.
    std::size_t i = 0;
    std::size_t digits = 0;
    while (i < text.size() && isDigit(text[i])) {
        ++i;
        ++digits;
    }
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && isDigit(text[i])) {
            ++i;
            ++digits;
        }
    }
    if (digits == 0) {
        return std::nullopt;
    }
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
            ++i;
        }
        std::size_t exponentDigits = 0;
        while (i < text.size() && isDigit(text[i])) {
            ++i;
            ++exponentDigits;
        }
        if (exponentDigits == 0) {
            return std::nullopt;
        }
    }
    if (i != text.size()) {
        return std::nullopt;
    }
    double value = 0.0;
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || ptr != text.data() + text.size() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return negative ? -value : value;
}

double roundHalfEven(double value)
{
    const double floorValue = std::floor(value);
    const double fraction = value - floorValue;
    if (fraction > 0.5) {
        return floorValue + 1.0;
    }
    if (fraction < 0.5) {
        return floorValue;
    }
    return std::fmod(floorValue, 2.0) == 0.0 ? floorValue : floorValue + 1.0;
}

std::optional<bool> parseBoolean(std::string_view text)
{
    const auto trimmed = trimBlanks(text);
    if (orvant::ascii::equalsIgnoringCase(trimmed, "True")) {
        return true;
    }
    if (orvant::ascii::equalsIgnoringCase(trimmed, "False")) {
        return false;
    }
    if (const auto number = parseNumber(trimmed)) {
        return *number != 0.0;
    }
    return std::nullopt;
}

std::optional<std::int16_t> parseInt16(std::string_view text)
{
    return parseInteger<std::int16_t>(text);
}

std::optional<std::int32_t> parseInt32(std::string_view text)
{
    return parseInteger<std::int32_t>(text);
}

bool toBoolean(std::string_view stored, std::string_view defaultText)
{
    if (const auto value = parseBoolean(stored)) {
        return *value;
    }
    return parseBoolean(defaultText).value_or(false);
}

std::int16_t toInt16(std::string_view stored, std::string_view defaultText)
{
    if (const auto value = parseInt16(stored)) {
        return *value;
    }
    return parseInt16(defaultText).value_or(0);
}

std::int32_t toInt32(std::string_view stored, std::string_view defaultText)
{
    if (const auto value = parseInt32(stored)) {
        return *value;
    }
    return parseInt32(defaultText).value_or(0);
}

std::string booleanText(bool value)
{
    return value ? "True" : "False";
}

} // namespace tarn::StoredValues
