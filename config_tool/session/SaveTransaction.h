#pragma once

#include "config_tool/foundation/ChangeJournal.h"
#include "config_tool/foundation/FailedWrites.h"
#include "config_tool/session/ChangeSet.h"
#include "platform/FileSystem.h"
#include "platform/Registry.h"

#include <string>
#include <vector>

namespace tarn {

// One save as a whole: every file write, folder and registry value it makes is held back until it ends,
// so that it can be shown instead of made (a dry run), backed up before it is made, and logged after.
//
// When the outermost transaction finishes:
//   - a dry run writes nothing and keeps the changes for the caller to show;
//   - a save that changes nothing writes nothing, no backup and no log line (its events neither);
//   - otherwise the backup is written and put on the disk first. A backup that cannot be written fails
//     the save before any configuration file is touched: the registry values it had set are put back
//     and the held files are dropped. Then the hives are stored and the files replaced in the order the
//     save wrote them last, then the audit lines of what reached the disk are appended, then old
//     backups beyond the newest 20 are removed.
// Transactions nest (SaveScope.h); an inner one (the OK sequence inside a tarnctl command that also
// creates an instance) only joins the outer one.
class SaveTransaction
{
public:
    enum class Kind
    {
        Save,
        DryRun,
    };

    explicit SaveTransaction(Kind kind = Kind::Save);
    ~SaveTransaction();
    SaveTransaction(const SaveTransaction&) = delete;
    SaveTransaction& operator=(const SaveTransaction&) = delete;

    // The outermost transaction open on this thread, or nullptr.
    static SaveTransaction* current();

    bool isOutermost() const { return m_scope.holdsPart(); }
    bool dryRun() const { return m_journal.dryRun(); }

    // An event for the audit log (instance created, rollback), logged with the save's changes; without
    // an open transaction it is appended at once.
    static void logEvent(const std::string& event, int instance, const std::string& description);

    // Ends the transaction (see above). Files and hives that could not be written, the backup or the
    // log are recorded in failures. Returns whether the outermost transaction's save was made; an inner
    // one returns true and does nothing.
    bool finish(FailedWrites& failures);

    // What the finished outermost transaction changed, or would change in a dry run.
    const ChangeSet& changes() const { return m_changes; }
    // The backup the save left; empty when it changed nothing or is a dry run.
    const std::string& backupId() const { return m_backupId; }

private:
    struct Event
    {
        std::string event;
        int instance = 0;
        std::string description;
    };

    void dropHeldChanges();
    void putRegistryBack();

    // First: the parts below hang from the same save.
    orvant::platform::SaveScope m_scope { orvant::platform::SaveScope::Part::Transaction, this };
    ChangeJournal m_journal;
    orvant::platform::RegistryBatch m_registry;
    orvant::platform::WriteBatch m_files;
    bool m_finished = false;
    std::vector<Event> m_events;
    ChangeSet m_changes;
    std::string m_backupId;
};

} // namespace tarn
