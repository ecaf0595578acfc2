#include "config_tool/model/XmlConfig.h"
#include "config_tool/provisioning/NewInstance.h"
#include "config_tool/provisioning/UpgradeLauncher.h"
#include "config_tool/session/ConfigSession.h"
#include "platform/FileSystem.h"
#include "tests/support/InstallationTest.h"

#include <chrono>
#include <functional>
#include <gmock/gmock.h>

namespace orvant::test {
namespace {

namespace fs = std::filesystem;

class NewInstanceTest : public InstallationTest
{
protected:
    void SetUp() override
    {
        copyData("new_instance");
        session.common.propertyDir = "C:\\ORVANT";
        session.instances.resize(3);
        session.instances[0].timeout = "45";
        session.instances[0].WindowsSize = 80;
        session.instances[0].watermarkImage = "C:\\ORVANT\\mark.jpg";
        session.instances[2].port = "10002";
    }

    tarn::NewInstanceResult add(int count = -1, const std::string& base = "C:\\ORVANT")
    {
        const int n = count < 0 ? int(session.instances.size()) : count;
        return tarn::createNewInstance(session.instances, n, base, [this](auto& record, std::int16_t number) {
            return session.loadInstanceData(record, number);
        });
    }

    // A refused attempt leaves the installation and the instance list as they were.
    void expectRefused(const std::string& message, const std::function<tarn::NewInstanceResult()>& attempt = {})
    {
        const auto before = snapshotTree(root());
        const std::size_t count = session.instances.size();
        const auto result = attempt ? attempt() : add();
        EXPECT_FALSE(result.created);
        EXPECT_THAT(result.message, ::testing::StartsWith(message));
        EXPECT_TRUE(sameTree(before, snapshotTree(root())));
        EXPECT_EQ(session.instances.size(), count);
    }

    tarn::ConfigSession session;
};

TEST_F(NewInstanceTest, TheNextInstanceGetsItsSkeletonFromTheBaseInstanceAndItsOwnPorts)
{
    write("INSTANCE_03/properties/notes.txt", "left by an attempt that was not saved");
    const auto before = snapshotTree(root());
    const auto result = add();
    ASSERT_TRUE(result.created) << result.message;
    EXPECT_EQ(result.number, 3);
    EXPECT_EQ(result.section, "Harbell_03");
    EXPECT_EQ(result.message, "");

    // Ordinary files only, no subfolder or hidden file; the appended line stands on its own.
    const auto created = changedFiles(before, snapshotTree(root()));
    EXPECT_EQ(created.size(), 6u);
    for (const auto& [copy, source] :
         { std::pair { "INSTANCE_03/properties/language.properties", "properties/language.properties" },
           { "INSTANCE_03/properties/terminal.emv.properties", "properties/terminal.emv.properties" },
           { "INSTANCE_03/conf/ORVANTTransactionLogEmpty.xml", "conf/ORVANTTransactionLogEmpty.xml" },
           { "INSTANCE_03/conf/ORVANTTransactionLog.xml", "conf/ORVANTTransactionLogEmpty.xml" },
           { "bin/ReceiptPrinter_03.exe", "bin/ReceiptPrinter.exe" } }) {
        EXPECT_EQ(created.at(copy), read(source)) << copy;
    }
    EXPECT_EQ(created.at("INSTANCE_03/properties/terminal.properties"),
              read("properties/terminal.properties")
                  + "\r\n\r\nproperties.directory=C:/ORVANT/INSTANCE_03/properties\r\n");
    EXPECT_TRUE(fs::is_empty(native("INSTANCE_03/logs")));

    ASSERT_EQ(session.instances.size(), 4u);
    const auto& added = session.instances[3];
    // Its own ports and folder; the base instance's settings, but not its watermark.
    EXPECT_EQ(added.port, "10003");
    EXPECT_EQ(added.receiptPort, "20003");
    EXPECT_EQ(added.PinPadPort, "5003");
    EXPECT_EQ(added.receiptDir, "C:\\ORVANT\\INSTANCE_03");
    EXPECT_EQ(added.timeout, "45");
    EXPECT_EQ(added.WindowsSize, 80);
    EXPECT_EQ(added.watermarkImage, "");
    // Read from the files built.
    EXPECT_EQ(added.pinpadProperties.getValue("properties.directory"), "C:/ORVANT/INSTANCE_03/properties");
    EXPECT_EQ(added.languageProperties.getValue("en.18"), "REFUND \xC2\xA3");
    EXPECT_EQ(session.instances[2].port, "10002");
}

TEST_F(NewInstanceTest, EveryRefusalSaysWhyAndTouchesNothing)
{
    const std::string cannot = "The new instance Harbell_03 cannot be created: ";
    fs::remove(native("bin/ReceiptPrinter.exe"));
    expectRefused(cannot + "C:\\ORVANT\\bin\\ReceiptPrinter.exe was not found.");
    copyData("new_instance");
    // The last step fails, also in a folder left by an earlier attempt: what this one created goes again.
    write("INSTANCE_03/properties/notes.txt", "left by an attempt that was not saved");
    makeReadOnly(native("bin"));
    expectRefused(
        cannot + "C:\\ORVANT\\bin\\ReceiptPrinter.exe could not be copied to C:\\ORVANT\\bin\\ReceiptPrinter_03.exe (");
    fs::permissions(native("bin"), fs::perms::owner_all);
    write("INSTANCE_03/logs/20240101.txt", "started");
    expectRefused(cannot
                  + "the folder C:\\ORVANT\\INSTANCE_03 already exists and holds transaction or log files. Move it "
                    "away and try again.");
    fs::remove_all(native("INSTANCE_03"));
    write("INSTANCE_03", "not a folder");
    expectRefused(cannot + "C:\\ORVANT\\INSTANCE_03 exists and is not a folder.");
    fs::remove(native("INSTANCE_03"));
    writeConfiguration({ { "03", pairs("PINByPass=False") } });
    tarn::XmlConfig::loadXmlConfig("C:\\ORVANT\\conf\\ORVANTConfiguration.xml");
    expectRefused(cannot + "Harbell_03 is already in the configuration.");
    tarn::XmlConfig::reset();
    expectRefused(cannot + "its property files in C:\\ORVANT\\INSTANCE_03\\properties could not be read.", [&] {
        return tarn::createNewInstance(session.instances, 3, "C:\\ORVANT", [](auto&, auto) { return false; });
    });
    expectRefused("The new instance cannot be added: the Base Directory is empty.", [&] { return add(-1, ""); });
    expectRefused("The new instance cannot be added: the instance list does not match the loaded instances.",
                  [&] { return add(2); });
    session.instances.resize(99);
    ASSERT_TRUE(add().created) << "the ninety-ninth is the last";
    EXPECT_TRUE(exists("INSTANCE_99/properties/terminal.properties"));
    EXPECT_TRUE(exists("bin/ReceiptPrinter_99.exe"));
    expectRefused(
        "Instance 100 cannot be added: an installation holds at most 99 instances besides the base instance.");
}

// Within a save's write batch: the new instance reaches the disk only when the batch ends, and an attempt
// that fails takes back everything it kept in the batch.
TEST_F(NewInstanceTest, InsideAWriteBatchTheSkeletonWaitsForItsEndAndAFailedAttemptLeavesNothingInIt)
{
    const auto before = snapshotTree(root());
    {
        platform::WriteBatch batch;
        makeReadOnly(native("bin"));
        ASSERT_FALSE(add().created);
        EXPECT_TRUE(batch.changes().empty());
        fs::permissions(native("bin"), fs::perms::owner_all);

        const auto result = add();
        ASSERT_TRUE(result.created) << result.message;
        EXPECT_EQ(session.instances[3].pinpadProperties.getValue("properties.directory"),
                  "C:/ORVANT/INSTANCE_03/properties");
        EXPECT_TRUE(sameTree(before, snapshotTree(root())));
        const auto changes = batch.changes();
        ASSERT_EQ(changes.size(), 10u) << "four folders, six files";
        EXPECT_TRUE(changes[0].folder);
        EXPECT_EQ(changes[0].storedPath, "C:\\ORVANT\\INSTANCE_03");
        EXPECT_EQ(changes[0].before, std::nullopt) << "a folder created";
        EXPECT_TRUE(batch.finish().empty());
    }
    EXPECT_EQ(changedFiles(before, snapshotTree(root())).size(), 6u);
    EXPECT_TRUE(fs::is_empty(native("INSTANCE_03/logs")));
}

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
        return waitForLine(native("launcher.log")) == fs::canonical(root()).string() + " " + arguments + "\n";
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
    // The answer, whether the save writes -> outcome, saves; a save that declines to write stops as Cancel does.
    const std::tuple<QuestionAnswer, bool, UpgradeOutcome, int> cases[]
        = { { QuestionAnswer::Yes, true, UpgradeOutcome::InstallerStarted, 1 },
            { QuestionAnswer::Yes, false, UpgradeOutcome::Cancelled, 1 },
            { QuestionAnswer::No, true, UpgradeOutcome::InstallerStarted, 0 },
            { QuestionAnswer::Cancel, true, UpgradeOutcome::Cancelled, 0 } };
    for (const auto& [answer, writes, expected, expectedSaves] : cases) {
        installLauncher("");
        ui.answers = { answer };
        int saves = 0;
        bool installerBeforeSave = false;
        const auto outcome = launcher::runUpgrade("C:\\ORVANT", [&] {
            ++saves;
            installerBeforeSave = exists("launcher.log");
            return writes;
        });
        EXPECT_EQ(outcome, expected);
        EXPECT_EQ(launcher::programMustEnd(outcome), expected != UpgradeOutcome::Cancelled);
        EXPECT_EQ(saves, expectedSaves);
        EXPECT_FALSE(installerBeforeSave) << "the installer starts after the save";
        EXPECT_TRUE(expected == UpgradeOutcome::Cancelled ? !exists("launcher.log")
                                                          : started("-jar installUpdate.jar"));
    }
    EXPECT_EQ(ui.questions, std::vector<std::string>(4, launcher::kSaveQuestion));
    fs::remove(native("jre1.6.0_20/bin/java"));
    ui.answers = { QuestionAnswer::No };
    EXPECT_EQ(launcher::runUpgrade("C:\\ORVANT", nullptr), UpgradeOutcome::InstallerNotStarted);
    EXPECT_TRUE(ui.messages.empty());
}

} // namespace
} // namespace orvant::test
