#include "config_tool/provisioning/UpgradeLauncher.h"

#include "tests/support/InstallationTest.h"

#include <chrono>
#include <thread>

namespace orvant::test {
namespace {

namespace fs = std::filesystem;
namespace launcher = tarn::UpgradeLauncher;
using namespace std::chrono_literals;
using tarn::QuestionAnswer;

// Far longer than any start-up of the stand-in launcher: a check that waits it out has failed.
constexpr auto kLongWait = std::chrono::milliseconds(60s);

class UpgradeLauncherTest : public InstallationTest
{
protected:
    // A stand-in for the engine's Java launcher: it logs its folder and arguments to launcher.log in the
    // installation; given the version reporter it sleeps, writes version.txt as the reporter does and
    // runs `afterwards`.
    void installLauncher(const std::string& sleep, const std::string& version, const std::string& afterwards = "",
                         const std::string& home = "ORVANT")
    {
        const auto java = folder.driveC() / home / "jre1.6.0_20/bin/java";
        writeFile(java,
                  "#!/bin/sh\n{ echo \"cwd=$(pwd -P)\"; for a in \"$@\"; do echo \"arg=$a\"; done; } >> "
                  "\"$(dirname \"$0\")/../../launcher.log\"\ncase \"$2\" in *version.jar)\n  sleep "
                      + sleep + "\n  printf '" + version + "' > version.txt\n  " + afterwards + "\n ;;\nesac\n");
        fs::permissions(java, fs::perms::owner_all, fs::perm_options::add);
    }

    // The launcher runs detached: its log is complete once it holds the expected lines.
    std::string launcherLog(std::size_t lines, const std::string& home = "ORVANT") const
    {
        std::string log;
        for (int i = 0; i < 400 && std::size_t(std::count(log.begin(), log.end(), '\n')) < lines; ++i) {
            std::this_thread::sleep_for(25ms);
            log = readFile(folder.driveC() / home / "launcher.log");
        }
        return log;
    }

    std::string cwd() const { return "cwd=" + fs::canonical(root()).string() + "\n"; }
};

TEST_F(UpgradeLauncherTest, TheVersionIsTheFirstLineTheReporterWrites)
{
    const std::pair<const char*, const char*> cases[] = {
        { "2.2.4.1\\r\\nbuild 7\\r\\n", "2.2.4.1" },
        { "2.3.0.0\\nbuild", "2.3.0.0" },
        { "\\r\\n2.2.4.1\\r\\n", "" },
        { "2.2 \\243", "2.2 \xC2\xA3" },
    };
    for (const auto& [written, version] : cases) {
        installLauncher("0", written);
        fs::remove(native("launcher.log"));
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(launcher::checkVersion("C:\\ORVANT", kLongWait), version) << written;
        EXPECT_LT(std::chrono::steady_clock::now() - start, kLongWait / 2) << "read as soon as the reporter ends";
        EXPECT_EQ(launcherLog(3), cwd() + "arg=-jar\narg=" + native("lib/version.jar").string() + "\n");
    }

    installLauncher("0", "2.2.4.1", "chmod a-r version.txt");
    EXPECT_EQ(launcher::checkVersion("C:\\ORVANT"), "");
    installLauncher("5", "2.2.4.1");
    EXPECT_EQ(launcher::checkVersion("C:\\ORVANT", 100ms), "") << "the reporter is not waited for longer";
}

TEST_F(UpgradeLauncherTest, WithoutALauncherThereIsNoVersionAndAnOldVersionFileGoes)
{
    for (const char* home : { "C:\\ORVANT", "" }) {
        write("version.txt", "1.0.0.0\r\n");
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(launcher::checkVersion(home, kLongWait), "");
        EXPECT_LT(std::chrono::steady_clock::now() - start, kLongWait / 2);
        EXPECT_EQ(exists("version.txt"), *home == '\0');
    }
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(UpgradeLauncherTest, AnInstallationFolderWithBlanksReachesTheReporterAsOneWord)
{
    EXPECT_EQ(launcher::versionReporterParameters("C:\\Program Files\\ORVANT"),
              " -jar \"C:\\Program Files\\ORVANT\\lib\\version.jar\"");
    installLauncher("0", "2.2.4.2", "", "Program Files/ORVANT");
    EXPECT_EQ(launcher::checkVersion("C:\\Program Files\\ORVANT"), "2.2.4.2");
    EXPECT_NE(launcherLog(3, "Program Files/ORVANT")
                  .find("arg=" + (folder.driveC() / "Program Files/ORVANT/lib/version.jar").string() + "\n"),
              std::string::npos);
}

TEST_F(UpgradeLauncherTest, TheAnswerDecidesWhetherToSaveAndToStartTheInstaller)
{
    using launcher::UpgradeOutcome;
    const std::tuple<QuestionAnswer, UpgradeOutcome, int> cases[] = {
        { QuestionAnswer::Cancel, UpgradeOutcome::Cancelled, 0 },
        { QuestionAnswer::No, UpgradeOutcome::InstallerStarted, 0 },
        { QuestionAnswer::Yes, UpgradeOutcome::InstallerStarted, 1 },
    };
    installLauncher("0", "");
    for (const auto& [answer, expected, expectedSaves] : cases) {
        fs::remove(native("launcher.log"));
        ui.answers = { answer };
        int saves = 0;
        const auto outcome = launcher::runUpgrade("C:\\ORVANT", [&] {
            ++saves;
            EXPECT_FALSE(exists("launcher.log")) << "the installer starts after the save";
        });
        EXPECT_EQ(outcome, expected);
        EXPECT_EQ(launcher::programMustEnd(outcome), expected != UpgradeOutcome::Cancelled);
        EXPECT_EQ(saves, expectedSaves);
        EXPECT_EQ(launcherLog(answer == QuestionAnswer::Cancel ? 0 : 3),
                  answer == QuestionAnswer::Cancel ? "" : cwd() + "arg=-jar\narg=installUpdate.jar\n");
    }
    EXPECT_EQ(ui.questions, std::vector<std::string>(3, launcher::kSaveQuestion));

    fs::remove(native("jre1.6.0_20/bin/java"));
    ui.answers = { QuestionAnswer::No };
    EXPECT_EQ(launcher::runUpgrade("C:\\ORVANT", nullptr), UpgradeOutcome::InstallerNotStarted);
    EXPECT_TRUE(launcher::programMustEnd(UpgradeOutcome::InstallerNotStarted));
    EXPECT_TRUE(ui.messages.empty());
}

} // namespace
} // namespace orvant::test
