#pragma once

#include "config_tool/session/ConfigSession.h"
#include "config_tool/tarnctl/ExitStatus.h"
#include "config_tool/tarnctl/SettingAssignments.h"

#include <nlohmann/json_fwd.hpp>
#include <ostream>
#include <string>
#include <vector>

namespace tarn::ctl {

// The whole configuration of an installation as one JSON document, as export writes it and import reads it:
//   {"version": 1,
//    "installation": {"Configuration": "xml", "ClassPath": "...", ...},
//    "instances": {"0": {"Timeout": "30", ...}, "1": {...}}}
// Settings by the names show gives them, values as stored, in show's order; "installation" holds the
// installation-wide ones, each instance (by number, 0 the Default) its own. Values the engine keeps
// (NextReceiptNumber) are left out; passwords are not part of the configuration.
constexpr int kDocumentVersion = 1;

// The document of the loaded installation.
nlohmann::ordered_json configurationDocument(ConfigSession& session);

// An imported document's values, where the document gives them (their JSON paths).
struct DocumentInstance
{
    std::size_t number = 0;
    std::vector<SettingText> settings;
};
struct ImportedDocument
{
    std::vector<SettingText> installation;
    std::vector<DocumentInstance> instances; // in number order
};

// Reads a document. Text that is not JSON, a key given twice in one object, a version other than
// kDocumentVersion, an unknown key, a setting in the wrong group or a value that is neither text, a
// whole number nor true or false is a usage error, reported with its JSON path; a number or true and
// false stand for their text ("30", "True"). Setting names and values are checked when they are
// applied (checkAssignment).
ExitStatus readDocument(const std::string& bytes, ImportedDocument& document, std::ostream& err);

} // namespace tarn::ctl
