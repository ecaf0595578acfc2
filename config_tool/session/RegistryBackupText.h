#pragma once

#include "config_tool/foundation/ChangeJournal.h"

#include <cstddef>
#include <string>
#include <vector>

namespace tarn {

// The registry file of a backup: REGEDIT4 text that puts the values a save changed back as they were
// before it ("name"=- for a value the save created, [-key] for a key it created), and its reader;
// lines (when given) gets the line of each value read, for messages.
std::string registryBackupText(const std::vector<RegistryValueChange>& changes);
bool parseRegistryBackup(const std::string& text, std::vector<RegistryValueChange>& values, std::string& error,
                         std::vector<std::size_t>* lines = nullptr);

} // namespace tarn
