#include "config_tool/model/InstanceFolders.h"

#include "config_tool/model/InstanceNaming.h"
#include "platform/FileSystem.h"

namespace tarn {

namespace {

std::string theFolder(const MissingInstanceFolders& missing)
{
    return "The folder " + missing.baseDirectory;
}

std::string missingBase(const MissingInstanceFolders& missing)
{
    return missing.baseDirectory.empty() ? "No Base Directory is given." : theFolder(missing) + " does not exist.";
}

} // namespace

MissingInstanceFolders missingInstanceFolders(const std::string& baseDirectory, std::int16_t lastInstance)
{
    MissingInstanceFolders missing;
    missing.baseDirectory = baseDirectory;
    if (baseDirectory.empty() || !orvant::platform::folderExists(baseDirectory)) {
        missing.baseMissing = true;
        return missing;
    }
    for (std::int16_t n = 1; n <= lastInstance; ++n) {
        if (!orvant::platform::folderExists(instanceFolder(baseDirectory, n))) {
            missing.instanceFolders.push_back("INSTANCE_" + getInstanceString(n));
        }
    }
    return missing;
}

std::string missingFoldersSummary(const MissingInstanceFolders& missing)
{
    if (missing.baseMissing) {
        return missingBase(missing);
    }
    if (missing.instanceFolders.empty()) {
        return {};
    }
    std::string text = theFolder(missing) + " holds no " + missing.instanceFolders.front();
    if (missing.instanceFolders.size() > 1) {
        text += " (and " + std::to_string(missing.instanceFolders.size() - 1) + " more)";
    }
    return text + ".";
}

std::string missingFoldersRefusal(const MissingInstanceFolders& missing)
{
    if (missing.baseMissing) {
        return missingBase(missing);
    }
    if (missing.instanceFolders.empty()) {
        return {};
    }
    std::string text = theFolder(missing) + " holds no ";
    const auto& folders = missing.instanceFolders;
    for (std::size_t i = 0; i < folders.size(); ++i) {
        text += (i == 0 ? "" : i + 1 == folders.size() ? " or " : ", ") + folders[i];
    }
    return text + ". Create the instance folders there first, or keep the Base Directory.";
}

} // namespace tarn
