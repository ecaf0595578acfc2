#pragma once

#include "config_tool/tarnctl/Commands.h"

#include <cstddef>
#include <string_view>
#include <vector>

namespace tarn::ctl {

// What a command needs before its own work, done for it by runCommand in this order: the login, the
// installation lock, the load the window's start-up makes.
enum class Preamble
{
    None, // the command logs in itself (passwd: a fresh installation has nobody to log in)
    Lock, // no login (verify)
    LogInAndLock, // the files without the loaded instances (backups, rollback)
    LogInLockAndLoad, // the loaded instances
};

// One command of tarnctl, declared once: the command line's check, the preamble and --help come from here.
struct CommandSpec
{
    std::string_view name;
    std::string_view arguments; // as --help shows them: "[INSTANCE] NAME=VALUE..."
    std::size_t leastArguments;
    std::size_t mostArguments;
    bool takesDryRun; // the command saves, and --dry-run shows the save instead
    Preamble preamble;
    InstallationLock::Kind lock; // exclusive for a command that saves
    ExitStatus (*run)(CommandContext&);
    std::string_view summary; // --help's description, lines of at most 57 characters
    // Checked before the password is asked for, where the arguments' count says too little; nullptr: none.
    ExitStatus (*checkArguments)(CommandContext&) = nullptr;
    bool takesJson = false; // --json gives the command's output as JSON (any dry run takes it too)
};

constexpr std::size_t kAnyNumber = static_cast<std::size_t>(-1);

// The commands in the order --help lists them.
const std::vector<CommandSpec>& commandTable();
const CommandSpec* findCommand(std::string_view name);

// The command's preamble, then the command.
ExitStatus runCommand(const CommandSpec& command, CommandContext& context);

} // namespace tarn::ctl
