#include "config_tool/session/SaveTransaction.h"

#include "config_tool/foundation/Globals.h"
#include "config_tool/foundation/JournaledRegistry.h"
#include "config_tool/model/XmlConfig.h"
#include "config_tool/session/AuditLog.h"
#include "config_tool/session/Backups.h"

#include <algorithm>

namespace tarn {

namespace {

thread_local SaveTransaction* t_outermost = nullptr;

} // namespace

SaveTransaction::SaveTransaction(Kind kind)
    : m_outer(t_outermost)
    , m_journal(kind == Kind::DryRun)
{
    if (!m_outer) {
        t_outermost = this;
    }
}

SaveTransaction::~SaveTransaction()
{
    if (!m_finished && isOutermost()) {
        // Left without finishing (a refusal on the way): nothing of it is written.
        dropHeldChanges();
    }
    if (!m_outer) {
        t_outermost = nullptr;
    }
}

SaveTransaction* SaveTransaction::current()
{
    return t_outermost;
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
    if (m_changes.empty() && m_events.empty()) {
        m_files.finish();
        m_registry.finish();
        return true;
    }
    const std::string time = utcTimestamp();
    if (!m_changes.empty()) {
        const WrittenBackup backup = writeBackup(m_changes, time);
        if (!backup.result.ok) {
            dropHeldChanges();
            failures.record(backupsFolder());
            m_changes = {};
            return false;
        }
        m_backupId = backup.id;
    }
    bool written = true;
    for (const auto& file : m_files.finish()) {
        failures.record(file);
        written = false;
    }
    // A hive that could not be replaced is a registry write failure: silent, as every other one.
    m_registry.finish();
    // Only what reached the disk is logged.
    std::vector<ShownChange> logged;
    for (const auto& change : m_changes.shown) {
        const auto& failed = failures.files;
        if (std::find(failed.begin(), failed.end(), change.location) == failed.end()) {
            logged.push_back(change);
        }
    }
    std::string lines = auditLines(logged, time);
    for (const auto& event : m_events) {
        lines += auditEventLine(event.event, event.instance, event.description, time);
    }
    if (!appendAuditLines(lines).ok) {
        failures.record(auditLogPath());
        written = false;
    }
    pruneBackups();
    return written;
}

} // namespace tarn
