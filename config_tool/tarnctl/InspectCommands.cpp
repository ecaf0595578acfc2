#include "config_tool/tarnctl/CommandSupport.h"
#include "config_tool/tarnctl/Commands.h"
#include "config_tool/tarnctl/Installation.h"
#include "config_tool/tarnctl/SettingTable.h"

namespace tarn::ctl {

ExitStatus runList(CommandContext& context)
{
    const ConfigSession& session = context.session;
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
    for (const auto& setting : allSettings()) {
        context.out << setting.name << '=' << setting.text(editor) << '\n';
    }
    return ExitStatus::Done;
}

} // namespace tarn::ctl
