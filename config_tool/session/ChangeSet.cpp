#include "config_tool/session/ChangeSet.h"

#include "config_tool/foundation/CProperties.h"
#include "config_tool/foundation/InstallationFiles.h"
#include "config_tool/model/InstanceNaming.h"
#include "platform/AsciiText.h"
#include "platform/TextCodec.h"

#include <cstdio>
#include <map>

namespace tarn {

namespace {

namespace platform = orvant::platform;

bool endsWithIgnoringCase(const std::string& text, std::string_view end)
{
    return text.size() >= end.size() && orvant::ascii::equalsIgnoringCase(text.substr(text.size() - end.size()), end);
}

// The number of the nearest INSTANCE_nn folder in a stored path; 0 outside any.
int instanceOfPath(const std::string& path)
{
    const std::string lower = orvant::ascii::toLower(path);
    int found = 0;
    for (auto at = lower.find("instance_"); at != std::string::npos; at = lower.find("instance_", at + 1)) {
        const auto digits = lower.substr(at + 9, 2);
        if (digits.size() == 2 && orvant::ascii::isDigits(digits)) {
            found = std::stoi(digits);
        }
    }
    return found;
}

std::map<std::string, std::string> propertiesOf(const std::optional<std::string>& bytes)
{
    std::map<std::string, std::string> values;
    CProperties store;
    if (bytes && store.loadFromBytes(*bytes).ok) {
        for (const auto& entry : store.entries()) {
            values.try_emplace(entry->key, entry->value);
        }
    }
    return values;
}

void showProperties(const platform::FileChange& file, std::vector<ShownChange>& shown)
{
    const auto before = propertiesOf(file.before);
    const auto after = propertiesOf(file.after);
    const int instance = instanceOfPath(file.storedPath);
    for (const auto& [key, value] : after) {
        const auto old = before.find(key);
        if (old == before.end() || old->second != value) {
            shown.push_back({ file.storedPath, instance, key,
                              old == before.end() ? std::nullopt : std::optional<std::string>(old->second), value });
        }
    }
    for (const auto& [key, value] : before) {
        if (!after.count(key)) {
            shown.push_back({ file.storedPath, instance, key, value, std::nullopt });
        }
    }
}

std::optional<std::string> wholeFile(const platform::FileChange& file, const std::optional<std::string>& bytes)
{
    if (!bytes) {
        return std::nullopt;
    }
    if (file.folder) {
        return std::string("<folder>");
    }
    std::string size = std::to_string(bytes->size());
    size.insert(0, 1, '<');
    return size.append(" bytes>");
}

std::optional<std::string> registryText(const std::optional<RegistryData>& data)
{
    if (!data) {
        return std::nullopt;
    }
    const std::string bytes(data->bytes.begin(), data->bytes.end());
    if (data->type == platform::kRegSz || data->type == platform::kRegExpandSz) {
        return platform::ansiToUtf8(bytes);
    }
    std::string hex = "hex(" + std::to_string(data->type) + "):";
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        char digits[4];
        std::snprintf(digits, sizeof digits, "%02x", static_cast<unsigned char>(bytes[i]));
        if (i > 0) {
            hex += ',';
        }
        hex += digits;
    }
    return hex;
}

} // namespace

ChangeSet collectChanges(const std::vector<platform::FileChange>& files, const ChangeJournal& journal)
{
    ChangeSet set;
    set.files = files;
    set.registry = journal.registryChanges();
    // A first save changes thousands of elements in one file and hundreds of other files: the elements are
    // grouped by file once.
    std::map<std::string, std::vector<SettingChange>> settingsByFile;
    for (auto& setting : journal.settingChanges()) {
        settingsByFile[orvant::ascii::toLower(setting.file)].push_back(std::move(setting));
    }
    for (const auto& file : files) {
        if (const auto found = settingsByFile.find(orvant::ascii::toLower(file.storedPath));
            found != settingsByFile.end()) {
            for (const auto& setting : found->second) {
                set.shown.push_back(
                    { file.storedPath, setting.instance, setting.setting, setting.before, setting.after });
            }
            continue;
        }
        // A user store holds password hashes: it is shown as a whole file, never key by key.
        if (!file.folder && endsWithIgnoringCase(file.storedPath, ".properties") && !isUserStore(file.storedPath)) {
            showProperties(file, set.shown);
        } else {
            set.shown.push_back({ file.storedPath, instanceOfPath(file.storedPath), "", wholeFile(file, file.before),
                                  wholeFile(file, file.after) });
        }
    }
    for (const auto& value : set.registry) {
        const auto section = value.keyPath.substr(value.keyPath.find_last_of('\\') + 1);
        set.shown.push_back({ value.fullKeyPath(), std::max(0, static_cast<int>(instanceNumberOfSection(section))),
                              value.valueName, registryText(value.before), registryText(value.after) });
    }
    return set;
}

std::string quoteValue(const std::optional<std::string>& value)
{
    if (!value) {
        return "(none)";
    }
    std::string quoted = "\"";
    for (const char c : *value) {
        switch (c) {
        case '\\':
            quoted += "\\\\";
            break;
        case '"':
            quoted += "\\\"";
            break;
        case '\t':
            quoted += "\\t";
            break;
        case '\r':
            quoted += "\\r";
            break;
        case '\n':
            quoted += "\\n";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) {
                char escaped[5];
                std::snprintf(escaped, sizeof escaped, "\\x%02x", static_cast<unsigned char>(c));
                quoted += escaped;
            } else {
                quoted += c;
            }
        }
    }
    return quoted + "\"";
}

std::string escapeControlCharacters(std::string_view text)
{
    std::string escaped;
    for (const char c : text) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) {
            char code[5];
            std::snprintf(code, sizeof code, "\\x%02x", static_cast<unsigned char>(c));
            escaped += code;
        } else {
            escaped += c;
        }
    }
    return escaped;
}

std::string dryRunLine(const ShownChange& change)
{
    return escapeControlCharacters(change.location) + "\t" + std::to_string(change.instance) + "\t"
        + escapeControlCharacters(change.setting) + "\t" + quoteValue(change.before) + " -> "
        + quoteValue(change.after);
}

} // namespace tarn
