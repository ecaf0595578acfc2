#pragma once

#include <optional>
#include <string>

namespace orvant::platform {

// True when standard input is an interactive terminal.
bool standardInputIsTerminal();

// Shows the prompt on standard error and reads one line from the terminal with echo switched off;
// echo comes back afterwards, also when the program is interrupted while waiting. Nothing at end of
// input.
std::optional<std::string> readPasswordFromTerminal(const std::string& prompt);

} // namespace orvant::platform
