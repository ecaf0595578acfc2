#pragma once

#include "config_tool/tarnctl/ExitStatus.h"
#include "config_tool/tarnctl/InstanceEditor.h"
#include "config_tool/tarnctl/SettingTable.h"

#include <ostream>
#include <string>
#include <vector>

namespace tarn::ctl {

// A setting's new value as a script gives it: a NAME=VALUE of set, or one value of an imported document.
struct SettingText
{
    std::string name;
    std::string value;
    std::string where; // what messages name instead of the setting: its JSON path; empty for set
};

struct Assignment
{
    const Setting* setting;
    std::string value; // as it will be stored
    std::string where;
};

// Checks one value against the settings table for the shown instance and adds it to assignments. An
// unknown name is a usage error (Usage); a value the window would not take is refused (Refused). The
// problem is reported to err.
ExitStatus checkAssignment(const SettingText& text, const InstanceEditor& editor, std::vector<Assignment>& assignments,
                           std::ostream& err);

// The status of several checks: a usage error before a refusal.
ExitStatus worseOf(ExitStatus first, ExitStatus second);

// Applies the assignments phase by phase, as an operator who chose the environment, then Check
// Upgrades and the PIN pad, then typed the other fields. A change to a control the window disables
// or hides at the end is refused (false, every such change reported).
bool applyAssignments(InstanceEditor& editor, const std::vector<Assignment>& assignments, std::ostream& err);

} // namespace tarn::ctl
