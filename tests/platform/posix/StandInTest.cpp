#include "platform/Environment.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"
#include "platform/Process.h"
#include "tests/support/Files.h"
#include "tests/support/TestFolder.h"

#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/resource.h>
#include <sys/stat.h>
#include <thread>

// Rules of the POSIX stand-in that Windows has no use for: paths are taken as stored there, files take
// their folder's access rules, a read-only folder attribute stops nobody, and there are no sessions or
// zombies. Windows also opens a folder in Explorer, and Wine starts a program in a missing folder.
namespace orvant::platform {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using test::ScopedEnv;

TEST(StandIn, StoredPathsFindTheNativeSpelling)
{
    test::TestFolder folder;
    for (const char* file : { "drive_c/Orvant/Conf/Setup.xml", "drive_c/Orvant/Conf/a.TXT", "drive_c/Orvant/Conf/A.txt",
                              "drive_c/Orvant/Reçus/ÉTÉ.txt", "drive_d/Data/file.txt" }) {
        folder.write(file, "");
    }
    const std::string root = folder.path().string();
    const ScopedEnv driveD("ORVANT_DRIVE_D", root + "/drive_d"), noDriveE("ORVANT_DRIVE_E", nullptr),
        dataHome("XDG_DATA_HOME", root + "/data");
    // Drives are mapped and the case matched on every level, Windows-1252 letters too; missing
    // components stay as written; the exact case wins, else the first in byte order; the current
    // drive's root is drive C; a native folder with a stored tail is converted too.
    const std::pair<std::string, const char*> cases[] = {
        { "C:\\ORVANT\\REÇUS\\été.TXT", "/drive_c/Orvant/Reçus/ÉTÉ.txt" },
        { "d:/data\\FILE.TXT", "/drive_d/Data/file.txt" },
        { "E:\\Setup\\x.ini", "/data/orvant/drives/e/Setup/x.ini" },
        { "C:", "/drive_c" },
        { "C:\\orvant\\\\conf\\Logs\\", "/drive_c/Orvant/Conf/Logs/" },
        { "C:\\orvant\\conf\\a.TXT", "/drive_c/Orvant/Conf/a.TXT" },
        { "C:\\orvant\\conf\\a.txt", "/drive_c/Orvant/Conf/A.txt" },
        { "\\orvant\\conf", "/drive_c/Orvant/Conf" },
        { root + "/drive_c/orvant\\conf\\SETUP.xml", "/drive_c/Orvant/Conf/Setup.xml" },
    };
    for (const auto& [stored, native] : cases) {
        EXPECT_EQ(toNativePath(stored), root + native) << stored;
    }
    const ScopedEnv relativeDataHome("XDG_DATA_HOME", std::string("relative")), home("HOME", root + "/home/");
    EXPECT_EQ(userDataFolder(), root + "/home/.local/share/orvant");
}

// A file-size limit makes the kernel refuse the data part-way, as a full disk does.
TEST(StandIn, FilesKeepTheirModeAndFailedWritesLeaveNoTrace)
{
    test::TestFolder folder;
    folder.write("conf/settings.xml", "old");
    fs::permissions(folder.path() / "conf/settings.xml", fs::perms(0640));
    const mode_t umask = ::umask(022);
    EXPECT_TRUE(writeFileAtomically(folder.stored("conf\\new.properties"), "a=b").ok);
    ::umask(umask);
    EXPECT_TRUE(writeFileAtomically(folder.stored("conf\\users.properties"), "x", true).ok);
    EXPECT_TRUE(writeFileAtomically(folder.stored("CONF\\SETTINGS.XML"), "new").ok);
    const auto mode = [&folder](const char* file) { return fs::status(folder.path() / "conf" / file).permissions(); };
    EXPECT_EQ(mode("new.properties"), fs::perms(0644)) << "as the umask leaves it";
    EXPECT_EQ(mode("users.properties"), fs::perms(0600)) << "the owner's alone";
    EXPECT_EQ(mode("settings.xml"), fs::perms(0640)) << "as it was";
    rlimit previous {};
    ::getrlimit(RLIMIT_FSIZE, &previous);
    const auto handler = std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limited { 1000, previous.rlim_max };
    ::setrlimit(RLIMIT_FSIZE, &limited);
    const auto full = writeFileAtomically(folder.stored("conf\\settings.xml"), std::string(64 * 1024, 'x'));
    ::setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, handler);
    EXPECT_EQ(full.error, "Cannot write " + folder.stored("conf\\settings.xml") + ": File too large");
    test::makeReadOnly(folder.path() / "conf");
    EXPECT_EQ(writeFileAtomically(folder.stored("conf\\other.xml"), "new").error,
              "Cannot write " + folder.stored("conf\\other.xml") + ": Permission denied");
    EXPECT_EQ(listFolder(folder.stored("conf")).size(), 3u);
    EXPECT_EQ(folder.read("conf/settings.xml"), "new");
}

TEST(StandIn, ChildRunsInItsOwnSessionWithoutInputAndIsReaped)
{
    test::TestFolder folder;
    EXPECT_EQ(startProgram(folder.stored(""), "", "", WindowMode::Hidden), nullptr);
    EXPECT_EQ(startProgram("/bin/sh", "-c true", folder.stored("missing"), WindowMode::Hidden), nullptr);
    // Field 6 of /proc/PID/stat is the session; "cat" ends at once only when there is no input.
    const std::string report = (folder.path() / "report").string();
    startProgram("/bin/sh", "-c \"read -r p c s pp pg sid rest < /proc/$$/stat; cat; echo $p $sid > " + report + "\"",
                 "", WindowMode::Hidden);
    int pid = 0, session = -1;
    std::istringstream(test::waitForLine(report)) >> pid >> session;
    EXPECT_EQ(session, pid) << "not the leader of a session of its own";
    const auto gone = [pid] { return !fs::exists("/proc/" + std::to_string(pid)); };
    for (auto waited = 0ms; waited < 10s && !gone(); waited += 10ms) {
        std::this_thread::sleep_for(10ms);
    }
    ASSERT_GT(pid, 0);
    EXPECT_TRUE(gone()) << "process " << pid << " left behind";
}

// Windows does the same; Wine does not (it passes both signs of an undefined name over).
TEST(StandIn, ClosingSignOfAnUndefinedNameMayOpenTheNextReference)
{
    const ScopedEnv alpha("ORVANT_T_ALPHA", std::string("alpha"));
    const ScopedEnv undefined("ORVANT_T_UNDEF", nullptr);
    EXPECT_EQ(expandEnvironmentStrings("%ORVANT_T_UNDEF%ORVANT_T_ALPHA%|100% of %ORVANT_T_ALPHA%|%%ORVANT_T_ALPHA%%"),
              "%ORVANT_T_UNDEFalpha|100% of alpha|%alpha%");
}

} // namespace
} // namespace orvant::platform
