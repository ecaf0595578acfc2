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

    // What to do when there is no lock file yet.
    enum class Missing
    {
        Create, // create it, where its folder may be written
        Skip, // leave the installation as it is (a run that writes nothing)
    };

    enum class Outcome
    {
        Locked,
        Held, // another lock keeps this one out for now
        NoLockFile, // there is none, and it was not to be created or its folder is read-only
        Refused, // something is at the path but cannot be opened and locked: a lock file this user may
                 // not open, a symbolic link, a folder; `error` says which
    };

    struct Attempt
    {
        Outcome outcome = Outcome::NoLockFile;
        std::unique_ptr<FileLock> lock;
        std::string error;
    };

    // Tries once, without waiting. The lock file is a stored path; a symbolic link at that path is never
    // followed, neither to create the file nor to open it. A lock file that may only be read still serves.
    static Attempt tryLock(std::string_view lockFile, Kind kind, Missing missing);

    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

private:
    explicit FileLock(std::intptr_t handle);
    std::intptr_t m_handle;
};

} // namespace orvant::platform
