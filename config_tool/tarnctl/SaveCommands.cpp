#include "config_tool/foundation/Globals.h"
#include "config_tool/provisioning/NewInstance.h"
#include "config_tool/tarnctl/CommandSupport.h"
#include "config_tool/tarnctl/Commands.h"
#include "config_tool/tarnctl/Installation.h"
#include "config_tool/tarnctl/SettingTable.h"

#include <map>

namespace tarn::ctl {

namespace {

struct Assignment
{
    const Setting* setting;
    std::string value; // as it will be stored
};

// NAME=VALUE pairs checked against the settings table. Unknown names are a usage error (Usage);
// values the window would not take are refused (Refused). Every problem is reported, not just the first.
ExitStatus parseAssignments(const std::vector<std::string>& texts, const InstanceEditor& editor,
                            std::vector<Assignment>& assignments, std::ostream& err)
{
    ExitStatus status = ExitStatus::Done;
    for (const auto& text : texts) {
        const auto equals = text.find('=');
        if (equals == std::string::npos || equals == 0) {
            err << "tarnctl: " << text << " is not NAME=VALUE\n";
            status = ExitStatus::Usage;
            continue;
        }
        const std::string name = text.substr(0, equals);
        const Setting* setting = findSetting(name);
        if (!setting) {
            err << "tarnctl: there is no setting " << name << " ('tarnctl show' lists them)\n";
            status = ExitStatus::Usage;
            continue;
        }
        const CheckedValue checked = setting->check(text.substr(equals + 1), setting->text(editor));
        if (!checked.ok) {
            err << "tarnctl: " << name << ": " << checked.error << '\n';
            if (status == ExitStatus::Done) {
                status = ExitStatus::Refused;
            }
            continue;
        }
        assignments.push_back({ setting, checked.value });
    }
    return status;
}

// Applies the assignments phase by phase, as an operator who chose the environment, then Check
// Upgrades and the PIN pad, then typed the other fields. A change to a control the window disables
// or hides at the end is refused.
bool applyAssignments(InstanceEditor& editor, const std::vector<Assignment>& assignments, std::ostream& err)
{
    std::map<const Setting*, std::string> before;
    for (const auto phase : { SettingPhase::Installation, SettingPhase::Drivers, SettingPhase::Fields }) {
        for (const auto& assignment : assignments) {
            if (assignment.setting->phase == phase && !before.count(assignment.setting)) {
                before[assignment.setting] = assignment.setting->text(editor);
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
        if (setting->text(editor) == previous) {
            continue;
        }
        const std::string reason = setting->whyNotOffered(editor);
        if (!reason.empty()) {
            err << "tarnctl: " << setting->name << " cannot be changed: " << reason << '\n';
            allOffered = false;
        }
    }
    return allOffered;
}

SaveTransaction::Kind dryRunOf(const CommandContext& context)
{
    return context.line.dryRun ? SaveTransaction::Kind::DryRun : SaveTransaction::Kind::Save;
}

} // namespace

ExitStatus checkSetArguments(CommandContext& context)
{
    const auto& texts = context.line.arguments;
    if (texts.size() == 1 && texts.front().find('=') == std::string::npos) {
        context.err << "tarnctl: set needs at least one NAME=VALUE\n";
        return ExitStatus::Usage;
    }
    return ExitStatus::Done;
}

ExitStatus runSet(CommandContext& context)
{
    std::vector<std::string> texts = context.line.arguments;
    std::string instanceName = "Default";
    if (texts.front().find('=') == std::string::npos) {
        instanceName = texts.front();
        texts.erase(texts.begin());
    }
    ConfigSession& session = context.session;
    const auto index = resolveInstance(session, instanceName, context.err);
    if (!index) {
        return ExitStatus::Usage;
    }
    SaveTransaction save(dryRunOf(context));

    InstanceEditor editor(session, *index);
    // Switching to another instance collects the Default record from its controls first.
    FieldRules::collectAsTheControlsShowIt(session.instances.at(0));
    std::vector<Assignment> assignments;
    if (const ExitStatus parsed = parseAssignments(texts, editor, assignments, context.err);
        parsed != ExitStatus::Done) {
        return parsed;
    }
    if (!applyAssignments(editor, assignments, context.err)) {
        return ExitStatus::Refused;
    }
    FieldRules::collectAsTheControlsShowIt(editor.shown());
    return finishSave(context, save, saveAsOk(session));
}

ExitStatus runApply(CommandContext& context)
{
    ConfigSession& session = context.session;
    SaveTransaction save(dryRunOf(context));
    FieldRules::collectAsTheControlsShowIt(session.instances.at(0));
    return finishSave(context, save, saveAsOk(session));
}

ExitStatus runAddInstance(CommandContext& context)
{
    ConfigSession& session = context.session;
    FieldRules::collectAsTheControlsShowIt(session.instances.at(0));
    // An installation that cannot be saved as it is would be left with the new folders and no instance.
    if (!passesSaveChecks(session)) {
        return ExitStatus::Refused;
    }

    // The new folders and copies are part of the save: a dry run shows them, a rollback takes them away.
    SaveTransaction save(dryRunOf(context));
    const NewInstanceResult result = createNewInstance(
        session.instances, static_cast<int>(session.instances.size()), session.common.propertyDir,
        [&session](CInstanceData& record, std::int16_t n) { return session.loadInstanceData(record, n); });
    if (!result.created) {
        Globals::ui().showMessage(result.message, MessageIcon::Exclamation);
        return ExitStatus::Refused;
    }
    session.instanceSections.push_back(result.section);
    const auto index = static_cast<std::size_t>(result.number);
    FieldRules::collectAsTheControlsShowIt(session.instances.at(index));

    const ExitStatus saved = finishSave(context, save, saveAsOk(session));
    if (saved == ExitStatus::Done && !save.dryRun()) {
        context.out << instanceLine(session, index) << '\n';
    }
    return saved;
}

} // namespace tarn::ctl
