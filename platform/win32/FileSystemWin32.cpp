#include "platform/DirectWrites.h"
#include "platform/FileSystem.h"
#include "platform/TemporaryNames.h"
#include "platform/TextCodec.h"

#include <algorithm>
#include <windows.h>
// After windows.h, which it needs.
#include <sddl.h>

namespace orvant::platform {

namespace {

std::string systemMessage(DWORD error)
{
    char* buffer = nullptr;
    const DWORD length
        = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                         nullptr, error, 0, reinterpret_cast<LPSTR>(&buffer), 0, nullptr);
    std::string text = length && buffer ? std::string(buffer, length) : "error " + std::to_string(error);
    if (buffer) {
        LocalFree(buffer);
    }
    while (!text.empty() && (text.back() == '\r' || text.back() == '\n' || text.back() == ' ')) {
        text.pop_back();
    }
    return ansiToUtf8(text);
}

FileResult failure(std::string_view action, std::string_view path, DWORD error)
{
    return { false, std::string(action) + " " + std::string(path) + ": " + systemMessage(error) };
}

DWORD attributesOf(std::string_view path)
{
    return GetFileAttributesA(utf8ToAnsi(path).c_str());
}

std::string parentFolder(const std::string& ansiPath)
{
    const auto separator = ansiPath.find_last_of("\\/");
    if (separator == std::string::npos) {
        return ansiPath.size() >= 2 && ansiPath[1] == ':' ? ansiPath.substr(0, 2) + "." : std::string(".");
    }
    if (separator == 0 || (separator == 2 && ansiPath[1] == ':')) {
        return ansiPath.substr(0, separator + 1);
    }
    return ansiPath.substr(0, separator);
}

bool writeAll(HANDLE file, std::string_view bytes)
{
    std::size_t written = 0;
    while (written < bytes.size()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - written, 1u << 30));
        DWORD count = 0;
        if (!WriteFile(file, bytes.data() + written, chunk, &count, nullptr)) {
            return false;
        }
        written += count;
    }
    return true;
}

// Paths name files without regard to case. A folder's key has no separator at its end (but "C:\").
std::string ansiBatchKey(std::string key)
{
    char full[MAX_PATH] = {};
    if (const DWORD length = GetFullPathNameA(key.c_str(), MAX_PATH, full, nullptr); length > 0 && length < MAX_PATH) {
        key = full;
    }
    CharUpperBuffA(key.data(), static_cast<DWORD>(key.size()));
    while (key.size() > 3 && (key.back() == '\\' || key.back() == '/')) {
        key.pop_back();
    }
    return key;
}

std::string batchKey(std::string_view path)
{
    return ansiBatchKey(utf8ToAnsi(path));
}

// What the open batch makes of a path; Unknown without a batch.
detail::InBatch inBatch(std::string_view path)
{
    return detail::batchOpen() ? detail::lookInBatch(batchKey(path)) : detail::InBatch::Unknown;
}

bool isMissing(DWORD error)
{
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

std::string childPath(std::string folder, std::string_view name)
{
    if (!folder.empty() && folder.back() != '\\' && folder.back() != '/') {
        folder += '\\';
    }
    folder += name;
    return folder;
}

// The names in a folder on the disk, unsorted; none when it cannot be listed.
std::vector<std::string> namesOnDisk(std::string_view path)
{
    std::vector<std::string> names;
    const std::string pattern = childPath(utf8ToAnsi(path), "*");
    WIN32_FIND_DATAA entry {};
    const HANDLE search = FindFirstFileA(pattern.c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) {
        return names;
    }
    do {
        const std::string_view name(entry.cFileName);
        if (name != "." && name != "..") {
            names.push_back(ansiToUtf8(name));
        }
    } while (FindNextFileA(search, &entry));
    FindClose(search);
    return names;
}

// A file read past the batch; false with the system's error code when it cannot be read.
bool readFromDisk(std::string_view path, std::string& bytes, DWORD& error)
{
    const HANDLE file = CreateFileA(utf8ToAnsi(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        error = GetLastError();
        return false;
    }
    std::string data;
    char buffer[65536];
    for (;;) {
        DWORD count = 0;
        if (!ReadFile(file, buffer, sizeof buffer, &count, nullptr)) {
            error = GetLastError();
            CloseHandle(file);
            return false;
        }
        if (count == 0) {
            break;
        }
        data.append(buffer, count);
    }
    CloseHandle(file);
    bytes = std::move(data);
    return true;
}

constexpr std::string_view kCreateFolderAction = "Cannot create folder";
constexpr std::string_view kRemoveAction = "Cannot remove";

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
        return failure(action, path, ERROR_ALREADY_EXISTS);
    }
    if (const DWORD attributes = attributesOf(path); attributes != INVALID_FILE_ATTRIBUTES) {
        if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
            return failure(action, path, ERROR_ALREADY_EXISTS);
        }
        if (seen == detail::InBatch::Gone) {
            detail::dropFromBatch(key); // the folder stays after all
        }
        return { true, {} };
    }
    const std::string parent = parentFolder(utf8ToAnsi(path));
    switch (detail::lookInBatch(ansiBatchKey(parent))) {
    case detail::InBatch::Folder:
        detail::keepFolder(key, path);
        return { true, {} };
    case detail::InBatch::Gone:
    case detail::InBatch::File:
        return failure(action, path, ERROR_PATH_NOT_FOUND);
    case detail::InBatch::Unknown:
        break;
    }
    const DWORD parentAttributes = GetFileAttributesA(parent.c_str());
    if (parentAttributes == INVALID_FILE_ATTRIBUTES || !(parentAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        return failure(action, path, ERROR_PATH_NOT_FOUND);
    }
    detail::keepFolder(key, path);
    return { true, {} };
}

// An existing folder is empty for the batch when it creates nothing in it and removes all it holds.
bool emptyInBatch(std::string_view path, const std::string& key)
{
    if (!detail::keptIn(key, '\\').empty()) {
        return false;
    }
    const auto names = namesOnDisk(path);
    return std::all_of(names.begin(), names.end(), [&](const std::string& name) {
        return detail::lookInBatch(ansiBatchKey(childPath(utf8ToAnsi(path), utf8ToAnsi(name))))
            == detail::InBatch::Gone;
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
        if (!detail::keptIn(key, '\\').empty()) {
            return failure(kRemoveAction, path, ERROR_DIR_NOT_EMPTY);
        }
        detail::dropFromBatch(key);
        return { true, {} };
    case detail::InBatch::File:
    case detail::InBatch::Unknown:
        break;
    }
    const DWORD attributes = attributesOf(path);
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        if (const DWORD error = GetLastError(); !isMissing(error)) {
            return failure(kRemoveAction, path, error);
        }
        detail::dropFromBatch(key); // a file the batch created, if any
        return { true, {} };
    }
    const bool folder = attributes & FILE_ATTRIBUTE_DIRECTORY;
    if (folder && !emptyInBatch(path, key)) {
        return failure(kRemoveAction, path, ERROR_DIR_NOT_EMPTY);
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
    return attributesOf(path) != INVALID_FILE_ATTRIBUTES;
}

bool fileExists(std::string_view path)
{
    if (const auto seen = inBatch(path); seen != detail::InBatch::Unknown) {
        return seen == detail::InBatch::File;
    }
    const DWORD attributes = attributesOf(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool folderExists(std::string_view path)
{
    if (const auto seen = inBatch(path); seen != detail::InBatch::Unknown) {
        return seen == detail::InBatch::Folder;
    }
    const DWORD attributes = attributesOf(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

FileResult createFolder(std::string_view path)
{
    if (detail::batchOpen()) {
        return keepFolder(path);
    }
    if (CreateDirectoryA(utf8ToAnsi(path).c_str(), nullptr)) {
        return { true, {} };
    }
    const DWORD error = GetLastError();
    if (error == ERROR_ALREADY_EXISTS && folderExists(path)) {
        return { true, {} };
    }
    return failure(kCreateFolderAction, path, error);
}

std::string createTemporaryFolder(std::string_view namePrefix)
{
    char folder[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathA(MAX_PATH + 1, folder);
    if (length == 0 || length > MAX_PATH) {
        return {};
    }
    // The tick count and process number make a likely-unique start; a taken name tries the next.
    const std::string base = std::string(folder, length) + utf8ToAnsi(namePrefix);
    unsigned number = GetTickCount() ^ (GetCurrentProcessId() << 16);
    for (int attempt = 0; attempt < 1000; ++attempt, ++number) {
        const std::string candidate = base + std::to_string(number);
        if (CreateDirectoryA(candidate.c_str(), nullptr)) {
            return ansiToUtf8(candidate);
        }
        if (GetLastError() != ERROR_ALREADY_EXISTS) {
            return {};
        }
    }
    return {};
}

std::vector<std::string> listFolder(std::string_view path)
{
    std::vector<std::string> names = namesOnDisk(path);
    if (detail::batchOpen()) {
        // The folder as the batch leaves it: without what it removes, with what it writes or creates.
        std::vector<std::string> onDisk;
        std::vector<std::string> keys;
        for (auto& name : names) {
            std::string key = ansiBatchKey(childPath(utf8ToAnsi(path), utf8ToAnsi(name)));
            if (detail::lookInBatch(key) != detail::InBatch::Gone) {
                onDisk.push_back(std::move(name));
            }
            keys.push_back(std::move(key));
        }
        names = std::move(onDisk);
        for (const auto& kept : detail::keptIn(batchKey(path), '\\')) {
            if (std::find(keys.begin(), keys.end(), kept.key) == keys.end()) {
                std::string stored = kept.storedPath;
                while (!stored.empty() && (stored.back() == '\\' || stored.back() == '/')) {
                    stored.pop_back();
                }
                names.push_back(stored.substr(stored.find_last_of("\\/") + 1));
            }
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

FileResult removePath(std::string_view path)
{
    if (path.empty()) {
        return failure(kRemoveAction, path, ERROR_PATH_NOT_FOUND);
    }
    if (detail::batchOpen()) {
        return keepRemoval(path);
    }
    const std::string target = utf8ToAnsi(path);
    const DWORD attributes = GetFileAttributesA(target.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = GetLastError();
        return isMissing(error) ? FileResult { true, {} } : failure(kRemoveAction, path, error);
    }
    // Neither call removes what is read-only: the attribute goes first, and comes back when the
    // removal fails.
    const bool readOnly = attributes & FILE_ATTRIBUTE_READONLY;
    if (readOnly && !SetFileAttributesA(target.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY)) {
        return failure(kRemoveAction, path, GetLastError());
    }
    const BOOL removed
        = (attributes & FILE_ATTRIBUTE_DIRECTORY) ? RemoveDirectoryA(target.c_str()) : DeleteFileA(target.c_str());
    if (removed) {
        return { true, {} };
    }
    const DWORD error = GetLastError();
    if (readOnly) {
        SetFileAttributesA(target.c_str(), attributes);
    }
    return failure(kRemoveAction, path, error);
}

FileResult readWholeFile(std::string_view path, std::string& bytes)
{
    const bool inBatch = detail::batchOpen();
    if (inBatch) {
        const std::string key = batchKey(path);
        if (const std::string* kept = detail::bytesInBatch(key)) {
            bytes = *kept;
            return { true, {} };
        }
        switch (detail::lookInBatch(key)) {
        case detail::InBatch::Gone:
            return failure("Cannot read", path, ERROR_FILE_NOT_FOUND);
        case detail::InBatch::Folder:
            return failure("Cannot read", path, ERROR_ACCESS_DENIED);
        case detail::InBatch::File:
        case detail::InBatch::Unknown:
            break;
        }
    }
    DWORD error = 0;
    if (!readFromDisk(path, bytes, error)) {
        return failure("Cannot read", path, error);
    }
    if (inBatch) {
        detail::rememberRead(batchKey(path), bytes);
    }
    return { true, {} };
}

FileResult copyFile(std::string_view from, std::string_view to)
{
    std::string bytes;
    if (auto read = readWholeFile(from, bytes); !read.ok) {
        return read;
    }
    return writeFileAtomically(to, bytes);
}

namespace {

constexpr std::string_view kWriteAction = "Cannot write";

// A write refused before it is made: a folder or a read-only file in the way, or no folder to hold it.
// In a batch, the folders it creates and removes count as done.
FileResult examineTarget(std::string_view path, const std::string& target, bool& replacing)
{
    const bool inBatch = detail::batchOpen();
    if (inBatch && detail::lookInBatch(ansiBatchKey(target)) == detail::InBatch::Folder) {
        return failure(kWriteAction, path, ERROR_ACCESS_DENIED);
    }
    const DWORD attributes = GetFileAttributesA(target.c_str());
    replacing = attributes != INVALID_FILE_ATTRIBUTES;
    if (replacing && (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY))) {
        return failure(kWriteAction, path, ERROR_ACCESS_DENIED);
    }
    if (inBatch) {
        switch (detail::lookInBatch(ansiBatchKey(parentFolder(target)))) {
        case detail::InBatch::Folder:
            return { true, {} };
        case detail::InBatch::Gone:
        case detail::InBatch::File:
            return failure(kWriteAction, path, ERROR_PATH_NOT_FOUND);
        case detail::InBatch::Unknown:
            break;
        }
    }
    const DWORD folder = GetFileAttributesA(parentFolder(target).c_str());
    if (folder == INVALID_FILE_ATTRIBUTES || !(folder & FILE_ATTRIBUTE_DIRECTORY)) {
        return failure(kWriteAction, path, ERROR_PATH_NOT_FOUND);
    }
    return { true, {} };
}

FileResult replaceFile(std::string_view path, std::string_view bytes, Durability durability)
{
    static constexpr std::string_view action = kWriteAction;
    const std::string target = utf8ToAnsi(path);
    bool replacing = false;
    if (auto refused = examineTarget(path, target, replacing); !refused.ok) {
        return refused;
    }

    std::string folder = parentFolder(target);
    if (folder.back() == '\\' || folder.back() == '/') {
        folder.pop_back(); // a root: the name brings its own separator
    }
    const auto cut = target.find_last_of("\\/");
    const std::string name = cut == std::string::npos ? target : target.substr(cut + 1);
    std::string temporary;
    HANDLE file = INVALID_HANDLE_VALUE;
    for (int attempt = 0; attempt < 100 && file == INVALID_HANDLE_VALUE; ++attempt) {
        temporary = temporaryNameBeside(folder, '\\', name);
        file = CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS) {
            return failure(action, path, GetLastError());
        }
    }
    if (file == INVALID_HANDLE_VALUE) {
        return failure(action, path, ERROR_FILE_EXISTS);
    }
    const auto abandon = [&](DWORD error) {
        if (file != INVALID_HANDLE_VALUE) {
            CloseHandle(file);
        }
        DeleteFileA(temporary.c_str());
        return failure(action, path, error);
    };
    if (!writeAll(file, bytes) || (durability == Durability::Flushed && !FlushFileBuffers(file))) {
        return abandon(GetLastError());
    }
    const BOOL closed = CloseHandle(file);
    file = INVALID_HANDLE_VALUE;
    if (!closed) {
        return abandon(GetLastError());
    }
    // ReplaceFile keeps the old file's attributes and access rules; a new file needs a plain move.
    const BOOL moved = replacing
        ? ReplaceFileA(target.c_str(), temporary.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)
        : MoveFileExA(temporary.c_str(), target.c_str(),
                      MOVEFILE_REPLACE_EXISTING | (durability == Durability::Flushed ? MOVEFILE_WRITE_THROUGH : 0));
    if (!moved) {
        return abandon(GetLastError());
    }
    return { true, {} };
}

} // namespace

// ownerOnly has no counterpart here: the file takes the access rules of its folder, as every file
// the system writes on Windows does.
FileResult writeFileAtomically(std::string_view path, std::string_view bytes, bool ownerOnly, Durability durability)
{
    if (durability == Durability::Flushed && detail::batchOpen()) {
        bool replacing = false;
        if (auto refused = examineTarget(path, utf8ToAnsi(path), replacing); !refused.ok) {
            return refused;
        }
        detail::keepInBatch(batchKey(path), path, bytes, ownerOnly);
        return { true, {} };
    }
    return replaceFile(path, bytes, durability);
}

FileResult flushFile(std::string_view path)
{
    const std::string target = utf8ToAnsi(path);
    HANDLE file = CreateFileA(target.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return failure("Cannot flush", path, GetLastError());
    }
    const BOOL flushed = FlushFileBuffers(file);
    const DWORD error = GetLastError();
    CloseHandle(file);
    if (!flushed) {
        return failure("Cannot flush", path, error);
    }
    return { true, {} };
}

namespace {

// The access rules of a folder of records kept from everyone else: its owner (this user), the
// Administrators and SYSTEM, with nothing inherited from the folders above.
class OwnerOnlyRules
{
public:
    OwnerOnlyRules()
    {
        HANDLE token = nullptr;
        if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) {
            return;
        }
        DWORD size = 0;
        GetTokenInformation(token, TokenUser, nullptr, 0, &size);
        std::string buffer(size, '\0');
        char* sid = nullptr;
        if (size > 0 && GetTokenInformation(token, TokenUser, buffer.data(), size, &size)
            && ConvertSidToStringSidA(reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid, &sid)) {
            const std::string rules = std::string("D:P(A;OICI;FA;;;") + sid + ")(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)";
            LocalFree(sid);
            ConvertStringSecurityDescriptorToSecurityDescriptorA(rules.c_str(), SDDL_REVISION_1, &m_descriptor,
                                                                 nullptr);
        }
        CloseHandle(token);
    }
    ~OwnerOnlyRules()
    {
        if (m_descriptor) {
            LocalFree(m_descriptor);
        }
    }
    OwnerOnlyRules(const OwnerOnlyRules&) = delete;
    OwnerOnlyRules& operator=(const OwnerOnlyRules&) = delete;

    PSECURITY_DESCRIPTOR descriptor() const { return m_descriptor; }

private:
    PSECURITY_DESCRIPTOR m_descriptor = nullptr;
};

} // namespace

FileResult createFolderNow(std::string_view path, FolderAccess access)
{
    const DWORD attributes = attributesOf(path);
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return createNewFolderNow(path, access);
    }
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        return failure("Cannot create folder", path, ERROR_ALREADY_EXISTS);
    }
    if (access == FolderAccess::OwnerOnly) {
        const OwnerOnlyRules rules;
        if (!rules.descriptor()
            || !SetFileSecurityA(utf8ToAnsi(path).c_str(),
                                 DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION, rules.descriptor())) {
            return failure("Cannot close", path, GetLastError());
        }
    }
    return { true, {} };
}

FileResult createNewFolderNow(std::string_view path, FolderAccess access)
{
    const OwnerOnlyRules rules;
    SECURITY_ATTRIBUTES security { sizeof(SECURITY_ATTRIBUTES), rules.descriptor(), FALSE };
    if (access == FolderAccess::OwnerOnly && !rules.descriptor()) {
        return failure("Cannot create folder", path, GetLastError());
    }
    // CreateDirectory refuses a path where anything is, a link included.
    if (CreateDirectoryA(utf8ToAnsi(path).c_str(), access == FolderAccess::OwnerOnly ? &security : nullptr)) {
        return { true, {} };
    }
    return failure("Cannot create folder", path, GetLastError());
}

FileResult removeNow(std::string_view path)
{
    const std::string target = utf8ToAnsi(path);
    const DWORD attributes = GetFileAttributesA(target.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = GetLastError();
        return isMissing(error) ? FileResult { true, {} } : failure(kRemoveAction, path, error);
    }
    if (attributes & FILE_ATTRIBUTE_READONLY) {
        SetFileAttributesA(target.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
    }
    // Both calls remove a link itself, never what it points to.
    const BOOL removed
        = (attributes & FILE_ATTRIBUTE_DIRECTORY) ? RemoveDirectoryA(target.c_str()) : DeleteFileA(target.c_str());
    return removed ? FileResult { true, {} } : failure(kRemoveAction, path, GetLastError());
}

FileResult appendToFile(std::string_view path, std::string_view bytes, std::string_view lineEnd)
{
    // A read-only file is refused as every writer here refuses it (Wine opens one for appending anyway).
    if (const DWORD attributes = attributesOf(path);
        attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
        return failure("Cannot write", path, ERROR_ACCESS_DENIED);
    }
    const std::string ansi = utf8ToAnsi(path);
    // FILE_APPEND_DATA without FILE_WRITE_DATA makes every write go to the end of the file, whoever else
    // appends; one write of the whole text never interleaves with another program's. A link at the path
    // is opened as itself and refused.
    HANDLE file = CreateFileA(ansi.c_str(), FILE_APPEND_DATA | FILE_READ_DATA | FILE_READ_ATTRIBUTES,
                              FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return failure("Cannot write", path, GetLastError());
    }
    BY_HANDLE_FILE_INFORMATION information {};
    LARGE_INTEGER size {};
    if (!GetFileInformationByHandle(file, &information)
        || (information.dwFileAttributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY))
        || !GetFileSizeEx(file, &size)) {
        CloseHandle(file);
        return failure("Cannot write", path, ERROR_ACCESS_DENIED);
    }
    std::string text;
    if (!lineEnd.empty() && size.QuadPart > 0) {
        std::string last(lineEnd.size(), '\0');
        OVERLAPPED at {};
        const LONGLONG from = std::max<LONGLONG>(0, size.QuadPart - static_cast<LONGLONG>(lineEnd.size()));
        at.Offset = static_cast<DWORD>(from);
        at.OffsetHigh = static_cast<DWORD>(from >> 32);
        DWORD read = 0;
        if (ReadFile(file, last.data(), static_cast<DWORD>(last.size()), &read, &at)
            && std::string_view(last.data(), read) != lineEnd) {
            text = lineEnd;
        }
    }
    text += bytes;
    DWORD written = 0;
    const bool ok = WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr)
        && written == text.size() && FlushFileBuffers(file);
    const DWORD error = ok ? ERROR_SUCCESS : (GetLastError() ? GetLastError() : ERROR_DISK_FULL);
    CloseHandle(file);
    if (!ok && written > 0) {
        // A handle that may only append cannot cut the file: the part written is taken back through another.
        HANDLE cut = CreateFileA(ansi.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
        if (cut != INVALID_HANDLE_VALUE) {
            SetFilePointerEx(cut, size, nullptr, FILE_BEGIN);
            SetEndOfFile(cut);
            CloseHandle(cut);
        }
    }
    return ok ? FileResult { true, {} } : failure("Cannot write", path, error);
}

EntryKind entryKind(std::string_view path)
{
    const DWORD attributes = attributesOf(path);
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return EntryKind::None;
    }
    if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) {
        return EntryKind::Link;
    }
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? EntryKind::Folder : EntryKind::File;
}

namespace {

// The final path of a path, as the system resolves it: "." and ".." taken away first (as Windows does
// with every path), then the existing part's links followed by the system, the rest appended. Upper
// case, for a comparison without regard to case. Nothing when something there cannot be resolved.
std::optional<std::string> finalPath(std::string_view path)
{
    char full[4 * MAX_PATH] = {};
    const DWORD length = GetFullPathNameA(utf8ToAnsi(path).c_str(), sizeof full, full, nullptr);
    if (length == 0 || length >= sizeof full) {
        return std::nullopt;
    }
    std::string existing(full, length);
    while (existing.size() > 3 && (existing.back() == '\\' || existing.back() == '/')) {
        existing.pop_back();
    }
    std::string rest;
    for (;;) {
        HANDLE handle = CreateFileA(existing.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
        if (handle != INVALID_HANDLE_VALUE) {
            char resolved[4 * MAX_PATH] = {};
            const DWORD size = GetFinalPathNameByHandleA(handle, resolved, sizeof resolved, FILE_NAME_NORMALIZED);
            CloseHandle(handle);
            if (size == 0 || size >= sizeof resolved) {
                return std::nullopt;
            }
            std::string final(resolved, size);
            if (final.rfind("\\\\?\\", 0) == 0) {
                final.erase(0, 4);
            }
            while (final.size() > 3 && final.back() == '\\') {
                final.pop_back();
            }
            final += rest;
            CharUpperBuffA(final.data(), static_cast<DWORD>(final.size()));
            return final;
        }
        const auto separator = existing.find_last_of("\\/");
        if (GetFileAttributesA(existing.c_str()) != INVALID_FILE_ATTRIBUTES || separator == std::string::npos
            || separator < 3) {
            return std::nullopt;
        }
        rest.insert(0, existing, separator, std::string::npos);
        existing.erase(separator);
    }
}

} // namespace

bool resolvesWithin(std::string_view path, std::string_view folder)
{
    const auto inside = finalPath(path);
    const auto root = finalPath(folder);
    if (!inside || !root) {
        return false;
    }
    const std::string prefix = root->back() == '\\' ? *root : *root + "\\";
    return *inside == *root || inside->rfind(prefix, 0) == 0;
}

// A file here takes its folder's access rules; there are no permission bits to keep.
std::optional<unsigned> permissionBits(std::string_view /*path*/)
{
    return std::nullopt;
}

FileResult writeFileWithPermissions(std::string_view path, std::string_view bytes, std::optional<unsigned> /*bits*/)
{
    return writeFileAtomically(path, bytes);
}

namespace detail {

// The permission bits are POSIX's; a file here takes its folder's access rules.
FileResult replaceNow(std::string_view storedPath, std::string_view bytes, bool /*ownerOnly*/,
                      std::optional<unsigned> /*mode*/)
{
    return replaceFile(storedPath, bytes, Durability::Deferred);
}

bool readOnDisk(std::string_view storedPath, std::optional<std::string>& bytes)
{
    bytes.reset();
    std::string data;
    DWORD error = 0;
    if (!readFromDisk(storedPath, data, error)) {
        return isMissing(error);
    }
    bytes = std::move(data);
    return true;
}

std::vector<std::string> flushFiles(const std::vector<std::string>& storedPaths)
{
    std::vector<std::string> failed;
    for (const auto& path : storedPaths) {
        if (!flushFile(path).ok) {
            failed.push_back(path);
        }
    }
    return failed;
}

} // namespace detail

} // namespace orvant::platform
