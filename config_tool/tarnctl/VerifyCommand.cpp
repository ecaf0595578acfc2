#include "config_tool/engine_files/InstanceProperties.h"
#include "config_tool/foundation/CProperties.h"
#include "config_tool/foundation/Globals.h"
#include "config_tool/foundation/InstallationFiles.h"
#include "config_tool/tarnctl/CommandSupport.h"
#include "config_tool/tarnctl/Commands.h"
#include "config_tool/tarnctl/JsonOutput.h"

namespace tarn::ctl {

namespace {

// Why the stored ConfigHash does not vouch for the configuration file; empty when it does.
std::string hashMismatch()
{
    const std::string& folder = Globals::ensureInstallationFolder();
    const std::string hashFile = configHashFilePath();

    std::string computed;
    if (!computeConfigHash(computed)) {
        return configurationFilePath(folder) + " cannot be read";
    }
    CProperties store;
    if (const auto loaded = store.load(hashFile); !loaded.ok) {
        return loaded.error;
    }
    const std::string stored = store.getValue("ConfigHash");
    if (stored == store.NO_VALUE) {
        return hashFile + " holds no ConfigHash";
    }
    if (stored != computed) {
        return "the ConfigHash in " + hashFile
            + " does not match the configuration file; it was changed outside the configuration tool";
    }
    return {};
}

} // namespace

ExitStatus runVerify(CommandContext& context)
{
    const std::string mismatch = hashMismatch();
    if (!mismatch.empty()) {
        context.err << "tarnctl: " << mismatch << '\n';
    }
    if (context.line.json) {
        context.out << verifyJson(mismatch.empty());
    } else {
        context.out << (mismatch.empty() ? "match\n" : "mismatch\n");
    }
    return mismatch.empty() ? ExitStatus::Done : ExitStatus::Refused;
}

} // namespace tarn::ctl
