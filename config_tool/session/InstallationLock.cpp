#include "config_tool/session/InstallationLock.h"

#include "config_tool/foundation/Globals.h"
#include "platform/FileSystem.h"

#include <thread>

namespace tarn {

namespace {

constexpr std::chrono::milliseconds kRetryInterval { 25 };

} // namespace

std::string InstallationLock::path()
{
    const std::string& folder = Globals::ensureInstallationFolder();
    const std::string conf = folder + "\\conf";
    return (orvant::platform::folderExists(conf) ? conf : folder) + "\\ORVANTConfiguration.lock";
}

InstallationLock InstallationLock::acquire(Kind kind, std::chrono::milliseconds wait,
                                           const std::function<void()>& whileWaiting)
{
    InstallationLock lock;
    const std::string file = path();
    const auto deadline = std::chrono::steady_clock::now() + wait;
    for (;;) {
        lock.m_lock = orvant::platform::FileLock::tryLock(file, kind, lock.m_error);
        if (lock.m_lock) {
            lock.m_outcome = Outcome::Locked;
            return lock;
        }
        if (!lock.m_error.empty()) {
            lock.m_outcome = Outcome::Unavailable;
            return lock;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            lock.m_outcome = Outcome::Busy;
            return lock;
        }
        if (whileWaiting) {
            whileWaiting();
        }
        std::this_thread::sleep_for(kRetryInterval);
    }
}

} // namespace tarn
