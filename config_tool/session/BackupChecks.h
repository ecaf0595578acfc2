#pragma once

#include "config_tool/foundation/ChangeJournal.h"

#include <string>

namespace tarn {

// What a backup may put back. Everything a backup holds may have been planted by someone else, so a
// rollback puts back only what a save of this installation could have changed:
//   - files and folders that lie, once symbolic links and ".." are resolved, in the installation folder
//     or in the properties folder the loaded configuration names, and are none of the installation's
//     own records (the backups, the audit log, the lock file);
//   - registry values in the keys the configuration is written to, SOFTWARE\Kelbrin\Harbell and
//     SOFTWARE\Kelbrin\Harbell_01 to Harbell_99, of either hive.
// Each answers why not, or nothing when it may.
std::string whyNotRestorable(const std::string& storedPath);
std::string whyNotRestorable(const RegistryValueChange& value);

} // namespace tarn
