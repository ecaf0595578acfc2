#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tarn {

// A backup's ID is the UTC time of its save, "20261207T041233Z", with "-002", "-003", ... for more saves
// in the same second, so that IDs sort as the saves were made. Only a folder named so is a backup.
bool isBackupId(std::string_view name);

// The ID of a new backup made at `time` (ISO 8601 UTC): the time's own, unless that would not sort after
// every ID taken already (a second save in the same second, or a clock set back behind existing
// backups), in which case the next ID after the newest one. A new backup is therefore always the newest,
// whatever the clock says.
std::string nextBackupId(const std::vector<std::string>& taken, const std::string& time);

} // namespace tarn
