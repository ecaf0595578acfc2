#pragma once

#include "platform/Registry.h"

#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <string>

// What a test does differently on the two sides. On POSIX the registry is a pair of hive files in the
// test's folder and the serial ports a mapping folder; on Windows both are the machine's own (under
// Wine, the throwaway prefix's). CMake picks the files of posix/ or of win32/.
namespace orvant::test::host {

// Something a test relies on that one side of the system does not have. Such a test starts with
// ORVANT_SKIP_UNLESS(host::kName): where the condition does not hold the test is skipped, and the
// run's output names the condition and gives its reason on one line, so no test is skipped silently.
struct Condition
{
    bool holds;
    const char* reasonWhenNot;
};

// A folder whose write rights a test takes away (makeReadOnly) refuses new files, renames and removals
// in it. POSIX: its mode bits, which the platform layer obeys as root too. Windows: a folder's read-only
// attribute does not stop writes in it, and an access control list, which would, Wine does not enforce
// for files.
extern const Condition kReadOnlyFolders;
// A file whose read rights a test takes away (makeUnreadable) cannot be read. POSIX: mode bits. Windows
// has no such bit (only an access control list, which Wine does not enforce for files).
extern const Condition kUnreadableFiles;
// The registry is a pair of hive files that a test can make read-only, as the POSIX stand-in keeps it.
// On Windows it is the system's own; denyMachineRegistryWrites stands in where a test needs a refusal.
extern const Condition kRegistryHiveFiles;
// A save writes each registry hive whole or not at all, as it does each file: the POSIX stand-in
// replaces a hive file at once. Windows sets the values one by one (RegSetValueExA), so a save killed
// between two leaves some values new and some old; the save's backup puts them back (rollback).
extern const Condition kRegistrySavedWhole;

// The folder that stands for drive C: in this test: its own folder on POSIX (ORVANT_DRIVE_C); on Windows
// the machine's real C:\, whose entries that a test adds are removed again when its folder goes.
std::filesystem::path driveC(const std::filesystem::path& testFolder);
void beginDriveTest(const std::filesystem::path& driveC);
void endDriveTest(const std::filesystem::path& driveC);

// The keys the system writes (SOFTWARE\Kelbrin with everything below it) of one hive as REGEDIT4 text,
// the way the POSIX stand-in keeps it in the hive file "HKEY_CURRENT_USER.reg" or
// "HKEY_LOCAL_MACHINE.reg" of the registry folder: on POSIX that file's bytes, on Windows the same
// text made from the real registry. Empty when the hive holds nothing.
std::string hiveText(const std::filesystem::path& registryFolder, platform::Hive hive);
// Makes the hive's keys what such a text says (none for an empty text).
void restoreHive(const std::filesystem::path& registryFolder, platform::Hive hive, const std::string& text);

// Called by TestFolder. On Windows the keys the system writes (SOFTWARE\Kelbrin of both hives, the
// machine environment) start empty for each test and the machine environment is put back afterwards,
// so tests see what a fresh hive file gives them on POSIX.
void beginRegistryTest();
void endRegistryTest();

// Takes from this user the right to change the machine's registry, as a user without administrator
// rights has it: on POSIX the hive folder becomes read-only; on Windows the machine environment key
// and the keys of SOFTWARE\Kelbrin get an entry that denies setting values and creating keys, until the
// test ends. Wine does not check a parent's right to create keys: only keys that exist are closed.
void denyMachineRegistryWrites(const std::filesystem::path& registryFolder);

// Writes the start script at storedBatchPath so that, when the start-script rules run it, it writes
// "started" and a line end into the file at storedRecordPath. On POSIX a batch file cannot run, so
// the script is the shell script beside it (same name, ".sh").
void writeRecordingScript(const std::string& storedBatchPath, const std::string& storedRecordPath);

// How many WM_SETTINGCHANGE "Environment" broadcasts a top-level window of this process received while
// `action` ran. Only Windows has them: on POSIX nothing listens for environment changes, and the
// count is always 0 (kEnvironmentBroadcastsArrive is false).
extern const bool kEnvironmentBroadcastsArrive;
int environmentBroadcastsDuring(const std::function<void()>& action);

// The folder whose "comN" entries are the serial ports: ORVANT_COM_PORT_DIR on POSIX, Wine's
// dosdevices on Windows. Empty on a Windows that is not Wine (nothing to stage ports in).
std::filesystem::path comPortFolder();

} // namespace orvant::test::host

// See host::Condition. Usable in a test body or a fixture's SetUp.
#define ORVANT_SKIP_UNLESS(condition)                                                                                  \
    if (const ::orvant::test::host::Condition& orvantCondition = (condition); orvantCondition.holds) {                 \
    } else                                                                                                             \
        GTEST_SKIP() << "Needs " #condition ", which does not hold here: " << orvantCondition.reasonWhenNot
