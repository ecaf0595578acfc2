#pragma once

#include <chrono>
#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <string>
#include <string_view>

namespace orvant::test {

// Text written with "\n" in a test, as the system writes it: every "\n" becomes CR LF.
std::string crlf(std::string_view text);

// A whole file's bytes; empty when it cannot be read.
std::string readFile(const std::filesystem::path& path);
// Writes the bytes, creating the parent folders.
void writeFile(const std::filesystem::path& path, std::string_view bytes);

// Writes a script with the execute bit set: a stand-in for a program the system starts.
void writeExecutable(const std::filesystem::path& path, std::string_view script);

// A file's bytes once it holds a whole line (it ends with a line end), as a program started by a
// test writes it; empty when that did not happen within the time.
std::string waitForLine(const std::filesystem::path& path,
                        std::chrono::milliseconds timeout = std::chrono::seconds(20));

// A file of tests/data (relative path with "/").
std::filesystem::path dataPath(std::string_view relative);
std::string dataFile(std::string_view relative);

// Compares bytes with a file of tests/data, whole. With ORVANT_UPDATE_TEST_DATA=1 in the environment
// the file is written instead (to create an expected file; review the change before committing it).
::testing::AssertionResult matchesDataFile(std::string_view actual, std::string_view relative);

// Every file and folder below a folder with its bytes (folders end in "/"), by path relative to it.
// Lock files ("*.lock") are left out: they hold nothing, and taking a lock is no write.
using TreeSnapshot = std::map<std::string, std::string>;
// The trace every save leaves in an installation (its backups\ folder and logs\configuration-audit.log)
// is left out unless asked for: most tests look at what a save configures, the trace tests at the trace.
enum class Trace
{
    LeftOut,
    Included,
};
TreeSnapshot snapshotTree(const std::filesystem::path& folder, Trace trace = Trace::LeftOut);

// Success when the two snapshots are equal; otherwise names every path written, created or removed.
::testing::AssertionResult sameTree(const TreeSnapshot& before, const TreeSnapshot& after);

// The files (not folders) of after that before did not hold with the same bytes: what was written.
TreeSnapshot changedFiles(const TreeSnapshot& before, const TreeSnapshot& after);

// Compares files (folders are ignored) with the files below a folder of tests/data, whole: the
// expected output of a step that writes several files. ORVANT_UPDATE_TEST_DATA=1 writes them instead.
::testing::AssertionResult matchesDataTree(const TreeSnapshot& files, std::string_view relative);

// Takes every write bit from a file or folder (and, for a folder, from everything in it), as a
// read-only file or a user without the right to change it would meet it. Root obeys it too: the
// platform layer treats a file without write bits as read-only, as Windows treats its attribute.
void makeReadOnly(const std::filesystem::path& path);

// Takes every read bit from a file, as a file another user keeps to itself.
void makeUnreadable(const std::filesystem::path& path);

} // namespace orvant::test
