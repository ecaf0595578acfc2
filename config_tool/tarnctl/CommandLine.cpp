#include "config_tool/tarnctl/CommandLine.h"

#include "config_tool/tarnctl/CommandTable.h"
#include "platform/AsciiText.h"

#include <array>
#include <string_view>

namespace tarn::ctl {

namespace {

// "--name VALUE" or "--name=VALUE"; i moves past what was taken.
bool takeOptionValue(const std::vector<std::string>& arguments, std::size_t& i, std::string_view option,
                     std::string& value, std::string& error)
{
    const std::string& argument = arguments[i];
    if (argument.size() > option.size() && argument.compare(0, option.size(), option) == 0
        && argument[option.size()] == '=') {
        value = argument.substr(option.size() + 1);
        return true;
    }
    if (i + 1 >= arguments.size()) {
        error = std::string(option) + " needs a value";
        return false;
    }
    value = arguments[++i];
    return true;
}

bool isOption(const std::string& argument, std::string_view option)
{
    return argument == option
        || (argument.size() > option.size() && argument.compare(0, option.size(), option) == 0
            && argument[option.size()] == '=');
}

// "a, b and c": the commands the table marks so.
std::string commandNames(bool CommandSpec::*mark)
{
    std::string names;
    for (const auto& command : commandTable()) {
        if (command.*mark) {
            names += (names.empty() ? "" : ", ") + std::string(command.name);
        }
    }
    const auto last = names.rfind(", ");
    return last == std::string::npos ? names : names.replace(last, 2, " and ");
}

} // namespace

ParsedCommandLine parseCommandLine(const std::vector<std::string>& arguments)
{
    ParsedCommandLine parsed;
    CommandLine& line = parsed.commandLine;
    bool passwordOptionSeen = false;
    std::size_t i = 0;
    for (; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--help" || argument == "-h") {
            line.help = true;
            return parsed;
        }
        if (argument == "--version") {
            line.version = true;
            return parsed;
        }
        if (isOption(argument, "--home")) {
            std::string home;
            if (!takeOptionValue(arguments, i, "--home", home, parsed.error)) {
                return parsed;
            }
            if (home.empty()) {
                parsed.error = "--home needs a folder";
                return parsed;
            }
            line.home = home;
            continue;
        }
        if (isOption(argument, "--wait")) {
            std::string seconds;
            if (!takeOptionValue(arguments, i, "--wait", seconds, parsed.error)) {
                return parsed;
            }
            if (seconds.empty() || seconds.size() > 5 || !orvant::ascii::isDigits(seconds)) {
                parsed.error = "--wait needs a whole number of seconds (0 to 99999)";
                return parsed;
            }
            line.wait = std::chrono::seconds(std::stoi(seconds));
            continue;
        }
        if (argument == "--dry-run") {
            line.dryRun = true;
            continue;
        }
        if (argument == "--json") {
            line.json = true;
            continue;
        }
        if (isOption(argument, "--changed-exit")) {
            std::string status;
            if (!takeOptionValue(arguments, i, "--changed-exit", status, parsed.error)) {
                return parsed;
            }
            // Apart from every status tarnctl gives itself, and from the shells' own (126 and up).
            if (status.empty() || status.size() > 3 || !orvant::ascii::isDigits(status) || std::stoi(status) < 6
                || std::stoi(status) > 125) {
                parsed.error = "--changed-exit needs a status from 6 to 125";
                return parsed;
            }
            line.changedExit = std::stoi(status);
            continue;
        }
        const bool fileOption = isOption(argument, "--password-file");
        if (fileOption || argument == "--password-stdin") {
            if (passwordOptionSeen) {
                parsed.error = "give the password one way only: --password-file or --password-stdin";
                return parsed;
            }
            passwordOptionSeen = true;
            if (fileOption) {
                if (!takeOptionValue(arguments, i, "--password-file", line.passwordFile, parsed.error)) {
                    return parsed;
                }
                line.passwordSource = PasswordSource::File;
            } else {
                line.passwordSource = PasswordSource::StandardInput;
            }
            continue;
        }
        if (!argument.empty() && argument.front() == '-') {
            parsed.error = "unknown option " + argument;
            return parsed;
        }
        break;
    }

    if (i == arguments.size()) {
        parsed.error = "no command given";
        return parsed;
    }
    line.command = arguments[i];
    line.arguments.assign(arguments.begin() + static_cast<std::ptrdiff_t>(i) + 1, arguments.end());
    if (line.arguments.size() == 1 && (line.arguments[0] == "--help" || line.arguments[0] == "-h")) {
        line.help = true;
        return parsed;
    }

    const CommandSpec* command = findCommand(line.command);
    if (!command) {
        parsed.error = "unknown command " + line.command;
        return parsed;
    }
    if (line.dryRun && !command->takesDryRun) {
        parsed.error = "--dry-run goes with " + commandNames(&CommandSpec::takesDryRun);
        return parsed;
    }
    if (line.changedExit && !command->takesDryRun) {
        parsed.error = "--changed-exit goes with " + commandNames(&CommandSpec::takesDryRun);
        return parsed;
    }
    if (line.json && !command->takesJson && !line.dryRun) {
        parsed.error = "--json goes with " + commandNames(&CommandSpec::takesJson) + ", and with --dry-run";
        return parsed;
    }
    if (line.arguments.size() < command->leastArguments) {
        parsed.error = "usage: tarnctl " + line.command + " " + std::string(command->arguments);
        return parsed;
    }
    if (line.arguments.size() > command->mostArguments) {
        parsed.error = "too many arguments for " + line.command;
        return parsed;
    }
    return parsed;
}

std::string usageHint()
{
    return "Try 'tarnctl --help' for the commands and options.";
}

} // namespace tarn::ctl
