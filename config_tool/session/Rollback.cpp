#include "config_tool/session/Rollback.h"

#include "config_tool/engine_files/InstanceProperties.h"
#include "config_tool/foundation/JournaledRegistry.h"
#include "config_tool/session/SaveTransaction.h"

#include <algorithm>
#include <set>

namespace tarn {

namespace {

namespace platform = orvant::platform;

bool longerFirst(const std::string& a, const std::string& b)
{
    return a.size() > b.size();
}

// Stages the files and folders in the open transaction, which refuses at once what cannot be done (a
// folder where a file goes, a folder that would not be empty); nothing reaches the disk here.
void stageFiles(const Backup& backup, std::vector<std::string>& blocking)
{
    const auto stage = [&blocking](const platform::FileResult& result) {
        if (!result.ok) {
            blocking.push_back(result.error);
        }
    };
    // Folders that were there first, outermost first (a save that removed folders removed the innermost
    // first), then the files in them, then what the save had added: its files, then its folders,
    // innermost first.
    std::vector<std::string> folders;
    std::vector<std::string> addedFiles;
    std::vector<std::string> addedFolders;
    for (const auto& entry : backup.entries) {
        if (entry.folder && entry.bytes) {
            folders.push_back(entry.storedPath);
        } else if (!entry.bytes) {
            (entry.folder ? addedFolders : addedFiles).push_back(entry.storedPath);
        }
    }
    std::stable_sort(folders.begin(), folders.end(),
                     [](const std::string& a, const std::string& b) { return a.size() < b.size(); });
    for (const auto& folder : folders) {
        stage(platform::createFolder(folder));
    }
    for (const auto& entry : backup.entries) {
        if (!entry.folder && entry.bytes) {
            stage(platform::writeFileWithPermissions(entry.storedPath, *entry.bytes, entry.mode));
        }
    }
    for (const auto& file : addedFiles) {
        stage(platform::removePath(file));
    }
    std::stable_sort(addedFolders.begin(), addedFolders.end(), longerFirst);
    for (const auto& folder : addedFolders) {
        stage(platform::removePath(folder));
    }
}

// A key the backed-up save created goes again only when nothing but the values the backup lists is in
// it: removing it would take along values and keys nobody kept.
void checkCreatedKeys(const Backup& backup, std::vector<std::string>& blocking)
{
    std::set<std::pair<platform::Hive, std::string>> checked;
    for (const auto& value : backup.registry) {
        if (!value.keyCreated || !checked.insert({ value.hive, value.keyPath }).second) {
            continue;
        }
        platform::HKey key = nullptr;
        if (platform::regOpenKeyEx(value.hive, value.keyPath, platform::kKeyQueryValue, &key)
            != platform::kErrorSuccess) {
            continue; // gone already
        }
        std::uint32_t subKeys = 0;
        std::uint32_t values = 0;
        const long asked = platform::regQueryInfoKey(key, &subKeys, &values);
        std::uint32_t listed = 0;
        std::set<std::string> names;
        for (const auto& other : backup.registry) {
            if (other.hive == value.hive && other.keyPath == value.keyPath && names.insert(other.valueName).second
                && platform::regQueryValueEx(key, other.valueName, nullptr, nullptr, nullptr)
                    == platform::kErrorSuccess) {
                ++listed;
            }
        }
        platform::regCloseKey(key);
        if (asked != platform::kErrorSuccess || subKeys > 0 || values > listed) {
            blocking.push_back(value.fullKeyPath() + " holds values or keys this backup does not list");
        }
    }
}

void stageRegistry(const Backup& backup, std::vector<std::string>& blocking)
{
    for (const auto& value : backup.registry) {
        if (restoreRegistryValue(value.hive, value.keyPath, value.valueName, value.before) != platform::kErrorSuccess) {
            blocking.push_back(value.fullKeyPath() + "\\" + value.valueName + " cannot be written");
        }
    }
    for (const auto& value : backup.registry) {
        if (value.keyCreated && removeCreatedRegistryKey(value.hive, value.keyPath) != platform::kErrorSuccess) {
            blocking.push_back(value.fullKeyPath() + " cannot be removed");
        }
    }
}

} // namespace

RollbackResult rollBack(const Backup& backup)
{
    RollbackResult result;
    SaveTransaction save;
    stageFiles(backup, result.blocking);
    if (result.blocking.empty()) {
        checkCreatedKeys(backup, result.blocking);
    }
    if (result.blocking.empty()) {
        stageRegistry(backup, result.blocking);
    }
    if (result.blocking.empty()) {
        FailedWrites hash;
        writeConfigHash(hash);
        for (const auto& file : hash.files) {
            result.blocking.push_back(file + " cannot be written");
        }
    }
    if (!result.blocking.empty()) {
        // The transaction ends unfinished: nothing of it is written.
        result.outcome = RollbackResult::Outcome::Blocked;
        return result;
    }
    SaveTransaction::logEvent("rollback", 0,
                              "back to before the save of " + backup.time + " (backup " + backup.id + ")");
    const bool saved = save.finish(result.failures);
    result.newBackupId = save.backupId();
    if (!saved || !result.failures.empty()) {
        result.outcome = RollbackResult::Outcome::WriteFailed;
    } else if (save.changes().empty()) {
        result.outcome = RollbackResult::Outcome::NothingToRestore;
    }
    return result;
}

} // namespace tarn
