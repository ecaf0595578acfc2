#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace tarn::ctl {

enum class PasswordSource
{
    Terminal, // asked without echo when standard input is a terminal
    File, // --password-file FILE
    StandardInput, // --password-stdin
};

struct CommandLine
{
    bool help = false;
    bool version = false; // --version: print the product version and stop
    std::optional<std::string> home; // --home, overrides KELBRIN_HOME
    // --wait: how long a run waits for another run (or a window) that is saving the same installation.
    std::chrono::milliseconds wait { 5000 };
    bool dryRun = false; // --dry-run: run the checks and show the save without making it
    bool json = false; // --json: the command's output as one JSON document
    // --changed-exit N: the status of a save that changed something (or a dry run that would).
    std::optional<int> changedExit;
    PasswordSource passwordSource = PasswordSource::Terminal;
    std::string passwordFile;
    std::string command;
    std::vector<std::string> arguments; // what follows the command
};

struct ParsedCommandLine
{
    CommandLine commandLine;
    std::string error; // empty when the line could be understood
};

// Options come before the command; "--help" anywhere asks for the help text, "--version" before the
// command for the version.
ParsedCommandLine parseCommandLine(const std::vector<std::string>& arguments);

// The full help text, with the output formats and exit statuses scripts rely on.
std::string helpText();

// "tarnctl (ORVANT set-up) VERSION", the product version, for --version.
std::string versionText();

// One line pointing to --help, for usage errors.
std::string usageHint();

} // namespace tarn::ctl
