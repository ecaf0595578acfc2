#include "config_tool/model/InstanceNaming.h"

#include <charconv>

namespace tarn {

std::string getInstanceString(std::int16_t n)
{
    if (n < 10) {
        return "0" + std::to_string(n);
    }
    return std::to_string(n);
}

std::string instanceSection(std::int16_t n)
{
    if (n == 0) {
        return "Harbell";
    }
    return "Harbell_" + getInstanceString(n);
}

std::string instanceFolder(const std::string& propertiesFolder, std::int16_t n)
{
    if (n == 0) {
        return propertiesFolder;
    }
    return propertiesFolder + "\\INSTANCE_" + getInstanceString(n);
}

std::int16_t instanceNumberOfSection(const std::string& section)
{
    if (section == "Harbell") {
        return 0;
    }
    // Sections are only ever formed by instanceSection; a tail that is not two digits names no
    // instance, and -1 keeps it away from the base instance's values.
    const std::string tail = section.size() > 2 ? section.substr(section.size() - 2) : section;
    int value = 0;
    const auto* end = tail.data() + tail.size();
    const auto [ptr, ec] = std::from_chars(tail.data(), end, value);
    if (tail.empty() || ec != std::errc() || ptr != end || value < 0) {
        return -1;
    }
    return static_cast<std::int16_t>(value);
}

std::string defaultInterfacePort(std::int16_t n)
{
    return "100" + getInstanceString(n);
}

std::string defaultReceiptPort(std::int16_t n)
{
    return "200" + getInstanceString(n);
}

std::string defaultPinPadPort(std::int16_t n)
{
    return "50" + getInstanceString(n);
}

} // namespace tarn
