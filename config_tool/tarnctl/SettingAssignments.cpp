#include "config_tool/tarnctl/SettingAssignments.h"

#include <map>

namespace tarn::ctl {

ExitStatus checkAssignment(const SettingText& text, const InstanceEditor& editor, std::vector<Assignment>& assignments,
                           std::ostream& err)
{
    const std::string prefix = text.where.empty() ? std::string() : text.where + ": ";
    const Setting* setting = findSetting(text.name);
    if (!setting) {
        err << "tarnctl: " << prefix << "there is no setting " << text.name << " ('tarnctl show' lists them)\n";
        return ExitStatus::Usage;
    }
    const CheckedValue checked = setting->check(text.value, setting->text(editor));
    if (!checked.ok) {
        err << "tarnctl: " << (text.where.empty() ? text.name : text.where) << ": " << checked.error << '\n';
        return ExitStatus::Refused;
    }
    assignments.push_back({ setting, checked.value, text.where });
    return ExitStatus::Done;
}

ExitStatus worseOf(ExitStatus first, ExitStatus second)
{
    if (first == ExitStatus::Usage || second == ExitStatus::Usage) {
        return ExitStatus::Usage;
    }
    return first == ExitStatus::Done ? second : first;
}

bool applyAssignments(InstanceEditor& editor, const std::vector<Assignment>& assignments, std::ostream& err)
{
    struct Before
    {
        std::string value;
        std::string where;
    };
    // By setting, in the table's order.
    std::map<const Setting*, Before> before;
    for (const auto phase : { SettingPhase::Installation, SettingPhase::Drivers, SettingPhase::Fields }) {
        for (const auto& assignment : assignments) {
            if (assignment.setting->phase == phase && !before.count(assignment.setting)) {
                before[assignment.setting] = { assignment.setting->text(editor), assignment.where };
            }
        }
        for (const auto& assignment : assignments) {
            if (assignment.setting->phase == phase) {
                assignment.setting->assign(editor, assignment.value);
            }
        }
    }
    bool allOffered = true;
    for (const auto& [setting, previous] : before) {
        if (setting->text(editor) == previous.value) {
            continue;
        }
        const std::string reason = setting->whyNotOffered(editor);
        if (!reason.empty()) {
            err << "tarnctl: " << (previous.where.empty() ? std::string(setting->name) : previous.where)
                << " cannot be changed: " << reason << '\n';
            allOffered = false;
        }
    }
    return allOffered;
}

} // namespace tarn::ctl
