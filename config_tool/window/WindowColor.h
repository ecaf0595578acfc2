#pragma once

#include <QColor>
#include <QPalette>
#include <cstdint>

namespace tarn::WindowColor {

// Stored colours are Windows colour values: 0x00BBGGRR, or a system colour with the top bit set and the
// system colour index in the low byte (-2147483633 is the button face).
constexpr std::int32_t kSystemColorFlag = static_cast<std::int32_t>(0x80000000u);

bool isSystemColor(std::int32_t value);

// The colour to draw for a stored value; system colours take the matching colour of the palette.
QColor toQColor(std::int32_t value, const QPalette& palette);

// A chosen colour as 0x00BBGGRR.
std::int32_t fromQColor(const QColor& color);

} // namespace tarn::WindowColor
