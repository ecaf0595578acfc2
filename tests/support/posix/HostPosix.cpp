#include "platform/Environment.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"
#include "tests/support/Files.h"
#include "tests/support/Host.h"

namespace orvant::test::host {

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
