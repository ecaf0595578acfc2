#include "config_tool/tarnctl/CommandTable.h"

#include "config_tool/tarnctl/CommandSupport.h"

#include <algorithm>

namespace tarn::ctl {

namespace {

using Kind = InstallationLock::Kind;

} // namespace

const std::vector<CommandSpec>& commandTable()
{
    static const std::vector<CommandSpec> commands {
        { "passwd", "[USER]", 0, 1, false, Preamble::None, Kind::Exclusive, runPasswd,
          "set a configuration user's password (default Administrator).\n"
          "While the user file has no Administrator entry (a fresh\n"
          "installation) no login is needed and only the Administrator\n"
          "can be set. The new password, trimmed, needs 7 characters." },
        { "list", "", 0, 0, false, Preamble::LogInLockAndLoad, Kind::Shared, runList, "one line per instance", nullptr,
          true },
        { "show", "[INSTANCE]", 0, 1, false, Preamble::LogInLockAndLoad, Kind::Shared, runShow,
          "the settings as NAME=VALUE lines", nullptr, true },
        { "set", "[INSTANCE] NAME=VALUE...", 1, kAnyNumber, true, Preamble::LogInLockAndLoad, Kind::Exclusive, runSet,
          "change settings, then save as the window's OK does", checkSetArguments },
        { "add-instance", "", 0, 0, true, Preamble::LogInLockAndLoad, Kind::Exclusive, runAddInstance,
          "create the next instance as \"Add New\" does, then save as OK" },
        { "apply", "", 0, 0, true, Preamble::LogInLockAndLoad, Kind::Exclusive, runApply,
          "save as OK without changes (rewrites the engine's files)" },
        { "export", "", 0, 0, false, Preamble::LogInLockAndLoad, Kind::Shared, runExport,
          "the whole configuration as one JSON document: the\n"
          "configuration mode, the common settings and each\n"
          "instance's settings by name; no password, nothing the\n"
          "engine keeps (NextReceiptNumber)",
          nullptr, true },
        { "import", "FILE|-", 1, 1, true, Preamble::LogInLockAndLoad, Kind::Exclusive, runImport,
          "make the installation match a document as export\n"
          "writes it (- reads standard input), as one save as OK\n"
          "does: instances it names that are missing are added as\n"
          "\"Add New\" does, in number order; instances and\n"
          "settings it leaves out are left as they are. A\n"
          "document with an unknown setting, a value the window\n"
          "would refuse or another version is refused whole",
          checkImportArguments },
        { "verify", "", 0, 0, false, Preamble::Lock, Kind::Shared, runVerify,
          "recompute the ConfigHash of the configuration file and\n"
          "compare it with properties\\instance.properties",
          nullptr, true },
        { "backups", "", 0, 0, false, Preamble::LogInAndLock, Kind::Shared, runBackups,
          "the backups of earlier saves, oldest first", nullptr, true },
        { "rollback", "[ID]", 0, 1, false, Preamble::LogInAndLock, Kind::Exclusive, runRollback,
          "put back what the save of backup ID (default the newest)\n"
          "changed, as one save that is itself backed up and logged" },
    };
    return commands;
}

const CommandSpec* findCommand(std::string_view name)
{
    const auto& commands = commandTable();
    const auto it
        = std::find_if(commands.begin(), commands.end(), [name](const CommandSpec& c) { return c.name == name; });
    return it == commands.end() ? nullptr : &*it;
}

ExitStatus runCommand(const CommandSpec& command, CommandContext& context)
{
    if (command.checkArguments) {
        if (const ExitStatus checked = command.checkArguments(context); checked != ExitStatus::Done) {
            return checked;
        }
    }
    if (command.preamble == Preamble::LogInAndLock || command.preamble == Preamble::LogInLockAndLoad) {
        if (const ExitStatus login = logIn(context); login != ExitStatus::Done) {
            return login;
        }
    }
    if (command.preamble != Preamble::None) {
        if (const ExitStatus locked = lockInstallation(context, command.lock); locked != ExitStatus::Done) {
            return locked;
        }
    }
    if (command.preamble == Preamble::LogInLockAndLoad) {
        if (const ExitStatus loaded = loadInstances(context, command.lock); loaded != ExitStatus::Done) {
            return loaded;
        }
    }
    return command.run(context);
}

} // namespace tarn::ctl
