#pragma once

#include "platform/FileSystem.h"

#include <string>
#include <string_view>
#include <vector>

namespace orvant::platform {

// Writes that do not wait for an open WriteBatch: the backup of a save, which must be on the disk before
// the save replaces anything, and the audit log, which is appended to rather than replaced.

// Who may open a folder of the system's own records: whoever its parent lets in, or its owner alone
// (POSIX 0700; Windows: the owner, Administrators and SYSTEM, nothing inherited from the parent).
enum class FolderAccess
{
    Inherited,
    OwnerOnly,
};

// Creates one folder at once (its parent must exist); succeeds when it exists already. OwnerOnly also
// closes an existing folder to everyone else, where this user may change its access.
FileResult createFolderNow(std::string_view path, FolderAccess access = FolderAccess::Inherited);

// Creates a new folder at once, refused when anything is at the path already, a link included: what
// is written into it then cannot lead anywhere else.
FileResult createNewFolderNow(std::string_view path, FolderAccess access);

// Replaces a file atomically at once, as writeFileAtomically does outside a batch, without flushing it;
// flushNow puts such files on the disk together. ownerOnly: readable and writable by the owner only
// (POSIX; on Windows the folder's access rules apply).
FileResult writeNow(std::string_view path, std::string_view bytes, bool ownerOnly = false);
std::vector<std::string> flushNow(const std::vector<std::string>& storedPaths);

// Removes a file, an empty folder or a symbolic link (never what it points to) at once, whether or not
// a batch is open. Removing what does not exist succeeds.
FileResult removeNow(std::string_view path);

// Appends bytes to a file, creating it when missing (never through a symbolic link: a link at the path
// is refused, as is anything but a regular file), with one write of the whole text in append mode, so
// that two programs appending at once never interleave within it. The file is flushed before the call
// returns. A log only grows: replacing it whole on every save would cost its whole length each time.
// A write that fails part way (a full disk) is taken back, so the file ends as it was. When lineEnd is
// given and the file does not end with it (a line torn by a crash), lineEnd goes first, so that the
// text starts a line of its own. A new file is not writable by others, and one found writable by
// others is closed to them where this user may change it.
FileResult appendToFile(std::string_view path, std::string_view bytes, std::string_view lineEnd = {});

} // namespace orvant::platform
