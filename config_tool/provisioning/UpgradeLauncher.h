#pragma once

#include <chrono>
#include <functional>
#include <string>

namespace tarn::UpgradeLauncher {

// The engine's own Java runtime and its two tools under the installation folder: the version reporter
// lib\version.jar, which writes version.txt into the installation folder, and the update installer
// installUpdate.jar, which replaces files once this program has ended.

// home + "\jre1.6.0_20\bin\java"
std::string javaLauncherPath(const std::string& home);

// home + "\version.txt"
std::string versionFilePath(const std::string& home);

// The parameter string for the version reporter: " -jar " + home + "\lib\version.jar" (the jar's path
// quoted when it holds a blank, so that it stays one word).
std::string versionReporterParameters(const std::string& home);

constexpr const char* kInstallerParameters = " -jar installUpdate.jar";

// The longest the version check waits for the reporter.
constexpr std::chrono::milliseconds kReporterWait { 2000 };

// Removes an old version file, starts the version reporter hidden in home and returns the first line of
// the version file it writes; empty when there is none or it cannot be read. Waits until the reporter has
// ended or `wait` has passed, whichever comes first, and not at all when the reporter could not be
// started. Never shows a message.
std::string checkVersion(const std::string& home, std::chrono::milliseconds wait = kReporterWait);

constexpr const char* kSaveQuestion = "Save changes before exiting the application to run software update?";

enum class UpgradeOutcome
{
    Cancelled, // the operator changed their mind: nothing happened, the program goes on
    InstallerStarted,
    InstallerNotStarted, // no message: the program ends all the same
};

// "Run Upgrade Now": asks whether to save first (Yes runs the save, whatever the save's checks report;
// No skips it; Cancel stops here), then starts the update installer hidden in home without waiting for
// it. A save that declines to write at all (false: the configuration changed underneath and the
// operator kept it) stops here too, as Cancel does.
UpgradeOutcome runUpgrade(const std::string& home, const std::function<bool()>& save);

// Every outcome but Cancelled ends the program at once, so that the installer can replace its files.
inline bool programMustEnd(UpgradeOutcome outcome)
{
    return outcome != UpgradeOutcome::Cancelled;
}

} // namespace tarn::UpgradeLauncher
