#pragma once

#include "config_tool/session/InstallationLock.h"
#include "config_tool/session/LoadedFiles.h"

#include <chrono>
#include <functional>

namespace tarn {

// What a program that keeps a configuration open between its load and its saves (the window) does before it saves:
// it takes the installation lock, and checks whether another program changed what it loaded since (LoadedFiles). A
// window that found no configuration it could load saves nothing. A window that edited nothing then has nothing to
// save: it writes nothing and asks nothing, and the other program's changes stay. One with edits asks before it
// overwrites them. The lock is held while the guard lives: from before the check until the save has written its
// last file.
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

    static constexpr const char* kUnloadedMessage
        = "The configuration could not be loaded when this window was opened: saving would write the defaults "
          "it shows over every instance. Nothing was saved.";

    // How long a save waits for another program's save before it gives up.
    static constexpr std::chrono::milliseconds kWait { 10000 };

    enum class Decision
    {
        Save, // the lock is held (or cannot be had on this installation at all) and nothing changed
              // underneath, or the operator chose to overwrite it
        NothingToSave, // another program changed what was loaded, and the window has no edits of its own
        DontSave, // another program is saving, or the operator chose to keep its changes
    };

    // edited: whether the window holds edits that this save would write. whileWaiting is called between
    // tries for the lock (a window keeps drawing itself). The refusals and the question go to the UI
    // services. The registry counts when the save writes it (registry mode).
    SaveGuard(const LoadedFiles& loaded, bool edited, const std::function<void()>& whileWaiting,
              std::chrono::milliseconds wait = kWait);

    Decision decision() const { return m_decision; }
    bool mayWrite() const { return m_decision == Decision::Save; }

private:
    InstallationLock m_lock;
    Decision m_decision = Decision::DontSave;
};

} // namespace tarn
