#pragma once

#include <cstdint>
#include <string>

namespace tarn {

// The highest instance number the section naming can carry ("Harbell_99").
constexpr int kMaxInstanceNumber = 99;

// "01" ... "09" below ten, then the plain number ("10", "11", ...); "00" for the base instance.
std::string getInstanceString(std::int16_t n);

// "Harbell" for the base instance, "Harbell_" + two digits otherwise.
std::string instanceSection(std::int16_t n);

// The properties folder for the base instance, else properties folder + "\INSTANCE_" + two digits.
std::string instanceFolder(const std::string& propertiesFolder, std::int16_t n);

// 0 for exactly "Harbell", otherwise the last two characters of the section read as a number.
std::int16_t instanceNumberOfSection(const std::string& section);

// Per-instance default ports: "100" + two digits, "200" + two digits, "50" + two digits.
std::string defaultInterfacePort(std::int16_t n);
std::string defaultReceiptPort(std::int16_t n);
std::string defaultPinPadPort(std::int16_t n);

} // namespace tarn
