#include "config_tool/provisioning/UpgradeLauncher.h"

#include "tests/support/InstallationTest.h"

#include <chrono>

namespace orvant::test {
namespace {

namespace fs = std::filesystem;
namespace launcher = tarn::UpgradeLauncher;
using namespace std::chrono_literals;
using tarn::QuestionAnswer;

class UpgradeLauncherTest : public InstallationTest
{
protected:
    // A stand-in for the engine's Java launcher: it logs its folder and arguments; given the version reporter
    // it runs `first` and writes version.txt as the reporter does.
    void installLauncher(const std::string& version, const std::string& first = "")
    {
        writeExecutable(native("jre1.6.0_20/bin/java"),
                        "#!/bin/sh\necho \"$(pwd -P) $*\" > launcher.log\ncase \"$2\" in *version.jar)\n" + first
                            + "\n  printf '" + version + "' > version.txt\n ;;\nesac\n");
        fs::remove(native("launcher.log"));
    }

    // Whether the detached launcher started in the installation folder with these arguments.
    bool started(const std::string& arguments) const
    {
        return readWhenWritten(native("launcher.log")) == fs::canonical(root()).string() + " " + arguments + "\n";
    }
};

TEST_F(UpgradeLauncherTest, TheVersionIsTheFirstLineTheReporterWrites)
{
    const std::pair<const char*, const char*> cases[] = { { "2.2.4.1\\r\\nbuild 7\\r\\n", "2.2.4.1" },
                                                          { "2.3.0.0\\nbuild", "2.3.0.0" },
                                                          { "\\r\\n2.2.4.1\\r\\n", "" },
                                                          { "2.2 \\243", "2.2 \xC2\xA3" } };
    for (const auto& [written, version] : cases) {
        installLauncher(written);
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(launcher::checkVersion("C:\\ORVANT", 60s), version) << written;
        EXPECT_LT(std::chrono::steady_clock::now() - start, 30s) << "the reporter is waited for until it ends";
    }
    EXPECT_TRUE(started("-jar " + native("lib/version.jar").string()));
    installLauncher("2.2.4.1", "umask 777");
    EXPECT_EQ(launcher::checkVersion("C:\\ORVANT"), "") << "an unreadable version file";
    installLauncher("2.2.4.1", "sleep 5");
    EXPECT_EQ(launcher::checkVersion("C:\\ORVANT", 100ms), "") << "a slow reporter is not waited for";
    fs::remove(native("jre1.6.0_20/bin/java"));
    write("version.txt", "2.2.4.1");
    EXPECT_EQ(launcher::checkVersion("C:\\ORVANT", 60s), "") << "an old version file goes first";
    EXPECT_EQ(launcher::versionReporterParameters("C:\\Program Files\\ORVANT"),
              " -jar \"C:\\Program Files\\ORVANT\\lib\\version.jar\"");
}

TEST_F(UpgradeLauncherTest, TheAnswerDecidesWhetherToSaveAndToStartTheInstaller)
{
    using launcher::UpgradeOutcome;
    const std::tuple<QuestionAnswer, UpgradeOutcome, int> cases[]
        = { { QuestionAnswer::Yes, UpgradeOutcome::InstallerStarted, 1 },
            { QuestionAnswer::No, UpgradeOutcome::InstallerStarted, 0 },
            { QuestionAnswer::Cancel, UpgradeOutcome::Cancelled, 0 } };
    for (const auto& [answer, expected, expectedSaves] : cases) {
        installLauncher("");
        ui.answers = { answer };
        int saves = 0;
        const auto outcome = launcher::runUpgrade("C:\\ORVANT", [&] { saves += exists("launcher.log") ? 10 : 1; });
        EXPECT_EQ(outcome, expected);
        EXPECT_EQ(launcher::programMustEnd(outcome), expected != UpgradeOutcome::Cancelled);
        EXPECT_EQ(saves, expectedSaves) << "the installer starts after the save";
        EXPECT_TRUE(answer == QuestionAnswer::Cancel ? !exists("launcher.log") : started("-jar installUpdate.jar"));
    }
    EXPECT_EQ(ui.questions, std::vector<std::string>(3, launcher::kSaveQuestion));
    fs::remove(native("jre1.6.0_20/bin/java"));
    ui.answers = { QuestionAnswer::No };
    EXPECT_EQ(launcher::runUpgrade("C:\\ORVANT", nullptr), UpgradeOutcome::InstallerNotStarted);
    EXPECT_TRUE(ui.messages.empty());
}

} // namespace
} // namespace orvant::test
