#include "platform/posix/HiveLock.h"

#include "platform/FileSystem.h"
#include "platform/Registry.h"

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orvant::platform {

namespace {

namespace fs = std::filesystem;

constexpr long kErrorWriteFault = 29; // ERROR_WRITE_FAULT

bool canWrite(const fs::path& path, const struct stat& status)
{
    return (status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0 && ::access(path.c_str(), W_OK) == 0;
}

bool canRead(const fs::path& path, const struct stat& status)
{
    return (status.st_mode & (S_IRUSR | S_IRGRP | S_IROTH)) != 0 && ::access(path.c_str(), R_OK) == 0;
}

// The hive's folder can take a new file: it is writable, or it is missing and its nearest existing
// parent is writable (then it is created when create is set).
bool prepareFolder(const fs::path& folder, bool create)
{
    struct stat status
    {
    };
    if (::stat(folder.c_str(), &status) == 0) {
        return S_ISDIR(status.st_mode) && canWrite(folder, status);
    }
    if (errno != ENOENT) {
        return false;
    }
    fs::path ancestor = folder;
    do {
        if (ancestor == ancestor.parent_path()) {
            return false;
        }
        ancestor = ancestor.parent_path();
    } while (::stat(ancestor.c_str(), &status) != 0 && errno == ENOENT);
    if (::stat(ancestor.c_str(), &status) != 0 || !S_ISDIR(status.st_mode) || !canWrite(ancestor, status)) {
        return false;
    }
    if (!create) {
        return true;
    }
    std::error_code error;
    fs::create_directories(folder, error);
    return fs::is_directory(folder, error);
}

// A writer must be able to read the old file back (to keep what it holds) and to replace it.
bool hiveFileWritable(const fs::path& file)
{
    struct stat status
    {
    };
    if (::stat(file.c_str(), &status) != 0) {
        return errno == ENOENT;
    }
    return S_ISREG(status.st_mode) && canRead(file, status) && canWrite(file, status);
}

bool writable(const std::string& hiveFile, bool createFolder)
{
    const fs::path file = fs::absolute(hiveFile);
    return prepareFolder(file.parent_path(), createFolder) && hiveFileWritable(file);
}

} // namespace

HiveLock::HiveLock(std::string hiveFile)
    : m_hiveFile(std::move(hiveFile))
{
    if (!writable(m_hiveFile, true)) {
        m_result = kErrorAccessDenied;
        return;
    }
    const std::string lockFile = m_hiveFile + ".lock";
    m_lockFd = ::open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (m_lockFd < 0) {
        // flock needs no write access, so a lock file left read-only still serves.
        m_lockFd = ::open(lockFile.c_str(), O_RDONLY | O_CLOEXEC);
    }
    if (m_lockFd < 0) {
        m_result = kErrorAccessDenied;
        return;
    }
    while (::flock(m_lockFd, LOCK_EX) != 0) {
        if (errno != EINTR) {
            ::close(m_lockFd);
            m_lockFd = -1;
            m_result = kErrorAccessDenied;
            return;
        }
    }
}

HiveLock::~HiveLock()
{
    if (m_lockFd >= 0) {
        // Closing the descriptor releases the lock.
        ::close(m_lockFd);
    }
}

long HiveLock::load(RegeditFile& hive) const
{
    std::vector<RegeditProblem> problems;
    const long result = read(m_hiveFile, hive, &problems);
    if (result != kErrorSuccess) {
        return result;
    }
    return problems.empty() ? kErrorSuccess : kErrorInvalidData;
}

long HiveLock::store(const RegeditFile& hive, std::string* error) const
{
    // Like the Windows registry, hives are written back lazily: each change is atomic, not flushed.
    const FileResult written = writeFileAtomically(m_hiveFile, hive.serialise(), false, Durability::Deferred);
    if (!written.ok && error) {
        *error = written.error;
    }
    return written.ok ? kErrorSuccess : kErrorWriteFault;
}

long HiveLock::read(const std::string& hiveFile, RegeditFile& hive, std::vector<RegeditProblem>* problems)
{
    struct stat status
    {
    };
    if (::stat(hiveFile.c_str(), &status) != 0) {
        if (errno == ENOENT || errno == ENOTDIR) {
            hive = RegeditFile();
            return kErrorSuccess;
        }
        return kErrorAccessDenied;
    }
    if (!S_ISREG(status.st_mode) || !canRead(hiveFile, status)) {
        return kErrorAccessDenied;
    }
    std::ifstream in(hiveFile, std::ios::binary);
    const std::string bytes { std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>() };
    if (!in.good() && !in.eof()) {
        return kErrorAccessDenied;
    }
    hive = RegeditFile::parse(bytes, problems);
    return kErrorSuccess;
}

bool HiveLock::isWritable(const std::string& hiveFile)
{
    return writable(hiveFile, false);
}

} // namespace orvant::platform
