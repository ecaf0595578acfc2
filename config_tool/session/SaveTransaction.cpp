#include "config_tool/session/SaveTransaction.h"

#include "config_tool/foundation/Globals.h"
#include "config_tool/foundation/JournaledRegistry.h"
#include "config_tool/model/XmlConfig.h"
#include "config_tool/session/AuditLog.h"
#include "config_tool/session/Backups.h"

#include <algorithm>
#include <iterator>

namespace tarn {

SaveTransaction::SaveTransaction(Kind kind)
    : m_journal(kind == Kind::DryRun)
{
}

SaveTransaction::~SaveTransaction()
{
    if (!m_finished && isOutermost()) {
        // Left without finishing (a refusal on the way): nothing of it is written.
        dropHeldChanges();
    }
}

SaveTransaction* SaveTransaction::current()
{
    return static_cast<SaveTransaction*>(
        orvant::platform::SaveScope::holder(orvant::platform::SaveScope::Part::Transaction));
}

void SaveTransaction::logEvent(const std::string& event, int instance, const std::string& description)
{
    if (SaveTransaction* open = current()) {
        open->m_events.push_back({ event, instance, description });
        return;
    }
    appendAuditLines(auditEventLine(event, instance, description, utcTimestamp()));
}

void SaveTransaction::dropHeldChanges()
{
    // Values that went to the registry at once (Windows) are put back; a batch's copy (POSIX) is dropped.
    putRegistryBack();
    m_files.discard();
    m_registry.discard();
    // The document in memory holds the dropped values; without them on the disk a later save would take
    // them for stored and never write them.
    if (!m_journal.settingChanges().empty() && XmlConfig::isLoaded()) {
        XmlConfig::loadXmlConfig(Globals::state().xmlConfigurationPath);
    }
}

void SaveTransaction::putRegistryBack()
{
    const auto changed = m_journal.registryChanges();
    if (m_journal.dryRun() || changed.empty()) {
        return;
    }
    // Newest first. The journal records these too, which leaves it with nothing changed.
    for (auto it = changed.rbegin(); it != changed.rend(); ++it) {
        restoreRegistryValue(it->hive, it->keyPath, it->valueName, it->before);
    }
    for (auto it = changed.rbegin(); it != changed.rend(); ++it) {
        if (it->keyCreated) {
            removeCreatedRegistryKey(it->hive, it->keyPath);
        }
    }
}

bool SaveTransaction::finish(FailedWrites& failures)
{
    if (m_finished) {
        return true;
    }
    m_finished = true;
    if (!isOutermost()) {
        return true;
    }
    m_changes = collectChanges(m_files.changes(), m_journal);
    if (m_journal.dryRun()) {
        dropHeldChanges();
        return true;
    }
    if (m_changes.empty()) {
        // Nothing changed: nothing is backed up, and nothing is logged, events included (a rollback
        // that found everything as its backup kept it).
        m_files.finish();
        m_registry.finish();
        return true;
    }
    const std::string time = utcTimestamp();
    const WrittenBackup backup = writeBackup(m_changes, time);
    if (!backup.result.ok) {
        dropHeldChanges();
        failures.record(backupsFolder(), backup.result.error);
        failures.nothingSaved = true;
        m_changes = {};
        return false;
    }
    m_backupId = backup.id;

    // The hives first: in registry mode the save writes each value to the registry before the
    // configuration file, and the files go in the order the save wrote them last, so that the
    // configuration hash reaches the disk after the configuration file it was computed from.
    std::vector<orvant::platform::RegistryBatch::Failure> hives;
    m_registry.finish(&hives);
    std::vector<std::string> failedHives;
    for (const auto& hive : hives) {
        failedHives.push_back(orvant::platform::hiveName(hive.hive));
        failures.record(failedHives.back(), hive.error);
    }
    std::vector<std::string> failedFiles = m_files.finish();
    for (const auto& file : failedFiles) {
        failures.record(file);
    }
    // Only what reached the disk is logged: a hive that could not be stored keeps its old values.
    const auto reachedDisk = [&](const ShownChange& change) {
        if (std::find(failedFiles.begin(), failedFiles.end(), change.location) != failedFiles.end()) {
            return false;
        }
        return std::none_of(failedHives.begin(), failedHives.end(),
                            [&](const std::string& hive) { return change.location.rfind(hive + "\\", 0) == 0; });
    };
    std::vector<ShownChange> logged;
    std::copy_if(m_changes.shown.begin(), m_changes.shown.end(), std::back_inserter(logged), reachedDisk);
    std::string lines = auditLines(logged, time);
    for (const auto& event : m_events) {
        lines += auditEventLine(event.event, event.instance, event.description, time);
    }
    bool written = failedFiles.empty() && failedHives.empty();
    if (auto appended = appendAuditLines(lines); !appended.ok) {
        failures.record(auditLogPath(), appended.error);
        written = false;
    }
    pruneBackups();
    return written;
}

} // namespace tarn
