#include "platform/FileLock.h"
#include "platform/TextCodec.h"

#include <windows.h>

namespace orvant::platform {

namespace {

FileLock::Attempt refused(std::string_view lockFile, const std::string& reason)
{
    return { FileLock::Outcome::Refused, nullptr,
             "Cannot open the lock file " + std::string(lockFile) + ": " + reason };
}

} // namespace

FileLock::Attempt FileLock::tryLock(std::string_view lockFile, Kind kind, Missing missing)
{
    const std::string ansi = utf8ToAnsi(lockFile);
    constexpr DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    // FILE_FLAG_OPEN_REPARSE_POINT opens a link at the path itself, which is then refused: a link planted
    // there must not lead the file's creation elsewhere.
    constexpr DWORD flags = FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT;
    HANDLE file = INVALID_HANDLE_VALUE;
    if (missing == Missing::Create) {
        file = CreateFileA(ansi.c_str(), GENERIC_READ | GENERIC_WRITE, share, nullptr, OPEN_ALWAYS, flags, nullptr);
    }
    if (file == INVALID_HANDLE_VALUE) {
        // A lock file that may only be read still serves.
        file = CreateFileA(ansi.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING, flags, nullptr);
    }
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        if (GetFileAttributesA(ansi.c_str()) == INVALID_FILE_ATTRIBUTES
            && (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND || error == ERROR_ACCESS_DENIED)) {
            return { Outcome::NoLockFile, nullptr, {} };
        }
        return refused(lockFile, "error " + std::to_string(error));
    }
    BY_HANDLE_FILE_INFORMATION information {};
    if (!GetFileInformationByHandle(file, &information)
        || (information.dwFileAttributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY))) {
        CloseHandle(file);
        return refused(lockFile, "it is not a file");
    }
    OVERLAPPED whole {};
    const DWORD lockFlags = LOCKFILE_FAIL_IMMEDIATELY | (kind == Kind::Exclusive ? LOCKFILE_EXCLUSIVE_LOCK : 0);
    if (!LockFileEx(file, lockFlags, 0, MAXDWORD, MAXDWORD, &whole)) {
        const DWORD reason = GetLastError();
        CloseHandle(file);
        if (reason == ERROR_LOCK_VIOLATION || reason == ERROR_IO_PENDING) {
            return { Outcome::Held, nullptr, {} };
        }
        return { Outcome::Refused, nullptr,
                 "Cannot lock " + std::string(lockFile) + " (error " + std::to_string(reason) + ")" };
    }
    return { Outcome::Locked, std::unique_ptr<FileLock>(new FileLock(reinterpret_cast<std::intptr_t>(file))), {} };
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
