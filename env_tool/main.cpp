#include "env_tool/EnvironmentSetup.h"
#include "env_tool/ProgramName.h"
#include "env_tool/StartScript.h"
#include "platform/Environment.h"

// Varset has no window, no command line and no messages: it sets the machine environment, starts
// the engine's start script and ends, whatever went wrong on the way.
int main(int argc, char** argv)
{
    try {
        varset::setProgramName(varset::programNameFromPath(argc > 0 && argv[0] ? argv[0] : ""));
        varset::runEnvironmentSetup(&orvant::platform::broadcastEnvironmentChange,
                                    [] { return varset::startScript(); });
    } catch (...) {
        // Nothing is reported, not even an unforeseen failure.
    }
    return 0;
}
