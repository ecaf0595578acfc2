#pragma once

#include "config_tool/foundation/FailedWrites.h"
#include "config_tool/model/CInstanceData.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tarn {

// Rewrites the device keys of the instance's terminal.properties from the profile of record.pinpad
// and its amount prompt en.01 in language.properties, then saves both files under the instance
// folder formed from propertiesFolder (the text of the properties-folder field). Files that could
// not be written are recorded in failures.
void writeDeviceProfile(CInstanceData& record, std::int16_t n, const std::string& propertiesFolder,
                        FailedWrites& failures);

// The model name that record.pinpadProperties (and record.combiReader) describe.
std::string deriveModelName(const CInstanceData& record);

} // namespace tarn
