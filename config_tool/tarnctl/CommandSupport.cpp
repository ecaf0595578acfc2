#include "config_tool/tarnctl/CommandSupport.h"

#include "config_tool/foundation/Globals.h"
#include "config_tool/model/InstanceNaming.h"
#include "config_tool/provisioning/NewInstance.h"
#include "config_tool/session/SaveSequences.h"
#include "config_tool/tarnctl/Installation.h"
#include "config_tool/tarnctl/JsonOutput.h"
#include "config_tool/tarnctl/Login.h"
#include "platform/AsciiText.h"
#include "platform/FileSystem.h"

#include <algorithm>

namespace tarn::ctl {

ExitStatus logIn(CommandContext& context)
{
    const auto password = context.passwords.next("Password for Administrator: ");
    if (!password) {
        context.err << "tarnctl: " << context.passwords.error() << '\n';
        return ExitStatus::Usage;
    }
    return logInAsAdministrator(*password) ? ExitStatus::Done : ExitStatus::WrongPassword;
}

ExitStatus lockInstallation(CommandContext& context, InstallationLock::Kind kind)
{
    InstallationLock& lock = context.lock;
    // A dry run writes nothing: it waits for a save under way like a reader, and makes no lock file.
    const bool dryRun = context.line.dryRun;
    lock = InstallationLock::acquire(dryRun ? InstallationLock::Kind::Shared : kind, context.line.wait, {},
                                     dryRun ? InstallationLock::Missing::Skip : InstallationLock::Missing::Create);
    switch (lock.outcome()) {
    case InstallationLock::Outcome::Busy:
        context.err << "tarnctl: another program is saving this installation (" << InstallationLock::path()
                    << " stayed locked for " << context.line.wait.count() / 1000 << " s); nothing was written\n";
        return ExitStatus::Locked;
    case InstallationLock::Outcome::Refused:
        context.err << "tarnctl: " << lock.error() << "; without the lock another program could be saving at the same "
                    << "time, so nothing was written\n";
        return ExitStatus::Locked;
    case InstallationLock::Outcome::Locked:
    case InstallationLock::Outcome::Unavailable:
        break;
    }
    return ExitStatus::Done;
}

ExitStatus loadInstances(CommandContext& context, InstallationLock::Kind kind)
{
    loadSession(context.session);
    // The load has said why it failed.
    if (kind == InstallationLock::Kind::Exclusive && configurationUnloaded()) {
        return ExitStatus::WriteFailed;
    }
    return ExitStatus::Done;
}

std::optional<std::size_t> resolveInstance(const ConfigSession& session, const std::string& name, std::ostream& err)
{
    const std::size_t count = session.instances.size();
    std::optional<std::size_t> index;
    if (orvant::ascii::equalsIgnoringCase(name, "default")) {
        index = 0;
    } else if (name.size() <= 3 && orvant::ascii::isDigits(name)) {
        index = static_cast<std::size_t>(std::stoi(name));
    } else {
        const auto& sections = session.instanceSections;
        const auto it = std::find(sections.begin(), sections.end(), name);
        if (it != sections.end()) {
            index = static_cast<std::size_t>(it - sections.begin());
        }
    }
    if (!index || *index >= count) {
        err << "tarnctl: there is no instance " << name << "; this installation has Default (0)";
        if (count > 1) {
            err << " and instances 1 to " << count - 1;
        }
        err << '\n';
        return std::nullopt;
    }
    return index;
}

InstanceSummary instanceSummary(const ConfigSession& session, std::size_t index)
{
    const CInstanceData& record = session.instances.at(index);
    const std::string section = index < session.instanceSections.size()
        ? session.instanceSections[index]
        : instanceSection(static_cast<std::int16_t>(index));
    return { index, section, record.pinpad, record.interfaceMethod == 0 ? "Socket" : "File", record.port };
}

std::string instanceLine(const ConfigSession& session, std::size_t index)
{
    const InstanceSummary summary = instanceSummary(session, index);
    return std::to_string(summary.number) + '\t' + summary.section + '\t' + summary.pinPad + '\t'
        + summary.interfaceMethod + '\t' + summary.port;
}

std::optional<std::size_t> addNewInstance(ConfigSession& session)
{
    const NewInstanceResult result = createNewInstance(
        session.instances, static_cast<int>(session.instances.size()), session.common.propertyDir,
        [&session](CInstanceData& record, std::int16_t n) { return session.loadInstanceData(record, n); });
    if (!result.created) {
        Globals::ui().showMessage(result.message, MessageIcon::Exclamation);
        return std::nullopt;
    }
    session.instanceSections.push_back(result.section);
    return static_cast<std::size_t>(result.number);
}

bool passesSaveChecks(const ConfigSession& session)
{
    // A script has no question to answer: a Base Directory without the instance folders is refused.
    if (const MissingInstanceFolders missing = session.missingFoldersOfNewBaseDirectory(); missing.any()) {
        Globals::ui().showMessage(missingFoldersRefusal(missing), MessageIcon::Exclamation);
        return false;
    }
    return session.passesSaveChecks();
}

ExitStatus saveAsOk(ConfigSession& session)
{
    // The window would write the base property files and the hash even after a refused check; a
    // script gets a clean refusal instead, with the same message, and nothing changed on disk.
    if (!passesSaveChecks(session)) {
        return ExitStatus::Refused;
    }
    if (runOkSequence(session)) {
        return ExitStatus::Done;
    }
    return session.saveSucceeded ? ExitStatus::WriteFailed : ExitStatus::Refused;
}

SaveTransaction::Kind saveKindOf(const CommandContext& context)
{
    return context.line.dryRun ? SaveTransaction::Kind::DryRun : SaveTransaction::Kind::Save;
}

ExitStatus finishSave(CommandContext& context, SaveTransaction& save, ExitStatus status)
{
    if (status != ExitStatus::Done && status != ExitStatus::WriteFailed) {
        return status; // the transaction drops what it holds
    }
    FailedWrites failures;
    save.finish(failures);
    context.changed = !save.changes().empty();
    if (save.dryRun()) {
        if (context.line.json) {
            context.out << changesJson(save.changes().shown);
            return status;
        }
        for (const auto& change : save.changes().shown) {
            context.out << dryRunLine(change) << '\n';
        }
        return status;
    }
    if (!failures.empty()) {
        reportFailedWrites(failures);
        return ExitStatus::WriteFailed;
    }
    return status;
}

} // namespace tarn::ctl
