#include "config_tool/model/InstanceNaming.h"

#include <charconv>
#include <string_view>

namespace tarn {

namespace {

// Appending to a reserved string keeps g++ 12's -Wrestrict false positive on "literal" + string away.
std::string joined(std::string_view head, const std::string& tail)
{
    std::string text;
    text.reserve(head.size() + tail.size());
    text.append(head);
    text.append(tail);
    return text;
}

} // namespace

std::string getInstanceString(std::int16_t n)
{
    if (n < 10) {
        return joined("0", std::to_string(n));
    }
    return std::to_string(n);
}

std::string instanceSection(std::int16_t n)
{
    if (n == 0) {
        return "Harbell";
    }
    return joined("Harbell_", getInstanceString(n));
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
    return joined("100", getInstanceString(n));
}

std::string defaultReceiptPort(std::int16_t n)
{
    return joined("200", getInstanceString(n));
}

std::string defaultPinPadPort(std::int16_t n)
{
    return joined("50", getInstanceString(n));
}

} // namespace tarn
