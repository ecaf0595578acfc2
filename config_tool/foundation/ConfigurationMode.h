#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tarn {

// The configuration mode is recorded for the engine in <installation folder>\properties\hbl.properties
// as the single line "Configuration=xml" or "Configuration=registry".
constexpr std::string_view kConfigurationModeKey = "Configuration";
constexpr std::string_view kXmlModeText = "xml";
constexpr std::string_view kRegistryModeText = "registry";

// Start-up: takes the installation folder from KELBRIN_HOME and, when it names something that exists,
// sets the XML configuration path and reads the mode file. Otherwise registry mode. The caller stores
// the result as the configuration mode.
std::int16_t determineConfigurationMode();

// 1 when a line of the mode file reads configuration=xml (either side in any case, nothing trimmed),
// else 0. A missing file gives 0; a file that cannot be read is reported through the UI services.
std::int16_t readConfigurationMode();

// Replaces the mode file with the current configuration mode, making the installation folder known
// first. A failure is reported through the UI services and gives false.
bool writeConfigurationMode();

// <installation folder>\properties\hbl.properties
std::string configurationModeFilePath();

} // namespace tarn
