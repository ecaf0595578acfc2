#include "config_tool/provisioning/NewInstance.h"

namespace tarn {

namespace {

// Hidden files (dot files here, the hidden attribute on Windows) belong to the machine, not to the
// instance skeleton.
bool isHiddenName(const std::string& name)
{
    return !name.empty() && name.front() == '.';
}

} // namespace

orvant::platform::FileResult copyFolder(const std::string& fromFolder, const std::string& toFolder,
                                        std::vector<std::string>* newFiles)
{
    namespace platform = orvant::platform;
    for (const auto& name : platform::listFolder(fromFolder)) {
        const std::string source = fromFolder + "\\" + name;
        if (isHiddenName(name) || !platform::fileExists(source)) {
            continue;
        }
        const std::string target = toFolder + "\\" + name;
        const bool existed = platform::pathExists(target);
        const auto copied = platform::copyFile(source, target);
        if (!copied.ok) {
            return { false, source + " could not be copied to " + target + " (" + copied.error + ")" };
        }
        if (newFiles && !existed) {
            newFiles->push_back(target);
        }
    }
    return { true, {} };
}

} // namespace tarn
