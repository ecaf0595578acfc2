#include "config_tool/tarnctl/CommandSupport.h"
#include "config_tool/tarnctl/Commands.h"
#include "config_tool/tarnctl/Installation.h"
#include "config_tool/tarnctl/SettingAssignments.h"

namespace tarn::ctl {

namespace {

// set's NAME=VALUE pairs, checked against the settings table. Every problem is reported, not just the
// first; a text that is not NAME=VALUE is a usage error.
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
        const SettingText value { text.substr(0, equals), text.substr(equals + 1), {} };
        status = worseOf(status, checkAssignment(value, editor, assignments, err));
    }
    return status;
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
    SaveTransaction save(saveKindOf(context));

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
    SaveTransaction save(saveKindOf(context));
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
    SaveTransaction save(saveKindOf(context));
    const auto index = addNewInstance(session);
    if (!index) {
        return ExitStatus::Refused;
    }
    FieldRules::collectAsTheControlsShowIt(session.instances.at(*index));

    const ExitStatus saved = finishSave(context, save, saveAsOk(session));
    if (saved == ExitStatus::Done && !save.dryRun()) {
        context.out << instanceLine(session, *index) << '\n';
    }
    return saved;
}

} // namespace tarn::ctl
