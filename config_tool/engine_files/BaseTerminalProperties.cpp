#include "config_tool/engine_files/BaseProperties.h"
#include "config_tool/engine_files/EngineFileSupport.h"

#include <array>
#include <string_view>
#include <utility>

namespace tarn {

namespace {

struct BaseKey
{
    std::string_view key;
    std::string_view defaultValue;
};

// Keys 1 to 3 and 5 to 11 of the engine's base set; properties.directory (4) depends on the
// instance and is filled in between them.
constexpr std::array<BaseKey, 3> kLeadingKeys { {
    { "name", "terminal.properties" },
    { "version", "1.00" },
    { "date", "Mon Jun 24 14:00:00 BST 2002" },
} };
constexpr std::array<BaseKey, 7> kTrailingKeys { {
    { "logging.directory", R"(logs\\)" },
    { "logging.extension", "txt" },
    { "logging.class", "sts.logging.STSAuditLoggingSFNNoDir" },
    { "cardPaymentSystem.class", "mardo.orvant.cps.MARDOEPOSServerConnector" },
    { "pinProgress.class", "mardo.orvant.services.OrvantPinProgress" },
    { "smartCardReader.reporting", "yes" },
    { "pinVerification.class.timeout", "30000" },
} };

// False when the key was missing and the store could not take it.
bool fillIfMissing(CProperties& store, const std::string& key, const std::string& defaultValue)
{
    return !isMissingValue(store, key) || store.addKeyValue(key, defaultValue);
}

} // namespace

void writeBaseTerminalProperties(CInstanceData& record, std::int16_t n, const std::string& propertiesFolder,
                                 FailedWrites& failures)
{
    const std::string fileName = terminalPropertiesFile(propertiesFolder, n);
    CProperties store;
    // A file that exists but cannot be read is left alone: rewriting it from an empty store would
    // lose its device keys. The record keeps the store it had.
    if (!loadOrRecord(store, fileName, failures)) {
        return;
    }
    record.pinpadProperties = std::move(store);
    CProperties& properties = record.pinpadProperties;

    bool complete = true;
    for (const auto& base : kLeadingKeys) {
        complete = fillIfMissing(properties, std::string(base.key), std::string(base.defaultValue)) && complete;
    }
    complete
        = fillIfMissing(properties, "properties.directory", enginePropertiesDirectory(propertiesFolder, n)) && complete;
    for (const auto& base : kTrailingKeys) {
        complete = fillIfMissing(properties, std::string(base.key), std::string(base.defaultValue)) && complete;
    }
    if (record.pinpad == "Dione secura UPT No MagStripe") {
        complete = properties.addKeyValue("DioneNoMagStripe.Flag", "Yes") && complete;
    }
    saveOrRecord(properties, fileName, failures, complete);
}

void writeDefaultProperties(std::vector<CInstanceData>& instances, const std::string& propertiesFolder,
                            FailedWrites& failures)
{
    for (std::size_t i = 0; i < instances.size(); ++i) {
        const auto n = static_cast<std::int16_t>(i);
        writeBaseTerminalProperties(instances[i], n, propertiesFolder, failures);
        writeLanguageProperties(instances[i], n, propertiesFolder, failures);
    }
}

} // namespace tarn
