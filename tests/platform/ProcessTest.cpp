#include "platform/Process.h"

#include "tests/support/TestFolder.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <signal.h>
#include <thread>
#include <unistd.h>

namespace orvant::platform {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using test::ScopedEnv;

// What the reporter program saw when it was started.
struct Report
{
    pid_t pid = 0;
    pid_t sid = 0;
    std::string cwd;
    std::string input;
    std::vector<std::string> args;
};

bool processGone(pid_t pid)
{
    // A zombie keeps its /proc entry until it is reaped.
    return !fs::exists("/proc/" + std::to_string(pid));
}

bool eventually(const std::function<bool()>& condition, std::chrono::milliseconds limit = 5s)
{
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(5ms);
    }
    return true;
}

class ProcessTest : public ::testing::Test
{
protected:
    ProcessTest()
    {
        fs::create_directories(m_folder.driveC() / "Orvant" / "Bin");
        fs::create_directories(m_folder.driveC() / "Orvant" / "Work");
        fs::copy_file(ORVANT_PROCESS_REPORTER, m_folder.driveC() / "Orvant" / "Bin" / "Reporter");
    }

    Report readReport() const
    {
        Report report;
        std::ifstream in(m_reportFile);
        std::string line;
        while (std::getline(in, line)) {
            const auto separator = line.find('=');
            const std::string key = line.substr(0, separator);
            const std::string value = line.substr(separator + 1);
            if (key == "pid") {
                report.pid = std::stoi(value);
            } else if (key == "sid") {
                report.sid = std::stoi(value);
            } else if (key == "cwd") {
                report.cwd = value;
            } else if (key == "stdin") {
                report.input = value;
            } else if (key == "arg") {
                report.args.push_back(value);
            }
        }
        return report;
    }

    bool reportWritten() const { return fs::exists(m_reportFile); }

    std::string c(const std::string& rest) const { return m_folder.driveC().string() + rest; }

    test::TestFolder m_folder;
    fs::path m_reportFile = m_folder.path() / "report.txt";
    ScopedEnv m_report { "ORVANT_REPORT_FILE", m_reportFile.string() };
    ScopedEnv m_sleep { "ORVANT_REPORT_SLEEP_MS", nullptr };
};

TEST_F(ProcessTest, StartsDetachedWithWindowsParametersConverted)
{
    const std::string parameters = R"( -jar C:\ORVANT\lib\version.jar "with space" "quote \"inside\"")"
                                   R"( -x\\"b c" -y\"q -z\\\"q -w\\n a""b "" ..\BIN\reporter C:/orvant/work)"
                                   R"( \orvant\bin -Dhome=C:\ORVANT plain "a""b" c)";
    auto program = startProgram("C:\\ORVANT\\BIN\\REPORTER", parameters, "c:\\orvant\\WORK", WindowMode::Hidden);
    ASSERT_NE(program, nullptr);
    ASSERT_TRUE(program->waitForExit(10s));

    const Report report = readReport();
    EXPECT_EQ(report.sid, report.pid) << "not the leader of its own session";
    EXPECT_NE(report.sid, ::getsid(0));
    EXPECT_EQ(report.cwd, fs::canonical(m_folder.driveC() / "Orvant" / "Work").string());
    EXPECT_EQ(report.input, "end");
    const std::vector<std::string> expected {
        "-jar",
        c("/Orvant/lib/version.jar"),
        "with space",
        "quote \"inside\"",
        "-x\\b c",
        "-y\"q",
        "-z\\\"q",
        "-w\\\\n",
        "ab",
        "",
        "../Bin/Reporter",
        c("/Orvant/Work"),
        c("/Orvant/Bin"),
        "-Dhome=C:\\ORVANT",
        "plain",
        "a\"b c",
    };
    EXPECT_EQ(report.args, expected);
}

TEST_F(ProcessTest, WithoutWorkingFolderTheChildKeepsOurs)
{
    auto program = startProgram(c("/Orvant/Bin/Reporter"), "", "", WindowMode::MinimizedActive);
    ASSERT_NE(program, nullptr);
    ASSERT_TRUE(program->waitForExit(10s));
    const Report report = readReport();
    EXPECT_EQ(report.cwd, fs::current_path().string());
    EXPECT_TRUE(report.args.empty());
}

TEST_F(ProcessTest, BareNameIsLookedForInWorkingFolderThenOnPath)
{
    fs::copy_file(ORVANT_PROCESS_REPORTER, m_folder.driveC() / "Orvant" / "Work" / "Local");
    auto local = startProgram("LOCAL", "here", "C:\\Orvant\\Work", WindowMode::Hidden);
    ASSERT_NE(local, nullptr);
    ASSERT_TRUE(local->waitForExit(10s));
    EXPECT_EQ(readReport().args, std::vector<std::string> { "here" });

    const ScopedEnv path("PATH", c("/Orvant/Bin"));
    auto onPath = startProgram("Reporter", "found", "C:\\Orvant\\Work", WindowMode::Hidden);
    ASSERT_NE(onPath, nullptr);
    ASSERT_TRUE(onPath->waitForExit(10s));
    EXPECT_EQ(readReport().args, std::vector<std::string> { "found" });
}

TEST_F(ProcessTest, ProgramThatCannotStartReportsNotStarted)
{
    m_folder.write("drive_c/Orvant/Bin/notes.txt", "not a program");
    EXPECT_EQ(startProgram("C:\\ORVANT\\BIN\\missing.exe", "", "", WindowMode::Hidden), nullptr);
    EXPECT_EQ(startProgram("C:\\ORVANT\\BIN\\notes.txt", "", "", WindowMode::Hidden), nullptr);
    EXPECT_EQ(startProgram("C:\\ORVANT\\BIN", "", "", WindowMode::Hidden), nullptr);
    EXPECT_EQ(startProgram("no-such-program-anywhere", "", "", WindowMode::Hidden), nullptr);
    EXPECT_EQ(startProgram("", "", "", WindowMode::Hidden), nullptr);
    EXPECT_EQ(startProgram("C:\\ORVANT\\BIN\\Reporter", "", "C:\\ORVANT\\Missing", WindowMode::Hidden), nullptr);
    EXPECT_FALSE(reportWritten());
}

TEST_F(ProcessTest, EndedProgramIsReaped)
{
    auto program = startProgram("C:\\ORVANT\\BIN\\Reporter", "", "", WindowMode::Hidden);
    ASSERT_NE(program, nullptr);
    ASSERT_TRUE(program->waitForExit(10s));
    ASSERT_TRUE(reportWritten()) << "waited for less than the whole program";
    const pid_t pid = readReport().pid;
    ASSERT_GT(pid, 0);
    EXPECT_TRUE(processGone(pid));
    EXPECT_TRUE(program->waitForExit(0ms));
}

TEST_F(ProcessTest, DroppedHandleLeavesNoZombie)
{
    const ScopedEnv sleep("ORVANT_REPORT_SLEEP_MS", std::string("100"));
    startProgram("C:\\ORVANT\\BIN\\Reporter", "", "", WindowMode::Hidden).reset();
    ASSERT_TRUE(eventually([this] { return reportWritten(); }));
    const pid_t pid = readReport().pid;
    ASSERT_GT(pid, 0);
    EXPECT_TRUE(eventually([pid] { return processGone(pid); })) << "process " << pid << " left behind";
}

TEST_F(ProcessTest, WaitForExitReturnsAsSoonAsTheProgramEnds)
{
    const auto start = std::chrono::steady_clock::now();
    auto program = startProgram("C:\\ORVANT\\BIN\\Reporter", "", "", WindowMode::Hidden);
    ASSERT_NE(program, nullptr);
    EXPECT_TRUE(program->waitForExit(20s));
    EXPECT_LT(std::chrono::steady_clock::now() - start, 5s);
}

TEST_F(ProcessTest, WaitForExitGivesUpAfterTheTimeout)
{
    const ScopedEnv sleep("ORVANT_REPORT_SLEEP_MS", std::string("30000"));
    auto program = startProgram("C:\\ORVANT\\BIN\\Reporter", "", "", WindowMode::Hidden);
    ASSERT_NE(program, nullptr);
    ASSERT_TRUE(eventually([this] { return reportWritten(); }));
    const pid_t pid = readReport().pid;
    ASSERT_GT(pid, 0);

    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(program->waitForExit(150ms));
    EXPECT_GE(std::chrono::steady_clock::now() - start, 150ms);

    ASSERT_EQ(::kill(pid, SIGKILL), 0);
    EXPECT_TRUE(program->waitForExit(10s));
    EXPECT_TRUE(processGone(pid));
}

} // namespace
} // namespace orvant::platform
