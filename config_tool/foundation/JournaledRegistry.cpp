#include "config_tool/foundation/JournaledRegistry.h"

namespace tarn {

namespace {

namespace reg = orvant::platform;

// The value as it is now; keyExists tells a missing key from a missing value.
std::optional<RegistryData> currentValue(reg::Hive hive, const std::string& keyPath, const std::string& valueName,
                                         bool& keyExists)
{
    reg::HKey key = nullptr;
    keyExists = reg::regOpenKeyEx(hive, keyPath, reg::kKeyQueryValue, &key) == reg::kErrorSuccess;
    if (!keyExists) {
        return std::nullopt;
    }
    RegistryData data;
    std::uint32_t size = 0;
    std::optional<RegistryData> found;
    if (reg::regQueryValueEx(key, valueName, &data.type, nullptr, &size) == reg::kErrorSuccess) {
        data.bytes.resize(size);
        if (reg::regQueryValueEx(key, valueName, &data.type, data.bytes.data(), &size) == reg::kErrorSuccess) {
            data.bytes.resize(size);
            found = std::move(data);
        }
    }
    reg::regCloseKey(key);
    return found;
}

long writeValue(reg::Hive hive, const std::string& keyPath, const std::string& valueName,
                const std::optional<RegistryData>& data, bool* keyOpened)
{
    reg::HKey key = nullptr;
    long result = data ? reg::regCreateKeyEx(hive, keyPath, reg::kKeyAllAccess, &key)
                       : reg::regOpenKeyEx(hive, keyPath, reg::kKeyAllAccess, &key);
    if (keyOpened) {
        *keyOpened = result == reg::kErrorSuccess;
    }
    if (result != reg::kErrorSuccess) {
        return !data && result == reg::kErrorFileNotFound ? reg::kErrorSuccess : result;
    }
    if (data) {
        result = reg::regSetValueEx(key, valueName, data->type, data->bytes);
    } else {
        result = reg::regDeleteValue(key, valueName);
        if (result == reg::kErrorFileNotFound) {
            result = reg::kErrorSuccess;
        }
    }
    reg::regCloseKey(key);
    return result;
}

long journaledWrite(reg::Hive hive, const std::string& keyPath, const std::string& valueName,
                    const std::optional<RegistryData>& data, bool* keyOpened)
{
    ChangeJournal* journal = ChangeJournal::current();
    if (!journal) {
        return writeValue(hive, keyPath, valueName, data, keyOpened);
    }
    RegistryValueChange change { hive, keyPath, valueName, false, std::nullopt, data };
    bool keyExists = false;
    change.before = currentValue(hive, keyPath, valueName, keyExists);
    change.keyCreated = !keyExists && data.has_value();
    if (journal->dryRun()) {
        if (keyOpened) {
            *keyOpened = true;
        }
        journal->record(std::move(change));
        return reg::kErrorSuccess;
    }
    const long result = writeValue(hive, keyPath, valueName, data, keyOpened);
    if (result == reg::kErrorSuccess) {
        journal->record(std::move(change));
    }
    return result;
}

} // namespace

long setRegistryValue(reg::Hive hive, const std::string& keyPath, const std::string& valueName,
                      const RegistryData& data, bool* keyOpened)
{
    return journaledWrite(hive, keyPath, valueName, data, keyOpened);
}

long restoreRegistryValue(reg::Hive hive, const std::string& keyPath, const std::string& valueName,
                          const std::optional<RegistryData>& data)
{
    return journaledWrite(hive, keyPath, valueName, data, nullptr);
}

long removeCreatedRegistryKey(reg::Hive hive, const std::string& keyPath)
{
    if (const ChangeJournal* journal = ChangeJournal::current(); journal && journal->dryRun()) {
        return reg::kErrorSuccess;
    }
    const long result = reg::regDeleteKey(hive, keyPath);
    return result == reg::kErrorFileNotFound ? reg::kErrorSuccess : result;
}

} // namespace tarn
