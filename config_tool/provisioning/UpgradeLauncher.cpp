#include "config_tool/provisioning/UpgradeLauncher.h"

#include "config_tool/foundation/Globals.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"
#include "platform/Process.h"
#include "platform/TextCodec.h"

#include <filesystem>
#include <system_error>

namespace tarn::UpgradeLauncher {

namespace platform = orvant::platform;

namespace {

std::string firstLine(const std::string& bytes)
{
    return bytes.substr(0, bytes.find_first_of("\r\n"));
}

} // namespace

std::string javaLauncherPath(const std::string& home)
{
    return home + "\\jre1.6.0_20\\bin\\java";
}

std::string versionFilePath(const std::string& home)
{
    return home + "\\version.txt";
}

std::string versionReporterParameters(const std::string& home)
{
    const std::string jar = home + "\\lib\\version.jar";
    // Unquoted, an installation folder such as "C:\Program Files\ORVANT" would reach the launcher as two
    // words and the reporter would never run.
    const bool blank = jar.find_first_of(" \t") != std::string::npos;
    return " -jar " + (blank ? "\"" + jar + "\"" : jar);
}

std::string checkVersion(const std::string& home, std::chrono::milliseconds wait)
{
    const std::string versionFile = versionFilePath(home);
    std::error_code ignored; // usually: there was no file to remove
    std::filesystem::remove(std::filesystem::path(platform::toNativePath(versionFile)), ignored);

    auto reporter = platform::startProgram(javaLauncherPath(home), versionReporterParameters(home), home,
                                           platform::WindowMode::Hidden);
    // A reporter that has ended has written all it will write; one that could not start writes nothing,
    // so there is nothing to wait for.
    if (reporter) {
        reporter->waitForExit(wait);
    }

    if (!platform::fileExists(versionFile)) {
        return {};
    }
    std::string bytes;
    if (!platform::readWholeFile(versionFile, bytes).ok) {
        return {};
    }
    return platform::ansiToUtf8(firstLine(bytes));
}

UpgradeOutcome runUpgrade(const std::string& home, const std::function<bool()>& save)
{
    switch (Globals::ui().askYesNoCancel(kSaveQuestion)) {
    case QuestionAnswer::Yes:
        // A save refused by a check has shown its message; the upgrade goes on regardless.
        if (save && !save()) {
            return UpgradeOutcome::Cancelled;
        }
        break;
    case QuestionAnswer::No:
        break;
    case QuestionAnswer::Cancel:
        return UpgradeOutcome::Cancelled;
    }
    const auto installer
        = platform::startProgram(javaLauncherPath(home), kInstallerParameters, home, platform::WindowMode::Hidden);
    return installer ? UpgradeOutcome::InstallerStarted : UpgradeOutcome::InstallerNotStarted;
}

} // namespace tarn::UpgradeLauncher
