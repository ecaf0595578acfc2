#include "config_tool/tarnctl/ConfigurationDocument.h"

#include "config_tool/model/InstanceNaming.h"
#include "config_tool/session/ChangeSet.h"
#include "config_tool/tarnctl/SettingTable.h"
#include "platform/AsciiText.h"

#include <algorithm>
#include <nlohmann/json.hpp>
#include <set>

namespace tarn::ctl {

namespace {

using Json = nlohmann::ordered_json;

bool exported(const Setting& setting, SettingScope scope)
{
    return setting.scope == scope && !setting.engineKept();
}

// A JSON Pointer (RFC 6901) to a key, shown on one line whatever the key holds.
std::string pointer(const std::vector<std::string>& keys)
{
    std::string path;
    for (const auto& key : keys) {
        path += '/';
        for (const char c : key) {
            path += c == '~' ? "~0" : c == '/' ? "~1" : std::string(1, c);
        }
    }
    return escapeControlCharacters(path.empty() ? "/" : path);
}

// The JSON text, or the parser's reason. A key given twice in one object is taken as an error too: the
// parser would keep one of the two values without a word.
bool parseJson(const std::string& bytes, Json& root, std::string& error)
{
    std::vector<std::set<std::string>> keysOfOpenObjects;
    std::vector<std::string> keyPath;
    std::string duplicate;
    const Json::parser_callback_t noteKeys = [&](int, Json::parse_event_t event, Json& parsed) {
        if (event == Json::parse_event_t::object_start) {
            keysOfOpenObjects.emplace_back();
        } else if (event == Json::parse_event_t::object_end) {
            keysOfOpenObjects.pop_back();
        } else if (event == Json::parse_event_t::key) {
            keyPath.resize(keysOfOpenObjects.size());
            keyPath.back() = parsed.get<std::string>();
            if (!keysOfOpenObjects.back().insert(keyPath.back()).second && duplicate.empty()) {
                duplicate = pointer(keyPath);
            }
        }
        return true;
    };
    try {
        root = Json::parse(bytes, noteKeys);
    } catch (const Json::exception& failure) {
        // "[json.exception.parse_error.101] parse error at line 1, column 2: ...": the reason after the tag.
        // A number too large for a double is refused this way too.
        const std::string what = failure.what();
        error = "the document is not JSON: " + escapeControlCharacters(what.substr(what.find(']') + 2));
        return false;
    }
    if (!duplicate.empty()) {
        error = duplicate + ": the key is given twice";
        return false;
    }
    return true;
}

// "0" (Default) to "99", as the instances are numbered.
std::optional<std::size_t> instanceNumber(const std::string& key)
{
    if (key.empty() || key.size() > 2 || !orvant::ascii::isDigits(key) || (key.size() == 2 && key[0] == '0')) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(std::stoi(key));
}

class DocumentReader
{
public:
    explicit DocumentReader(std::ostream& err)
        : m_err(err)
    {
    }

    ExitStatus status() const { return m_status; }

    void refuse(const std::vector<std::string>& keys, const std::string& reason)
    {
        m_err << "tarnctl: " << pointer(keys) << ": " << reason << '\n';
        m_status = ExitStatus::Usage;
    }

    // The settings of one group, in the document's order.
    std::vector<SettingText> settings(const Json& group, std::vector<std::string> keys, SettingScope scope)
    {
        std::vector<SettingText> texts;
        if (!group.is_object()) {
            refuse(keys, "must be an object of settings by name");
            return texts;
        }
        keys.emplace_back();
        for (const auto& [name, value] : group.items()) {
            keys.back() = name;
            const Setting* setting = findSetting(name);
            if (setting && setting->scope != scope) {
                refuse(keys,
                       scope == SettingScope::Installation
                           ? name + " is a setting of each instance: it belongs in /instances/N"
                           : name + " is installation-wide: it belongs in /installation");
                continue;
            }
            std::string text;
            if (value.is_string()) {
                text = value.get<std::string>();
            } else if (value.is_boolean()) {
                text = value.get<bool>() ? "True" : "False";
            } else if (value.is_number_integer()) {
                text = value.dump();
            } else {
                refuse(keys, "a value must be text, a whole number, true or false");
                continue;
            }
            texts.push_back({ name, text, pointer(keys) });
        }
        return texts;
    }

private:
    std::ostream& m_err;
    ExitStatus m_status = ExitStatus::Done;
};

} // namespace

Json configurationDocument(ConfigSession& session)
{
    Json installation = Json::object();
    const InstanceEditor base(session, 0);
    for (const auto& setting : allSettings()) {
        if (exported(setting, SettingScope::Installation)) {
            installation[std::string(setting.name)] = setting.text(base);
        }
    }
    Json instances = Json::object();
    for (std::size_t n = 0; n < session.instances.size(); ++n) {
        const InstanceEditor editor(session, n);
        Json values = Json::object();
        for (const auto& setting : allSettings()) {
            if (exported(setting, SettingScope::Instance)) {
                values[std::string(setting.name)] = setting.text(editor);
            }
        }
        instances[std::to_string(n)] = values;
    }
    return { { "version", kDocumentVersion }, { "installation", installation }, { "instances", instances } };
}

ExitStatus readDocument(const std::string& bytes, ImportedDocument& document, std::ostream& err)
{
    Json root;
    std::string error;
    if (!parseJson(bytes, root, error)) {
        err << "tarnctl: " << error << '\n';
        return ExitStatus::Usage;
    }
    DocumentReader reader(err);
    if (!root.is_object()) {
        reader.refuse({}, "the document must be a JSON object");
        return reader.status();
    }
    const std::string readable = "this tarnctl reads documents of version " + std::to_string(kDocumentVersion);
    if (!root.contains("version")) {
        reader.refuse({ "version" }, "missing: " + readable);
    }
    for (const auto& [key, value] : root.items()) {
        if (key == "version") {
            if (value != kDocumentVersion) {
                reader.refuse({ key }, "version " + value.dump() + " is unknown: " + readable);
            }
        } else if (key == "installation") {
            document.installation = reader.settings(value, { key }, SettingScope::Installation);
        } else if (key == "instances" && !value.is_object()) {
            reader.refuse({ key }, "must be an object of instances by number");
        } else if (key == "instances") {
            for (const auto& [name, settings] : value.items()) {
                const auto number = instanceNumber(name);
                if (!number) {
                    reader.refuse({ key, name },
                                  "an instance is named by its number, 0 (Default) to "
                                      + std::to_string(kMaxInstanceNumber));
                    continue;
                }
                document.instances.push_back(
                    { *number, reader.settings(settings, { key, name }, SettingScope::Instance) });
            }
        } else {
            reader.refuse({ key }, "unknown key; a document holds version, installation and instances");
        }
    }
    std::sort(document.instances.begin(), document.instances.end(),
              [](const DocumentInstance& a, const DocumentInstance& b) { return a.number < b.number; });
    return reader.status();
}

} // namespace tarn::ctl
