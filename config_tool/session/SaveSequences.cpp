#include "config_tool/session/SaveSequences.h"

#include "config_tool/engine_files/BaseProperties.h"
#include "config_tool/engine_files/InstanceProperties.h"
#include "config_tool/foundation/Globals.h"
#include "platform/FileSystem.h"

namespace tarn {

namespace {

// The engine files are written one by one without a word; a save that lost any of them says so once.
void reportFailedWrites(const FailedWrites& failures)
{
    if (failures.empty()) {
        return;
    }
    std::string text = "These files could not be written:";
    for (const auto& file : failures.files) {
        text += "\n" + file;
    }
    text += "\nThe configuration has not been saved completely.";
    Globals::ui().showMessage(text, MessageIcon::Exclamation);
}

void recordUnflushed(orvant::platform::WriteBatch& batch, FailedWrites& failures)
{
    for (const auto& file : batch.finish()) {
        failures.record(file);
    }
}

} // namespace

bool runOkSequence(ConfigSession& session)
{
    orvant::platform::WriteBatch batch;
    session.saveAllInstances();
    FailedWrites failures = session.failedWrites;
    // Regenerated whatever the checks gave, from the records as they are in memory.
    writeDefaultProperties(session.instances, session.common.propertyDir, failures);
    writeConfigHash(failures);
    recordUnflushed(batch, failures);
    reportFailedWrites(failures);
    return session.saveSucceeded && !session.storeFailed && failures.empty();
}

bool runApplySequence(ConfigSession& session)
{
    orvant::platform::WriteBatch batch;
    session.saveAllInstances();
    FailedWrites failures = session.failedWrites;
    writeConfigHash(failures);
    recordUnflushed(batch, failures);
    reportFailedWrites(failures);
    return session.saveSucceeded && !session.storeFailed && failures.empty();
}

} // namespace tarn
