#include "config_tool/session/SaveGuard.h"

#include "config_tool/foundation/Globals.h"
#include "config_tool/session/ConfigSession.h"

namespace tarn {

SaveGuard::SaveGuard(const LoadedFiles& loaded, bool edited, const std::function<void()>& whileWaiting,
                     std::chrono::milliseconds wait)
    : m_lock(InstallationLock::acquire(InstallationLock::Kind::Exclusive, wait, whileWaiting))
{
    if (m_lock.outcome() == InstallationLock::Outcome::Busy) {
        Globals::ui().showMessage(kBusyMessage, MessageIcon::Exclamation);
        return;
    }
    if (m_lock.outcome() == InstallationLock::Outcome::Refused) {
        Globals::ui().showMessage(std::string(kRefusedMessage) + "\n" + m_lock.error(), MessageIcon::Exclamation);
        return;
    }
    if (configurationUnloaded()) {
        Globals::ui().showMessage(kUnloadedMessage, MessageIcon::Exclamation);
        return;
    }
    if (!loaded.changedOnDisk(Globals::state().configurationMode != kXmlMode)) {
        m_decision = Decision::Save;
    } else if (!edited) {
        m_decision = Decision::NothingToSave;
    } else if (Globals::ui().askYesNo(kChangedQuestion, QuestionAnswer::No) == QuestionAnswer::Yes) {
        m_decision = Decision::Save;
    }
}

} // namespace tarn
