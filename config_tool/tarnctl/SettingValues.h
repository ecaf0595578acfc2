#pragma once

#include "config_tool/model/ConfigurationLayout.h"

#include <string>

namespace tarn::ctl {

struct CheckedValue
{
    bool ok = false;
    std::string value; // the text as it will be stored, when ok
    std::string error; // why the value is refused, when not ok
};

// Checks a script's value for a setting of the layout as the setting's control would take it, and
// turns it into the stored text: "True"/"False" for check boxes (1/0 and any letter case accepted), the
// code for a list or option name ("Kiosk" is "4", "File" is "1"), the leave-rule applied. A value equal
// to the setting's current text is always accepted: it changes nothing. Refusals name the bounds the
// check uses.
CheckedValue checkValue(const SettingDeclaration& setting, const std::string& value, const std::string& current);

// The configuration mode: "registry" or "xml", any letter case.
CheckedValue checkConfigurationMode(const std::string& value, const std::string& current);

// The values a setting takes, in words, from the same bounds the check uses (for --help).
std::string valuesInWords(const SettingDeclaration& setting);

} // namespace tarn::ctl
