#include "config_tool/session/SaveSequences.h"

#include "config_tool/engine_files/BaseProperties.h"
#include "config_tool/engine_files/InstanceProperties.h"
#include "config_tool/foundation/Globals.h"
#include "config_tool/session/SaveTransaction.h"

namespace tarn {

// The engine files are written one by one without a word; a save that lost any of them says so once.
void reportFailedWrites(const FailedWrites& failures)
{
    if (failures.empty()) {
        return;
    }
    std::string text
        = failures.nothingSaved ? "The backup of this save could not be written:" : "These files could not be written:";
    for (const auto& file : failures.files) {
        const auto reason = failures.reasons.find(file);
        text += "\n" + (reason == failures.reasons.end() ? file : reason->second);
    }
    text += failures.nothingSaved ? "\nNothing was saved." : "\nThe configuration has not been saved completely.";
    Globals::ui().showMessage(text, MessageIcon::Exclamation);
}

bool runOkSequence(ConfigSession& session)
{
    SaveTransaction save;
    session.saveAllInstances();
    FailedWrites failures = session.failedWrites;
    // Regenerated whatever the checks gave, from the records as they are in memory.
    writeDefaultProperties(session.instances, session.common.propertyDir, failures);
    writeConfigHash(failures);
    // The backup, the files and the audit log are written now.
    save.finish(failures);
    reportFailedWrites(failures);
    return session.saveSucceeded && !session.storeFailed && failures.empty();
}

bool runApplySequence(ConfigSession& session)
{
    SaveTransaction save;
    session.saveAllInstances();
    FailedWrites failures = session.failedWrites;
    writeConfigHash(failures);
    // The backup, the files and the audit log are written now.
    save.finish(failures);
    reportFailedWrites(failures);
    return session.saveSucceeded && !session.storeFailed && failures.empty();
}

} // namespace tarn
