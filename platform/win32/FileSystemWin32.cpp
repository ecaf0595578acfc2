#include "platform/FileSystem.h"
#include "platform/TextCodec.h"

#include <algorithm>
#include <windows.h>

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

// Paths name files without regard to case.
std::string batchKey(std::string_view path)
{
    std::string key = utf8ToAnsi(path);
    char full[MAX_PATH] = {};
    if (const DWORD length = GetFullPathNameA(key.c_str(), MAX_PATH, full, nullptr); length > 0 && length < MAX_PATH) {
        key = full;
    }
    CharUpperBuffA(key.data(), static_cast<DWORD>(key.size()));
    return key;
}

} // namespace

bool pathExists(std::string_view path)
{
    if (detail::batchOpen() && detail::bytesInBatch(batchKey(path))) {
        return true;
    }
    return attributesOf(path) != INVALID_FILE_ATTRIBUTES;
}

bool fileExists(std::string_view path)
{
    if (detail::batchOpen() && detail::bytesInBatch(batchKey(path))) {
        return true;
    }
    const DWORD attributes = attributesOf(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool folderExists(std::string_view path)
{
    const DWORD attributes = attributesOf(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

FileResult createFolder(std::string_view path)
{
    if (CreateDirectoryA(utf8ToAnsi(path).c_str(), nullptr)) {
        return { true, {} };
    }
    const DWORD error = GetLastError();
    if (error == ERROR_ALREADY_EXISTS && folderExists(path)) {
        return { true, {} };
    }
    return failure("Cannot create folder", path, error);
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
    std::vector<std::string> names;
    std::string pattern = utf8ToAnsi(path);
    if (!pattern.empty() && pattern.back() != '\\' && pattern.back() != '/') {
        pattern += '\\';
    }
    pattern += '*';
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
    std::sort(names.begin(), names.end());
    return names;
}

FileResult readWholeFile(std::string_view path, std::string& bytes)
{
    if (detail::batchOpen()) {
        if (const std::string* kept = detail::bytesInBatch(batchKey(path))) {
            bytes = *kept;
            return { true, {} };
        }
    }
    const HANDLE file = CreateFileA(utf8ToAnsi(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return failure("Cannot read", path, GetLastError());
    }
    std::string data;
    char buffer[65536];
    for (;;) {
        DWORD count = 0;
        if (!ReadFile(file, buffer, sizeof buffer, &count, nullptr)) {
            const DWORD error = GetLastError();
            CloseHandle(file);
            return failure("Cannot read", path, error);
        }
        if (count == 0) {
            break;
        }
        data.append(buffer, count);
    }
    CloseHandle(file);
    bytes = std::move(data);
    detail::rememberRead(batchKey(path), bytes);
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
FileResult examineTarget(std::string_view path, const std::string& target, bool& replacing)
{
    const DWORD attributes = GetFileAttributesA(target.c_str());
    replacing = attributes != INVALID_FILE_ATTRIBUTES;
    if (replacing && (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY))) {
        return failure(kWriteAction, path, ERROR_ACCESS_DENIED);
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

    char temporary[MAX_PATH] = {};
    if (!GetTempFileNameA(parentFolder(target).c_str(), "orv", 0, temporary)) {
        return failure(action, path, GetLastError());
    }
    HANDLE file = CreateFileA(temporary, GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    const auto abandon = [&](DWORD error) {
        if (file != INVALID_HANDLE_VALUE) {
            CloseHandle(file);
        }
        DeleteFileA(temporary);
        return failure(action, path, error);
    };
    if (file == INVALID_HANDLE_VALUE || !writeAll(file, bytes)
        || (durability == Durability::Flushed && !FlushFileBuffers(file))) {
        return abandon(GetLastError());
    }
    const BOOL closed = CloseHandle(file);
    file = INVALID_HANDLE_VALUE;
    if (!closed) {
        return abandon(GetLastError());
    }
    // ReplaceFile keeps the old file's attributes and access rules; a new file needs a plain move.
    const BOOL moved = replacing
        ? ReplaceFileA(target.c_str(), temporary, nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)
        : MoveFileExA(temporary, target.c_str(),
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

namespace detail {

FileResult replaceNow(std::string_view storedPath, std::string_view bytes, bool /*ownerOnly*/)
{
    return replaceFile(storedPath, bytes, Durability::Deferred);
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
