#pragma once

#include "platform/SaveScope.h"

#include <optional>
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

// Creates one folder (its parent must exist). Succeeds when the folder already exists. Within a
// WriteBatch a new folder is kept like a write and made when the batch ends; it is refused at once when
// its parent is read-only or neither exists nor is kept, or when a file is in the way.
FileResult createFolder(std::string_view path);

// Removes a file or an empty folder. Outside a batch at once; in a batch it is kept like a write: a
// file or folder the batch itself created is simply dropped from it, an existing one is removed when
// the batch ends. Removing what does not exist succeeds. A read-only file is removed all the same (a
// copy of a read-only program is read-only too); what a read-only folder holds, and a folder that is
// not empty (as the batch would leave it), are refused at once. A symbolic link is removed itself, not
// the file it points to.
FileResult removePath(std::string_view path);

// Creates a new, empty folder with a unique name in the system's folder for temporary files and
// returns its native path; empty when it could not be created.
std::string createTemporaryFolder(std::string_view namePrefix);

// Names (not paths) of the entries of a folder, sorted; files and folders alike. Within a batch the
// list is the folder as the batch would leave it.
std::vector<std::string> listFolder(std::string_view path);

// Copies a file, replacing the target atomically. The copy takes the source's permission bits (on
// POSIX), so a copied program stays executable. A read-only target is not replaced. Within a batch the
// source is read at once (as the batch sees it) and the copy is kept like a write.
FileResult copyFile(std::string_view from, std::string_view to);

// Reads a whole file as bytes.
FileResult readWholeFile(std::string_view path, std::string& bytes);

// What is on the disk at a path, a symbolic link (on Windows a reparse point) taken as itself, not as
// what it points to. An open batch is not looked at.
enum class EntryKind
{
    None,
    File,
    Folder,
    Link,
    Other, // a device, a pipe, a socket
};
EntryKind entryKind(std::string_view path);

// Whether a path is the folder or lies below it once both are resolved as the file system would resolve
// them: symbolic links, ".", ".." and letter case. The folder must exist. A path whose missing part
// holds ".." or a link that leads nowhere does not lie in it: where it would lead cannot be told.
bool resolvesWithin(std::string_view path, std::string_view folder);

// A file's permission bits (POSIX, symbolic links followed); nullopt on Windows, where a file takes its
// folder's access rules, and when there is no file.
std::optional<unsigned> permissionBits(std::string_view path);

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

// Replaces a file as writeFileAtomically does, giving it these permission bits (POSIX; nullopt keeps
// the old file's, as a plain write does). On Windows the file takes its folder's access rules.
FileResult writeFileWithPermissions(std::string_view path, std::string_view bytes, std::optional<unsigned> bits);

// Puts a file written Deferred, and its entry in its folder, on the disk.
FileResult flushFile(std::string_view path);

// The files of one save. While a batch lives on this thread, every file is read at most once and
// written at most once: a file read is remembered, and a Flushed write is checked at once (a read-only
// file or folder, or a missing folder, is refused as it would be without the batch) and then kept in
// memory. Reads and existence checks see the new bytes, a later write of the same file replaces them,
// and each file is replaced once, atomically, when the outermost batch ends, all of them put on the
// disk together. A save that regenerates hundreds of engine files then writes each once and pays for
// one flush. The caller keeps other writers out for the batch's life (the installation lock).
// Batches nest (SaveScope.h): only the one that holds the save's files writes.
//
// Folders created and files copied or removed during the batch are kept the same way, so that a whole
// save can be looked at (changes()) before it touches the disk, backed up, or dropped (discard()).
// When the outermost batch ends it creates the new folders first (in the order they were created),
// then writes the files (in the order they were last written), then removes the files, then the
// folders (innermost first: in the order they were removed, as each had to be empty for the batch
// then). A file whose new bytes equal the bytes the batch read from the disk is not rewritten.

// One change a batch holds.
struct FileChange
{
    std::string storedPath;
    bool folder = false; // a folder the batch creates or removes
    // The file's bytes on the disk now; nullopt: there is none (for a folder: "" when it exists).
    std::optional<std::string> before;
    // What the batch leaves; nullopt: the batch removes it (for a folder: "" when it will exist).
    std::optional<std::string> after;
    // The file is on the disk but could not be read: before is nullopt all the same. A backup must not
    // take it for a file the batch creates.
    bool unreadable = false;

    bool operator==(const FileChange&) const = default;
};

class WriteBatch
{
public:
    WriteBatch();
    ~WriteBatch();
    WriteBatch(const WriteBatch&) = delete;
    WriteBatch& operator=(const WriteBatch&) = delete;

    // Ends the batch. For the outermost batch: the stored paths of the files and folders that could not
    // be written, created, removed or put on the disk (empty when all were); always empty for an inner
    // batch.
    std::vector<std::string> finish();

    // What the outermost batch would change so far, in the order the changes were first made; a file
    // whose new bytes equal the bytes on the disk is left out (unless the batch changes its permission
    // bits: then before and after are equal). Reads a file it has not read yet, once. An inner batch answers
    // for the whole open batch; empty when no batch is open on the thread.
    std::vector<FileChange> changes() const;
    // Ends the batch writing nothing (a dry run, or a save refused before it may touch anything). The
    // outermost batch drops everything kept; an inner batch only ends itself and leaves the decision to
    // the outermost one.
    void discard();

private:
    SaveScope m_scope { SaveScope::Part::Files, this };
};

namespace detail {

// The batch's side of the file functions. The key names the file on this system (two spellings of one
// path give one key; a folder's key has no separator at its end, unless it is a root).
bool batchOpen();
void keepInBatch(std::string key, std::string_view storedPath, std::string_view bytes, bool ownerOnly);
// How a kept write leaves the file's attributes.
struct KeptWrite
{
    bool ownerOnly = false;
    // The permission bits the file takes (a copy's, POSIX); nullopt: it keeps its own.
    std::optional<unsigned> mode;
    // The file on the disk would get other attributes, so it is written even when its bytes stay.
    bool changesAttributes = false;
};
void keepInBatch(std::string key, std::string_view storedPath, std::string_view bytes, const KeptWrite& how);
// A file read during the batch is read once: later reads get the same bytes.
void rememberRead(std::string key, std::string_view bytes);
const std::string* bytesInBatch(const std::string& key);

// What the batch makes of a path. Unknown: the disk answers.
enum class InBatch
{
    Unknown,
    File, // a file the batch writes or has read
    Folder, // a folder the batch creates
    Gone, // a file or folder the batch removes
};
InBatch lookInBatch(const std::string& key);
// A folder to create when the batch ends (the platform has checked that it may).
void keepFolder(std::string key, std::string_view storedPath);
// An existing file or folder to remove when the batch ends; a write kept for it is dropped.
void keepRemoval(std::string key, std::string_view storedPath, bool folder);
// Forgets what the batch holds for a key: a file or folder it created, or a removal taken back.
void dropFromBatch(const std::string& key);
// The files and folders the batch writes or creates directly in a folder: their keys and stored paths.
struct KeptEntry
{
    std::string key;
    std::string storedPath;
};
std::vector<KeptEntry> keptIn(const std::string& folderKey, char separator);
// For a system whose own file names keep their case: a path that is not on the disk, spelt as the file
// or folder the batch writes or creates under that name, letter case aside (or as the nearest such
// folder above it).
std::string spelledAsKept(std::string path, char separator);

// Each platform's own: the write itself (mode: the permission bits the file takes, where the system has
// them), the flush of written files (returns those that could not be put on the disk), and a read that
// does not look at the batch: false when the file is there but cannot be read, bytes nullopt when there
// is no file.
FileResult replaceNow(std::string_view storedPath, std::string_view bytes, bool ownerOnly,
                      std::optional<unsigned> mode = std::nullopt);
std::vector<std::string> flushFiles(const std::vector<std::string>& storedPaths);
bool readOnDisk(std::string_view storedPath, std::optional<std::string>& bytes);

} // namespace detail

} // namespace orvant::platform
