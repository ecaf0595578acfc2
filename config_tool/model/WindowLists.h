#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tarn::WindowLists {

// The fixed lists of the main window, kept in the core so that every front end checks choices against
// the same lists; and the numbering of the environment list, which its order does not give: 1 "POS", 2 "Hospitality", 3
// "Petrol Station", 4 "Kiosk", 5 "Internet", 6 "Standalone".

constexpr std::int16_t kPosCode = 1;
constexpr std::int16_t kHospitality = 2;
constexpr std::int16_t kKiosk = 4;

constexpr const char* kNoCardReader = "No Card Reader";
constexpr const char* kVx670 = "Verifone Vx670";
constexpr const char* kSagem = "Sagem";
constexpr const char* kPos = "POS";
constexpr const char* kHospitalityText = "Hospitality";

// "POS", "Kiosk", "Hospitality", "Petrol Station", "Internet", "Standalone", as listed.
const std::vector<std::string>& environmentEntries();

// The text of an environment code; nothing for a code outside 1 to 6.
std::optional<std::string> environmentText(std::int16_t code);
// The code of an environment text; nothing for any other text.
std::optional<std::int16_t> environmentCode(const std::string& text);

// "80" ... "100".
const std::vector<std::string>& windowSizeEntries();

// The PIN-pad models offered: all twelve, or the five a hospitality installation can use.
const std::vector<std::string>& pinPadModels(bool hospitality);

// PIN pads with a built-in card reader, for which "Combined  Reader" is ticked.
bool isCombinedReaderModel(const std::string& model);

} // namespace tarn::WindowLists
