#pragma once

#include "config_tool/session/ChangeSet.h"

#include <optional>
#include <string>
#include <vector>

namespace tarn {

// Backups of what saves replaced. Before a save changes anything it keeps, in a folder of its own under
// the installation's backups folder, the previous version of exactly what it changes:
//     backups\<ID>\manifest.txt   who saved when, and one line per changed file or folder
//     backups\<ID>\files\<N>      the bytes file N had before the save
//     backups\<ID>\registry.reg   the registry values it changed, as they were (REGEDIT4)
// The ID is the save's UTC time, "20261207T041233Z", with "-002", "-003", ... for more saves in the same
// second, so IDs sort by time. The newest kBackupsKept are kept.

constexpr int kBackupsKept = 20;

struct BackupEntry
{
    bool folder = false;
    std::string storedPath;
    std::optional<std::string> bytes; // what it held; nullopt: the save created it
};

struct Backup
{
    std::string id;
    std::string time; // ISO 8601 UTC
    std::string program;
    std::string user;
    std::string osUser;
    std::vector<BackupEntry> entries;
    std::vector<RegistryValueChange> registry; // `before` is what to put back
};

std::string backupsFolder();

// Writes the backup of a save's changes and puts it on the disk; returns its ID, or the failure (the
// partial backup is removed again).
struct WrittenBackup
{
    orvant::platform::FileResult result;
    std::string id;
};
WrittenBackup writeBackup(const ChangeSet& changes, const std::string& time);

// Removes the oldest backups beyond kBackupsKept.
void pruneBackups();

// The IDs of the backups there are, oldest first.
std::vector<std::string> listBackups();

// Reads one backup; false with a reason when it is missing or damaged. Without contents only the manifest
// is read, and the entries' bytes are left empty.
bool readBackup(const std::string& id, Backup& backup, std::string& error, bool withContents = true);

// The REGEDIT4 text that puts the registry values back as they were before the changes, and its reader.
std::string registryBackupText(const std::vector<RegistryValueChange>& changes);
bool parseRegistryBackup(const std::string& text, std::vector<RegistryValueChange>& values, std::string& error);

} // namespace tarn
