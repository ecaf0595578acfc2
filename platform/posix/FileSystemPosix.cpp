#include "platform/DirectWrites.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"
#include "platform/TemporaryNames.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace orvant::platform {

namespace {

// Windows' read-only attribute stops administrators too, and the stored files are meant to be
// protected that way; root ignores permission bits, so the bits are checked here as well.
bool hasNoWriteBit(mode_t mode)
{
    return (mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}

bool hasNoReadBit(mode_t mode)
{
    return (mode & (S_IRUSR | S_IRGRP | S_IROTH)) == 0;
}

FileResult failure(std::string_view action, std::string_view path, int error)
{
    return { false, std::string(action) + " " + std::string(path) + ": " + std::strerror(error) };
}

std::string parentFolder(const std::string& path)
{
    std::string trimmed = path;
    while (trimmed.size() > 1 && trimmed.back() == '/') {
        trimmed.pop_back();
    }
    const auto slash = trimmed.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? std::string("/") : trimmed.substr(0, slash);
}

std::string baseName(const std::string& path)
{
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool writeAll(int fd, std::string_view bytes)
{
    std::size_t written = 0;
    while (written < bytes.size()) {
        const std::size_t chunk = std::min<std::size_t>(bytes.size() - written, 1 << 30);
        const ssize_t count = ::write(fd, bytes.data() + written, chunk);
        if (count < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        written += static_cast<std::size_t>(count);
    }
    return true;
}

void syncFolder(const std::string& folder)
{
    // Makes the rename itself durable. The new file is in place already, so a file system that
    // cannot sync folders does not turn the write into a failure.
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

constexpr std::string_view kWriteAction = "Cannot write";
constexpr std::string_view kRemoveAction = "Cannot remove";

std::string withoutTrailingSeparators(std::string path)
{
    while (path.size() > 1 && path.back() == '/') {
        path.pop_back();
    }
    return path;
}

// The native path of a stored path. toNativePath matches letter case against the disk only; in a batch,
// a path that is not on the disk is matched against what the batch creates as well.
std::string nativeInBatch(std::string_view storedPath)
{
    std::string native = toNativePath(storedPath);
    struct stat info
    {
    };
    if (!native.empty() && detail::batchOpen() && ::lstat(native.c_str(), &info) != 0) {
        native = detail::spelledAsKept(std::move(native), '/');
    }
    return native;
}

// The key of a stored path in the open batch: its native path without a separator at its end.
std::string batchKey(std::string_view storedPath)
{
    return withoutTrailingSeparators(nativeInBatch(storedPath));
}

// What the open batch makes of a path; Unknown without a batch.
detail::InBatch inBatch(std::string_view storedPath)
{
    return detail::batchOpen() ? detail::lookInBatch(batchKey(storedPath)) : detail::InBatch::Unknown;
}

std::string childPath(const std::string& folder, const std::string& name)
{
    return folder.empty() || folder.back() == '/' ? folder + name : folder + "/" + name;
}

// The names in a folder on the disk, unsorted; none when it cannot be listed.
std::vector<std::string> namesOnDisk(const std::string& native)
{
    std::vector<std::string> names;
    DIR* dir = native.empty() ? nullptr : ::opendir(native.c_str());
    if (!dir) {
        return names;
    }
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name(entry->d_name);
        if (name != "." && name != "..") {
            names.emplace_back(name);
        }
    }
    ::closedir(dir);
    return names;
}

// Where a write of the stored path goes, and whether it may: not a folder, not read-only, in a folder
// that exists and may be written.
struct WriteTarget
{
    std::string native; // the file a symbolic link points to, not the link
    std::string folder;
    struct stat old
    {
    };
    bool hadOld = false;
};

FileResult examineTarget(std::string_view storedPath, WriteTarget& target)
{
    target.native = nativeInBatch(storedPath);
    if (target.native.empty()) {
        return failure(kWriteAction, storedPath, ENOENT);
    }
    // In a batch, the folders it creates and removes count as done.
    const bool inBatch = detail::batchOpen();
    if (inBatch) {
        if (detail::lookInBatch(withoutTrailingSeparators(target.native)) == detail::InBatch::Folder) {
            return failure(kWriteAction, storedPath, EISDIR);
        }
    }
    struct stat info
    {
    };
    if (::lstat(target.native.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) {
        if (char* real = ::realpath(target.native.c_str(), nullptr)) {
            target.native = real;
            std::free(real);
        }
    }
    if (::stat(target.native.c_str(), &target.old) == 0) {
        if (S_ISDIR(target.old.st_mode)) {
            return failure(kWriteAction, storedPath, EISDIR);
        }
        if (hasNoWriteBit(target.old.st_mode)) {
            return failure(kWriteAction, storedPath, EACCES);
        }
        target.hadOld = true;
    } else if (errno != ENOENT) {
        return failure(kWriteAction, storedPath, errno);
    }
    target.folder = parentFolder(target.native);
    if (inBatch) {
        switch (detail::lookInBatch(target.folder)) {
        case detail::InBatch::Folder:
            return { true, {} };
        case detail::InBatch::Gone:
            return failure(kWriteAction, storedPath, ENOENT);
        case detail::InBatch::File:
            return failure(kWriteAction, storedPath, ENOTDIR);
        case detail::InBatch::Unknown:
            break;
        }
    }
    struct stat folderInfo
    {
    };
    if (::stat(target.folder.c_str(), &folderInfo) != 0) {
        return failure(kWriteAction, storedPath, errno);
    }
    if (!S_ISDIR(folderInfo.st_mode)) {
        return failure(kWriteAction, storedPath, ENOTDIR);
    }
    if (hasNoWriteBit(folderInfo.st_mode)) {
        return failure(kWriteAction, storedPath, EACCES);
    }
    return { true, {} };
}

// The one writer behind writeFileAtomically, copyFile and the write batch. `mode` forces the new file's
// permission bits; without it the new file keeps those of the file it replaces, or gets the umask
// default.
FileResult replaceFile(std::string_view storedPath, std::string_view bytes, std::optional<mode_t> mode,
                       Durability durability)
{
    static constexpr std::string_view action = kWriteAction;
    WriteTarget examined;
    if (auto refused = examineTarget(storedPath, examined); !refused.ok) {
        return refused;
    }
    const std::string& target = examined.native;
    const std::string& folder = examined.folder;
    const struct stat& old = examined.old;
    const bool hadOld = examined.hadOld;

    std::string temporary;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temporary = temporaryNameBeside(folder, '/', baseName(target));
        fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) {
            return failure(action, storedPath, errno);
        }
    }
    if (fd < 0) {
        return failure(action, storedPath, EEXIST);
    }
    const auto abandon = [&](int error) {
        if (fd >= 0) {
            ::close(fd);
        }
        ::unlink(temporary.c_str());
        return failure(action, storedPath, error);
    };

    if (!mode && hadOld) {
        // Best effort: only root may give the file back to another owner. Before fchmod, because
        // fchown clears set-id bits.
        if (old.st_uid != ::geteuid() || old.st_gid != ::getegid()) {
            [[maybe_unused]] const int ignored = ::fchown(fd, old.st_uid, old.st_gid);
        }
        mode = old.st_mode & 07777;
    }
    if (mode && ::fchmod(fd, *mode) != 0) {
        return abandon(errno);
    }
    if (!writeAll(fd, bytes)) {
        return abandon(errno);
    }
    if (durability == Durability::Flushed && ::fsync(fd) != 0) {
        return abandon(errno);
    }
    const int closed = ::close(fd);
    fd = -1;
    if (closed != 0) {
        return abandon(errno);
    }
    if (::rename(temporary.c_str(), target.c_str()) != 0) {
        return abandon(errno);
    }
    if (durability == Durability::Flushed) {
        syncFolder(folder);
    }
    return { true, {} };
}

FileResult readNative(std::string_view storedPath, const std::string& native, std::string& bytes, mode_t* mode)
{
    static constexpr std::string_view action = "Cannot read";
    const int fd = ::open(native.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return failure(action, storedPath, errno);
    }
    struct stat info
    {
    };
    if (::fstat(fd, &info) != 0) {
        const int error = errno;
        ::close(fd);
        return failure(action, storedPath, error);
    }
    if (S_ISDIR(info.st_mode) || hasNoReadBit(info.st_mode)) {
        ::close(fd);
        return failure(action, storedPath, S_ISDIR(info.st_mode) ? EISDIR : EACCES);
    }
    std::string data;
    if (S_ISREG(info.st_mode) && info.st_size > 0) {
        data.reserve(static_cast<std::size_t>(info.st_size));
    }
    char buffer[65536];
    for (;;) {
        const ssize_t count = ::read(fd, buffer, sizeof buffer);
        if (count == 0) {
            break;
        }
        if (count < 0) {
            if (errno == EINTR) {
                continue;
            }
            const int error = errno;
            ::close(fd);
            return failure(action, storedPath, error);
        }
        data.append(buffer, static_cast<std::size_t>(count));
    }
    ::close(fd);
    if (mode) {
        *mode = info.st_mode;
    }
    bytes = std::move(data);
    return { true, {} };
}

bool statNative(std::string_view path, struct stat& info)
{
    const std::string native = toNativePath(path);
    return !native.empty() && ::stat(native.c_str(), &info) == 0;
}

constexpr std::string_view kCreateFolderAction = "Cannot create folder";

// createFolder within a batch: the same refusals, the folder itself when the batch ends.
FileResult keepFolder(std::string_view path)
{
    static constexpr std::string_view action = kCreateFolderAction;
    const std::string key = batchKey(path);
    const detail::InBatch seen = detail::lookInBatch(key);
    if (seen == detail::InBatch::Folder) {
        return { true, {} };
    }
    if (seen == detail::InBatch::File) {
        return failure(action, path, EEXIST);
    }
    struct stat info
    {
    };
    if (::stat(key.c_str(), &info) == 0) {
        if (!S_ISDIR(info.st_mode)) {
            return failure(action, path, EEXIST);
        }
        if (seen == detail::InBatch::Gone) {
            detail::dropFromBatch(key); // the folder stays after all
        }
        return { true, {} };
    }
    if (errno != ENOENT) {
        return failure(action, path, errno);
    }
    const std::string parent = parentFolder(key);
    switch (detail::lookInBatch(parent)) {
    case detail::InBatch::Folder:
        detail::keepFolder(key, path);
        return { true, {} };
    case detail::InBatch::Gone:
        return failure(action, path, ENOENT);
    case detail::InBatch::File:
        return failure(action, path, ENOTDIR);
    case detail::InBatch::Unknown:
        break;
    }
    struct stat parentInfo
    {
    };
    if (::stat(parent.c_str(), &parentInfo) != 0) {
        return failure(action, path, errno);
    }
    if (!S_ISDIR(parentInfo.st_mode)) {
        return failure(action, path, ENOTDIR);
    }
    if (hasNoWriteBit(parentInfo.st_mode)) {
        return failure(action, path, EACCES);
    }
    detail::keepFolder(key, path);
    return { true, {} };
}

// A removal refused before it is tried: what a read-only folder holds. The file's own bits do not
// count, as a read-only file on Windows loses its attribute first.
FileResult examineRemoval(std::string_view storedPath, const std::string& native)
{
    struct stat folderInfo
    {
    };
    if (::stat(parentFolder(native).c_str(), &folderInfo) == 0 && hasNoWriteBit(folderInfo.st_mode)) {
        return failure(kRemoveAction, storedPath, EACCES);
    }
    return { true, {} };
}

// An existing folder is empty for the batch when it creates nothing in it and removes all it holds.
bool emptyInBatch(const std::string& key)
{
    if (!detail::keptIn(key, '/').empty()) {
        return false;
    }
    const auto names = namesOnDisk(key);
    return std::all_of(names.begin(), names.end(), [&](const std::string& name) {
        return detail::lookInBatch(childPath(key, name)) == detail::InBatch::Gone;
    });
}

// removePath within a batch.
FileResult keepRemoval(std::string_view path)
{
    const std::string key = batchKey(path);
    switch (detail::lookInBatch(key)) {
    case detail::InBatch::Gone:
        return { true, {} };
    case detail::InBatch::Folder:
        if (!detail::keptIn(key, '/').empty()) {
            return failure(kRemoveAction, path, ENOTEMPTY);
        }
        detail::dropFromBatch(key);
        return { true, {} };
    case detail::InBatch::File:
    case detail::InBatch::Unknown:
        break;
    }
    struct stat info
    {
    };
    if (::lstat(key.c_str(), &info) != 0) {
        if (errno != ENOENT && errno != ENOTDIR) {
            return failure(kRemoveAction, path, errno);
        }
        detail::dropFromBatch(key); // a file the batch created, if any
        return { true, {} };
    }
    if (auto refused = examineRemoval(path, key); !refused.ok) {
        return refused;
    }
    const bool folder = S_ISDIR(info.st_mode);
    if (folder && !emptyInBatch(key)) {
        return failure(kRemoveAction, path, ENOTEMPTY);
    }
    detail::keepRemoval(key, path, folder);
    return { true, {} };
}

} // namespace

bool pathExists(std::string_view path)
{
    if (const auto seen = inBatch(path); seen != detail::InBatch::Unknown) {
        return seen != detail::InBatch::Gone;
    }
    struct stat info
    {
    };
    return statNative(path, info);
}

bool fileExists(std::string_view path)
{
    if (const auto seen = inBatch(path); seen != detail::InBatch::Unknown) {
        return seen == detail::InBatch::File;
    }
    struct stat info
    {
    };
    return statNative(path, info) && S_ISREG(info.st_mode);
}

bool folderExists(std::string_view path)
{
    if (const auto seen = inBatch(path); seen != detail::InBatch::Unknown) {
        return seen == detail::InBatch::Folder;
    }
    struct stat info
    {
    };
    return statNative(path, info) && S_ISDIR(info.st_mode);
}

FileResult createFolder(std::string_view path)
{
    static constexpr std::string_view action = kCreateFolderAction;
    const std::string native = toNativePath(path);
    if (native.empty()) {
        return failure(action, path, ENOENT);
    }
    if (detail::batchOpen()) {
        return keepFolder(path);
    }
    struct stat info
    {
    };
    if (::stat(native.c_str(), &info) == 0) {
        return S_ISDIR(info.st_mode) ? FileResult { true, {} } : failure(action, path, EEXIST);
    }
    struct stat parentInfo
    {
    };
    if (::stat(parentFolder(native).c_str(), &parentInfo) == 0 && S_ISDIR(parentInfo.st_mode)
        && hasNoWriteBit(parentInfo.st_mode)) {
        return failure(action, path, EACCES);
    }
    if (::mkdir(native.c_str(), 0777) != 0) {
        const int error = errno;
        if (error == EEXIST && ::stat(native.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
            return { true, {} };
        }
        return failure(action, path, error);
    }
    return { true, {} };
}

std::string createTemporaryFolder(std::string_view namePrefix)
{
    const char* configured = std::getenv("TMPDIR");
    std::string pattern = std::string(configured && *configured ? configured : "/tmp") + "/";
    pattern.append(namePrefix).append("XXXXXX");
    return ::mkdtemp(pattern.data()) ? pattern : std::string();
}

std::vector<std::string> listFolder(std::string_view path)
{
    std::vector<std::string> names;
    if (!detail::batchOpen()) {
        names = namesOnDisk(toNativePath(path));
    } else if (const std::string key = batchKey(path); !key.empty()) {
        for (auto& name : namesOnDisk(key)) {
            if (detail::lookInBatch(childPath(key, name)) != detail::InBatch::Gone) {
                names.push_back(std::move(name));
            }
        }
        for (const auto& kept : detail::keptIn(key, '/')) {
            std::string name = kept.key.substr(kept.key.rfind('/') + 1);
            if (std::find(names.begin(), names.end(), name) == names.end()) {
                names.push_back(std::move(name));
            }
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

FileResult removePath(std::string_view path)
{
    const std::string native = withoutTrailingSeparators(toNativePath(path));
    if (native.empty()) {
        return failure(kRemoveAction, path, ENOENT);
    }
    if (detail::batchOpen()) {
        return keepRemoval(path);
    }
    struct stat info
    {
    };
    if (::lstat(native.c_str(), &info) != 0) {
        return errno == ENOENT || errno == ENOTDIR ? FileResult { true, {} } : failure(kRemoveAction, path, errno);
    }
    if (auto refused = examineRemoval(path, native); !refused.ok) {
        return refused;
    }
    if ((S_ISDIR(info.st_mode) ? ::rmdir(native.c_str()) : ::unlink(native.c_str())) != 0) {
        return failure(kRemoveAction, path, errno);
    }
    syncFolder(parentFolder(native));
    return { true, {} };
}

FileResult copyFile(std::string_view from, std::string_view to)
{
    // The copy takes the source's permission bits, as CopyFile takes its attributes: a copied
    // program stays executable.
    if (detail::batchOpen()) {
        // The source as the batch sees it; its bits from the disk, when it is there already.
        std::string bytes;
        if (auto read = readWholeFile(from, bytes); !read.ok) {
            return read;
        }
        detail::KeptWrite how;
        struct stat source
        {
        };
        if (statNative(from, source)) {
            how.mode = source.st_mode & 0777;
        }
        WriteTarget target;
        if (auto refused = examineTarget(to, target); !refused.ok) {
            return refused;
        }
        how.changesAttributes = how.mode && target.hadOld && (target.old.st_mode & 07777) != *how.mode;
        detail::keepInBatch(batchKey(to), to, bytes, how);
        return { true, {} };
    }
    std::string bytes;
    mode_t mode = 0;
    if (auto read = readNative(from, toNativePath(from), bytes, &mode); !read.ok) {
        return read;
    }
    return replaceFile(to, bytes, mode & 0777, Durability::Flushed);
}

FileResult readWholeFile(std::string_view path, std::string& bytes)
{
    const std::string native = toNativePath(path);
    if (!detail::batchOpen()) {
        return readNative(path, native, bytes, nullptr);
    }
    const std::string key = batchKey(path);
    if (const std::string* kept = detail::bytesInBatch(key)) {
        bytes = *kept;
        return { true, {} };
    }
    switch (detail::lookInBatch(key)) {
    case detail::InBatch::Gone:
        return failure("Cannot read", path, ENOENT);
    case detail::InBatch::Folder:
        return failure("Cannot read", path, EISDIR);
    case detail::InBatch::File:
    case detail::InBatch::Unknown:
        break;
    }
    auto result = readNative(path, native, bytes, nullptr);
    if (result.ok) {
        detail::rememberRead(key, bytes);
    }
    return result;
}

EntryKind entryKind(std::string_view path)
{
    const std::string native = withoutTrailingSeparators(toNativePath(path));
    struct stat info
    {
    };
    if (native.empty() || ::lstat(native.c_str(), &info) != 0) {
        return EntryKind::None;
    }
    if (S_ISLNK(info.st_mode)) {
        return EntryKind::Link;
    }
    if (S_ISDIR(info.st_mode)) {
        return EntryKind::Folder;
    }
    return S_ISREG(info.st_mode) ? EntryKind::File : EntryKind::Other;
}

namespace {

// The real path of a native path: its existing part resolved by the system, the rest appended as it is.
// Nothing when the rest holds "." or ".." (it cannot be resolved against folders that are not there) or
// when something that cannot be resolved (a link leading nowhere, an unreadable folder) is in the way.
std::optional<std::string> realPath(const std::string& native)
{
    std::string absolute = native;
    if (absolute.empty() || absolute.front() != '/') {
        char* here = ::getcwd(nullptr, 0);
        if (!here) {
            return std::nullopt;
        }
        absolute = std::string(here) + "/" + absolute;
        std::free(here);
    }
    std::string existing = withoutTrailingSeparators(absolute);
    std::vector<std::string> rest;
    for (;;) {
        if (char* real = ::realpath(existing.c_str(), nullptr)) {
            std::string resolved = real;
            std::free(real);
            for (auto it = rest.rbegin(); it != rest.rend(); ++it) {
                if (*it == "." || *it == "..") {
                    return std::nullopt;
                }
                resolved = childPath(resolved, *it);
            }
            return resolved;
        }
        struct stat info
        {
        };
        if (errno != ENOENT || ::lstat(existing.c_str(), &info) == 0 || existing == "/") {
            return std::nullopt;
        }
        const auto slash = existing.rfind('/');
        std::string name = existing.substr(slash + 1);
        if (!name.empty()) {
            rest.push_back(std::move(name));
        }
        existing = slash == 0 ? std::string("/") : existing.substr(0, slash);
    }
}

} // namespace

bool resolvesWithin(std::string_view path, std::string_view folder)
{
    const auto inside = realPath(toNativePath(path));
    const auto root = realPath(toNativePath(folder));
    if (!inside || !root) {
        return false;
    }
    return *inside == *root || inside->rfind(childPath(*root, ""), 0) == 0;
}

std::optional<unsigned> permissionBits(std::string_view path)
{
    struct stat info
    {
    };
    if (!statNative(path, info) || !S_ISREG(info.st_mode)) {
        return std::nullopt;
    }
    return static_cast<unsigned>(info.st_mode & 07777);
}

FileResult writeFileWithPermissions(std::string_view path, std::string_view bytes, std::optional<unsigned> bits)
{
    if (!bits) {
        return writeFileAtomically(path, bytes);
    }
    if (detail::batchOpen()) {
        WriteTarget target;
        if (auto refused = examineTarget(path, target); !refused.ok) {
            return refused;
        }
        detail::KeptWrite how;
        how.mode = *bits & 07777;
        how.changesAttributes = target.hadOld && (target.old.st_mode & 07777) != *how.mode;
        detail::keepInBatch(batchKey(path), path, bytes, how);
        return { true, {} };
    }
    return replaceFile(path, bytes, static_cast<mode_t>(*bits & 07777), Durability::Flushed);
}

FileResult writeFileAtomically(std::string_view path, std::string_view bytes, bool ownerOnly, Durability durability)
{
    if (durability == Durability::Flushed && detail::batchOpen()) {
        WriteTarget target;
        if (auto refused = examineTarget(path, target); !refused.ok) {
            return refused;
        }
        detail::KeptWrite how;
        how.ownerOnly = ownerOnly;
        how.changesAttributes = ownerOnly && target.hadOld && (target.old.st_mode & 07777) != 0600;
        detail::keepInBatch(batchKey(path), path, bytes, how);
        return { true, {} };
    }
    return replaceFile(path, bytes, ownerOnly ? std::optional<mode_t>(0600) : std::nullopt, durability);
}

FileResult flushFile(std::string_view path)
{
    const std::string native = toNativePath(path);
    const int fd = ::open(native.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return failure("Cannot flush", path, errno);
    }
    const int synced = ::fsync(fd);
    const int error = errno;
    ::close(fd);
    if (synced != 0) {
        return failure("Cannot flush", path, error);
    }
    syncFolder(parentFolder(native));
    return { true, {} };
}

namespace {

constexpr mode_t kOwnerOnlyFolder = 0700;

// An existing folder closed to everyone but its owner, when this user is the owner. Only rights are taken
// away: a read-only folder stays read-only.
FileResult closeFolder(std::string_view path, const std::string& native, const struct stat& info)
{
    const mode_t closed = info.st_mode & 07777 & ~static_cast<mode_t>(077);
    if ((info.st_mode & 07777) == closed || info.st_uid != ::geteuid()) {
        return { true, {} };
    }
    return ::chmod(native.c_str(), closed) == 0 ? FileResult { true, {} } : failure("Cannot close", path, errno);
}

} // namespace

FileResult createFolderNow(std::string_view path, FolderAccess access)
{
    static constexpr std::string_view action = kCreateFolderAction;
    const std::string native = withoutTrailingSeparators(toNativePath(path));
    struct stat info
    {
    };
    if (!native.empty() && ::stat(native.c_str(), &info) == 0) {
        if (!S_ISDIR(info.st_mode)) {
            return failure(action, path, EEXIST);
        }
        return access == FolderAccess::OwnerOnly ? closeFolder(path, native, info) : FileResult { true, {} };
    }
    return createNewFolderNow(path, access);
}

FileResult createNewFolderNow(std::string_view path, FolderAccess access)
{
    static constexpr std::string_view action = kCreateFolderAction;
    const std::string native = withoutTrailingSeparators(toNativePath(path));
    struct stat parent
    {
    };
    if (!native.empty() && ::stat(parentFolder(native).c_str(), &parent) == 0 && hasNoWriteBit(parent.st_mode)) {
        return failure(action, path, EACCES);
    }
    const mode_t mode = access == FolderAccess::OwnerOnly ? kOwnerOnlyFolder : 0777;
    // mkdir never follows a link at the path: anything there, a dangling link included, is EEXIST.
    if (native.empty() || ::mkdir(native.c_str(), mode) != 0) {
        return failure(action, path, native.empty() ? ENOENT : errno);
    }
    return { true, {} };
}

FileResult removeNow(std::string_view path)
{
    const std::string native = withoutTrailingSeparators(toNativePath(path));
    struct stat info
    {
    };
    if (native.empty() || ::lstat(native.c_str(), &info) != 0) {
        return errno == ENOENT || errno == ENOTDIR || native.empty() ? FileResult { true, {} }
                                                                     : failure(kRemoveAction, path, errno);
    }
    if ((S_ISDIR(info.st_mode) ? ::rmdir(native.c_str()) : ::unlink(native.c_str())) != 0) {
        return failure(kRemoveAction, path, errno);
    }
    return { true, {} };
}

FileResult appendToFile(std::string_view path, std::string_view bytes, std::string_view lineEnd)
{
    const std::string native = toNativePath(path);
    if (native.empty()) {
        return failure(kWriteAction, path, ENOENT);
    }
    // O_NOFOLLOW: a link planted at the log's path must not lead the append elsewhere. O_NONBLOCK: a pipe
    // planted there must not hold the program up; it is refused below like every other non-file.
    constexpr int kFlags = O_APPEND | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC;
    int fd = ::open(native.c_str(), O_RDWR | kFlags, 0644);
    if (fd < 0 && errno == EACCES) {
        fd = ::open(native.c_str(), O_WRONLY | kFlags, 0644);
    }
    if (fd < 0) {
        return failure(kWriteAction, path, errno);
    }
    const auto refuse = [&](int error) {
        ::close(fd);
        return failure(kWriteAction, path, error);
    };
    struct stat info
    {
    };
    if (::fstat(fd, &info) != 0) {
        return refuse(errno);
    }
    if (!S_ISREG(info.st_mode)) {
        return refuse(EINVAL);
    }
    if (hasNoWriteBit(info.st_mode)) {
        return refuse(EACCES);
    }
    if ((info.st_mode & (S_IWGRP | S_IWOTH)) != 0 && info.st_uid == ::geteuid()) {
        ::fchmod(fd, info.st_mode & 07777 & ~static_cast<mode_t>(S_IWGRP | S_IWOTH));
    }
    std::string text;
    if (!lineEnd.empty() && info.st_size > 0) {
        std::string last(lineEnd.size(), '\0');
        const off_t from = std::max<off_t>(0, info.st_size - static_cast<off_t>(lineEnd.size()));
        const ssize_t read = ::pread(fd, last.data(), last.size(), from);
        if (read >= 0 && std::string_view(last.data(), static_cast<std::size_t>(read)) != lineEnd) {
            text = lineEnd;
        }
    }
    text += bytes;
    // One write of the whole text: two programs appending at once never interleave within it.
    const ssize_t written = ::write(fd, text.data(), text.size());
    int error = written < 0 ? errno : ENOSPC;
    bool ok = written == static_cast<ssize_t>(text.size());
    if (ok && ::fsync(fd) != 0) {
        ok = false;
        error = errno;
    }
    if (!ok && written > 0) {
        // In append mode the offset is the end of what this write added: what was there before ends
        // where it began.
        const off_t end = ::lseek(fd, 0, SEEK_CUR);
        if (end >= written) {
            [[maybe_unused]] const int cut = ::ftruncate(fd, end - written);
        }
    }
    ::close(fd);
    return ok ? FileResult { true, {} } : failure(kWriteAction, path, error);
}

namespace detail {

FileResult replaceNow(std::string_view storedPath, std::string_view bytes, bool ownerOnly, std::optional<unsigned> mode)
{
    std::optional<mode_t> bits;
    if (mode) {
        bits = static_cast<mode_t>(*mode);
    } else if (ownerOnly) {
        bits = 0600;
    }
    return replaceFile(storedPath, bytes, bits, Durability::Deferred);
}

bool readOnDisk(std::string_view storedPath, std::optional<std::string>& bytes)
{
    bytes.reset();
    const std::string native = toNativePath(storedPath);
    struct stat info
    {
    };
    if (native.empty() || (::stat(native.c_str(), &info) != 0 && (errno == ENOENT || errno == ENOTDIR))) {
        return true;
    }
    std::string data;
    if (!readNative(storedPath, native, data, nullptr).ok) {
        return false;
    }
    bytes = std::move(data);
    return true;
}

std::vector<std::string> flushFiles(const std::vector<std::string>& storedPaths)
{
    // One syncfs per file system puts every written file and every rename on the disk at once.
    std::vector<dev_t> synced;
    for (const auto& path : storedPaths) {
        const std::string folder = parentFolder(toNativePath(path));
        struct stat info
        {
        };
        if (::stat(folder.c_str(), &info) != 0
            || std::find(synced.begin(), synced.end(), info.st_dev) != synced.end()) {
            continue;
        }
        const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        const bool ok = fd >= 0 && ::syncfs(fd) == 0;
        if (fd >= 0) {
            ::close(fd);
        }
        if (!ok) {
            return storedPaths;
        }
        synced.push_back(info.st_dev);
    }
    return {};
}

} // namespace detail

} // namespace orvant::platform
