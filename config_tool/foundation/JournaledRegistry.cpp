#include "config_tool/foundation/JournaledRegistry.h"

namespace tarn {

namespace {

namespace reg = orvant::platform;

std::optional<RegistryData> queryValue(reg::HKey key, const std::string& valueName)
{
    // Configuration values are short: one call with a small buffer reads nearly all of them.
    RegistryData data;
    data.bytes.resize(256);
    auto size = static_cast<std::uint32_t>(data.bytes.size());
    long result = reg::regQueryValueEx(key, valueName, &data.type, data.bytes.data(), &size);
    if (result == reg::kErrorMoreData) {
        data.bytes.resize(size);
        result = reg::regQueryValueEx(key, valueName, &data.type, data.bytes.data(), &size);
    }
    if (result != reg::kErrorSuccess) {
        return std::nullopt;
    }
    data.bytes.resize(size);
    return data;
}

bool keyExists(reg::Hive hive, const std::string& keyPath)
{
    reg::HKey key = nullptr;
    if (reg::regOpenKeyEx(hive, keyPath, reg::kKeyQueryValue, &key) != reg::kErrorSuccess) {
        return false;
    }
    reg::regCloseKey(key);
    return true;
}

std::optional<RegistryData> currentValue(reg::Hive hive, const std::string& keyPath, const std::string& valueName)
{
    reg::HKey key = nullptr;
    if (reg::regOpenKeyEx(hive, keyPath, reg::kKeyQueryValue, &key) != reg::kErrorSuccess) {
        return std::nullopt;
    }
    auto value = queryValue(key, valueName);
    reg::regCloseKey(key);
    return value;
}

// Sets the value (or deletes it, for nothing); before (when given) gets what it held, read through the
// same open key.
long writeValue(reg::Hive hive, const std::string& keyPath, const std::string& valueName,
                const std::optional<RegistryData>& data, bool* keyOpened, std::optional<RegistryData>* before)
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
    if (before) {
        *before = queryValue(key, valueName);
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
        return writeValue(hive, keyPath, valueName, data, keyOpened, nullptr);
    }
    // A save writes thousands of values into a few hundred keys: each key is looked for once.
    const bool existed = journal->keyExistedBefore(hive, keyPath, [&] { return keyExists(hive, keyPath); });
    RegistryValueChange change { hive, keyPath, valueName, !existed && data.has_value(), std::nullopt, data };
    if (journal->dryRun()) {
        if (keyOpened) {
            *keyOpened = true;
        }
        // Recorded even when equal: an earlier write of this dry run may have changed it in the journal.
        change.before = existed ? currentValue(hive, keyPath, valueName) : std::nullopt;
        journal->record(std::move(change));
        return reg::kErrorSuccess;
    }
    const long result = writeValue(hive, keyPath, valueName, data, keyOpened, &change.before);
    // Most values of a save are written as they were: those are no change.
    if (result == reg::kErrorSuccess && change.before != change.after) {
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
