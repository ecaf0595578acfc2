#include "config_tool/foundation/InstallationFiles.h"

#include "config_tool/foundation/Globals.h"
#include "platform/AsciiText.h"

namespace tarn {

std::string configurationFilePath(const std::string& installationFolder)
{
    return installationFolder + "\\conf\\ORVANTConfiguration.xml";
}

std::string configHashFilePath()
{
    return Globals::ensureInstallationFolder() + "\\properties\\instance.properties";
}

std::string userStorePath()
{
    return Globals::ensureInstallationFolder() + "\\properties\\" + std::string(kUserStoreName);
}

bool isUserStore(std::string_view storedPath)
{
    const auto separator = storedPath.find_last_of("\\/");
    const std::string_view name = separator == std::string_view::npos ? storedPath : storedPath.substr(separator + 1);
    return orvant::ascii::equalsIgnoringCase(name, kUserStoreName);
}

} // namespace tarn
