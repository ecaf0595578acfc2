#include "config_tool/session/BackupChecks.h"

#include "config_tool/foundation/Globals.h"
#include "config_tool/model/ConfigValues.h"
#include "config_tool/model/InstanceNaming.h"
#include "config_tool/model/XmlConfig.h"
#include "config_tool/session/AuditLog.h"
#include "config_tool/session/Backups.h"
#include "config_tool/session/InstallationLock.h"
#include "platform/AsciiText.h"
#include "platform/FileSystem.h"

namespace tarn {

namespace {

namespace platform = orvant::platform;

constexpr std::string_view kConfigurationKey = "SOFTWARE\\Kelbrin\\";

std::string propertiesFolder()
{
    return XmlConfig::isLoaded() ? getConfigValue(kApplicationName, instanceSection(0), "PropertiesDir", "") : "";
}

} // namespace

std::string whyNotRestorable(const std::string& storedPath)
{
    const std::string& installation = Globals::ensureInstallationFolder();
    const std::string properties = propertiesFolder();
    if (!platform::resolvesWithin(storedPath, installation)
        && (properties.empty() || !platform::resolvesWithin(storedPath, properties))) {
        return storedPath + " lies outside the installation";
    }
    if (platform::resolvesWithin(storedPath, backupsFolder())) {
        return storedPath + " is one of the installation's backups";
    }
    for (const auto& record : { auditLogPath(), InstallationLock::path() }) {
        if (platform::resolvesWithin(storedPath, record)) {
            return storedPath + " is the installation's " + (record == auditLogPath() ? "audit log" : "lock file");
        }
    }
    return {};
}

std::string whyNotRestorable(const RegistryValueChange& value)
{
    const std::string& key = value.keyPath;
    const bool configurationKey = key.size() > kConfigurationKey.size()
        && orvant::ascii::equalsIgnoringCase(key.substr(0, kConfigurationKey.size()), kConfigurationKey);
    if (configurationKey) {
        const std::string section = key.substr(kConfigurationKey.size());
        const std::int16_t number = instanceNumberOfSection(section);
        if (number >= 0 && number <= kMaxInstanceNumber
            && orvant::ascii::equalsIgnoringCase(section, instanceSection(number))) {
            return {};
        }
    }
    return value.fullKeyPath() + " is not a key the configuration is written to";
}

} // namespace tarn
