#pragma once

#include <cstdint>
#include <string_view>

namespace tarn {

// The number a text starts with, read as the window's numeric fields have always read it: blanks are
// skipped, a sign, digits and one decimal point are taken, anything after them is ignored, and a text
// without a number gives 0 ("80%" is 80, "79.5" is 79.5, "abc" is 0).
double leadingNumber(std::string_view text);

// A number rounded to a 16-bit integer, halves to even (80.5 gives 80, 81.5 gives 82); values beyond the
// 16-bit range are held at its ends.
std::int16_t roundToInt16(double value);

} // namespace tarn
