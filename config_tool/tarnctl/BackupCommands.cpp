#include "config_tool/session/Backups.h"
#include "config_tool/session/Rollback.h"
#include "config_tool/session/SaveSequences.h"
#include "config_tool/tarnctl/CommandSupport.h"
#include "config_tool/tarnctl/Commands.h"

namespace tarn::ctl {

ExitStatus runBackups(CommandContext& context)
{
    InstallationLock lock;
    if (const ExitStatus opened = logInAndLock(context, InstallationLock::Kind::Shared, lock);
        opened != ExitStatus::Done) {
        return opened;
    }
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
        context.out << backup.id << '\t' << backup.time << '\t' << backup.program << '\t' << backup.user << '\t'
                    << backup.osUser << '\t' << files << '\t' << backup.registry.size() << '\n';
    }
    return ExitStatus::Done;
}

ExitStatus runRollback(CommandContext& context)
{
    InstallationLock lock;
    if (const ExitStatus opened = logInAndLock(context, InstallationLock::Kind::Exclusive, lock);
        opened != ExitStatus::Done) {
        return opened;
    }
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
        context.err << "tarnctl: backup " << id << " cannot be used: " << error << '\n';
        return ExitStatus::Usage;
    }
    FailedWrites failures;
    std::string undo;
    if (!rollBack(backup, failures, &undo)) {
        reportFailedWrites(failures);
        return ExitStatus::WriteFailed;
    }
    context.out << undo << '\n';
    return ExitStatus::Done;
}

} // namespace tarn::ctl
