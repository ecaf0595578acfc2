#pragma once

#include "config_tool/foundation/FailedWrites.h"
#include "config_tool/session/Backups.h"

#include <string>
#include <vector>

namespace tarn {

// Puts back what a backup holds as one save: each file as it was, with the permissions it had (a file or
// folder the backed-up save created is removed), each registry value as it was (a value or key it created
// is deleted), then the configuration hash is computed again. The rollback is itself backed up and
// logged, so that it can be undone in turn. The caller holds the installation lock.
//
// A rollback is done whole or not at all: every entry is checked before anything is written, and when
// one cannot be put back (a folder where a file was, a folder the save created that now holds files the
// backup does not know, a key that holds values the backup does not list) nothing is written. A backup
// whose contents are already in place changes nothing and logs nothing.
struct RollbackResult
{
    enum class Outcome
    {
        Done,
        NothingToRestore,
        Blocked, // `blocking` says by what; nothing was written
        WriteFailed, // a file or hive could not be written at the end (`failures`)
    };
    Outcome outcome = Outcome::Done;
    std::vector<std::string> blocking;
    FailedWrites failures;
    std::string newBackupId; // the ID of the rollback's own backup, when it changed something
};

RollbackResult rollBack(const Backup& backup);

} // namespace tarn
