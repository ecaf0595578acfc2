#include "config_tool/foundation/ConfigurationMode.h"

#include "config_tool/foundation/CProperties.h"
#include "config_tool/foundation/Globals.h"
#include "config_tool/foundation/InstallationFiles.h"
#include "platform/AsciiText.h"
#include "platform/Environment.h"
#include "platform/FileSystem.h"

#include <algorithm>
#include <cctype>
#include <string_view>

namespace tarn {

namespace {

bool selectsXmlMode(std::string_view line)
{
    if (!line.empty() && line.front() == '#') {
        return false;
    }
    const auto separator = line.find('=');
    if (separator == std::string_view::npos || line.find('=', separator + 1) != std::string_view::npos) {
        return false;
    }
    return orvant::ascii::equalsIgnoringCase(line.substr(0, separator), kConfigurationModeKey)
        && orvant::ascii::equalsIgnoringCase(line.substr(separator + 1), kXmlModeText);
}

} // namespace

std::string configurationModeFilePath()
{
    return Globals::state().installationFolder + "\\properties\\hbl.properties";
}

std::int16_t determineConfigurationMode()
{
    auto& state = Globals::state();
    state.installationFolder = orvant::platform::getEnvironmentVariable("KELBRIN_HOME").value_or("");
    if (state.installationFolder.empty() || !orvant::platform::pathExists(state.installationFolder)) {
        return kRegistryMode;
    }
    state.xmlConfigurationPath = configurationFilePath(state.installationFolder);
    return readConfigurationMode();
}

std::int16_t readConfigurationMode()
{
    // Without an installation folder the path would name the root of the current drive.
    if (Globals::state().installationFolder.empty()) {
        return kRegistryMode;
    }
    const std::string path = configurationModeFilePath();
    if (!orvant::platform::fileExists(path)) {
        return kRegistryMode;
    }
    std::string bytes;
    const auto result = orvant::platform::readWholeFile(path, bytes);
    if (!result.ok) {
        Globals::ui().showMessage(result.error);
        return kRegistryMode;
    }
    const auto lines = CProperties::splitLines(bytes);
    return std::any_of(lines.begin(), lines.end(), selectsXmlMode) ? kXmlMode : kRegistryMode;
}

bool writeConfigurationMode()
{
    Globals::ensureInstallationFolder();
    const std::string line = std::string(kConfigurationModeKey) + "="
        + std::string(Globals::state().configurationMode == kXmlMode ? kXmlModeText : kRegistryModeText) + "\r\n";
    // Every save writes the mode; a file that already says it is left alone.
    std::string current;
    if (orvant::platform::fileExists(configurationModeFilePath())
        && orvant::platform::readWholeFile(configurationModeFilePath(), current).ok && current == line) {
        return true;
    }
    const auto result = orvant::platform::writeFileAtomically(configurationModeFilePath(), line);
    if (!result.ok) {
        Globals::ui().showMessage(result.error);
    }
    return result.ok;
}

} // namespace tarn
