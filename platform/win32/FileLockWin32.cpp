#include "platform/FileLock.h"
#include "platform/TextCodec.h"

#include <windows.h>

namespace orvant::platform {

std::unique_ptr<FileLock> FileLock::tryLock(std::string_view lockFile, Kind kind, std::string& error)
{
    error.clear();
    const std::string ansi = utf8ToAnsi(lockFile);
    constexpr DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    HANDLE file = CreateFileA(ansi.c_str(), GENERIC_READ | GENERIC_WRITE, share, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        // A lock file that may only be read still serves.
        file = CreateFileA(ansi.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    }
    if (file == INVALID_HANDLE_VALUE) {
        error
            = "Cannot open the lock file " + std::string(lockFile) + " (error " + std::to_string(GetLastError()) + ")";
        return nullptr;
    }
    OVERLAPPED whole {};
    const DWORD flags = LOCKFILE_FAIL_IMMEDIATELY | (kind == Kind::Exclusive ? LOCKFILE_EXCLUSIVE_LOCK : 0);
    if (!LockFileEx(file, flags, 0, MAXDWORD, MAXDWORD, &whole)) {
        const DWORD reason = GetLastError();
        if (reason != ERROR_LOCK_VIOLATION && reason != ERROR_IO_PENDING) {
            error = "Cannot lock " + std::string(lockFile) + " (error " + std::to_string(reason) + ")";
        }
        CloseHandle(file);
        return nullptr;
    }
    return std::unique_ptr<FileLock>(new FileLock(reinterpret_cast<std::intptr_t>(file)));
}

FileLock::FileLock(std::intptr_t handle)
    : m_handle(handle)
{
}

FileLock::~FileLock()
{
    // Closing the handle releases the lock.
    CloseHandle(reinterpret_cast<HANDLE>(m_handle));
}

} // namespace orvant::platform
