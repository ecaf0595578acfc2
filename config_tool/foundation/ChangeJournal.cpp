#include "config_tool/foundation/ChangeJournal.h"

#include "platform/AsciiText.h"

namespace tarn {

namespace {

// Registry names compare without case; a save writes thousands of values, so they are found by key.
std::string registryKey(const RegistryValueChange& change)
{
    return std::to_string(static_cast<std::uint32_t>(change.hive)) + '\n' + orvant::ascii::toLower(change.keyPath)
        + '\n' + orvant::ascii::toLower(change.valueName);
}

std::string settingKey(const SettingChange& change)
{
    return change.file + '\n' + std::to_string(change.instance) + '\n' + change.setting;
}

} // namespace

std::string RegistryValueChange::fullKeyPath() const
{
    return std::string(hive == orvant::platform::Hive::LocalMachine ? "HKEY_LOCAL_MACHINE\\" : "HKEY_CURRENT_USER\\")
        + keyPath;
}

ChangeJournal::ChangeJournal(bool dryRun)
    : m_dryRun(current() && current() != this ? current()->m_dryRun : dryRun)
{
}

ChangeJournal::~ChangeJournal() = default;

ChangeJournal* ChangeJournal::current()
{
    using orvant::platform::SaveScope;
    return static_cast<ChangeJournal*>(SaveScope::holder(SaveScope::Part::Journal));
}

void ChangeJournal::record(RegistryValueChange change)
{
    // A value written twice keeps what it held before the first write.
    const auto [it, added] = m_registryIndex.try_emplace(registryKey(change), m_registry.size());
    if (!added) {
        m_registry[it->second].after = std::move(change.after);
        return;
    }
    m_registry.push_back(std::move(change));
}

bool ChangeJournal::keyExistedBefore(orvant::platform::Hive hive, const std::string& keyPath,
                                     const std::function<bool()>& probe)
{
    const std::string key = std::to_string(static_cast<std::uint32_t>(hive)) + '\n' + orvant::ascii::toLower(keyPath);
    const auto known = m_keysBefore.find(key);
    if (known != m_keysBefore.end()) {
        return known->second;
    }
    const bool existed = probe();
    m_keysBefore.emplace(key, existed);
    return existed;
}

void ChangeJournal::record(SettingChange change)
{
    const auto [it, added] = m_settingIndex.try_emplace(settingKey(change), m_settings.size());
    if (!added) {
        m_settings[it->second].after = std::move(change.after);
        return;
    }
    m_settings.push_back(std::move(change));
}

std::vector<RegistryValueChange> ChangeJournal::registryChanges() const
{
    std::vector<RegistryValueChange> changed;
    for (const auto& change : m_registry) {
        if (change.before != change.after || change.keyCreated) {
            changed.push_back(change);
        }
    }
    return changed;
}

std::vector<SettingChange> ChangeJournal::settingChanges() const
{
    std::vector<SettingChange> changed;
    for (const auto& change : m_settings) {
        if (change.before != change.after) {
            changed.push_back(change);
        }
    }
    return changed;
}

} // namespace tarn
