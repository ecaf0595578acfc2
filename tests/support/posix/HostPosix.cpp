#include "platform/Environment.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"
#include "tests/support/Files.h"
#include "tests/support/Host.h"

namespace orvant::test::host {

const Condition kReadOnlyFolders { true, "" };
const Condition kUnreadableFiles { true, "" };
const Condition kRegistryHiveFiles { true, "" };
const Condition kRegistrySavedWhole { true, "" };

std::filesystem::path driveC(const std::filesystem::path& testFolder)
{
    return testFolder / "drive_c";
}

// The drive is the test's own folder and goes with it.
void beginDriveTest(const std::filesystem::path& /*driveC*/) { }
void endDriveTest(const std::filesystem::path& /*driveC*/) { }

namespace {

std::filesystem::path hiveFile(const std::filesystem::path& registryFolder, platform::Hive hive)
{
    return registryFolder / (hive == platform::Hive::CurrentUser ? "HKEY_CURRENT_USER.reg" : "HKEY_LOCAL_MACHINE.reg");
}

} // namespace

std::string hiveText(const std::filesystem::path& registryFolder, platform::Hive hive)
{
    return readFile(hiveFile(registryFolder, hive));
}

void restoreHive(const std::filesystem::path& registryFolder, platform::Hive hive, const std::string& text)
{
    if (text.empty()) {
        std::filesystem::remove(hiveFile(registryFolder, hive));
    } else {
        writeFile(hiveFile(registryFolder, hive), text);
    }
}

void denyMachineRegistryWrites(const std::filesystem::path& registryFolder)
{
    makeReadOnly(registryFolder);
}

void writeRecordingScript(const std::string& storedBatchPath, const std::string& storedRecordPath)
{
    const std::string shellScript = storedBatchPath.substr(0, storedBatchPath.rfind('.')) + ".sh";
    platform::writeFileAtomically(shellScript,
                                  "#!/bin/sh\necho started > '" + platform::toNativePath(storedRecordPath) + "'\n");
}

const bool kEnvironmentBroadcastsArrive = false;

int environmentBroadcastsDuring(const std::function<void()>& action)
{
    action();
    return 0;
}

std::filesystem::path comPortFolder()
{
    return platform::getEnvironmentVariable("ORVANT_COM_PORT_DIR").value_or("");
}

} // namespace orvant::test::host
