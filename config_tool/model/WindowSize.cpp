#include "config_tool/model/WindowSize.h"

#include "platform/AsciiText.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace tarn {

namespace {

constexpr double kSmallestWindowSize = 79.0; // the largest size that is too small
constexpr double kLargestWindowSize = 100.0;

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

using orvant::ascii::isDigit;

// Shortest form, whatever the process locale ("79.5", "100").
std::string numberText(double value)
{
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, value);
    return std::string(text, result.ptr);
}

} // namespace

std::optional<double> readLeadingNumber(std::string_view text)
{
    // Blanks count for nothing, also between the digits ("1 2" reads 12).
    std::string number;
    bool seenDigit = false;
    bool seenPoint = false;
    for (const char c : text) {
        if (isBlank(c)) {
            continue;
        }
        if ((c == '-' || c == '+') && number.empty()) {
            number.push_back(c);
        } else if (isDigit(c)) {
            number.push_back(c);
            seenDigit = true;
        } else if (c == '.' && !seenPoint) {
            number.push_back(c);
            seenPoint = true;
        } else {
            break;
        }
    }
    if (!seenDigit) {
        return std::nullopt;
    }
    // from_chars ignores the process locale (Qt sets it from the environment) and takes no "+".
    const bool negative = number.front() == '-';
    const std::size_t start = (number.front() == '-' || number.front() == '+') ? 1 : 0;
    double value = 0.0;
    const auto result = std::from_chars(number.data() + start, number.data() + number.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        // Too many digits before the point is huge; only zeros before it is a vanishing fraction.
        const std::string whole = number.substr(start, number.find('.') - start);
        value = whole.find_first_not_of('0') == std::string::npos ? 0.0 : std::numeric_limits<double>::max();
    }
    return negative ? -value : value;
}

double leadingNumber(std::string_view text)
{
    return readLeadingNumber(text).value_or(0.0);
}

std::int16_t roundToInt16(double value)
{
    constexpr double low = std::numeric_limits<std::int16_t>::min();
    constexpr double high = std::numeric_limits<std::int16_t>::max();
    if (std::isnan(value)) {
        return 0;
    }
    // nearbyint rounds halves to even in the default rounding mode.
    const double rounded = std::nearbyint(value);
    if (rounded <= low) {
        return std::numeric_limits<std::int16_t>::min();
    }
    if (rounded >= high) {
        return std::numeric_limits<std::int16_t>::max();
    }
    return static_cast<std::int16_t>(rounded);
}

std::string correctWindowSize(const std::string& text)
{
    const double size = leadingNumber(text);
    return (size <= kSmallestWindowSize || size > kLargestWindowSize) ? numberText(kLargestWindowSize) : text;
}

std::int16_t windowSizeOf(std::string_view text)
{
    return roundToInt16(leadingNumber(text));
}

std::string windowSizeRuleText()
{
    const std::string largest = numberText(kLargestWindowSize);
    const double smallestFraction = kSmallestWindowSize + 0.5;
    return "a percentage; " + numberText(kSmallestWindowSize) + " or less and above " + largest + " become " + largest
        + ", any other number is kept and stored rounded, halves to even (" + numberText(smallestFraction)
        + " is stored as " + std::to_string(windowSizeOf(numberText(smallestFraction))) + ")";
}

} // namespace tarn
