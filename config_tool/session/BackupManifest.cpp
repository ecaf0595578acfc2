#include "config_tool/session/BackupManifest.h"

#include "config_tool/foundation/CProperties.h"
#include "platform/AsciiText.h"
#include "platform/TextCodec.h"

#include <algorithm>
#include <cstdio>

namespace tarn {

namespace {

constexpr const char* kLineEnd = "\r\n";

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

std::string modeText(const std::optional<unsigned>& mode)
{
    if (!mode) {
        return "-";
    }
    char text[8];
    std::snprintf(text, sizeof text, "%04o", *mode & 07777u);
    return text;
}

// Decimal digits of a count that fits comfortably; nothing for anything else.
std::optional<unsigned> countOf(const std::string& text)
{
    if (!orvant::ascii::isDigits(text) || text.size() > 9) {
        return std::nullopt;
    }
    return static_cast<unsigned>(std::stoul(text));
}

std::optional<unsigned> octalMode(const std::string& text)
{
    if (text.size() < 3 || text.size() > 4
        || !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '7'; })) {
        return std::nullopt;
    }
    return static_cast<unsigned>(std::stoul(text, nullptr, 8));
}

// "2026-12-07T04:12:33Z"
bool isUtcTime(const std::string& text)
{
    static constexpr std::string_view shape = "dddd-dd-ddTdd:dd:ddZ";
    return text.size() == shape.size() && std::equal(shape.begin(), shape.end(), text.begin(), [](char s, char c) {
               return s == 'd' ? orvant::ascii::isDigit(c) : s == c;
           });
}

bool hasControlCharacter(const std::string& text)
{
    return std::any_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7f; });
}

} // namespace

std::string manifestText(const Manifest& manifest)
{
    std::string text = "time\t" + manifest.time + kLineEnd + "program\t" + manifest.program + kLineEnd + "user\t"
        + manifest.user + kLineEnd + "os-user\t" + manifest.osUser + kLineEnd;
    for (const auto& entry : manifest.entries) {
        if (entry.folder) {
            text += std::string("folder\t") + (entry.folderExisted ? "+" : "-") + "\t-\t";
        } else {
            text += "file\t" + (entry.fileNumber ? std::to_string(*entry.fileNumber) : std::string("-")) + "\t"
                + modeText(entry.mode) + "\t";
        }
        text += entry.storedPath + kLineEnd;
    }
    text += "end\t" + std::to_string(manifest.entries.size()) + "\t" + std::to_string(manifest.registryValues)
        + kLineEnd;
    return orvant::platform::utf8ToAnsi(text);
}

bool parseManifest(const std::string& bytes, Manifest& manifest, std::string& error)
{
    manifest = {};
    bool ended = false;
    std::size_t number = 0;
    for (const auto rawLine : CProperties::splitLines(bytes)) {
        ++number;
        const auto refuse = [&](const std::string& why) {
            error = "manifest.txt line " + std::to_string(number) + ": " + why;
            return false;
        };
        if (rawLine.empty()) {
            continue;
        }
        if (ended) {
            return refuse("it follows the end marker");
        }
        const std::string line = orvant::platform::ansiToUtf8(rawLine);
        const auto fields = splitTabs(line);
        const std::string& kind = fields[0];
        if (fields.size() == 2 && (kind == "time" || kind == "program" || kind == "user" || kind == "os-user")) {
            if (hasControlCharacter(fields[1])) {
                return refuse("the " + kind + " holds a control character");
            }
            if (kind == "time" && !isUtcTime(fields[1])) {
                return refuse("the time is not a UTC time such as 2026-12-07T04:12:33Z");
            }
            (kind == "time"          ? manifest.time
                 : kind == "program" ? manifest.program
                 : kind == "user"    ? manifest.user
                                     : manifest.osUser)
                = fields[1];
        } else if (fields.size() == 4 && (kind == "file" || kind == "folder")) {
            ManifestEntry entry;
            entry.folder = kind == "folder";
            entry.storedPath = fields[3];
            entry.line = number;
            if (entry.storedPath.empty() || hasControlCharacter(entry.storedPath)) {
                return refuse("the path is empty or holds a control character");
            }
            if (entry.folder) {
                if ((fields[1] != "+" && fields[1] != "-") || fields[2] != "-") {
                    return refuse("a folder is kept as + (it was there) or - (the save created it)");
                }
                entry.folderExisted = fields[1] == "+";
            } else {
                if (fields[1] != "-") {
                    entry.fileNumber = countOf(fields[1]);
                    if (!entry.fileNumber) {
                        return refuse("a file's old bytes are named by a decimal number");
                    }
                }
                if (fields[2] != "-") {
                    entry.mode = octalMode(fields[2]);
                    if (!entry.mode) {
                        return refuse("a file's permissions are octal digits");
                    }
                }
            }
            manifest.entries.push_back(std::move(entry));
        } else if (fields.size() == 3 && kind == "end") {
            const auto entries = countOf(fields[1]);
            const auto values = countOf(fields[2]);
            if (!entries || !values) {
                return refuse("the end marker's counts are not decimal numbers");
            }
            if (*entries != manifest.entries.size()) {
                return refuse("the end marker counts " + fields[1] + " entries, the manifest holds "
                              + std::to_string(manifest.entries.size()));
            }
            manifest.registryValues = *values;
            ended = true;
        } else {
            return refuse("it cannot be read");
        }
    }
    if (!ended) {
        error = "manifest.txt has no end marker: it was cut short, or it is not a backup's";
        return false;
    }
    if (manifest.time.empty()) {
        error = "manifest.txt names no time";
        return false;
    }
    return true;
}

} // namespace tarn
