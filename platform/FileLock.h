#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace orvant::platform {

// An advisory lock on a lock file, held while the object lives and released by the system when the
// process ends in any way, a kill included. Exclusive locks keep out every other lock; shared locks
// keep out exclusive ones only. Locks are per open file, so two locks of one process on the same file
// wait for each other as two processes would. POSIX: flock(); Windows: LockFileEx() on the whole file.
class FileLock
{
public:
    enum class Kind
    {
        Shared,
        Exclusive,
    };

    // Tries once, without waiting. The lock file (a stored path) is created when missing; when it cannot
    // be created an existing one is opened for reading, which still serves. Nothing when the lock is held
    // elsewhere; `error` is then empty. Nothing, with the reason in `error`, when the file can be neither
    // created nor opened.
    static std::unique_ptr<FileLock> tryLock(std::string_view lockFile, Kind kind, std::string& error);

    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

private:
    explicit FileLock(std::intptr_t handle);
    std::intptr_t m_handle;
};

} // namespace orvant::platform
