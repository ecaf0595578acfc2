#include "config_tool/tarnctl/Commands.h"
#include "config_tool/tarnctl/ConfigurationDocument.h"
#include "config_tool/tarnctl/JsonOutput.h"

#include <nlohmann/json.hpp>

namespace tarn::ctl {

ExitStatus runExport(CommandContext& context)
{
    context.out << jsonText(configurationDocument(context.session));
    return ExitStatus::Done;
}

} // namespace tarn::ctl
