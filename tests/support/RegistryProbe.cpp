#include "tests/support/RegistryProbe.h"

#include "platform/posix/RegeditFile.h"

#include <algorithm>
#include <vector>

namespace orvant::test {

std::optional<RegistryValue> readRegistryValue(platform::Hive hive, const std::string& key, const std::string& name)
{
    platform::HKey handle = nullptr;
    if (platform::regOpenKeyEx(hive, key, platform::kKeyQueryValue, &handle) != platform::kErrorSuccess) {
        return std::nullopt;
    }
    std::optional<RegistryValue> value;
    std::uint32_t type = 0;
    std::uint32_t size = 0;
    if (platform::regQueryValueEx(handle, name, &type, nullptr, &size) == platform::kErrorSuccess) {
        std::vector<std::uint8_t> data(size + 1);
        if (platform::regQueryValueEx(handle, name, &type, data.data(), &size) == platform::kErrorSuccess) {
            value = RegistryValue { type, std::string(data.begin(), data.begin() + size) };
        }
    }
    platform::regCloseKey(handle);
    return value;
}

bool storeRegistryValue(platform::Hive hive, const std::string& key, const std::string& name, std::uint32_t type,
                        const std::string& bytes)
{
    platform::HKey handle = nullptr;
    if (platform::regCreateKeyEx(hive, key, platform::kKeyAllAccess, &handle) != platform::kErrorSuccess) {
        return false;
    }
    const long result
        = platform::regSetValueEx(handle, name, type, std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
    platform::regCloseKey(handle);
    return result == platform::kErrorSuccess;
}

namespace {
constexpr const char* kMachineEnvironmentKey = "SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment";
}

std::optional<RegistryValue> machineVariable(const std::string& name)
{
    return readRegistryValue(platform::Hive::LocalMachine, kMachineEnvironmentKey, name);
}

bool storeMachineVariable(const std::string& name, std::uint32_t type, const std::string& text)
{
    return storeRegistryValue(platform::Hive::LocalMachine, kMachineEnvironmentKey, name, type, text + '\0');
}

std::optional<std::string> kelbrinValue(platform::Hive hive, const std::string& section, const std::string& name)
{
    const auto value = readRegistryValue(hive, "SOFTWARE\\Kelbrin\\" + section, name);
    if (!value || value->type != platform::kRegSz) {
        return std::nullopt;
    }
    return value->bytes;
}

std::string valuesInNameOrder(std::string_view hiveText)
{
    auto hive = platform::RegeditFile::parse(hiveText);
    for (const platform::RegeditKey* listed : hive.keys()) {
        auto& values = hive.findKey(listed->path)->values;
        std::stable_sort(values.begin(), values.end(), [](const auto& left, const auto& right) {
            return platform::RegeditFile::foldCase(left.name) < platform::RegeditFile::foldCase(right.name);
        });
    }
    return hive.serialise();
}

} // namespace orvant::test
