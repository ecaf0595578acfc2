#pragma once

#include <filesystem>
#include <functional>
#include <string>

// What a test does differently on the two sides. On POSIX the registry is a pair of hive files in the
// test's folder and the serial ports a mapping folder; on Windows both are the machine's own (under
// Wine, the throwaway prefix's). CMake picks the files of posix/ or of win32/.
namespace orvant::test::host {

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
