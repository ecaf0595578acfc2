#pragma once

#include "platform/Registry.h"

#include <optional>
#include <string>

namespace orvant::test {

// One value as the registry holds it.
struct RegistryValue
{
    std::uint32_t type = 0;
    std::string bytes; // the data exactly as stored (a REG_SZ with whatever terminator it was given)

    bool operator==(const RegistryValue&) const = default;
};

// Reads a value through the platform's registry calls; nothing when the key or the value is missing.
std::optional<RegistryValue> readRegistryValue(platform::Hive hive, const std::string& key, const std::string& name);

// Stores raw bytes under a value, creating the key, as another program may have left them. False when
// the registry refused.
bool storeRegistryValue(platform::Hive hive, const std::string& key, const std::string& name, std::uint32_t type,
                        const std::string& bytes);

// A variable of the machine environment (HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Control\Session
// Manager\Environment) as stored, and one stored there as text with its NUL.
std::optional<RegistryValue> machineVariable(const std::string& name);
bool storeMachineVariable(const std::string& name, std::uint32_t type, const std::string& text);

// A configuration value under SOFTWARE\Kelbrin\<section> as the tool writes it: REG_SZ text without a
// terminator. Nothing when it is missing or of another type.
std::optional<std::string> kelbrinValue(platform::Hive hive, const std::string& section, const std::string& name);

// A hive's REGEDIT4 text (host::hiveText) with each key's values in name order. Windows lists a key's
// values in no promised order (Wine by name); the POSIX stand-in keeps the order they were first set.
std::string valuesInNameOrder(std::string_view hiveText);

} // namespace orvant::test
