#include "platform/DirectWrites.h"
#include "platform/Paths.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orvant::platform {

namespace {

FileResult failure(std::string_view action, std::string_view path, int error)
{
    return { false, std::string(action) + " " + std::string(path) + ": " + std::strerror(error) };
}

} // namespace

FileResult createFolderNow(std::string_view path)
{
    const std::string native = toNativePath(path);
    struct stat info
    {
    };
    if (!native.empty() && ::stat(native.c_str(), &info) == 0) {
        return S_ISDIR(info.st_mode) ? FileResult { true, {} } : failure("Cannot create folder", path, EEXIST);
    }
    const auto slash = native.find_last_of('/');
    struct stat parent
    {
    };
    // A folder without a write bit is read-only for root too, as everywhere in this layer.
    if (slash != std::string::npos && slash > 0 && ::stat(native.substr(0, slash).c_str(), &parent) == 0
        && (parent.st_mode & 0222) == 0) {
        return failure("Cannot create folder", path, EACCES);
    }
    if (native.empty() || ::mkdir(native.c_str(), 0777) != 0) {
        return failure("Cannot create folder", path, native.empty() ? ENOENT : errno);
    }
    return { true, {} };
}

FileResult appendToFile(std::string_view path, std::string_view bytes)
{
    const std::string native = toNativePath(path);
    struct stat info
    {
    };
    if (!native.empty() && ::stat(native.c_str(), &info) == 0 && (info.st_mode & 0222) == 0) {
        return failure("Cannot write", path, EACCES);
    }
    const int fd = native.empty() ? -1 : ::open(native.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) {
        return failure("Cannot write", path, native.empty() ? ENOENT : errno);
    }
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    int error = errno;
    bool ok = written == static_cast<ssize_t>(bytes.size());
    if (ok && ::fsync(fd) != 0) {
        ok = false;
        error = errno;
    }
    ::close(fd);
    if (!ok) {
        return failure("Cannot write", path, written >= 0 ? ENOSPC : error);
    }
    return { true, {} };
}

} // namespace orvant::platform
