#pragma once

#include "platform/FileLock.h"

#include <chrono>
#include <functional>
#include <memory>
#include <string>

namespace tarn {

// The installation-wide lock that keeps two saves of one installation apart, whichever program makes
// them (tarnctl runs, windows). A save holds it exclusively from before it loads what it will change
// until its last file is written; a reader holds it shared, so that it never sees a save half done.
// It lives in the lock file <installation folder>\conf\ORVANTConfiguration.lock, beside the
// configuration (in the installation folder itself when there is no conf folder), and the system
// releases it when the program holding it ends, however it ends.
class InstallationLock
{
public:
    using Kind = orvant::platform::FileLock::Kind;
    using Missing = orvant::platform::FileLock::Missing;

    enum class Outcome
    {
        Locked,
        Busy, // another program held it for the whole wait
        Unavailable, // there is no lock file and none can be made (an installation that cannot be
                     // written anyway), or a reader could not open it: the caller goes on without
        Refused, // a save could not take it: the lock file (or something else at its path) cannot be
                 // opened by this user, so a save could run beside one that holds it; nothing is written
    };

    // Tries until `wait` has passed, calling whileWaiting between tries (a window keeps drawing itself).
    // A run that writes nothing (a dry run) passes Missing::Skip and leaves a missing lock file missing.
    static InstallationLock acquire(Kind kind, std::chrono::milliseconds wait,
                                    const std::function<void()>& whileWaiting = {}, Missing missing = Missing::Create);

    Outcome outcome() const { return m_outcome; }
    const std::string& error() const { return m_error; }

    // The lock file of the installation folder now known (Globals).
    static std::string path();

private:
    Outcome m_outcome = Outcome::Unavailable;
    std::string m_error;
    std::unique_ptr<orvant::platform::FileLock> m_lock;
};

} // namespace tarn
