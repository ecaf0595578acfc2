#include "config_tool/session/LoadedFiles.h"

#include "config_tool/foundation/ConfigurationMode.h"
#include "config_tool/foundation/Globals.h"
#include "config_tool/foundation/SHA1.h"
#include "platform/FileSystem.h"

namespace tarn {

namespace {

std::string digestOf(const std::string& path)
{
    std::string bytes;
    if (path.empty() || !orvant::platform::fileExists(path) || !orvant::platform::readWholeFile(path, bytes).ok) {
        return {};
    }
    return SHA1::digestOfBytes(bytes);
}

} // namespace

LoadedFiles LoadedFiles::now()
{
    Globals::ensureInstallationFolder();
    return { digestOf(Globals::state().xmlConfigurationPath), digestOf(configurationModeFilePath()) };
}

} // namespace tarn
