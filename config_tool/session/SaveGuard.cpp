#include "config_tool/session/SaveGuard.h"

#include "config_tool/foundation/Globals.h"

namespace tarn {

SaveGuard::SaveGuard(const LoadedFiles& loaded, const std::function<void()>& whileWaiting,
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
    m_mayWrite = LoadedFiles::now() == loaded
        || Globals::ui().askYesNo(kChangedQuestion, QuestionAnswer::No) == QuestionAnswer::Yes;
}

} // namespace tarn
