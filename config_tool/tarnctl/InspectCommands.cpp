#include "config_tool/tarnctl/CommandSupport.h"
#include "config_tool/tarnctl/Commands.h"
#include "config_tool/tarnctl/Installation.h"
#include "config_tool/tarnctl/JsonOutput.h"
#include "config_tool/tarnctl/SettingTable.h"

namespace tarn::ctl {

ExitStatus runList(CommandContext& context)
{
    const ConfigSession& session = context.session;
    if (context.line.json) {
        std::vector<InstanceSummary> instances;
        for (std::size_t i = 0; i < session.instances.size(); ++i) {
            instances.push_back(instanceSummary(session, i));
        }
        context.out << listJson(instances);
        return ExitStatus::Done;
    }
    for (std::size_t i = 0; i < session.instances.size(); ++i) {
        context.out << instanceLine(session, i) << '\n';
    }
    return ExitStatus::Done;
}

ExitStatus runShow(CommandContext& context)
{
    ConfigSession& session = context.session;
    const std::string name = context.line.arguments.empty() ? "Default" : context.line.arguments.front();
    const auto index = resolveInstance(session, name, context.err);
    if (!index) {
        return ExitStatus::Usage;
    }
    const InstanceEditor editor(session, *index);
    std::vector<std::pair<std::string, std::string>> settings;
    for (const auto& setting : allSettings()) {
        settings.emplace_back(setting.name, setting.text(editor));
    }
    if (context.line.json) {
        context.out << showJson(*index, instanceSummary(session, *index).section, settings);
        return ExitStatus::Done;
    }
    for (const auto& [setting, value] : settings) {
        context.out << setting << '=' << value << '\n';
    }
    return ExitStatus::Done;
}

} // namespace tarn::ctl
