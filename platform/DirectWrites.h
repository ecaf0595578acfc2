#pragma once

#include "platform/FileSystem.h"

#include <string>
#include <string_view>
#include <vector>

namespace orvant::platform {

// Writes that do not wait for an open WriteBatch: the backup of a save, which must be on the disk before
// the save replaces anything, and the audit log, which is appended to rather than replaced.

// Creates one folder at once (its parent must exist); succeeds when it exists already.
FileResult createFolderNow(std::string_view path);

// Replaces a file atomically at once, as writeFileAtomically does outside a batch, without flushing it;
// flushNow puts such files on the disk together.
FileResult writeNow(std::string_view path, std::string_view bytes);
std::vector<std::string> flushNow(const std::vector<std::string>& storedPaths);

// Appends bytes to a file, creating it when missing, with one write of the whole text in append mode, so
// that two programs appending at once never interleave within it. The file is flushed before the call
// returns. A log only grows: replacing it whole on every save would cost its whole length each time.
FileResult appendToFile(std::string_view path, std::string_view bytes);

} // namespace orvant::platform
