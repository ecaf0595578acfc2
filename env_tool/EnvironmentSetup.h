#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace varset {

// The installation's standard values.
inline constexpr const char* kInstallDir = "C:\\ORVANT\\";
inline constexpr const char* kKelbrinHome = "C:\\ORVANT";
inline constexpr const char* kJavaHome = "C:\\ORVANT\\JRE1.6.0_20";
inline constexpr const char* kProductEntriesExpanded = "C:\\ORVANT\\;C:\\ORVANT\\BIN;C:\\ORVANT\\JRE1.6.0_20\\BIN;";
inline constexpr const char* kProductEntries = "%INSTALL_DIR%;%INSTALL_DIR%BIN;%JAVA_HOME%\\BIN;";
inline constexpr const char* kWindowsFolders[]
    = { "C:\\WINDOWS;", "C:\\WINDOWS\\SYSTEM32;", "C:\\WINDOWS\\SYSTEM32\\WBEM;" };

// What a run did. Varset itself ignores all of it; it is there for tests and any front end.
struct SetupOutcome
{
    std::vector<std::string> written; // variables stored, in order
    std::vector<std::string> failed; // variables whose write failed, in order
    bool scriptStarted = false;
};

// Varset's whole behaviour: brings INSTALL_DIR, KELBRIN_HOME, JAVA_HOME and Path of the machine
// environment to the installation's standard values, announcing each change through `broadcast`,
// then calls `startScript`. Every failure is ignored and the run goes on.
SetupOutcome runEnvironmentSetup(const std::function<void()>& broadcast, const std::function<bool()>& startScript);

} // namespace varset
