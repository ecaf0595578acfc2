#include "config_tool/session/Backups.h"

#include "config_tool/foundation/CProperties.h"
#include "config_tool/foundation/Globals.h"
#include "config_tool/session/AuditLog.h"
#include "platform/AsciiText.h"
#include "platform/DirectWrites.h"
#include "platform/TextCodec.h"

#include <algorithm>
#include <cstdio>

namespace tarn {

namespace {

namespace platform = orvant::platform;

constexpr const char* kManifest = "manifest.txt";
constexpr const char* kRegistryFile = "registry.reg";

std::string backupFolder(const std::string& id)
{
    return backupsFolder() + "\\" + id;
}

// "2026-12-07T04:12:33Z" -> "20261207T041233Z"
std::string idOfTime(const std::string& time)
{
    std::string id;
    for (const char c : time) {
        if (c != '-' && c != ':') {
            id += c;
        }
    }
    return id;
}

std::string quotedName(const std::string& name)
{
    if (name.empty()) {
        return "@";
    }
    std::string quoted = "\"";
    for (const char c : platform::utf8ToAnsi(name)) {
        if (c == '\\' || c == '"') {
            quoted += '\\';
        }
        quoted += c;
    }
    return quoted + "\"";
}

void removeBackupFolder(const std::string& folder)
{
    for (const auto& name : platform::listFolder(folder + "\\files")) {
        platform::removePath(folder + "\\files\\" + name);
    }
    for (const auto& name : platform::listFolder(folder)) {
        platform::removePath(folder + "\\" + name);
    }
    platform::removePath(folder);
}

std::vector<std::string> splitTabs(std::string_view line)
{
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (std::size_t tab = line.find('\t'); tab != std::string_view::npos; tab = line.find('\t', start)) {
        fields.emplace_back(line.substr(start, tab - start));
        start = tab + 1;
    }
    fields.emplace_back(line.substr(start));
    return fields;
}

} // namespace

std::string backupsFolder()
{
    return Globals::ensureInstallationFolder() + "\\backups";
}

std::string registryBackupText(const std::vector<RegistryValueChange>& changes)
{
    std::vector<std::pair<std::string, std::string>> sections; // key -> its lines, in order of first change
    std::vector<std::string> createdKeys;
    for (const auto& change : changes) {
        const std::string key = platform::utf8ToAnsi(change.fullKeyPath());
        auto section = std::find_if(sections.begin(), sections.end(), [&](const auto& s) { return s.first == key; });
        if (section == sections.end()) {
            section = sections.insert(sections.end(), { key, {} });
        }
        std::string line = quotedName(change.valueName) + "=";
        if (!change.before) {
            line += "-";
        } else {
            char type[16];
            std::snprintf(type, sizeof type, "hex(%x):", static_cast<unsigned>(change.before->type));
            line += type;
            for (std::size_t i = 0; i < change.before->bytes.size(); ++i) {
                char digits[4];
                std::snprintf(digits, sizeof digits, "%02x", change.before->bytes[i]);
                line += (i ? "," : "") + std::string(digits);
            }
        }
        section->second += line + "\r\n";
        if (change.keyCreated && std::find(createdKeys.begin(), createdKeys.end(), key) == createdKeys.end()) {
            createdKeys.push_back(key);
        }
    }
    std::string text = "REGEDIT4\r\n\r\n";
    for (const auto& [key, lines] : sections) {
        text += "[" + key + "]\r\n" + lines + "\r\n";
    }
    for (const auto& key : createdKeys) {
        text += "[-" + key + "]\r\n\r\n";
    }
    return text;
}

bool parseRegistryBackup(const std::string& text, std::vector<RegistryValueChange>& values, std::string& error)
{
    values.clear();
    std::string key;
    platform::Hive hive = platform::Hive::CurrentUser;
    const auto lines = CProperties::splitLines(text);
    if (lines.empty() || lines.front() != "REGEDIT4") {
        error = "it does not start with REGEDIT4";
        return false;
    }
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const std::string line = platform::ansiToUtf8(lines[i]);
        const auto bad = [&] {
            error = "line " + std::to_string(i + 1) + " cannot be read";
            return false;
        };
        if (line.empty()) {
            continue;
        }
        if (line.front() == '[') {
            if (line.back() != ']') {
                return bad();
            }
            const bool removal = line.size() > 2 && line[1] == '-';
            const std::string full = line.substr(removal ? 2 : 1, line.size() - (removal ? 3 : 2));
            const auto slash = full.find('\\');
            const std::string root = full.substr(0, slash);
            if (slash == std::string::npos || (root != "HKEY_CURRENT_USER" && root != "HKEY_LOCAL_MACHINE")) {
                return bad();
            }
            hive = root == "HKEY_LOCAL_MACHINE" ? platform::Hive::LocalMachine : platform::Hive::CurrentUser;
            key = full.substr(slash + 1);
            if (removal) {
                for (auto& value : values) {
                    if (value.hive == hive && value.keyPath == key) {
                        value.keyCreated = true;
                    }
                }
            }
            continue;
        }
        if (key.empty()) {
            return bad();
        }
        RegistryValueChange value { hive, key, {}, false, std::nullopt, std::nullopt };
        std::size_t at = 0;
        if (line.front() == '@') {
            at = 1;
        } else if (line.front() == '"') {
            for (at = 1; at < line.size() && line[at] != '"'; ++at) {
                if (line[at] == '\\' && at + 1 < line.size()) {
                    ++at;
                }
                value.valueName += line[at];
            }
            ++at;
        } else {
            return bad();
        }
        if (at >= line.size() || line[at] != '=') {
            return bad();
        }
        const std::string data = line.substr(at + 1);
        if (data != "-") {
            unsigned type = 0;
            int consumed = 0;
            if (std::sscanf(data.c_str(), "hex(%x):%n", &type, &consumed) != 1 || consumed == 0) {
                return bad();
            }
            RegistryData before { type, {} };
            for (std::size_t pos = static_cast<std::size_t>(consumed); pos < data.size(); pos += 3) {
                unsigned byte = 0;
                if (pos + 2 > data.size() || std::sscanf(data.substr(pos, 2).c_str(), "%2x", &byte) != 1) {
                    return bad();
                }
                before.bytes.push_back(static_cast<std::uint8_t>(byte));
            }
            value.before = std::move(before);
        }
        values.push_back(std::move(value));
    }
    return true;
}

WrittenBackup writeBackup(const ChangeSet& changes, const std::string& time)
{
    WrittenBackup written;
    if (auto made = platform::createFolderNow(backupsFolder()); !made.ok) {
        written.result = made;
        return written;
    }
    // More saves in the same second count on from the highest ID of that second, never from a gap that
    // pruning left: an ID must sort after every older one.
    const std::string base = idOfTime(time);
    int highest = 0;
    for (const auto& name : platform::listFolder(backupsFolder())) {
        if (name == base) {
            highest = std::max(highest, 1);
        } else if (name.size() == base.size() + 4 && name.compare(0, base.size() + 1, base + "-") == 0
                   && orvant::ascii::isDigits(name.substr(base.size() + 1))) {
            highest = std::max(highest, std::stoi(name.substr(base.size() + 1)));
        }
    }
    std::string id = base;
    if (highest > 0) {
        char suffix[16];
        std::snprintf(suffix, sizeof suffix, "-%03d", highest + 1); // "-010" still sorts after "-009"
        id = base + suffix;
    }
    const std::string folder = backupFolder(id);
    std::vector<std::string> paths;
    const auto write = [&](const std::string& path, const std::string& bytes) {
        written.result = platform::writeNow(path, bytes);
        paths.push_back(path);
        return written.result.ok;
    };
    const auto& identity = auditIdentity();
    std::string manifest = "time\t" + time + "\r\nprogram\t" + identity.program + "\r\nuser\t" + identity.user
        + "\r\nos-user\t" + identity.osUser + "\r\n";
    bool ok = (written.result = platform::createFolderNow(folder)).ok
        && (written.result = platform::createFolderNow(folder + "\\files")).ok;
    int stored = 0;
    for (const auto& file : changes.files) {
        if (!ok) {
            break;
        }
        if (file.unreadable) {
            // What cannot be read cannot be kept; replacing it would lose it for good.
            written.result = { false, "Cannot read " + file.storedPath + " to keep it" };
            ok = false;
            break;
        }
        std::string number = "-";
        if (file.before && !file.folder) {
            number = std::to_string(++stored);
            ok = write(folder + "\\files\\" + number, *file.before);
        } else if (file.before) {
            number = "+";
        }
        manifest += std::string(file.folder ? "folder\t" : "file\t") + number + "\t" + file.storedPath + "\r\n";
    }
    ok = ok && (changes.registry.empty() || write(folder + "\\" + kRegistryFile, registryBackupText(changes.registry)));
    // The manifest comes last: a backup without one was never finished.
    ok = ok && write(folder + "\\" + kManifest, platform::utf8ToAnsi(manifest));
    if (ok) {
        if (const auto unflushed = platform::flushNow(paths); !unflushed.empty()) {
            written.result = { false, "Cannot put " + unflushed.front() + " on the disk" };
            ok = false;
        }
    }
    if (!ok) {
        removeBackupFolder(folder);
        return written;
    }
    written.id = id;
    return written;
}

void pruneBackups()
{
    auto ids = listBackups();
    for (std::size_t i = 0; i + kBackupsKept < ids.size(); ++i) {
        removeBackupFolder(backupFolder(ids[i]));
    }
}

std::vector<std::string> listBackups()
{
    std::vector<std::string> ids;
    for (const auto& name : platform::listFolder(backupsFolder())) {
        if (platform::fileExists(backupFolder(name) + "\\" + kManifest)) {
            ids.push_back(name);
        }
    }
    return ids;
}

bool readBackup(const std::string& id, Backup& backup, std::string& error, bool withContents)
{
    backup = {};
    backup.id = id;
    const std::string folder = backupFolder(id);
    std::string bytes;
    if (id.empty() || id.find_first_of("\\/") != std::string::npos || id == "." || id == "..") {
        error = "there is no backup " + id;
        return false;
    }
    if (auto read = platform::readWholeFile(folder + "\\" + kManifest, bytes); !read.ok) {
        error = platform::pathExists(folder) ? read.error : "there is no backup " + id;
        return false;
    }
    for (const auto line : CProperties::splitLines(bytes)) {
        const auto fields = splitTabs(platform::ansiToUtf8(line));
        if (fields.size() == 2 && fields[0] == "time") {
            backup.time = fields[1];
        } else if (fields.size() == 2 && fields[0] == "program") {
            backup.program = fields[1];
        } else if (fields.size() == 2 && fields[0] == "user") {
            backup.user = fields[1];
        } else if (fields.size() == 2 && fields[0] == "os-user") {
            backup.osUser = fields[1];
        } else if (fields.size() == 3 && (fields[0] == "file" || fields[0] == "folder")) {
            BackupEntry entry { fields[0] == "folder", fields[2], std::nullopt };
            if (fields[1] == "+") {
                entry.bytes = std::string();
            } else if (fields[1] != "-" && !withContents) {
                entry.bytes = std::string();
            } else if (fields[1] != "-") {
                std::string old;
                if (auto read = platform::readWholeFile(folder + "\\files\\" + fields[1], old); !read.ok) {
                    error = read.error;
                    return false;
                }
                entry.bytes = std::move(old);
            }
            backup.entries.push_back(std::move(entry));
        } else if (!line.empty()) {
            error = "its manifest holds a line that cannot be read: " + platform::ansiToUtf8(line);
            return false;
        }
    }
    const std::string registryFile = folder + "\\" + kRegistryFile;
    if (platform::fileExists(registryFile)) {
        std::string text;
        if (auto read = platform::readWholeFile(registryFile, text); !read.ok) {
            error = read.error;
            return false;
        }
        if (!parseRegistryBackup(text, backup.registry, error)) {
            error = registryFile + ": " + error;
            return false;
        }
    }
    return true;
}

} // namespace tarn
