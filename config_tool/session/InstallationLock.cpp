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
                                           const std::function<void()>& whileWaiting, Missing missing)
{
    using orvant::platform::FileLock;
    InstallationLock lock;
    const std::string file = path();
    const auto deadline = std::chrono::steady_clock::now() + wait;
    for (;;) {
        FileLock::Attempt attempt = FileLock::tryLock(file, kind, missing);
        lock.m_error = std::move(attempt.error);
        switch (attempt.outcome) {
        case FileLock::Outcome::Locked:
            lock.m_lock = std::move(attempt.lock);
            lock.m_outcome = Outcome::Locked;
            return lock;
        case FileLock::Outcome::NoLockFile:
            lock.m_outcome = Outcome::Unavailable;
            return lock;
        case FileLock::Outcome::Refused:
            // A reader that cannot lock still reads; a save that cannot must not write beside another.
            lock.m_outcome = kind == Kind::Exclusive ? Outcome::Refused : Outcome::Unavailable;
            return lock;
        case FileLock::Outcome::Held:
            break;
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
