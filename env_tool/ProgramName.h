#pragma once

#include <string>
#include <string_view>

namespace varset {

// The file name of a program path without folder and extension ("C:\ORVANT\Varset.exe" gives
// "Varset"); "Varset" when the path names no file.
std::string programNameFromPath(std::string_view programPath);

// The name of the running program, as registry errors name their source. "Varset" until set.
const std::string& programName();
void setProgramName(std::string name);

} // namespace varset
