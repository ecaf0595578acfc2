#include "platform/Terminal.h"
#include "platform/TextCodec.h"

#include <io.h>
#include <iostream>
#include <windows.h>

namespace orvant::platform {

bool standardInputIsTerminal()
{
    return _isatty(_fileno(stdin)) != 0;
}

std::optional<std::string> readPasswordFromTerminal(const std::string& prompt)
{
    std::cerr << prompt << std::flush;
    HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    DWORD mode = 0;
    const bool console = GetConsoleMode(input, &mode) != 0;
    if (console) {
        SetConsoleMode(input, mode & ~static_cast<DWORD>(ENABLE_ECHO_INPUT));
    }
    std::string line;
    const bool gotLine = static_cast<bool>(std::getline(std::cin, line));
    if (console) {
        SetConsoleMode(input, mode);
    }
    std::cerr << '\n';
    if (!gotLine) {
        return std::nullopt;
    }
    // The console hands over ANSI text.
    return ansiToUtf8(line);
}

} // namespace orvant::platform
