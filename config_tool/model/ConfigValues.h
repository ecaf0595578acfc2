#pragma once

#include <string>

namespace tarn {

constexpr const char* kApplicationName = "Kelbrin";

// Reads one configuration value. In both modes the value comes from the XML document; the
// application name is not used for reading.
std::string getConfigValue(const std::string& app, const std::string& section, const std::string& key,
                           const std::string& defaultValue);

// Writes one configuration value: in registry mode first to both registry hives, then, in both
// modes, to the XML document when it differs from the stored value (which rewrites the file).
void setConfigValue(const std::string& app, const std::string& section, const std::string& key,
                    const std::string& value);

} // namespace tarn
