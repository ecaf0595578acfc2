#pragma once

#include <chrono>
#include <memory>
#include <string>

namespace orvant::platform {

enum class WindowMode
{
    Hidden, // SW_HIDE
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

// Starts a program without waiting for it, as ShellExecuteA with the default verb does: `program` and
// `workingFolder` are stored paths (Windows form allowed; an empty folder keeps the caller's),
// `parameters` a Windows command-line string. Returns nothing when the program could not be started
// (missing, not executable, missing working folder); that is known before the call returns.
// On POSIX:
//  - the parameters are split as CommandLineToArgvW splits them, and each word that is a Windows-form
//    path is converted with toNativePath: a word with a drive prefix ("C:\x", "C:/x"), or a word
//    with a "\" that is no option ("..\x", "lib\x.jar", "\x"; "-Dx=C:\y" stays as it is);
//    relative paths are matched against the working folder, where the program will run;
//  - a bare program name is looked for in the working folder first, then on PATH;
//  - the child runs in its own session with standard input, output and error on /dev/null and no
//    other inherited descriptors; the window mode has no meaning there;
//  - a thread per child waits for it and reaps it, whether or not the handle is still held.
std::unique_ptr<StartedProgram> startProgram(const std::string& program, const std::string& parameters,
                                             const std::string& workingFolder, WindowMode mode);

} // namespace orvant::platform
