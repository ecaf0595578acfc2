#include "platform/FileLock.h"
#include "platform/Paths.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orvant::platform {

namespace {

FileLock::Attempt refused(std::string_view lockFile, const char* reason)
{
    return { FileLock::Outcome::Refused, nullptr,
             "Cannot open the lock file " + std::string(lockFile) + ": " + reason };
}

} // namespace

FileLock::Attempt FileLock::tryLock(std::string_view lockFile, Kind kind, Missing missing)
{
    const std::string native = toNativePath(lockFile);
    // A folder without write bits is read-only, for root too (see FileSystem.h): no lock file is made there.
    const auto slash = native.find_last_of('/');
    struct stat folder
    {
    };
    const bool folderWritable
        = ::stat(slash == std::string::npos ? "." : native.substr(0, slash + 1).c_str(), &folder) == 0
        && (folder.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0;
    // O_NOFOLLOW: a link planted at the path must not lead the file's creation elsewhere. O_NONBLOCK: a
    // pipe planted there must not hold the program up; it is refused below.
    constexpr int kFlags = O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC;
    int fd
        = missing == Missing::Create && folderWritable ? ::open(native.c_str(), O_RDWR | O_CREAT | kFlags, 0644) : -1;
    if (fd < 0 && (missing == Missing::Skip || !folderWritable || errno == EACCES || errno == EROFS)) {
        // flock needs no write access, so a lock file that may only be read still serves.
        fd = ::open(native.c_str(), O_RDONLY | kFlags);
    }
    if (fd < 0) {
        if (errno == ENOENT) {
            return { Outcome::NoLockFile, nullptr, {} };
        }
        return refused(lockFile, errno == ELOOP ? "it is a symbolic link" : std::strerror(errno));
    }
    struct stat info
    {
    };
    // A file without any read or write bit is closed to this user, root included, as everywhere here.
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || (info.st_mode & 0666) == 0) {
        const bool file = S_ISREG(info.st_mode);
        ::close(fd);
        return refused(lockFile, file ? std::strerror(EACCES) : "it is not a file");
    }
    const int operation = (kind == Kind::Exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB;
    int result = 0;
    do {
        result = ::flock(fd, operation);
    } while (result != 0 && errno == EINTR);
    if (result != 0) {
        const int error = errno;
        ::close(fd);
        if (error == EWOULDBLOCK) {
            return { Outcome::Held, nullptr, {} };
        }
        return { Outcome::Refused, nullptr, "Cannot lock " + std::string(lockFile) + ": " + std::strerror(error) };
    }
    return { Outcome::Locked, std::unique_ptr<FileLock>(new FileLock(fd)), {} };
}

FileLock::FileLock(std::intptr_t handle)
    : m_handle(handle)
{
}

FileLock::~FileLock()
{
    // Closing the descriptor releases the lock.
    ::close(static_cast<int>(m_handle));
}

} // namespace orvant::platform
