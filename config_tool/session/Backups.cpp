#include "config_tool/session/Backups.h"

#include "config_tool/foundation/Globals.h"
#include "config_tool/session/AuditLog.h"
#include "config_tool/session/BackupChecks.h"
#include "config_tool/session/BackupIds.h"
#include "config_tool/session/BackupManifest.h"
#include "platform/DirectWrites.h"

#include <algorithm>

namespace tarn {

namespace {

namespace platform = orvant::platform;

constexpr const char* kManifest = "manifest.txt";
constexpr const char* kRegistryFile = "registry.reg";
constexpr const char* kFiles = "files";

std::string backupFolder(const std::string& id)
{
    return backupsFolder() + "\\" + id;
}

// Removes a backup folder and what a backup holds, at once (a save's batch may be open), never following
// a link: a link in the folder is removed itself, and `files` is emptied only when it is a real folder.
// What cannot be removed stays.
void removeBackupFolder(const std::string& folder)
{
    const std::string files = folder + "\\" + kFiles;
    if (platform::entryKind(files) == platform::EntryKind::Folder) {
        for (const auto& name : platform::listFolder(files)) {
            platform::removeNow(files + "\\" + name);
        }
    }
    for (const auto& name : platform::listFolder(folder)) {
        platform::removeNow(folder + "\\" + name);
    }
    platform::removeNow(folder);
}

bool isBackupFolder(const std::string& name)
{
    const std::string folder = backupFolder(name);
    return isBackupId(name) && platform::entryKind(folder) == platform::EntryKind::Folder
        && platform::entryKind(folder + "\\" + kManifest) == platform::EntryKind::File;
}

// A name from outside (the command line, a folder) as it may be shown: control characters escaped.
std::string shown(const std::string& text)
{
    return escapeControlCharacters(text);
}

// The new backup's folder, open to its owner only. Created new, so that nothing planted at its name can
// lead the backup elsewhere.
platform::FileResult createBackupFolder(const std::string& time, std::string& id)
{
    if (auto made = platform::createFolderNow(backupsFolder(), platform::FolderAccess::OwnerOnly); !made.ok) {
        return made;
    }
    if (!platform::resolvesWithin(backupsFolder(), Globals::ensureInstallationFolder())) {
        return { false, "Cannot write " + backupsFolder() + ": it leads outside the installation" };
    }
    std::vector<std::string> taken = platform::listFolder(backupsFolder());
    platform::FileResult made;
    for (int attempt = 0; attempt < 3; ++attempt) {
        id = nextBackupId(taken, time);
        made = platform::createNewFolderNow(backupFolder(id), platform::FolderAccess::OwnerOnly);
        if (made.ok) {
            return platform::createNewFolderNow(backupFolder(id) + "\\" + kFiles, platform::FolderAccess::OwnerOnly);
        }
        taken.push_back(id);
    }
    return made;
}

} // namespace

std::string backupsFolder()
{
    return Globals::ensureInstallationFolder() + "\\backups";
}

WrittenBackup writeBackup(const ChangeSet& changes, const std::string& time)
{
    WrittenBackup written;
    std::string id;
    if (written.result = createBackupFolder(time, id); !written.result.ok) {
        if (!id.empty() && platform::entryKind(backupFolder(id)) == platform::EntryKind::Folder) {
            removeBackupFolder(backupFolder(id));
        }
        return written;
    }
    const std::string folder = backupFolder(id);
    std::vector<std::string> paths;
    const auto write = [&](const std::string& path, const std::string& bytes) {
        written.result = platform::writeNow(path, bytes, true);
        paths.push_back(path);
        return written.result.ok;
    };
    const auto& identity = auditIdentity();
    Manifest manifest { time, identity.program, identity.user, identity.osUser, {}, changes.registry.size() };
    bool ok = true;
    unsigned stored = 0;
    for (const auto& file : changes.files) {
        if (file.unreadable) {
            // What cannot be read cannot be kept; replacing it would lose it for good.
            written.result = { false, "Cannot read " + file.storedPath + " to keep it" };
            ok = false;
            break;
        }
        ManifestEntry entry;
        entry.folder = file.folder;
        entry.storedPath = file.storedPath;
        if (file.folder) {
            entry.folderExisted = file.before.has_value();
        } else if (file.before) {
            entry.fileNumber = ++stored;
            entry.mode = platform::permissionBits(file.storedPath);
            if (!write(folder + "\\" + kFiles + "\\" + std::to_string(stored), *file.before)) {
                ok = false;
                break;
            }
        }
        manifest.entries.push_back(std::move(entry));
    }
    ok = ok && (changes.registry.empty() || write(folder + "\\" + kRegistryFile, registryBackupText(changes.registry)));
    // The manifest comes last, and its end marker last in it: a backup without a whole one was never finished.
    ok = ok && write(folder + "\\" + kManifest, manifestText(manifest));
    if (ok) {
        if (const auto unflushed = platform::flushNow(paths); !unflushed.empty()) {
            written.result = { false, "Cannot put " + unflushed.front() + " on the disk" };
            ok = false;
        }
    }
    if (!ok) {
        removeBackupFolder(folder);
        return written;
    }
    written.id = id;
    return written;
}

void pruneBackups()
{
    const auto ids = listBackups();
    for (std::size_t i = 0; i + kBackupsKept < ids.size(); ++i) {
        removeBackupFolder(backupFolder(ids[i]));
    }
}

std::vector<std::string> listBackups()
{
    std::vector<std::string> ids;
    if (platform::entryKind(backupsFolder()) == platform::EntryKind::None) {
        return ids;
    }
    for (const auto& name : platform::listFolder(backupsFolder())) {
        if (isBackupFolder(name)) {
            ids.push_back(name);
        }
    }
    return ids;
}

bool readBackup(const std::string& id, Backup& backup, std::string& error, bool withContents)
{
    backup = {};
    backup.id = id;
    if (!isBackupId(id) || !isBackupFolder(id)) {
        error = "there is no backup " + shown(id);
        return false;
    }
    const std::string folder = backupFolder(id);
    std::string bytes;
    if (auto read = platform::readWholeFile(folder + "\\" + kManifest, bytes); !read.ok) {
        error = read.error;
        return false;
    }
    Manifest manifest;
    if (!parseManifest(bytes, manifest, error)) {
        return false;
    }
    backup.time = manifest.time;
    backup.program = manifest.program;
    backup.user = manifest.user;
    backup.osUser = manifest.osUser;
    const auto refuse = [&error](std::size_t line, const std::string& why) {
        error = "manifest.txt line " + std::to_string(line) + ": " + why;
        return false;
    };
    for (const auto& entry : manifest.entries) {
        if (const std::string why = whyNotRestorable(entry.storedPath); !why.empty()) {
            return refuse(entry.line, why);
        }
        BackupEntry kept { entry.folder, entry.storedPath, std::nullopt, entry.mode };
        if (entry.folder && entry.folderExisted) {
            kept.bytes = std::string();
        } else if (entry.fileNumber) {
            const std::string file = folder + "\\" + kFiles + "\\" + std::to_string(*entry.fileNumber);
            if (platform::entryKind(file) != platform::EntryKind::File) {
                return refuse(entry.line,
                              std::string(kFiles) + "\\" + std::to_string(*entry.fileNumber)
                                  + " is not a file of this backup");
            }
            kept.bytes = std::string();
            if (withContents) {
                if (auto read = platform::readWholeFile(file, *kept.bytes); !read.ok) {
                    error = read.error;
                    return false;
                }
            }
        }
        backup.entries.push_back(std::move(kept));
    }

    const std::string registryFile = folder + "\\" + kRegistryFile;
    const platform::EntryKind registryKind = platform::entryKind(registryFile);
    if (registryKind != platform::EntryKind::None) {
        std::string text;
        if (registryKind != platform::EntryKind::File) {
            error = std::string(kRegistryFile) + " is not a file";
            return false;
        }
        if (auto read = platform::readWholeFile(registryFile, text); !read.ok) {
            error = read.error;
            return false;
        }
        std::vector<std::size_t> lines;
        if (!parseRegistryBackup(text, backup.registry, error, &lines)) {
            error = std::string(kRegistryFile) + ": " + error;
            return false;
        }
        for (std::size_t i = 0; i < backup.registry.size(); ++i) {
            if (const std::string why = whyNotRestorable(backup.registry[i]); !why.empty()) {
                error = std::string(kRegistryFile) + " line " + std::to_string(lines[i]) + ": " + why;
                return false;
            }
        }
    }
    if (backup.registry.size() != manifest.registryValues) {
        error = std::string(kRegistryFile) + " holds " + std::to_string(backup.registry.size())
            + " values where the manifest counts " + std::to_string(manifest.registryValues)
            + ": it was cut short, or it is not this backup's";
        return false;
    }
    return true;
}

} // namespace tarn
