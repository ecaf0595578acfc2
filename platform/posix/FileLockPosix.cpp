#include "platform/FileLock.h"
#include "platform/Paths.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orvant::platform {

std::unique_ptr<FileLock> FileLock::tryLock(std::string_view lockFile, Kind kind, std::string& error)
{
    error.clear();
    const std::string native = toNativePath(lockFile);
    // A folder without write bits is read-only, for root too (see FileSystem.h): no lock file is made there.
    const auto slash = native.find_last_of('/');
    struct stat folder
    {
    };
    const bool folderWritable
        = ::stat(slash == std::string::npos ? "." : native.substr(0, slash + 1).c_str(), &folder) == 0
        && (folder.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0;
    int fd = folderWritable ? ::open(native.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666) : -1;
    if (fd < 0) {
        // flock needs no write access, so a lock file that may only be read still serves.
        fd = ::open(native.c_str(), O_RDONLY | O_CLOEXEC);
    }
    if (fd < 0) {
        error = "Cannot open the lock file " + std::string(lockFile) + ": " + std::strerror(errno);
        return nullptr;
    }
    const int operation = (kind == Kind::Exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB;
    int result = 0;
    do {
        result = ::flock(fd, operation);
    } while (result != 0 && errno == EINTR);
    if (result != 0) {
        if (errno != EWOULDBLOCK) {
            error = "Cannot lock " + std::string(lockFile) + ": " + std::strerror(errno);
        }
        ::close(fd);
        return nullptr;
    }
    return std::unique_ptr<FileLock>(new FileLock(fd));
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
