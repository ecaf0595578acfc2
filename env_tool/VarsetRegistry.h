#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace varset {

// What a registry value reads as: nothing (the empty default), a text (REG_SZ, REG_EXPAND_SZ,
// REG_MULTI_SZ; UTF-8), a 32-bit number (REG_DWORD, REG_DWORD_BIG_ENDIAN) or raw bytes (other types).
using RegistryValue = std::variant<std::monostate, std::string, std::uint32_t, std::vector<std::uint8_t>>;

// A value as text: empty for nothing, decimal for a number, bytes taken as ANSI characters.
std::string valueToText(const RegistryValue& value);

// A cursor on one registry value: set the hive, key path and value name, then read or write Value.
class Registry
{
public:
    std::uint32_t classKey() const { return m_classKey; }
    void setClassKey(std::uint32_t hive) { m_classKey = hive; }

    const std::string& sectionKey() const { return m_sectionKey; }
    void setSectionKey(std::string keyPath) { m_sectionKey = std::move(keyPath); }

    const std::string& valueKey() const { return m_valueKey; }
    void setValueKey(std::string valueName) { m_valueKey = std::move(valueName); }

    // Reading Value overwrites it with the stored type.
    std::uint32_t valueType() const { return m_valueType; }
    void setValueType(std::uint32_t type) { m_valueType = type; }

    // Returned by a read that cannot be done; empty until set.
    const RegistryValue& defaultValue() const { return m_default; }
    void setDefaultValue(RegistryValue value) { m_default = std::move(value); }

    // Reads the value; a REG_EXPAND_SZ text comes back expanded with this process's environment.
    // Never throws: anything that goes wrong gives the default.
    RegistryValue value();

    // The same read, but a REG_EXPAND_SZ text comes back as stored, its references unexpanded.
    RegistryValue storedValue();

    // Writes the value as text, REG_EXPAND_SZ when it holds a pair of "%" signs with at least one
    // character between them, otherwise REG_SZ. Throws RegistryError when the key cannot be opened
    // or the value cannot be stored.
    void setValue(const RegistryValue& value);

private:
    RegistryValue read(bool expand);
    std::string failureDescription(const std::string& text) const;

    std::uint32_t m_classKey = 0;
    std::string m_sectionKey;
    std::string m_valueKey;
    std::uint32_t m_valueType = 0;
    RegistryValue m_default;
};

} // namespace varset
