#include "env_tool/StartScript.h"

#include "platform/FileSystem.h"
#include "platform/Process.h"

namespace varset {

namespace platform = orvant::platform;

namespace {

std::string shellSibling(const std::string& storedPath)
{
    const auto separator = storedPath.find_last_of("\\/");
    const auto dot = storedPath.rfind('.');
    const bool hasExtension = dot != std::string::npos && (separator == std::string::npos || dot > separator);
    return (hasExtension ? storedPath.substr(0, dot) : storedPath) + ".sh";
}

} // namespace

bool startScript(const std::string& storedPath)
{
    // The working folder stays the one Varset was started in, as a plain command-line start leaves it.
    const std::string sibling = shellSibling(storedPath);
    if (platform::fileExists(sibling)) {
        return platform::startProgram("/bin/sh", "\"" + sibling + "\"", "", platform::WindowMode::MinimizedActive)
            != nullptr;
    }
    if (!platform::fileExists(storedPath)) {
        return false;
    }
    return platform::startProgram(storedPath, "", "", platform::WindowMode::MinimizedActive) != nullptr;
}

} // namespace varset
