#pragma once

#include "config_tool/session/ConfigSession.h"
#include "config_tool/session/InstallationLock.h"
#include "config_tool/tarnctl/CommandLine.h"
#include "config_tool/tarnctl/ExitStatus.h"
#include "config_tool/tarnctl/PasswordInput.h"

#include <ostream>

namespace tarn::ctl {

// What a command works with. The installation folder is already known (Globals); the core's own
// messages go to the UI services, tarnctl's to err. The command's preamble (CommandTable.h) fills in the
// lock and the loaded instances.
struct CommandContext
{
    const CommandLine& line;
    PasswordInput& passwords;
    std::ostream& out; // the stable output scripts read
    std::ostream& err;
    InstallationLock lock = {}; // held for the rest of the command
    ConfigSession session = {};
    bool changed = false; // the command's save changed something, or its dry run would (--changed-exit)
};

// set's arguments before anything else: an instance alone is no change.
ExitStatus checkSetArguments(CommandContext& context);
// import's document and the password cannot both come from standard input.
ExitStatus checkImportArguments(CommandContext& context);

ExitStatus runPasswd(CommandContext& context);
ExitStatus runList(CommandContext& context);
ExitStatus runShow(CommandContext& context);
ExitStatus runSet(CommandContext& context);
ExitStatus runAddInstance(CommandContext& context);
ExitStatus runApply(CommandContext& context);
ExitStatus runVerify(CommandContext& context);
ExitStatus runBackups(CommandContext& context);
ExitStatus runRollback(CommandContext& context);
ExitStatus runExport(CommandContext& context);
ExitStatus runImport(CommandContext& context);

} // namespace tarn::ctl
