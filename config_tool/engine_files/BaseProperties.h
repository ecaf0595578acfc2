#pragma once

#include "config_tool/foundation/FailedWrites.h"
#include "config_tool/model/CInstanceData.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tarn {

// Reloads the instance's terminal.properties into record.pinpadProperties, fills in the missing base
// engine keys and writes the file.
void writeBaseTerminalProperties(CInstanceData& record, std::int16_t n, const std::string& propertiesFolder,
                                 FailedWrites& failures);

// Reloads the instance's language.properties into record.languageProperties, fills in the missing
// display messages and writes the file.
void writeLanguageProperties(CInstanceData& record, std::int16_t n, const std::string& propertiesFolder,
                             FailedWrites& failures);

// For every record from index 0 upwards: its base terminal.properties, then its language.properties.
void writeDefaultProperties(std::vector<CInstanceData>& instances, const std::string& propertiesFolder,
                            FailedWrites& failures);

} // namespace tarn
