#include "config_tool/session/Rollback.h"

#include "config_tool/engine_files/InstanceProperties.h"
#include "config_tool/foundation/JournaledRegistry.h"
#include "config_tool/session/SaveTransaction.h"

#include <algorithm>

namespace tarn {

bool rollBack(const Backup& backup, FailedWrites& failures, std::string* newBackupId)
{
    namespace platform = orvant::platform;
    SaveTransaction save;
    SaveTransaction::logEvent("rollback", 0,
                              "back to before the save of " + backup.time + " (backup " + backup.id + ")");

    // Folders that were there first, then the files in them, then what the save had added: its files,
    // then its folders, innermost first.
    std::vector<std::string> addedFiles;
    std::vector<std::string> addedFolders;
    std::vector<std::string> folders;
    for (const auto& entry : backup.entries) {
        if (entry.folder && entry.bytes) {
            folders.push_back(entry.storedPath);
        }
    }
    // A save that removed folders removed the innermost first; they come back outermost first.
    std::stable_sort(folders.begin(), folders.end(),
                     [](const std::string& a, const std::string& b) { return a.size() < b.size(); });
    for (const auto& folder : folders) {
        if (!platform::createFolder(folder).ok) {
            failures.record(folder);
        }
    }
    for (const auto& entry : backup.entries) {
        if (!entry.bytes) {
            (entry.folder ? addedFolders : addedFiles).push_back(entry.storedPath);
        } else if (!entry.folder && !platform::writeFileAtomically(entry.storedPath, *entry.bytes).ok) {
            failures.record(entry.storedPath);
        }
    }
    std::stable_sort(addedFolders.begin(), addedFolders.end(),
                     [](const std::string& a, const std::string& b) { return a.size() > b.size(); });
    addedFiles.insert(addedFiles.end(), addedFolders.begin(), addedFolders.end());
    for (const auto& path : addedFiles) {
        if (!platform::removePath(path).ok) {
            failures.record(path);
        }
    }

    for (const auto& value : backup.registry) {
        if (restoreRegistryValue(value.hive, value.keyPath, value.valueName, value.before) != platform::kErrorSuccess) {
            failures.record(value.fullKeyPath());
        }
    }
    for (const auto& value : backup.registry) {
        if (value.keyCreated && removeCreatedRegistryKey(value.hive, value.keyPath) != platform::kErrorSuccess) {
            failures.record(value.fullKeyPath());
        }
    }
    writeConfigHash(failures);
    const bool saved = save.finish(failures);
    if (newBackupId) {
        *newBackupId = save.backupId();
    }
    return saved && failures.empty();
}

} // namespace tarn
