#include "platform/DirectWrites.h"
#include "platform/TextCodec.h"

#include <windows.h>

namespace orvant::platform {

namespace {

FileResult failure(std::string_view action, std::string_view path, DWORD error)
{
    return { false, std::string(action) + " " + std::string(path) + ": error " + std::to_string(error) };
}

} // namespace

FileResult createFolderNow(std::string_view path)
{
    const std::string ansi = utf8ToAnsi(path);
    if (CreateDirectoryA(ansi.c_str(), nullptr)) {
        return { true, {} };
    }
    const DWORD error = GetLastError();
    const DWORD attributes = GetFileAttributesA(ansi.c_str());
    if (error == ERROR_ALREADY_EXISTS && attributes != INVALID_FILE_ATTRIBUTES
        && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        return { true, {} };
    }
    return failure("Cannot create folder", path, error);
}

FileResult appendToFile(std::string_view path, std::string_view bytes)
{
    // A read-only file is refused as every writer of this layer refuses it (not every system checks the
    // attribute for an append).
    const std::string ansi = utf8ToAnsi(path);
    if (const DWORD attributes = GetFileAttributesA(ansi.c_str());
        attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
        return failure("Cannot write", path, ERROR_ACCESS_DENIED);
    }
    // FILE_APPEND_DATA alone makes every write go to the end of the file, whoever else appends.
    HANDLE file = CreateFileA(ansi.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return failure("Cannot write", path, GetLastError());
    }
    DWORD written = 0;
    bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr)
        && written == bytes.size() && FlushFileBuffers(file);
    const DWORD error = GetLastError();
    CloseHandle(file);
    return ok ? FileResult { true, {} } : failure("Cannot write", path, error);
}

} // namespace orvant::platform
