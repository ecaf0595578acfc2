#pragma once

#include "platform/Registry.h"

#include <string>
#include <tuple>
#include <vector>

namespace orvant::test {

using namespace std::string_literals;

// The values of one instance's key as RegSetValueExA takes them: text with and without its NUL,
// Windows-1252 characters in data and name, backslashes and quotes, and the other types the system
// stores. The registry files fuzz/fuzz_regedit/harbell_01*.reg of tests/data hold exactly these.
inline constexpr const char* kHarbellKey = "SOFTWARE\\Kelbrin\\Harbell_01";

using NamedValue = std::tuple<std::string, std::uint32_t, std::string>; // name, type, bytes

inline const std::vector<NamedValue> kHarbellValues = {
    { "InstallDir", platform::kRegSz, "C:\\ORVANT\\\0"s },
    { "Environment", platform::kRegSz, "POS"s },
    { "RefundText", platform::kRegSz, "Refund \xA3"s + "5 \x80 caf\xE9\0"s },
    { "Prompt", platform::kRegSz, "say \"hi\" \\ bye\0"s },
    { "JavaHome", platform::kRegExpandSz, "%KELBRIN_HOME%\\jre\0"s },
    { "HBLPort", platform::kRegDword, "\x90\x1f\0\0"s },
    { "Hosts", platform::kRegMultiSz, "10.0.0.5\0host b\0\0"s },
    { "Hash", platform::kRegBinary, "\0\xff\r\n\"\\ 123456789 123456789 123456789 123456789 123456789"s },
    { "W\xC3\xA4hrung", platform::kRegSz, "\xA3\0"s },
};

// A value as regedit gives it back from a file it imported or exported: a text with its NUL.
inline NamedValue throughRegedit(NamedValue value)
{
    auto& [name, type, bytes] = value;
    bytes += type == platform::kRegSz && bytes.back() != '\0' ? "\0"s : ""s;
    return value;
}

} // namespace orvant::test
