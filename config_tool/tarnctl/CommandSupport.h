#pragma once

#include "config_tool/session/ConfigSession.h"
#include "config_tool/session/InstallationLock.h"
#include "config_tool/session/SaveTransaction.h"
#include "config_tool/tarnctl/Commands.h"

#include <cstddef>
#include <optional>
#include <string>

namespace tarn::ctl {

// Asks for the administrator's password and checks it as the login window does. Done when the login
// passed; Usage when no password could be had; WrongPassword when the login refused it.
ExitStatus logIn(CommandContext& context);

// Takes the installation lock for the rest of the command (context.lock): exclusive for a command that
// saves, shared for one that only reads; a dry run waits like a reader and makes no lock file. Done, or
// Locked (with a message) when another program held it for the whole --wait or a save's lock file
// cannot be opened. An installation whose lock file cannot be made is used without the lock.
ExitStatus lockInstallation(CommandContext& context, InstallationLock::Kind kind);

// The load the window's start-up makes (loadSession), into context.session. For a command that saves
// (an exclusive lock), WriteFailed when the configuration could not be loaded, nothing written.
ExitStatus loadInstances(CommandContext& context, InstallationLock::Kind kind);

// The record index that INSTANCE names: "Default", an instance number, or a section name
// ("Harbell_01"). Nothing when the installation has no such instance (the reason goes to err).
std::optional<std::size_t> resolveInstance(const ConfigSession& session, const std::string& name, std::ostream& err);

// What list shows of an instance.
struct InstanceSummary
{
    std::size_t number = 0;
    std::string section;
    std::string pinPad;
    std::string interfaceMethod; // "Socket" or "File"
    std::string port;
};
InstanceSummary instanceSummary(const ConfigSession& session, std::size_t index);

// One line of list: number, section, PIN pad, interface method and interface port, tab separated.
std::string instanceLine(const ConfigSession& session, std::size_t index);

// Add New: creates the next instance as the window's button does (its folders and files join the open
// save), adds it to the session and gives its index. Nothing, after the window's message, when it
// cannot be created.
std::optional<std::size_t> addNewInstance(ConfigSession& session);

// The window's OK after the edits, shown instance collected: the save's checks run first and a refusal
// shows the window's message and writes nothing; then the OK sequence itself. Done, Refused when a
// check refused, WriteFailed when a file could not be written.
ExitStatus saveAsOk(ConfigSession& session);

// The save transaction a saving command opens: a dry run with --dry-run.
SaveTransaction::Kind saveKindOf(const CommandContext& context);

// Ends the command's save transaction after its edits and save gave status: a dry run prints its
// changes (see dryRunLine, or as JSON with --json) and keeps status; a real save writes its backup, files and audit
// lines, and a file among them that could not be written is reported and gives WriteFailed. A command that was refused
// or not understood writes nothing. Notes in context whether the save changed (or would change) anything, for
// --changed-exit.
ExitStatus finishSave(CommandContext& context, SaveTransaction& save, ExitStatus status);

// The save's checks as the OK sequence runs them: the five uniqueness checks (the first refusal shows
// its message) and every record's card inactivity timeout; before them, a new Base Directory must hold
// the instance folders (where the window asks). Messages go to the UI services.
bool passesSaveChecks(const ConfigSession& session);

} // namespace tarn::ctl
