#pragma once

#include <cstdint>
#include <string>

namespace tarn::MRegistry {

// The failure of the most recent writeRegistryString; number 0 and no description after a success.
// Nothing shows it to the operator: it is there for diagnostics and tests.
struct RecordedError
{
    std::int32_t number = 0;
    std::string description;
};

// Error numbers: the object error base 0x80040000 read as a signed 32-bit number, plus an offset.
constexpr std::int32_t kErrorBase = -2147221504;
constexpr std::int32_t kErrorEmptyAppName = kErrorBase + 1000;
constexpr std::int32_t kErrorEmptySection = kErrorBase + 1001;
constexpr std::int32_t kErrorEmptyKey = kErrorBase + 1002;
constexpr std::int32_t kErrorRegistryCall = kErrorBase + 2000; // plus the Win32 result

// Writes value as a REG_SZ (Windows-1252, no terminating NUL) named key under
// SOFTWARE\<app>\<section> (app and section trimmed of spaces) in HKEY_CURRENT_USER, then in
// HKEY_LOCAL_MACHINE. Stops at the first failure and records it; the engine's copy under the
// current user survives a machine hive that refuses access. True when both hives were written;
// the configuration save ignores the result and carries on.
bool writeRegistryString(const std::string& app, const std::string& section, const std::string& key,
                         const std::string& value);

const RecordedError& lastError();

// SOFTWARE\<app>\<section>, app and section trimmed of spaces: the key writeRegistryString writes under,
// in both hives.
std::string keyPathOf(const std::string& app, const std::string& section);

} // namespace tarn::MRegistry
