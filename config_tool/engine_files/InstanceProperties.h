#pragma once

#include "config_tool/foundation/FailedWrites.h"

#include <cstdint>
#include <string>

namespace tarn {

// Stamps <installation folder>\properties\instance.properties with ConfigHash, the salted SHA-1 of
// the XML configuration file as it stands on disk. A missing or unreadable configuration file
// changes nothing.
void writeConfigHash(FailedWrites& failures);

// The ConfigHash of the configuration file now on disk, or nothing when it cannot be read.
bool computeConfigHash(std::string& hash);

// In XML mode, creates the instance's instance.properties with the single line key=value when it does
// not exist yet. The folder is not created.
void seedInstanceProperty(const std::string& key, const std::string& value, std::int16_t n, FailedWrites& failures);

} // namespace tarn
