#include "platform/Paths.h"
#include "platform/Process.h"

#include "tests/support/Files.h"
#include "tests/support/TestFolder.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace orvant::platform {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using test::ScopedEnv;
using Lines = std::vector<std::string>;

// The reporter's extension, if any, goes with its copies: Windows finds "LOCAL" as "Local.exe".
const fs::path kReporter = ORVANT_PROCESS_REPORTER;

class ProcessTest : public ::testing::Test
{
protected:
    ProcessTest()
    {
        fs::create_directories(m_folder.path() / "Orvant" / "Work");
        fs::create_directories(m_folder.path() / "Orvant" / "Bin");
        fs::copy_file(kReporter, m_folder.path() / "Orvant" / "Bin" / ("Reporter" + kReporter.extension().string()));
    }

    // The folder the program ran in, then its arguments, one a line.
    Lines run(const std::string& program, const std::string& parameters, const std::string& folder)
    {
        const auto started = startProgram(program, parameters, folder, WindowMode::Hidden);
        EXPECT_TRUE(started && started->waitForExit(20s)) << program;
        Lines lines;
        std::string text = m_folder.read("report.txt");
        for (std::size_t end; (end = text.find('\n')) != std::string::npos; text.erase(0, end + 1)) {
            lines.push_back(text.substr(0, end));
        }
        m_folder.write("report.txt", "");
        return lines;
    }

    std::string at(const std::string& relative) const { return m_folder.stored(relative); }

    test::TestFolder m_folder;
    ScopedEnv m_report { "ORVANT_REPORT_FILE", (m_folder.path() / "report.txt").string() };
    ScopedEnv m_sleep { "ORVANT_REPORT_SLEEP_MS", nullptr };
};

// The words are split as CommandLineToArgvW splits them; on POSIX, path words are converted.
TEST_F(ProcessTest, StartsWithTheParametersSplitAsWindowsSplitsThem)
{
    const std::string jar = at("Orvant\\lib\\version.jar");
    // A relative word is matched against the working folder, where the program runs.
    const fs::path ours = fs::current_path();
    fs::current_path(m_folder.path() / "Orvant" / "Work");
    const std::string sibling = toNativePath("..\\BIN\\reporter");
    fs::current_path(ours);
    const Lines seen = run(at("ORVANT\\BIN\\REPORTER"),
                           "-jar " + jar + R"( "with space" "quote \"inside\"" -x\\"b c" -y\"q -w\\n a""b "")"
                                           R"( ..\BIN\reporter -Dhome=C:\ORVANT plain)",
                           at("orvant\\WORK"));
    ASSERT_FALSE(seen.empty());
    EXPECT_TRUE(fs::equivalent(seen[0], m_folder.path() / "Orvant" / "Work")) << seen[0];
    EXPECT_EQ(Lines(seen.begin() + 1, seen.end()),
              (Lines { "-jar", toNativePath(jar), "with space", "quote \"inside\"", "-x\\b c", "-y\"q", "-w\\\\n", "ab",
                       "", sibling, "-Dhome=C:\\ORVANT", "plain" }));
}

TEST_F(ProcessTest, FindsBareNamesInTheWorkingFolderThenOnThePath)
{
    fs::copy_file(kReporter, m_folder.path() / "Orvant" / "Work" / ("Local" + kReporter.extension().string()));
    EXPECT_EQ(run("LOCAL", "here", at("Orvant\\Work")).back(), "here");
    const ScopedEnv path("PATH", (m_folder.path() / "Orvant" / "Bin").string());
    EXPECT_EQ(run("Reporter", "found", at("Orvant\\Work")).back(), "found");
    // Without a working folder the program runs in ours.
    EXPECT_TRUE(fs::equivalent(run(at("Orvant\\Bin\\Reporter"), "", "").front(), fs::current_path()));
}

TEST_F(ProcessTest, ProgramThatCannotStartReportsNotStarted)
{
    m_folder.write("Orvant/Bin/notes", "not a program");
    for (const auto& program : { at("ORVANT\\BIN\\missing.exe"), at("ORVANT\\BIN\\notes"),
                                 std::string("no-such-program-anywhere") }) {
        EXPECT_EQ(startProgram(program, "", "", WindowMode::Hidden), nullptr) << program;
    }
    EXPECT_FALSE(m_folder.exists("report.txt"));
}

TEST_F(ProcessTest, WaitingGivesUpWhileTheProgramRunsAndEndsWithIt)
{
    const ScopedEnv sleep("ORVANT_REPORT_SLEEP_MS", std::string("1500"));
    auto program = startProgram(at("Orvant\\Bin\\Reporter"), "", "", WindowMode::MinimizedActive);
    ASSERT_NE(program, nullptr);
    EXPECT_FALSE(program->waitForExit(100ms));
    EXPECT_TRUE(program->waitForExit(20s));
    EXPECT_TRUE(program->waitForExit(0ms));
}

} // namespace
} // namespace orvant::platform
