#include "platform/Process.h"

#include "platform/Paths.h"
#include "tests/support/TestFolder.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sstream>

namespace orvant::platform {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using test::ScopedEnv;
using Lines = std::vector<std::string>;

// Copies keep the reporter's extension, if any: Windows finds "LOCAL" as "Local.exe".
const fs::path kReporter = ORVANT_PROCESS_REPORTER;

class ProcessTest : public ::testing::Test
{
protected:
    ProcessTest()
    {
        for (const char* copy : { "Orvant/Bin/Reporter", "Orvant/Work/Local" }) {
            fs::create_directories((m_folder.path() / copy).parent_path());
            fs::copy_file(kReporter, m_folder.path() / (copy + kReporter.extension().string()));
        }
    }

    // The folder the program ran in, then its arguments.
    Lines run(const std::string& program, const std::string& parameters, const std::string& folder)
    {
        const auto started = startProgram(program, parameters, folder, WindowMode::Hidden);
        EXPECT_NE(started, nullptr) << program << " did not start";
        EXPECT_TRUE(started && started->waitForExit(20s)) << program << " did not end";
        std::istringstream report(m_folder.read("report.txt"));
        Lines lines;
        for (std::string line; std::getline(report, line);) {
            lines.push_back(line);
        }
        return lines;
    }

    std::string at(const std::string& relative) const { return m_folder.stored(relative); }

    test::TestFolder m_folder;
    ScopedEnv m_report { "ORVANT_REPORT_FILE", (m_folder.path() / "report.txt").string() };
    ScopedEnv m_sleep { "ORVANT_REPORT_SLEEP_MS", nullptr };
};

// The words are split as CommandLineToArgvW splits them; on POSIX, path words are converted, relative
// ones against the working folder, where the program runs.
TEST_F(ProcessTest, StartsWithTheParametersSplitAsWindowsSplitsThem)
{
    const std::string jar = at("Orvant\\lib\\version.jar");
    const fs::path ours = fs::current_path();
    fs::current_path(m_folder.path() / "Orvant" / "Work");
    const std::string sibling = toNativePath("..\\BIN\\reporter");
    fs::current_path(ours);
    const Lines seen = run(at("ORVANT\\BIN\\REPORTER"),
                           "-jar " + jar
                               + R"( "with space" "quote \"inside\"" -x\\"b c" -y\"q -w\\n a""b "")"
                                 R"( ..\BIN\reporter -Dhome=C:\ORVANT)",
                           at("orvant\\WORK"));
    ASSERT_FALSE(seen.empty());
    EXPECT_TRUE(fs::equivalent(seen[0], m_folder.path() / "Orvant" / "Work")) << seen[0];
    EXPECT_EQ(Lines(seen.begin() + 1, seen.end()),
              (Lines { "-jar", toNativePath(jar), "with space", "quote \"inside\"", "-x\\b c", "-y\"q", "-w\\\\n", "ab",
                       "", sibling, "-Dhome=C:\\ORVANT" }));
}

// A bare name is looked for in the working folder, then on PATH; no working folder keeps ours.
TEST_F(ProcessTest, FindsProgramsWaitsForThemAndStartsNothingThatIsNoProgram)
{
    EXPECT_EQ(run("LOCAL", "here", at("Orvant\\Work")).back(), "here");
    const ScopedEnv path("PATH", (m_folder.path() / "Orvant" / "Bin").string());
    EXPECT_EQ(run("Reporter", "found", at("Orvant\\Work")).back(), "found");
    const ScopedEnv sleep("ORVANT_REPORT_SLEEP_MS", std::string("1500"));
    auto program = startProgram(at("Orvant\\Bin\\Reporter"), "", "", WindowMode::MinimizedActive);
    ASSERT_NE(program, nullptr);
    EXPECT_FALSE(program->waitForExit(100ms));
    EXPECT_TRUE(program->waitForExit(20s));
    EXPECT_TRUE(program->waitForExit(0ms)) << "asked again once it ended";
    EXPECT_TRUE(fs::equivalent(m_folder.read("report.txt").substr(0, m_folder.read("report.txt").find('\n')),
                               fs::current_path()));
    m_folder.write("Orvant/Bin/notes", "not a program");
    for (const auto& name : { at("ORVANT\\BIN\\missing.exe"), at("ORVANT\\BIN\\notes"), std::string("no-such") }) {
        EXPECT_EQ(startProgram(name, "", "", WindowMode::Hidden), nullptr) << name;
    }
}

} // namespace
} // namespace orvant::platform
