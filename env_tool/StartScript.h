#pragma once

#include <string>

namespace varset {

// The payment engine's start script, as the installation names it.
inline constexpr const char* kStartScript = "c:\\orvant\\StartPOSServer.bat";

// Starts a start script in a minimised window that takes the focus, without waiting for it. A
// batch file runs only on Windows, so a shell script of the same name ending in ".sh" beside it is
// preferred when there is one (there never is on Windows), run with /bin/sh; otherwise the script
// itself is started. Returns whether something was started; a missing script starts nothing.
bool startScript(const std::string& storedPath = kStartScript);

} // namespace varset
