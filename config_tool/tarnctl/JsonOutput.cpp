#include "config_tool/tarnctl/JsonOutput.h"

#include <nlohmann/json.hpp>

namespace tarn::ctl {

namespace {

using Json = nlohmann::ordered_json;

Json optionalText(const std::optional<std::string>& text)
{
    return text ? Json(*text) : Json(nullptr);
}

} // namespace

std::string jsonText(const Json& document)
{
    return document.dump(2, ' ', false, Json::error_handler_t::replace) + '\n';
}

std::string listJson(const std::vector<InstanceSummary>& instances)
{
    Json list = Json::array();
    for (const auto& instance : instances) {
        list.push_back({ { "number", instance.number },
                         { "section", instance.section },
                         { "pinPad", instance.pinPad },
                         { "interfaceMethod", instance.interfaceMethod },
                         { "port", instance.port } });
    }
    return jsonText({ { "instances", list } });
}

std::string showJson(std::size_t instance, const std::string& section,
                     const std::vector<std::pair<std::string, std::string>>& settings)
{
    Json values = Json::object();
    for (const auto& [name, value] : settings) {
        values[name] = value;
    }
    return jsonText({ { "instance", instance }, { "section", section }, { "settings", values } });
}

std::string backupsJson(const std::vector<BackupSummary>& backups)
{
    Json list = Json::array();
    for (const auto& backup : backups) {
        list.push_back({ { "id", backup.id },
                         { "time", backup.time },
                         { "program", backup.program },
                         { "user", backup.user },
                         { "osUser", backup.osUser },
                         { "files", backup.files },
                         { "registryValues", backup.registryValues } });
    }
    return jsonText({ { "backups", list } });
}

std::string verifyJson(bool match)
{
    return jsonText({ { "match", match } });
}

std::string changesJson(const std::vector<ShownChange>& changes)
{
    Json list = Json::array();
    for (const auto& change : changes) {
        list.push_back({ { "location", change.location },
                         { "instance", change.instance },
                         { "setting", change.setting },
                         { "old", optionalText(change.before) },
                         { "new", optionalText(change.after) } });
    }
    return jsonText({ { "changes", list } });
}

} // namespace tarn::ctl
