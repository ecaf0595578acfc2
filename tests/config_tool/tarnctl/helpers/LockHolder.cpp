#include "config_tool/foundation/Globals.h"
#include "config_tool/session/InstallationLock.h"

#include <chrono>
#include <fstream>
#include <thread>

// Holds the lock of the installation KELBRIN_HOME names until it is killed, as a save would that never
// ends; once it holds the lock it creates the file its argument names. A test kills it to see that the
// system gives the lock back.
int main(int argc, char* argv[])
{
    if (argc != 2) {
        return 2;
    }
    tarn::Globals::ensureInstallationFolder();
    const auto held = tarn::InstallationLock::acquire(tarn::InstallationLock::Kind::Exclusive, std::chrono::seconds(0));
    if (held.outcome() != tarn::InstallationLock::Outcome::Locked) {
        return 1;
    }
    std::ofstream(argv[1]).flush();
    for (;;) {
        std::this_thread::sleep_for(std::chrono::hours(1));
    }
}
