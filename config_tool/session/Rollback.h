#pragma once

#include "config_tool/foundation/FailedWrites.h"
#include "config_tool/session/Backups.h"

namespace tarn {

// Puts back what the backup holds as one save: each file as it was (a file or folder the backed-up save
// created is removed), each registry value as it was (a value or key it created is deleted), then the
// configuration hash is computed again. The rollback is itself backed up and logged, so that it can be
// undone in turn. The caller holds the installation lock. Files that could not be written are recorded
// in failures; returns whether everything was put back. newBackupId (when given) gets the ID of the
// rollback's own backup, empty when there was nothing to put back.
bool rollBack(const Backup& backup, FailedWrites& failures, std::string* newBackupId = nullptr);

} // namespace tarn
