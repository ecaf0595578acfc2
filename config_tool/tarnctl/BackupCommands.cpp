#include "config_tool/foundation/Globals.h"
#include "config_tool/model/XmlConfig.h"
#include "config_tool/session/Backups.h"
#include "config_tool/session/Rollback.h"
#include "config_tool/session/SaveSequences.h"
#include "config_tool/tarnctl/CommandSupport.h"
#include "config_tool/tarnctl/Commands.h"
#include "config_tool/tarnctl/JsonOutput.h"

namespace tarn::ctl {

namespace {

// The configuration names the properties folder, where a backup may put files back too.
void loadConfiguration()
{
    XmlConfig::loadXmlConfig(Globals::state().xmlConfigurationPath);
}

} // namespace

ExitStatus runBackups(CommandContext& context)
{
    loadConfiguration();
    std::vector<BackupSummary> summaries;
    for (const auto& id : listBackups()) {
        Backup backup;
        std::string error;
        if (!readBackup(id, backup, error, false)) {
            context.err << "tarnctl: backup " << id << ": " << error << '\n';
            continue;
        }
        std::size_t files = 0;
        for (const auto& entry : backup.entries) {
            files += entry.folder ? 0 : 1;
        }
        summaries.push_back(
            { backup.id, backup.time, backup.program, backup.user, backup.osUser, files, backup.registry.size() });
    }
    if (context.line.json) {
        context.out << backupsJson(summaries);
        return ExitStatus::Done;
    }
    for (const auto& backup : summaries) {
        // The names come from the backup's manifest: a tab or a line end in them must not make another field.
        context.out << backup.id << '\t' << backup.time << '\t' << escapeControlCharacters(backup.program) << '\t'
                    << escapeControlCharacters(backup.user) << '\t' << escapeControlCharacters(backup.osUser) << '\t'
                    << backup.files << '\t' << backup.registryValues << '\n';
    }
    return ExitStatus::Done;
}

ExitStatus runRollback(CommandContext& context)
{
    loadConfiguration();
    std::string id;
    if (!context.line.arguments.empty()) {
        id = context.line.arguments.front();
    } else if (const auto ids = listBackups(); !ids.empty()) {
        id = ids.back();
    } else {
        context.err << "tarnctl: this installation has no backups\n";
        return ExitStatus::Usage;
    }
    Backup backup;
    std::string error;
    if (!readBackup(id, backup, error)) {
        context.err << "tarnctl: backup " << escapeControlCharacters(id) << " cannot be used: " << error
                    << "; nothing was written\n";
        return ExitStatus::Usage;
    }
    const RollbackResult result = rollBack(backup);
    switch (result.outcome) {
    case RollbackResult::Outcome::Done:
        context.out << result.newBackupId << '\n';
        return ExitStatus::Done;
    case RollbackResult::Outcome::NothingToRestore:
        context.err << "tarnctl: nothing to restore: the installation holds what backup " << id
                    << " kept; nothing was written\n";
        return ExitStatus::Done;
    case RollbackResult::Outcome::Blocked:
        context.err << "tarnctl: backup " << id << " cannot be put back whole, so nothing was written:\n";
        for (const auto& reason : result.blocking) {
            context.err << "  " << escapeControlCharacters(reason) << '\n';
        }
        return ExitStatus::Refused;
    case RollbackResult::Outcome::WriteFailed:
        break;
    }
    reportFailedWrites(result.failures);
    return ExitStatus::WriteFailed;
}

} // namespace tarn::ctl
