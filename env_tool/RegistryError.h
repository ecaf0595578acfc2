#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace varset {

// The key could not be created or opened for writing.
constexpr std::int32_t kErrorKeyNotOpened = 26001;
// The value could not be stored (0x800469A9).
constexpr std::int32_t kErrorValueNotStored = -2147194455;

// A failed registry write, with the number, source and description the installation's scripts and
// support staff know from the Windows program.
class RegistryError : public std::runtime_error
{
public:
    RegistryError(std::int32_t number, std::string source, const std::string& description)
        : std::runtime_error(description)
        , m_number(number)
        , m_source(std::move(source))
    {
    }

    std::int32_t number() const { return m_number; }
    const std::string& source() const { return m_source; }
    std::string description() const { return what(); }

private:
    std::int32_t m_number;
    std::string m_source;
};

} // namespace varset
