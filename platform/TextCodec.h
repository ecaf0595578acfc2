#pragma once

#include <string>
#include <string_view>

namespace orvant::platform {

// The system's files and the registry's ANSI calls are Windows-1252; strings in memory are UTF-8.
// Every byte 0x00-0xFF survives ansiToUtf8 followed by utf8ToAnsi: the five bytes that Windows-1252
// leaves undefined (81, 8D, 8F, 90, 9D) map to the C1 controls U+0081 etc.

// Windows-1252 bytes to UTF-8.
std::string ansiToUtf8(std::string_view ansi);

// UTF-8 to Windows-1252 bytes. A character without a Windows-1252 byte, and any malformed UTF-8
// sequence, becomes "?" as WideCharToMultiByte does.
std::string utf8ToAnsi(std::string_view utf8);

// UTF-8 text upper-cased as Windows upper-cases Windows-1252 text: a-z and the accented letters of
// Windows-1252 (à..þ without ÷, ÿ to Ÿ, š, œ, ž); everything else, ß and µ included, stays.
std::string upperCaseAnsi(std::string_view utf8);

} // namespace orvant::platform
