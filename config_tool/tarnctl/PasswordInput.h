#pragma once

#include "config_tool/tarnctl/CommandLine.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace tarn::ctl {

// Where passwords come from. Never from the command line or the environment, where other users of
// the machine could read them: a file, standard input, or the terminal without echo. A file or
// standard input holds one password per line, taken in the order the command asks for them.
class PasswordInput
{
public:
    PasswordInput(PasswordSource source, std::string file);

    // The next password as typed (nothing trimmed); nothing when there is none, and error() says why.
    // The prompt is shown only on a terminal.
    std::optional<std::string> next(const std::string& prompt);

    // True when passwords are typed on the terminal (a new password is then asked twice).
    bool typedOnTerminal() const { return m_source == PasswordSource::Terminal; }

    const std::string& error() const { return m_error; }

private:
    bool loadLines();

    PasswordSource m_source;
    std::string m_file;
    bool m_loaded = false;
    std::vector<std::string> m_lines;
    std::size_t m_nextLine = 0;
    std::string m_error;
};

} // namespace tarn::ctl
