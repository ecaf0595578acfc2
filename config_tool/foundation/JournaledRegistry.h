#pragma once

#include "config_tool/foundation/ChangeJournal.h"

#include <optional>
#include <string>

namespace tarn {

// The configuration's registry writes, recorded in the open ChangeJournal (with what each value held
// before) and kept back entirely in a dry run. Results are Win32 codes.

// Sets one value, creating its key; keyOpened (when given) tells whether the key could be opened or
// created, so that a failure can say which call failed.
long setRegistryValue(orvant::platform::Hive hive, const std::string& keyPath, const std::string& valueName,
                      const RegistryData& data, bool* keyOpened = nullptr);

// Puts a value back as a save found it: its old data, or no value at all.
long restoreRegistryValue(orvant::platform::Hive hive, const std::string& keyPath, const std::string& valueName,
                          const std::optional<RegistryData>& data);

// Removes a key that a save created, with its values (ERROR_SUCCESS when it is gone already). A key that
// gained subkeys since is refused with ERROR_ACCESS_DENIED, as on Windows.
long removeCreatedRegistryKey(orvant::platform::Hive hive, const std::string& keyPath);

} // namespace tarn
