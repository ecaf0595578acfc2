#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tarn {

// The number a text starts with, read as the window's numeric lists have always read it: blanks are
// skipped (also between digits: "1 2" is 12), a sign, digits and one decimal point are taken, and
// anything after them is ignored ("80%" is 80, "79.5" is 79.5). Nothing when no digit comes first.
std::optional<double> readLeadingNumber(std::string_view text);

// readLeadingNumber, with 0 for a text without a number.
double leadingNumber(std::string_view text);

// A number rounded to a 16-bit integer, halves to even (80.5 gives 80, 81.5 gives 82); values beyond
// the 16-bit range are held at its ends.
std::int16_t roundToInt16(double value);

// The window-size rule. A window size is a percentage of the screen: a text whose leading number is
// at most 79 or above 100 (or that has none) becomes "100"; any other text stays exactly as typed
// ("79.5" stays, and is stored as 80).
std::string correctWindowSize(const std::string& text);

// The stored WindowsSize of a list text: its leading number rounded half to even.
std::int16_t windowSizeOf(std::string_view text);

// The window-size rule in words, for help texts, worded from the bounds the rule itself uses:
// "a percentage; 79 or less and above 100 become 100, ...".
std::string windowSizeRuleText();

} // namespace tarn
