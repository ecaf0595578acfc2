#pragma once

#include "platform/posix/RegeditFile.h"

#include <string>
#include <vector>

namespace orvant::platform {

// The writer's side of a hive file: while a HiveLock lives it holds an exclusive flock on the lock
// file beside the hive ("<hive file>.lock", kept for good: removing it would race with a writer
// that has just opened it), so that read-change-replace sequences of several processes follow one
// another and none loses another's change. Readers take no lock: the file is only ever replaced by
// renaming a complete new file over it.
//
// A file or folder without any write bit counts as read-only even for root, as the read-only
// attribute stops administrators on Windows; one without any read bit counts as unreadable.
class HiveLock
{
public:
    // Waits for the lock. A missing folder is created when its nearest existing parent can be
    // written. result() says whether the lock is held: ERROR_SUCCESS, or ERROR_ACCESS_DENIED when
    // the hive file or its folder cannot be written (or the file cannot be read back).
    explicit HiveLock(std::string hiveFile);
    ~HiveLock();
    HiveLock(const HiveLock&) = delete;
    HiveLock& operator=(const HiveLock&) = delete;

    long result() const { return m_result; }

    // Reads the hive under the lock. ERROR_INVALID_DATA when some of it could not be parsed: the
    // hive then holds only what could be, and must not be stored back over the file.
    long load(RegeditFile& hive) const;

    // Replaces the hive file atomically. ERROR_WRITE_FAULT when that failed (the old file is kept).
    long store(const RegeditFile& hive, std::string* error = nullptr) const;

    // Reads a hive without the lock, taking whatever can be parsed. A missing file is an empty
    // hive; ERROR_ACCESS_DENIED when the file exists but cannot be read.
    static long read(const std::string& hiveFile, RegeditFile& hive, std::vector<RegeditProblem>* problems = nullptr);

    // Whether a HiveLock on the file would be granted (without creating anything).
    static bool isWritable(const std::string& hiveFile);

private:
    std::string m_hiveFile;
    int m_lockFd = -1;
    long m_result = 0;
};

} // namespace orvant::platform
