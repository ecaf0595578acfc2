#include "config_tool/tarnctl/Installation.h"

#include "config_tool/foundation/ConfigurationMode.h"
#include "config_tool/foundation/Globals.h"
#include "config_tool/foundation/InstallationFiles.h"
#include "config_tool/model/XmlConfig.h"
#include "platform/FileSystem.h"

namespace tarn::ctl {

bool openInstallationFolder(const std::optional<std::string>& home, std::string& error)
{
    GlobalState& state = Globals::state();
    if (home) {
        state.installationFolder = *home;
    }
    const std::string& folder = Globals::ensureInstallationFolder();
    if (!orvant::platform::folderExists(folder)) {
        error = "the installation folder " + folder + " does not exist (set KELBRIN_HOME or give --home)";
        return false;
    }
    state.xmlConfigurationPath = configurationFilePath(folder);
    state.configurationMode = readConfigurationMode();
    return true;
}

void loadSession(ConfigSession& session)
{
    XmlConfig::loadXmlConfig(Globals::state().xmlConfigurationPath);
    session.loadCommonSettings();

    DesktopFacts& context = session.desktop;
    context.hasPrinters = true;
    context.defaultPrinter.clear();
    context.screenWidthPixels = kAssumedScreenWidth;
    context.screenHeightPixels = kAssumedScreenHeight;
    context.twipsPerPixelX = kAssumedTwipsPerPixel;
    context.twipsPerPixelY = kAssumedTwipsPerPixel;
    session.loadAllInstances();
}

} // namespace tarn::ctl
