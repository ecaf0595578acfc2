#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace orvant::platform {

// Paths handed to these functions are in the form the system stores them: Windows form
// ("C:\ORVANT\conf\x.xml") or a native path. They are converted with toNativePath (Paths.h).

// A file or folder without any write permission bit is read-only and one without any read bit is
// unreadable, for root too, as Windows' read-only attribute stops administrators.

struct FileResult
{
    bool ok = false;
    // What failed, the stored path and the system's reason, e.g.
    // "Cannot write C:\ORVANT\conf\x.xml: Permission denied"; empty when ok.
    std::string error;
};

bool pathExists(std::string_view path); // a file or a folder
bool fileExists(std::string_view path); // a regular file
bool folderExists(std::string_view path); // a folder

// Creates one folder (its parent must exist). Succeeds when the folder already exists.
FileResult createFolder(std::string_view path);

// Creates a new, empty folder with a unique name in the system's folder for temporary files and
// returns its native path; empty when it could not be created.
std::string createTemporaryFolder(std::string_view namePrefix);

// Names (not paths) of the entries of a folder, sorted; files and folders alike.
std::vector<std::string> listFolder(std::string_view path);

// Copies a file, replacing the target atomically. The copy takes the source's permission bits (on
// POSIX), so a copied program stays executable. A read-only target is not replaced.
FileResult copyFile(std::string_view from, std::string_view to);

// Reads a whole file as bytes.
FileResult readWholeFile(std::string_view path, std::string& bytes);

// Replaces a file atomically: writes a temporary file beside it, flushes it and renames it over the
// target. On failure the old file is untouched and no temporary file is left behind. A new file gets
// the permissions of the file it replaces, or the process default (umask) when there was none,
// unless ownerOnly asks for read/write by the owner only (POSIX; on Windows the folder's access rules
// apply). A read-only target or folder is a failure. A symbolic link is followed: the file it points
// to is replaced and the link stays.
//
// Flushed (the default) puts the data on the disk before the call returns. Deferred leaves that to
// the system's write-back, as the Windows registry does with its hives: the replacement is still
// atomic for every reader, but a crash may roll it back. A run of many small writes (one per changed
// configuration value) writes Deferred and ends with flushFile.
enum class Durability
{
    Flushed,
    Deferred,
};
FileResult writeFileAtomically(std::string_view path, std::string_view bytes, bool ownerOnly = false,
                               Durability durability = Durability::Flushed);

// Puts a file written Deferred, and its entry in its folder, on the disk.
FileResult flushFile(std::string_view path);

// While a batch lives, writes asked for as Flushed are made Deferred and remembered; when the outermost
// batch finishes, they go to the disk together. A save that replaces hundreds of small engine files
// then pays for one flush instead of one per file. Batches nest; only the outermost one flushes.
class FlushBatch
{
public:
    FlushBatch();
    ~FlushBatch();
    FlushBatch(const FlushBatch&) = delete;
    FlushBatch& operator=(const FlushBatch&) = delete;

    // Ends the batch. For the outermost batch: the stored paths of the files written during the batch
    // that could not be put on the disk (empty when all were); always empty for an inner batch.
    std::vector<std::string> finish();

private:
    bool m_finished = false;
};

namespace detail {
// True when a batch is open; the file is then remembered for its flush.
bool deferIntoBatch(std::string_view storedPath);
// Puts the files on the disk; returns those that could not be.
std::vector<std::string> flushFiles(const std::vector<std::string>& storedPaths);
} // namespace detail

} // namespace orvant::platform
