#include "env_tool/ProgramName.h"

namespace varset {

namespace {

std::string& storedProgramName()
{
    static std::string name = "Varset";
    return name;
}

} // namespace

std::string programNameFromPath(std::string_view programPath)
{
    // Both separators: a Windows path may reach a POSIX build through argv[0] and the reverse.
    const auto separator = programPath.find_last_of("/\\");
    std::string_view fileName = separator == std::string_view::npos ? programPath : programPath.substr(separator + 1);
    const auto dot = fileName.rfind('.');
    if (dot != std::string_view::npos && dot > 0) {
        fileName = fileName.substr(0, dot);
    }
    if (fileName.empty() || fileName == "." || fileName == "..") {
        return "Varset";
    }
    return std::string(fileName);
}

const std::string& programName()
{
    return storedProgramName();
}

void setProgramName(std::string name)
{
    storedProgramName() = name.empty() ? std::string("Varset") : std::move(name);
}

} // namespace varset
