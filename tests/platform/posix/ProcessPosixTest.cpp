#include "platform/Process.h"

#include "tests/support/TestFolder.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sstream>
#include <thread>

// POSIX only: a started program is detached into a session of its own with input from /dev/null,
// and reaped when it ends, held or not; Windows has neither sessions nor zombies. A folder or a
// missing working folder starts nothing here; Windows opens a folder in Explorer, and Wine starts a
// program in a working folder that does not exist.
namespace orvant::platform {
namespace {

using namespace std::chrono_literals;

TEST(ProcessPosix, ChildRunsInItsOwnSessionWithoutInputAndIsReaped)
{
    test::TestFolder folder;
    EXPECT_EQ(startProgram(folder.stored(""), "", "", WindowMode::Hidden), nullptr);
    EXPECT_EQ(startProgram("/bin/sh", "-c true", folder.stored("missing"), WindowMode::Hidden), nullptr);
    const std::string report = (folder.path() / "report").string();
    // Field 6 of /proc/PID/stat is the session; "cat" ends at once only when there is no input.
    startProgram("/bin/sh", "-c \"read -r p c s pp pg sid rest < /proc/$$/stat; cat; echo $p $sid > " + report + ".part; mv " + report
                     + ".part " + report + "\"",
                 "", WindowMode::Hidden)
        .reset();
    int pid = 0;
    int session = -1;
    for (auto waited = 0ms; waited < 10s && !pid; waited += 10ms) {
        std::this_thread::sleep_for(10ms);
        std::istringstream(folder.read("report")) >> pid >> session;
    }
    ASSERT_GT(pid, 0);
    EXPECT_EQ(session, pid);
    const auto gone = [pid] { return !std::filesystem::exists("/proc/" + std::to_string(pid)); };
    for (auto waited = 0ms; waited < 10s && !gone(); waited += 10ms) {
        std::this_thread::sleep_for(10ms);
    }
    EXPECT_TRUE(gone()) << "process " << pid << " left behind";
}

} // namespace
} // namespace orvant::platform
