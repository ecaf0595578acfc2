#pragma once

#include "platform/Registry.h"
#include "platform/SaveScope.h"

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace tarn {

// A registry value's type and bytes, as RegSetValueExA takes them.
struct RegistryData
{
    std::uint32_t type = 0;
    std::vector<std::uint8_t> bytes;

    bool operator==(const RegistryData&) const = default;
};

// One registry value a save changes.
struct RegistryValueChange
{
    orvant::platform::Hive hive = orvant::platform::Hive::CurrentUser;
    std::string keyPath; // under the hive: "SOFTWARE\Kelbrin\Harbell_01"
    std::string valueName;
    bool keyCreated = false; // the key did not exist before the save
    std::optional<RegistryData> before; // nullopt: there was no such value
    std::optional<RegistryData> after; // nullopt: the save deletes it

    // The key from its root, as regedit names it: "HKEY_CURRENT_USER\SOFTWARE\Kelbrin\Harbell_01".
    std::string fullKeyPath() const;
};

// One element of the XML configuration a save changes. Property files need no journal: they are compared
// whole when the save ends.
struct SettingChange
{
    std::string file; // the stored path of the configuration file
    int instance = 0;
    std::string setting; // the element's name
    std::optional<std::string> before; // nullopt: the element did not exist
    std::string after;
};

// What one save changes below the level of whole files: the registry values and the XML elements, with
// what they held before, so that the save can be shown before it is made (a dry run), logged and undone.
// While a journal lives on this thread the writers record into it; a dry-run journal also keeps the
// registry writes from happening (files are kept back by the save's WriteBatch). Journals nest (SaveScope.h):
// an inner one records into the one that holds the save's journal.
class ChangeJournal
{
public:
    explicit ChangeJournal(bool dryRun = false);
    ~ChangeJournal();
    ChangeJournal(const ChangeJournal&) = delete;
    ChangeJournal& operator=(const ChangeJournal&) = delete;

    // The outermost journal open on this thread, or nullptr.
    static ChangeJournal* current();

    bool isOutermost() const { return m_scope.holdsPart(); }
    bool dryRun() const { return m_dryRun; }

    void record(RegistryValueChange change);

    // Whether a registry key existed when the save began; probe asks the registry the first time.
    bool keyExistedBefore(orvant::platform::Hive hive, const std::string& keyPath, const std::function<bool()>& probe);
    void record(SettingChange change);

    // The registry changes with the value each had before the first change and after the last; values
    // left as they were are left out.
    std::vector<RegistryValueChange> registryChanges() const;
    std::vector<SettingChange> settingChanges() const;

private:
    orvant::platform::SaveScope m_scope { orvant::platform::SaveScope::Part::Journal, this };
    bool m_dryRun = false;
    std::vector<RegistryValueChange> m_registry;
    std::vector<SettingChange> m_settings;
    std::map<std::string, std::size_t> m_registryIndex;
    std::map<std::string, std::size_t> m_settingIndex;
    std::map<std::string, bool> m_keysBefore;
};

} // namespace tarn
