#include "platform/AsciiText.h"
#include "platform/Environment.h"
#include "platform/Paths.h"

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <optional>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace orvant::platform {

namespace {

// Decodes one UTF-8 character at `pos`; a malformed byte stands for itself so that names in other
// encodings still compare byte by byte.
char32_t nextCodePoint(std::string_view text, std::size_t& pos)
{
    const auto lead = static_cast<unsigned char>(text[pos]);
    std::size_t length = 1;
    char32_t value = lead;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        value = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        value = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        value = lead & 0x07;
    }
    if (length > 1) {
        if (pos + length > text.size()) {
            length = 1;
            value = lead;
        } else {
            for (std::size_t i = 1; i < length; ++i) {
                const auto next = static_cast<unsigned char>(text[pos + i]);
                if ((next & 0xC0) != 0x80) {
                    length = 1;
                    value = lead;
                    break;
                }
                value = (value << 6) | (next & 0x3F);
            }
        }
    }
    pos += length;
    return value;
}

// Windows compares names without regard to case. The letters that matter here are those of the
// system's code page, Windows-1252: ASCII, Latin-1 and the few extra letters of 0x80-0x9F.
char32_t foldCase(char32_t c)
{
    if (c >= 'A' && c <= 'Z') {
        return c + 0x20;
    }
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) {
        return c + 0x20;
    }
    switch (c) {
    case 0x0160: // Š
    case 0x0152: // Œ
    case 0x017D: // Ž
        return c + 1;
    case 0x0178: // Ÿ
        return 0xFF;
    default:
        return c;
    }
}

bool equalsIgnoringCase(std::string_view a, std::string_view b)
{
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
        if (foldCase(nextCodePoint(a, i)) != foldCase(nextCodePoint(b, j))) {
            return false;
        }
    }
    return i == a.size() && j == b.size();
}

// The entry of `folder` whose name equals `name` without regard to case; the first in byte order
// when several do, so that the choice does not depend on the order the file system lists them.
std::optional<std::string> findEntryIgnoringCase(const std::string& folder, std::string_view name)
{
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) {
        return std::nullopt;
    }
    std::optional<std::string> best;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view entryName(entry->d_name);
        if (entryName == "." || entryName == "..") {
            continue;
        }
        if (equalsIgnoringCase(entryName, name) && (!best || entryName < *best)) {
            best = std::string(entryName);
        }
    }
    ::closedir(dir);
    return best;
}

void appendComponent(std::string& path, std::string_view component)
{
    if (!path.empty() && path.back() != '/') {
        path += '/';
    }
    path += component;
}

// Appends the components to `path` (an existing native prefix, or empty for a relative path),
// each one spelt as it exists on disk when it exists only in another case.
std::string matchComponents(std::string path, std::string_view rest)
{
    bool matching = true;
    std::size_t start = 0;
    while (start <= rest.size()) {
        const std::size_t end = std::min(rest.find('/', start), rest.size());
        const std::string_view component = rest.substr(start, end - start);
        start = end + 1;
        if (component.empty()) {
            continue; // doubled or trailing separators
        }
        std::string candidate = path;
        appendComponent(candidate, component);
        if (matching && component != "." && component != "..") {
            struct stat info
            {
            };
            if (::lstat(candidate.c_str(), &info) != 0) {
                const int error = errno;
                std::optional<std::string> match;
                if (error == ENOENT) {
                    match = findEntryIgnoringCase(path.empty() ? std::string(".") : path, component);
                }
                if (match) {
                    candidate = path;
                    appendComponent(candidate, *match);
                } else {
                    // Nothing below a missing folder can exist: keep the rest as written.
                    matching = false;
                }
            }
        }
        path = std::move(candidate);
    }
    if (!rest.empty() && rest.back() == '/' && !path.empty() && path.back() != '/') {
        path += '/';
    }
    return path;
}

std::string driveRoot(char letter)
{
    const std::string variable = std::string("ORVANT_DRIVE_") + ascii::toUpper(letter);
    if (auto root = getEnvironmentVariable(variable); root && !root->empty()) {
        return *root;
    }
    return userDataFolder() + "/drives/" + ascii::toLower(letter);
}

} // namespace

std::string toNativePath(std::string_view storedPath)
{
    std::string path(storedPath);
    std::replace(path.begin(), path.end(), '\\', '/');
    if (path.empty()) {
        return path;
    }
    if (path.size() >= 2 && ascii::isLetter(path[0]) && path[1] == ':') {
        // "C:\x", "C:x" and "C:" all start at the drive's root: there is no per-drive current folder.
        return matchComponents(driveRoot(path[0]), std::string_view(path).substr(2));
    }
    if (storedPath.front() == '\\' && !(storedPath.size() >= 2 && storedPath[1] == '\\')) {
        // "\x" is relative to the current drive, which for this system is always C:.
        return matchComponents(driveRoot('C'), path);
    }
    if (path.front() == '/') {
        return matchComponents("/", path);
    }
    return matchComponents("", path);
}

std::string userDataFolder()
{
    if (auto dataHome = getEnvironmentVariable("XDG_DATA_HOME");
        dataHome && !dataHome->empty() && dataHome->front() == '/') {
        return *dataHome + "/orvant";
    }
    std::string home = getEnvironmentVariable("HOME").value_or("");
    if (home.empty()) {
        std::vector<char> buffer(16384);
        passwd entry {};
        passwd* found = nullptr;
        if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found && found->pw_dir) {
            home = found->pw_dir;
        }
    }
    if (home.empty()) {
        home = "/tmp";
    }
    if (home.size() > 1 && home.back() == '/') {
        home.pop_back();
    }
    return home + "/.local/share/orvant";
}

} // namespace orvant::platform
