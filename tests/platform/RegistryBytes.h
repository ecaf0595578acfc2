#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orvant::test {

using Bytes = std::vector<std::uint8_t>;

// The hive files have CR LF line ends; raw string literals are easier to read with LF only.
inline std::string crlf(std::string_view text)
{
    std::string out;
    for (char c : text) {
        out += c == '\n' ? "\r\n" : std::string(1, c);
    }
    return out;
}

inline Bytes bytes(std::string_view text)
{
    return Bytes(text.begin(), text.end());
}

// Text with its terminating NUL, as the environment tool stores it.
inline Bytes sz(std::string_view text)
{
    Bytes data = bytes(text);
    data.push_back(0);
    return data;
}

} // namespace orvant::test
