#pragma once

namespace tarn::ctl {

// The exit statuses scripts rely on; they are part of the documented interface.
enum class ExitStatus
{
    Done = 0,
    Refused = 1, // a check refused a value, a save or the new instance; verify found a mismatch
    Usage = 2, // the command line or its files cannot be used
    WrongPassword = 3, // the administrator login failed
    WriteFailed = 4, // a file could not be written
    Locked = 5, // another run or a window kept the installation locked for the whole --wait
};

inline int toInt(ExitStatus status)
{
    return static_cast<int>(status);
}

} // namespace tarn::ctl
