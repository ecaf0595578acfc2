#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace orvant::platform {

// A variable of this process's environment (UTF-8), or nothing when it is not set. The name is matched
// without regard to case, as on Windows; on POSIX an exact match wins over another spelling.
std::optional<std::string> getEnvironmentVariable(std::string_view name);

// Sets a variable of this process's environment (UTF-8), or removes it when value is nothing, for
// this process and the programs it starts afterwards. False when the name is empty or holds "=".
bool setEnvironmentVariable(std::string_view name, const std::optional<std::string>& value);

// Expands %NAME% references as ExpandEnvironmentStringsA does: names are matched without regard to
// case (on POSIX too), a reference to an undefined variable is left as it is, "%%" stays "%%", and an
// unpaired "%" is kept. The closing "%" of an undefined name may open the next reference:
// "%UNDEFINED%PATH%" keeps "%UNDEFINED" and expands "%PATH%". Values are not expanded again.
std::string expandEnvironmentStrings(std::string_view text);

// Tells the running programs that the machine environment changed (WM_SETTINGCHANGE "Environment"
// through SendMessageTimeoutA, SMTO_ABORTIFHUNG, 5000 ms). POSIX has no such listeners: nothing happens.
void broadcastEnvironmentChange();

// The name of the operating-system user this process runs as (UTF-8); a user the system cannot name
// is given by number.
std::string currentUserName();

} // namespace orvant::platform
