#include "platform/AsciiText.h"
#include "platform/Environment.h"

#include <cstdlib>
#include <cstring>
#include <pwd.h>
#include <string>
#include <unistd.h>

extern char** environ; // NOLINT: POSIX declares it nowhere in a header

namespace orvant::platform {

std::optional<std::string> getEnvironmentVariable(std::string_view name)
{
    if (name.empty() || name.find('=') != std::string_view::npos || name.find('\0') != std::string_view::npos) {
        return std::nullopt;
    }
    const std::string key(name);
    if (const char* value = std::getenv(key.c_str())) {
        return std::string(value);
    }
    // Windows names are case-insensitive ("Path" and "PATH" are one variable); an exact match wins
    // above, otherwise the first variable that differs only in case.
    for (char** entry = environ; entry && *entry; ++entry) {
        const char* separator = std::strchr(*entry, '=');
        if (separator
            && ascii::equalsIgnoringCase(std::string_view(*entry, static_cast<std::size_t>(separator - *entry)),
                                         name)) {
            return std::string(separator + 1);
        }
    }
    return std::nullopt;
}

bool setEnvironmentVariable(std::string_view name, const std::optional<std::string>& value)
{
    if (name.empty() || name.find('=') != std::string_view::npos || name.find('\0') != std::string_view::npos) {
        return false;
    }
    const std::string key(name);
    return (value ? ::setenv(key.c_str(), value->c_str(), 1) : ::unsetenv(key.c_str())) == 0;
}

void broadcastEnvironmentChange()
{
    // No program on POSIX listens for environment changes; a new process reads them when it starts.
}

} // namespace orvant::platform

namespace orvant::platform {

std::string currentUserName()
{
    // The login name of the effective user; a user without a passwd entry is named by its number.
    const uid_t uid = ::geteuid();
    if (const passwd* entry = ::getpwuid(uid); entry && entry->pw_name && *entry->pw_name) {
        return entry->pw_name;
    }
    return "uid " + std::to_string(uid);
}

} // namespace orvant::platform
