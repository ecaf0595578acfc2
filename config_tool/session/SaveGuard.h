#pragma once

#include "config_tool/session/InstallationLock.h"
#include "config_tool/session/LoadedFiles.h"

#include <chrono>
#include <functional>

namespace tarn {

// What a program that keeps a configuration open between its load and its saves (the window) does
// before it saves: it takes the installation lock, and when another program changed the configuration
// file or the mode file since they were loaded, it asks before it overwrites those changes. The lock is
// held while the guard lives: from before the check until the save has written its last file.
class SaveGuard
{
public:
    static constexpr const char* kChangedQuestion
        = "The configuration was changed by another program after this window was opened. Overwrite those "
          "changes?";
    static constexpr const char* kBusyMessage
        = "Another program is saving this configuration. Nothing was saved; please try again in a moment.";
    // Followed by the lock file's problem.
    static constexpr const char* kRefusedMessage
        = "This configuration cannot be locked for saving, so another program could be saving it at the same "
          "time. Nothing was saved.";

    // How long a save waits for another program's save before it gives up.
    static constexpr std::chrono::milliseconds kWait { 10000 };

    // whileWaiting is called between tries for the lock (a window keeps drawing itself). The refusals
    // and the question go to the UI services.
    SaveGuard(const LoadedFiles& loaded, const std::function<void()>& whileWaiting,
              std::chrono::milliseconds wait = kWait);

    // True when the save may go on: the lock is held (or cannot be had on this installation at all) and
    // nothing changed underneath, or the operator chose to overwrite it.
    bool mayWrite() const { return m_mayWrite; }

private:
    InstallationLock m_lock;
    bool m_mayWrite = false;
};

} // namespace tarn
