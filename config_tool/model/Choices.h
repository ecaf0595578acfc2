#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tarn::Choices {

// The fixed choices of an instance's settings, in the order the window lists them, kept in the core
// so that every front end offers and checks the same ones.

// Environment codes: 1 "POS", 2 "Hospitality", 3 "Petrol Station", 4 "Kiosk", 5 "Internet",
// 6 "Standalone". The list's order is not the codes' order.
constexpr std::int16_t kPos = 1;
constexpr std::int16_t kHospitality = 2;
constexpr std::int16_t kKiosk = 4;

// "POS", "Kiosk", "Hospitality", "Petrol Station", "Internet", "Standalone", as listed.
const std::vector<std::string>& environmentEntries();

// The text of an environment code; nothing for a code outside 1 to 6.
std::optional<std::string> environmentText(std::int16_t code);
// The code of an environment text; nothing for any other text.
std::optional<std::int16_t> environmentCode(const std::string& text);

// "80" ... "100".
const std::vector<std::string>& windowSizeEntries();

} // namespace tarn::Choices
