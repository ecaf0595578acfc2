#include "platform/Environment.h"
#include "platform/TextCodec.h"

#include <cstring>
#include <windows.h>

namespace orvant::platform {

std::optional<std::string> getEnvironmentVariable(std::string_view name)
{
    const std::string ansiName = utf8ToAnsi(name);
    if (ansiName.empty() || ansiName.find('\0') != std::string::npos) {
        return std::nullopt;
    }
    std::string value(256, '\0');
    for (;;) {
        SetLastError(ERROR_SUCCESS);
        const DWORD length = GetEnvironmentVariableA(ansiName.c_str(), value.data(), static_cast<DWORD>(value.size()));
        if (length == 0) {
            // 0 is also the length of a variable that is set but empty.
            if (GetLastError() == ERROR_ENVVAR_NOT_FOUND) {
                return std::nullopt;
            }
            return std::string();
        }
        if (length < value.size()) {
            value.resize(length);
            return ansiToUtf8(value);
        }
        value.resize(length); // too small: length is the size needed, with the terminator
    }
}

bool setEnvironmentVariable(std::string_view name, const std::optional<std::string>& value)
{
    const std::string ansiName = utf8ToAnsi(name);
    if (ansiName.empty() || ansiName.find_first_of(std::string_view("=\0", 2)) != std::string::npos) {
        return false;
    }
    return SetEnvironmentVariableA(ansiName.c_str(), value ? utf8ToAnsi(*value).c_str() : nullptr) != 0;
}

std::string expandEnvironmentStrings(std::string_view text)
{
    const std::string source = utf8ToAnsi(text);
    std::string expanded(source.size() + 256, '\0');
    for (;;) {
        const DWORD needed
            = ExpandEnvironmentStringsA(source.c_str(), expanded.data(), static_cast<DWORD>(expanded.size()));
        if (needed == 0) {
            return std::string(text);
        }
        if (needed <= expanded.size()) {
            // Some versions count more than they write; the terminator is what counts.
            expanded.resize(std::strlen(expanded.c_str()));
            return ansiToUtf8(expanded);
        }
        expanded.assign(needed, '\0');
    }
}

void broadcastEnvironmentChange()
{
    DWORD_PTR result = 0;
    SendMessageTimeoutA(HWND_BROADCAST, WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>("Environment"), SMTO_ABORTIFHUNG,
                        5000, &result);
}

} // namespace orvant::platform

namespace orvant::platform {

std::string currentUserName()
{
    char name[257] = {};
    DWORD size = sizeof(name);
    if (GetUserNameA(name, &size) && name[0]) {
        return ansiToUtf8(name);
    }
    return "unknown";
}

} // namespace orvant::platform
