#include "config_tool/engine_files/InstanceProperties.h"
#include "config_tool/foundation/CProperties.h"
#include "config_tool/foundation/Globals.h"
#include "config_tool/foundation/InstallationFiles.h"
#include "config_tool/tarnctl/CommandSupport.h"
#include "config_tool/tarnctl/Commands.h"

namespace tarn::ctl {

ExitStatus runVerify(CommandContext& context)
{
    const std::string& folder = Globals::ensureInstallationFolder();
    const std::string hashFile = configHashFilePath();

    std::string computed;
    if (!computeConfigHash(computed)) {
        context.err << "tarnctl: " << configurationFilePath(folder) << " cannot be read\n";
        context.out << "mismatch\n";
        return ExitStatus::Refused;
    }
    CProperties store;
    if (const auto loaded = store.load(hashFile); !loaded.ok) {
        context.err << "tarnctl: " << loaded.error << '\n';
        context.out << "mismatch\n";
        return ExitStatus::Refused;
    }
    const std::string stored = store.getValue("ConfigHash");
    if (stored == store.NO_VALUE) {
        context.err << "tarnctl: " << hashFile << " holds no ConfigHash\n";
        context.out << "mismatch\n";
        return ExitStatus::Refused;
    }
    if (stored != computed) {
        context.err << "tarnctl: the ConfigHash in " << hashFile
                    << " does not match the configuration file; it was changed outside the configuration tool\n";
        context.out << "mismatch\n";
        return ExitStatus::Refused;
    }
    context.out << "match\n";
    return ExitStatus::Done;
}

} // namespace tarn::ctl
