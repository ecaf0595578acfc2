#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace orvant::platform {

// Paths handed to these functions are in the form the system stores them: Windows form
// ("C:\ORVANT\conf\x.xml") or a native path. They are converted with toNativePath (Paths.h).

struct FileResult
{
    bool ok = false;
    std::string error; // the system's description of the failure, empty when ok
};

bool pathExists(std::string_view path);   // a file or a folder
bool fileExists(std::string_view path);   // a regular file
bool folderExists(std::string_view path); // a folder

// Creates one folder (its parent must exist). Succeeds when the folder already exists.
FileResult createFolder(std::string_view path);

// Names (not paths) of the entries of a folder, sorted; files and folders alike.
std::vector<std::string> listFolder(std::string_view path);

// Copies a file, replacing the target atomically.
FileResult copyFile(std::string_view from, std::string_view to);

// Reads a whole file as bytes.
FileResult readWholeFile(std::string_view path, std::string& bytes);

// Replaces a file atomically: writes a temporary file beside it, flushes it and renames it over the
// target. On failure the old file is untouched and no temporary file is left behind. A new file gets
// the permissions of the file it replaces, or the process default (umask) when there was none,
// unless ownerOnly asks for read/write by the owner only.
FileResult writeFileAtomically(std::string_view path, std::string_view bytes, bool ownerOnly = false);

} // namespace orvant::platform
