#pragma once

#include <chrono>
#include <memory>
#include <string>

namespace orvant::platform {

enum class WindowMode
{
    Hidden,          // SW_HIDE
    MinimizedActive, // SW_SHOWMINIMIZED
};

// A started program. Dropping the handle does not wait for the program or end it; it is reaped by
// the system layer all the same (never a zombie).
class StartedProgram
{
public:
    virtual ~StartedProgram() = default;
    // Waits until the program has ended or the time has passed; true when it has ended.
    virtual bool waitForExit(std::chrono::milliseconds timeout) = 0;
};

// Starts a program without waiting for it, as ShellExecuteA("open") does: `program` and
// `workingFolder` are stored paths (Windows form allowed), `parameters` a Windows command-line
// string. On POSIX the parameters are split as Windows splits a command line and each word that is a
// Windows-form path ("C:\..." or "..\x") is converted with toNativePath. Returns nothing when the
// program could not be started.
std::unique_ptr<StartedProgram> startProgram(const std::string& program, const std::string& parameters,
                                             const std::string& workingFolder, WindowMode mode);

} // namespace orvant::platform
