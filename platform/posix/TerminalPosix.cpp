#include "platform/Terminal.h"

#include <csignal>
#include <iostream>
#include <termios.h>
#include <unistd.h>

namespace orvant::platform {

namespace {

// The terminal settings to restore when a signal ends the program while echo is off.
termios g_savedTerminal {};
volatile std::sig_atomic_t g_echoOff = 0;

extern "C" void restoreEchoAndReraise(int signalNumber)
{
    if (g_echoOff) {
        ::tcsetattr(STDIN_FILENO, TCSANOW, &g_savedTerminal);
    }
    std::signal(signalNumber, SIG_DFL);
    std::raise(signalNumber);
}

class EchoOff
{
public:
    EchoOff()
    {
        if (::tcgetattr(STDIN_FILENO, &g_savedTerminal) != 0) {
            return;
        }
        m_previousInt = std::signal(SIGINT, restoreEchoAndReraise);
        m_previousTerm = std::signal(SIGTERM, restoreEchoAndReraise);
        m_previousHup = std::signal(SIGHUP, restoreEchoAndReraise);
        termios quiet = g_savedTerminal;
        quiet.c_lflag &= static_cast<tcflag_t>(~ECHO);
        quiet.c_lflag |= ECHONL;
        g_echoOff = ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet) == 0 ? 1 : 0;
        m_active = true;
    }

    ~EchoOff()
    {
        if (!m_active) {
            return;
        }
        if (g_echoOff) {
            ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &g_savedTerminal);
            g_echoOff = 0;
        }
        std::signal(SIGINT, m_previousInt);
        std::signal(SIGTERM, m_previousTerm);
        std::signal(SIGHUP, m_previousHup);
    }

    EchoOff(const EchoOff&) = delete;
    EchoOff& operator=(const EchoOff&) = delete;

private:
    bool m_active = false;
    void (*m_previousInt)(int) = SIG_DFL;
    void (*m_previousTerm)(int) = SIG_DFL;
    void (*m_previousHup)(int) = SIG_DFL;
};

} // namespace

bool standardInputIsTerminal()
{
    return ::isatty(STDIN_FILENO) == 1;
}

std::optional<std::string> readPasswordFromTerminal(const std::string& prompt)
{
    std::cerr << prompt << std::flush;
    std::string line;
    bool gotLine = false;
    {
        const EchoOff quiet;
        gotLine = static_cast<bool>(std::getline(std::cin, line));
    }
    if (!gotLine) {
        std::cerr << '\n';
        return std::nullopt;
    }
    return line;
}

} // namespace orvant::platform
