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
// Flushed (the default) puts the data on the disk before the call returns, or, within a WriteBatch,
// when the batch ends. Deferred replaces the file at once and leaves the flush to the system's
// write-back, as the Windows registry does with its hives: the replacement is still atomic for every
// reader, but a crash may roll it back. A Deferred write never waits for a batch, so that a file
// written under a lock is written before the lock goes.
enum class Durability
{
    Flushed,
    Deferred,
};
FileResult writeFileAtomically(std::string_view path, std::string_view bytes, bool ownerOnly = false,
                               Durability durability = Durability::Flushed);

// Puts a file written Deferred, and its entry in its folder, on the disk.
FileResult flushFile(std::string_view path);

// The files of one save. While a batch lives on this thread, every file is read at most once and
// written at most once: a file read is remembered, and a Flushed write is checked at once (a read-only
// file or folder, or a missing folder, is refused as it would be without the batch) and then kept in
// memory. Reads and existence checks see the new bytes, a later write of the same file replaces them,
// and each file is replaced once, atomically, when the outermost batch ends, all of them put on the
// disk together. A save that regenerates hundreds of engine files then writes each once and pays for
// one flush. The caller keeps other writers out for the batch's life (the installation lock).
// Batches nest; only the outermost one writes.
class WriteBatch
{
public:
    WriteBatch();
    ~WriteBatch();
    WriteBatch(const WriteBatch&) = delete;
    WriteBatch& operator=(const WriteBatch&) = delete;

    // Ends the batch. For the outermost batch: the stored paths of the files that could not be written
    // or put on the disk (empty when all were); always empty for an inner batch.
    std::vector<std::string> finish();

private:
    bool m_finished = false;
};

namespace detail {

// The batch's side of the file functions. The key names the file on this system (two spellings of one
// path give one key).
bool batchOpen();
void keepInBatch(std::string key, std::string_view storedPath, std::string_view bytes, bool ownerOnly);
// A file read during the batch is read once: later reads get the same bytes.
void rememberRead(std::string key, std::string_view bytes);
const std::string* bytesInBatch(const std::string& key);

// Each platform's own: the write itself, and the flush of written files (returns those that could not
// be put on the disk).
FileResult replaceNow(std::string_view storedPath, std::string_view bytes, bool ownerOnly);
std::vector<std::string> flushFiles(const std::vector<std::string>& storedPaths);

} // namespace detail

} // namespace orvant::platform
