#include "tests/support/ChildProgram.h"

#include <algorithm>
#include <mutex>
#include <windows.h>

namespace orvant::test {

namespace {

// One word of a command line as CommandLineToArgvW and the C runtime split it back.
std::string commandLineWord(const std::string& word)
{
    if (!word.empty() && word.find_first_of(" \t\n\v\"") == std::string::npos) {
        return word;
    }
    std::string text = "\"";
    std::size_t backslashes = 0;
    for (const char c : word) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        // Backslashes before a quote are doubled, and the quote escaped.
        text.append(c == '"' ? 2 * backslashes + 1 : backslashes, '\\');
        backslashes = 0;
        text += c;
    }
    text.append(2 * backslashes, '\\');
    text += '"';
    return text;
}

HANDLE openStream(const std::filesystem::path& path, bool forWriting)
{
    SECURITY_ATTRIBUTES inheritable { sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE };
    const std::wstring name = path.empty() ? L"NUL" : path.wstring();
    return CreateFileW(name.c_str(), forWriting ? GENERIC_WRITE : GENERIC_READ,
                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, &inheritable,
                       forWriting ? CREATE_ALWAYS : OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

} // namespace

ChildProgram::ChildProgram(const std::string& program, const std::vector<std::string>& arguments,
                           const Streams& streams)
{
    std::string nativeProgram = program;
    std::replace(nativeProgram.begin(), nativeProgram.end(), '/', '\\');
    std::string commandLine = commandLineWord(nativeProgram);
    for (const auto& argument : arguments) {
        commandLine += ' ';
        commandLine += commandLineWord(argument);
    }
    // Every inheritable handle goes to every child started meanwhile: one start at a time, so that a
    // child holds no other child's files open.
    static std::mutex starting;
    const std::lock_guard oneAtATime(starting);
    STARTUPINFOA startup {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = openStream(streams.input, false);
    startup.hStdOutput = openStream(streams.output, true);
    startup.hStdError = openStream(streams.errors, true);
    PROCESS_INFORMATION process {};
    if (CreateProcessA(nativeProgram.c_str(), commandLine.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                       nullptr, &startup, &process)) {
        CloseHandle(process.hThread);
        m_handle = reinterpret_cast<std::intptr_t>(process.hProcess);
    }
    for (const HANDLE stream : { startup.hStdInput, startup.hStdOutput, startup.hStdError }) {
        if (stream != INVALID_HANDLE_VALUE) {
            CloseHandle(stream);
        }
    }
}

ChildProgram::~ChildProgram()
{
    if (started() && !m_ended) {
        kill();
    }
    if (started()) {
        CloseHandle(reinterpret_cast<HANDLE>(m_handle));
    }
}

bool ChildProgram::started() const
{
    return m_handle != -1;
}

int ChildProgram::wait()
{
    if (started() && !m_ended) {
        const HANDLE process = reinterpret_cast<HANDLE>(m_handle);
        WaitForSingleObject(process, INFINITE);
        DWORD code = 0;
        GetExitCodeProcess(process, &code);
        m_status = m_killed ? -1 : static_cast<int>(code);
        m_ended = true;
    }
    return m_status;
}

void ChildProgram::kill()
{
    if (started() && !m_ended) {
        TerminateProcess(reinterpret_cast<HANDLE>(m_handle), 1);
        m_killed = true;
        wait();
    }
}

std::string consoleText(std::string printed)
{
    std::string text;
    for (std::size_t i = 0; i < printed.size(); ++i) {
        if (!(printed[i] == '\r' && i + 1 < printed.size() && printed[i + 1] == '\n')) {
            text += printed[i];
        }
    }
    return text;
}

} // namespace orvant::test
