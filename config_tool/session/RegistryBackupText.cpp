#include "config_tool/session/RegistryBackupText.h"

#include "config_tool/foundation/CProperties.h"
#include "platform/TextCodec.h"

#include <algorithm>
#include <cstdio>

namespace tarn {

namespace {

namespace platform = orvant::platform;

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

} // namespace

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
                if (i > 0) {
                    line += ',';
                }
                line += digits;
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

bool parseRegistryBackup(const std::string& text, std::vector<RegistryValueChange>& values, std::string& error,
                         std::vector<std::size_t>* lines)
{
    values.clear();
    if (lines) {
        lines->clear();
    }
    std::string key;
    platform::Hive hive = platform::Hive::CurrentUser;
    const auto textLines = CProperties::splitLines(text);
    if (textLines.empty() || textLines.front() != "REGEDIT4") {
        error = "it does not start with REGEDIT4";
        return false;
    }
    for (std::size_t i = 1; i < textLines.size(); ++i) {
        const std::string line = platform::ansiToUtf8(textLines[i]);
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
                // A key the save created comes after its values; one whose values are not listed would be
                // removed with values nobody kept.
                bool listed = false;
                for (auto& value : values) {
                    if (value.hive == hive && value.keyPath == key) {
                        value.keyCreated = true;
                        listed = true;
                    }
                }
                if (!listed) {
                    error = "line " + std::to_string(i + 1) + " removes a key whose values it does not list";
                    return false;
                }
                key.clear();
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
        if (lines) {
            lines->push_back(i + 1);
        }
    }
    return true;
}

} // namespace tarn
