#pragma once

#include "config_tool/session/ChangeSet.h"
#include "config_tool/tarnctl/CommandSupport.h"

#include <cstddef>
#include <nlohmann/json_fwd.hpp>
#include <string>
#include <utility>
#include <vector>

namespace tarn::ctl {

// The output of --json: for each command the facts of its text output, as one JSON document. Texts are
// given as they are (JSON escapes them), not quoted or escaped as the text lines show them.

// A document as tarnctl prints it: two-space indents and a line end after it. Bytes that are not UTF-8
// (a name read from a hostile manifest) become U+FFFD.
std::string jsonText(const nlohmann::ordered_json& document);

// {"instances": [{"number", "section", "pinPad", "interfaceMethod" ("Socket" or "File"), "port"}, ...]}
std::string listJson(const std::vector<InstanceSummary>& instances);

// {"instance": N, "section": "Harbell_01", "settings": {NAME: VALUE, ...}} in show's order.
std::string showJson(std::size_t instance, const std::string& section,
                     const std::vector<std::pair<std::string, std::string>>& settings);

// What backups prints of one backup.
struct BackupSummary
{
    std::string id;
    std::string time;
    std::string program;
    std::string user;
    std::string osUser;
    std::size_t files = 0;
    std::size_t registryValues = 0;
};
// {"backups": [{"id", "time", "program", "user", "osUser", "files", "registryValues"}, ...]}
std::string backupsJson(const std::vector<BackupSummary>& backups);

// {"match": true} or {"match": false}
std::string verifyJson(bool match);

// A dry run's changes: {"changes": [{"location", "instance", "setting", "old", "new"}, ...]}, "old" and
// "new" null where there is none.
std::string changesJson(const std::vector<ShownChange>& changes);

} // namespace tarn::ctl
