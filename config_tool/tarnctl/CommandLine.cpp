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
        std::string saving;
        for (const auto& other : commandTable()) {
            if (other.takesDryRun) {
                saving += (saving.empty() ? "" : ", ") + std::string(other.name);
            }
        }
        parsed.error = "--dry-run goes with " + saving.replace(saving.rfind(", "), 2, " and ");
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
