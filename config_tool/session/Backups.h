#pragma once

#include "config_tool/session/ChangeSet.h"
#include "config_tool/session/RegistryBackupText.h"

#include <optional>
#include <string>
#include <vector>

namespace tarn {

// Backups of what saves replaced. Before a save changes anything it keeps, in a folder of its own under
// the installation's backups folder, the previous version of exactly what it changes:
//     backups\<ID>\manifest.txt   who saved when, and one line per changed file or folder (BackupManifest.h)
//     backups\<ID>\files\<N>      the bytes file N had before the save
//     backups\<ID>\registry.reg   the registry values it changed, as they were (REGEDIT4)
// IDs are described in BackupIds.h. The newest kBackupsKept are kept. A backup may hold a copy of the
// user store: the folders are open to their owner only, and so are the files in them.

constexpr int kBackupsKept = 20;

struct BackupEntry
{
    bool folder = false;
    std::string storedPath;
    std::optional<std::string> bytes; // what it held; nullopt: the save created it
    std::optional<unsigned> mode; // a file's permission bits, where the system has them
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

// Writes the backup of a save's changes and puts it on the disk; returns its ID, or the failure naming
// the file and the reason (nothing of the backup is left behind then).
struct WrittenBackup
{
    orvant::platform::FileResult result;
    std::string id;
};
WrittenBackup writeBackup(const ChangeSet& changes, const std::string& time);

// Removes the oldest backups beyond kBackupsKept. Only backups count and go: real folders (not links)
// with an ID for a name and a manifest. Anything else in the backups folder is left alone, and a link
// found inside a backup is removed itself, never followed.
void pruneBackups();

// The IDs of the backups there are (as pruneBackups counts them), oldest first.
std::vector<std::string> listBackups();

// Reads one backup and checks everything in it against what a rollback may put back (BackupChecks.h);
// false with a reason naming the file and line when it is missing, damaged or refused. Without contents
// only the manifest and the registry file are read, and the entries' bytes are left empty.
bool readBackup(const std::string& id, Backup& backup, std::string& error, bool withContents = true);

} // namespace tarn
