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
using Args = std::vector<std::string>;

// What the reporter program saw when it was started.
struct Report
{
    pid_t pid = 0;
    pid_t sid = 0;
    std::string cwd;
    std::string input;
    Args args;
};

bool processGone(pid_t pid)
{
    // A zombie keeps its /proc entry until it is reaped.
    return !fs::exists("/proc/" + std::to_string(pid));
}

bool eventually(const std::function<bool()>& condition)
{
    const auto deadline = std::chrono::steady_clock::now() + 5s;
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
        fs::create_directories(m_folder.driveC() / "Orvant" / "Work");
        fs::create_directories(m_folder.driveC() / "Orvant" / "Bin");
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
            if (key == "pid" || key == "sid") {
                (key == "pid" ? report.pid : report.sid) = std::stoi(value);
            } else if (key == "cwd" || key == "stdin") {
                (key == "cwd" ? report.cwd : report.input) = value;
            } else if (key == "arg") {
                report.args.push_back(value);
            }
        }
        return report;
    }

    // Starts the program, waits for its end and gives back what it saw.
    Report run(const std::string& program, const std::string& parameters, const std::string& folder)
    {
        auto started = startProgram(program, parameters, folder, WindowMode::Hidden);
        EXPECT_NE(started, nullptr) << program;
        EXPECT_TRUE(started && started->waitForExit(10s));
        return readReport();
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
    const Report report = run("C:\\ORVANT\\BIN\\REPORTER", parameters, "c:\\orvant\\WORK");
    EXPECT_EQ(report.sid, report.pid) << "not the leader of its own session";
    EXPECT_NE(report.sid, ::getsid(0));
    EXPECT_EQ(report.cwd, fs::canonical(m_folder.driveC() / "Orvant" / "Work").string());
    EXPECT_EQ(report.input, "end");
    EXPECT_EQ(report.args,
              (Args { "-jar", c("/Orvant/lib/version.jar"), "with space", "quote \"inside\"", "-x\\b c", "-y\"q",
                      "-z\\\"q", "-w\\\\n", "ab", "", "../Bin/Reporter", c("/Orvant/Work"), c("/Orvant/Bin"),
                      "-Dhome=C:\\ORVANT", "plain", "a\"b c" }));
}

TEST_F(ProcessTest, FindsTheProgramAndKeepsOurFolderWhenNoneIsGiven)
{
    auto program = startProgram(c("/Orvant/Bin/Reporter"), "", "", WindowMode::MinimizedActive);
    ASSERT_NE(program, nullptr);
    ASSERT_TRUE(program->waitForExit(10s));
    EXPECT_EQ(readReport().cwd, fs::current_path().string());
    EXPECT_TRUE(readReport().args.empty());

    // A bare name is looked for in the working folder, then on PATH.
    fs::copy_file(ORVANT_PROCESS_REPORTER, m_folder.driveC() / "Orvant" / "Work" / "Local");
    EXPECT_EQ(run("LOCAL", "here", "C:\\Orvant\\Work").args, Args { "here" });
    const ScopedEnv path("PATH", c("/Orvant/Bin"));
    EXPECT_EQ(run("Reporter", "found", "C:\\Orvant\\Work").args, Args { "found" });
}

TEST_F(ProcessTest, ProgramThatCannotStartReportsNotStarted)
{
    m_folder.write("drive_c/Orvant/Bin/notes.txt", "not a program");
    const std::pair<const char*, const char*> cases[] = {
        { "C:\\ORVANT\\BIN\\missing.exe", "" },
        { "C:\\ORVANT\\BIN\\notes.txt", "" },
        { "C:\\ORVANT\\BIN", "" },
        { "no-such-program-anywhere", "" },
        { "", "" },
        { "C:\\ORVANT\\BIN\\Reporter", "C:\\ORVANT\\Missing" },
    };
    for (const auto& [program, folder] : cases) {
        EXPECT_EQ(startProgram(program, "", folder, WindowMode::Hidden), nullptr) << program;
    }
    EXPECT_FALSE(reportWritten());
}

TEST_F(ProcessTest, EndedProgramIsReapedAsSoonAsItEnds)
{
    const auto start = std::chrono::steady_clock::now();
    auto program = startProgram("C:\\ORVANT\\BIN\\Reporter", "", "", WindowMode::Hidden);
    ASSERT_NE(program, nullptr);
    ASSERT_TRUE(program->waitForExit(20s));
    EXPECT_LT(std::chrono::steady_clock::now() - start, 5s);
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
