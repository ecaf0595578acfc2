#include "config_tool/model/ConfigValues.h"

#include "config_tool/foundation/Globals.h"
#include "config_tool/foundation/MRegistry.h"
#include "config_tool/model/InstanceNaming.h"
#include "config_tool/model/XmlConfig.h"

namespace tarn {

std::string getConfigValue(const std::string& /*app*/, const std::string& section, const std::string& key,
                           const std::string& defaultValue)
{
    const std::int16_t n = instanceNumberOfSection(section);
    if (n < 0) {
        return defaultValue;
    }
    return XmlConfig::xmlGetValue(key, n, defaultValue);
}

void setConfigValue(const std::string& app, const std::string& section, const std::string& key,
                    const std::string& value)
{
    if (Globals::state().configurationMode != kXmlMode) {
        // The engine reads the registry in this mode; a refused hive is not the operator's concern here.
        MRegistry::writeRegistryString(app, section, key, value);
    }
    const std::int16_t n = instanceNumberOfSection(section);
    if (n < 0) {
        return;
    }
    // Every write rewrites the whole file, so unchanged values must cost nothing.
    if (getConfigValue(app, section, key, "") != value) {
        XmlConfig::xmlSetValue(key, n, value);
    }
}

} // namespace tarn
