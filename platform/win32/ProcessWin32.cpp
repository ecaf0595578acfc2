#include "platform/Process.h"
#include "platform/TextCodec.h"

#include <algorithm>
#include <windows.h>
// Shell headers rely on the declarations of windows.h.
#include <shellapi.h>

namespace orvant::platform {

namespace {

class Win32StartedProgram : public StartedProgram
{
public:
    explicit Win32StartedProgram(HANDLE process)
        : m_process(process)
    {
    }
    ~Win32StartedProgram() override
    {
        if (m_process) {
            CloseHandle(m_process);
        }
    }
    Win32StartedProgram(const Win32StartedProgram&) = delete;
    Win32StartedProgram& operator=(const Win32StartedProgram&) = delete;

    bool waitForExit(std::chrono::milliseconds timeout) override
    {
        if (!m_process) {
            return true; // the shell handed the file to a running program: nothing of ours to wait for
        }
        const auto limit = std::clamp<long long>(timeout.count(), 0, INFINITE - 1);
        return WaitForSingleObject(m_process, static_cast<DWORD>(limit)) == WAIT_OBJECT_0;
    }

private:
    HANDLE m_process;
};

} // namespace

std::unique_ptr<StartedProgram> startProgram(const std::string& program, const std::string& parameters,
                                             const std::string& workingFolder, WindowMode mode)
{
    const std::string file = utf8ToAnsi(program);
    const std::string arguments = utf8ToAnsi(parameters);
    const std::string folder = utf8ToAnsi(workingFolder);

    SHELLEXECUTEINFOA info {};
    info.cbSize = sizeof info;
    // NO_UI: a program that cannot be started is not reported to the operator. NOASYNC: the caller
    // may end right after the start (the upgrade launcher does).
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
    info.lpVerb = nullptr;
    info.lpFile = file.c_str();
    info.lpParameters = arguments.empty() ? nullptr : arguments.c_str();
    info.lpDirectory = folder.empty() ? nullptr : folder.c_str();
    info.nShow = mode == WindowMode::Hidden ? SW_HIDE : SW_SHOWMINIMIZED;
    if (!ShellExecuteExA(&info)) {
        return nullptr;
    }
    return std::make_unique<Win32StartedProgram>(info.hProcess);
}

} // namespace orvant::platform
