#include "config_tool/provisioning/UpgradeLauncher.h"

#include "config_tool/foundation/Globals.h"
#include "tests/support/FakeUi.h"
#include "tests/support/TestFolder.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <thread>
#include <tuple>

namespace tarn::test {
namespace {

namespace fs = std::filesystem;
namespace launcher = tarn::UpgradeLauncher;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// The installation as the engine stores it: drive C: of the test folder.
constexpr const char* kHome = "C:\\ORVANT";

// A stand-in for the engine's Java launcher. It logs its working folder and arguments, one a line, to
// launcher.log in the installation folder; given the version reporter it waits `delay` seconds, writes
// version.txt into its working folder, as the reporter does, and runs `afterwards`.
std::string standInLauncher(const std::string& delay, const std::string& versionBytes,
                            const std::string& afterwards = "")
{
    return "#!/bin/sh\n"
           "log=\"$(dirname \"$0\")/../../launcher.log\"\n"
           "{ echo \"cwd=$(pwd -P)\"; for a in \"$@\"; do echo \"arg=$a\"; done; } >> \"$log\"\n"
           "case \"$2\" in *version.jar)\n"
           "  sleep "
        + delay + "\n  printf '" + versionBytes + "' > version.txt\n  " + afterwards + "\n ;;\nesac\n";
}

class UpgradeLauncherTest : public ::testing::Test
{
protected:
    UpgradeLauncherTest()
    {
        Globals::reset();
        Globals::setUi(&m_ui);
        fs::create_directories(home());
    }

    ~UpgradeLauncherTest() override
    {
        Globals::setUi(nullptr);
        Globals::reset();
    }

    fs::path home() const { return m_folder.driveC() / "ORVANT"; }
    fs::path launcherLog() const { return home() / "launcher.log"; }
    std::string loggedHome() const { return "cwd=" + fs::canonical(home()).string(); }

    void installLauncher(const std::string& delay, const std::string& versionBytes = "2.2.4.1\\r\\nbuild 7\\r\\n",
                         const std::string& afterwards = "")
    {
        const fs::path java = home() / "jre1.6.0_20" / "bin" / "java";
        m_folder.write(fs::relative(java, m_folder.path()).string(), standInLauncher(delay, versionBytes, afterwards));
        fs::permissions(java, fs::perms::owner_all, fs::perm_options::add);
    }

    // The launcher runs detached: its log is complete once it names the expected number of lines.
    std::string waitForLog(std::size_t lines) const
    {
        for (int i = 0; i < 200; ++i) {
            const std::string log = m_folder.read(fs::relative(launcherLog(), m_folder.path()));
            if (static_cast<std::size_t>(std::count(log.begin(), log.end(), '\n')) >= lines) {
                return log;
            }
            std::this_thread::sleep_for(25ms);
        }
        return m_folder.read(fs::relative(launcherLog(), m_folder.path()));
    }

    template <typename F> static Clock::duration timed(F&& f)
    {
        const auto start = Clock::now();
        f();
        return Clock::now() - start;
    }

    orvant::test::TestFolder m_folder;
    orvant::test::FakeUi m_ui;
};

TEST_F(UpgradeLauncherTest, PathsAndParametersAreTheEnginesOwn)
{
    EXPECT_EQ(launcher::javaLauncherPath(kHome), "C:\\ORVANT\\jre1.6.0_20\\bin\\java");
    EXPECT_EQ(launcher::versionFilePath(kHome), "C:\\ORVANT\\version.txt");
    EXPECT_EQ(launcher::versionReporterParameters(kHome), " -jar C:\\ORVANT\\lib\\version.jar");
    EXPECT_EQ(launcher::versionReporterParameters(""), " -jar \\lib\\version.jar");
    EXPECT_EQ(launcher::versionReporterParameters("C:\\Program Files\\ORVANT"),
              " -jar \"C:\\Program Files\\ORVANT\\lib\\version.jar\"");
}

TEST_F(UpgradeLauncherTest, FastReporterIsReadAsSoonAsItEnds)
{
    installLauncher("0");
    std::string version;
    const auto took = timed([&] { version = launcher::checkVersion(kHome); });

    EXPECT_EQ(version, "2.2.4.1");
    EXPECT_LT(took, 1s);
    EXPECT_EQ(waitForLog(3), loggedHome() + "\narg=-jar\narg=" + (home() / "lib/version.jar").string() + "\n");
    EXPECT_TRUE(m_ui.messages.empty());
}

TEST_F(UpgradeLauncherTest, SlowReporterLeavesTheVersionEmptyAfterTwoSeconds)
{
    installLauncher("3");
    std::string version = "unchanged";
    const auto took = timed([&] { version = launcher::checkVersion(kHome); });

    EXPECT_EQ(version, "");
    EXPECT_GE(took, 1900ms);
    EXPECT_LT(took, 2800ms);
}

TEST_F(UpgradeLauncherTest, MissingLauncherOrUnsetFolderCostsNoWaitAndAnOldVersionFileGoes)
{
    m_folder.write("drive_c/ORVANT/version.txt", "1.0.0.0\r\n");
    for (const char* folder : { kHome, "" }) {
        SCOPED_TRACE(folder);
        std::string version = "unchanged";
        const auto took = timed([&] { version = launcher::checkVersion(folder); });
        EXPECT_EQ(version, "");
        EXPECT_LT(took, 300ms);
        EXPECT_FALSE(fs::exists(home() / "version.txt"));
    }
    EXPECT_TRUE(m_ui.messages.empty());
}

TEST_F(UpgradeLauncherTest, VersionFileContentRules)
{
    // An empty first line is no version, a lone LF ends a line as CR LF does, and the file is
    // Windows-1252 text.
    struct Case
    {
        const char* written;
        const char* expected;
    };
    for (const Case& c : { Case { "\\r\\n2.2.4.1\\r\\n", "" }, Case { "2.3.0.0\\nbuild", "2.3.0.0" },
                           Case { "2.2.4.1", "2.2.4.1" }, Case { "2.2 \\243\\r\\n", "2.2 \xC2\xA3" } }) {
        installLauncher("0", c.written);
        EXPECT_EQ(launcher::checkVersion(kHome), c.expected) << c.written;
    }
}

TEST_F(UpgradeLauncherTest, UnreadableVersionFileGivesNoVersion)
{
    installLauncher("0", "2.2.4.1\\r\\n", "chmod a-r version.txt");
    EXPECT_EQ(launcher::checkVersion(kHome), "");
    EXPECT_TRUE(fs::exists(home() / "version.txt"));
}

TEST_F(UpgradeLauncherTest, InstallationFolderWithBlanksReachesTheReporterAsOneWord)
{
    m_folder.write("drive_c/Program Files/ORVANT/jre1.6.0_20/bin/java", standInLauncher("0", "2.2.4.2"));
    const fs::path spaced = m_folder.driveC() / "Program Files" / "ORVANT";
    fs::permissions(spaced / "jre1.6.0_20/bin/java", fs::perms::owner_all, fs::perm_options::add);

    EXPECT_EQ(launcher::checkVersion("C:\\Program Files\\ORVANT"), "2.2.4.2");
    const std::string log = m_folder.read("drive_c/Program Files/ORVANT/launcher.log");
    EXPECT_NE(log.find("arg=" + (spaced / "lib/version.jar").string() + "\n"), std::string::npos) << log;
}

TEST_F(UpgradeLauncherTest, TheAnswerDecidesWhetherToSaveAndStartTheInstaller)
{
    installLauncher("0");
    using launcher::UpgradeOutcome;
    const std::tuple<QuestionAnswer, UpgradeOutcome, int> cases[] = {
        { QuestionAnswer::Cancel, UpgradeOutcome::Cancelled, 0 },
        { QuestionAnswer::No, UpgradeOutcome::InstallerStarted, 0 },
        { QuestionAnswer::Yes, UpgradeOutcome::InstallerStarted, 1 },
    };
    for (const auto& [answer, expected, expectedSaves] : cases) {
        SCOPED_TRACE(static_cast<int>(answer));
        fs::remove(launcherLog());
        m_ui.questions.clear();
        m_ui.answers = { answer };
        int saves = 0;
        bool installerRanBeforeSave = false;
        const auto outcome = launcher::runUpgrade(kHome, [&] {
            ++saves;
            installerRanBeforeSave = fs::exists(launcherLog());
            return true;
        });

        EXPECT_EQ(outcome, expected);
        EXPECT_EQ(launcher::programMustEnd(outcome), expected != UpgradeOutcome::Cancelled);
        EXPECT_EQ(saves, expectedSaves);
        EXPECT_FALSE(installerRanBeforeSave);
        EXPECT_EQ(m_ui.questions,
                  std::vector<std::string> { "Save changes before exiting the application to run software update?" });
        if (expected == UpgradeOutcome::Cancelled) {
            std::this_thread::sleep_for(300ms);
            EXPECT_FALSE(fs::exists(launcherLog()));
        } else {
            EXPECT_EQ(waitForLog(3), loggedHome() + "\narg=-jar\narg=installUpdate.jar\n");
        }
    }
}

TEST_F(UpgradeLauncherTest, MissingInstallerStillEndsTheProgramQuietly)
{
    m_ui.answers = { QuestionAnswer::No };
    const auto outcome = launcher::runUpgrade(kHome, nullptr);
    EXPECT_EQ(outcome, launcher::UpgradeOutcome::InstallerNotStarted);
    EXPECT_TRUE(launcher::programMustEnd(outcome));
    EXPECT_TRUE(m_ui.messages.empty());
}

} // namespace
} // namespace tarn::test
