#pragma once

#include "env_tool/RegistryError.h"
#include "platform/Registry.h"

#include <cstdint>
#include <filesystem>
#include <gtest/gtest.h>
#include <stdexcept>
#include <string>
#include <vector>

namespace varset::test {

namespace platform = orvant::platform;

inline constexpr const char* kEnvironmentKey = "SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment";

// A value as the registry holds it: the query result, its type and its bytes.
struct StoredValue
{
    long result = -1;
    std::uint32_t type = 0;
    std::string bytes;
};

inline StoredValue readStored(platform::Hive hive, const std::string& key, const std::string& name)
{
    StoredValue stored;
    platform::HKey handle = nullptr;
    stored.result = platform::regOpenKeyEx(hive, key, platform::kKeyQueryValue, &handle);
    if (stored.result != platform::kErrorSuccess) {
        return stored;
    }
    std::uint32_t size = 0;
    stored.result = platform::regQueryValueEx(handle, name, &stored.type, nullptr, &size);
    if (stored.result == platform::kErrorSuccess) {
        std::vector<std::uint8_t> data(size);
        stored.result = platform::regQueryValueEx(handle, name, &stored.type, data.data(), &size);
        stored.bytes.assign(data.begin(), data.begin() + size);
    }
    platform::regCloseKey(handle);
    return stored;
}

inline StoredValue readMachineVariable(const std::string& name)
{
    return readStored(platform::Hive::LocalMachine, kEnvironmentKey, name);
}

// Stores raw bytes, as another program (or an administrator) may have left them.
inline void store(platform::Hive hive, const std::string& key, const std::string& name, std::uint32_t type,
                  const std::string& bytes)
{
    platform::HKey handle = nullptr;
    if (platform::regCreateKeyEx(hive, key, platform::kKeyAllAccess, &handle) != platform::kErrorSuccess) {
        throw std::runtime_error("cannot create the key " + key);
    }
    const long result
        = platform::regSetValueEx(handle, name, type, std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
    platform::regCloseKey(handle);
    if (result != platform::kErrorSuccess) {
        throw std::runtime_error("cannot store the value " + name);
    }
}

inline void storeMachineVariable(const std::string& name, std::uint32_t type, const std::string& text)
{
    store(platform::Hive::LocalMachine, kEnvironmentKey, name, type, text + std::string(1, '\0'));
}

// A text as RegSetValueExA stores it, with its terminating zero.
inline std::string withNul(std::string text)
{
    text.push_back('\0');
    return text;
}

// Takes every write bit from a folder and what it holds, as an installation where the user may not
// change machine settings would be.
inline void makeReadOnly(const std::filesystem::path& folder)
{
    namespace fs = std::filesystem;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        fs::permissions(entry.path(), fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                        fs::perm_options::remove);
    }
    fs::permissions(folder, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
}

// What a write that must fail raised; a write that went through is a test failure.
template <typename Write> RegistryError raisedBy(Write&& write)
{
    try {
        write();
    } catch (const RegistryError& error) {
        return error;
    }
    ADD_FAILURE() << "the write succeeded";
    return RegistryError(0, "", "");
}

} // namespace varset::test
