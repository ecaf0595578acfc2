#include "config_tool/session/ConfigSession.h"

#include "config_tool/foundation/Globals.h"
#include "config_tool/model/XmlConfig.h"
#include "config_tool/session/SaveGuard.h"
#include "config_tool/session/SaveSequences.h"
#include "tests/support/Host.h"
#include "tests/support/InstallationTest.h"
#include "tests/support/RegistryProbe.h"

#include <functional>
#include <gmock/gmock.h>
#include <tuple>

namespace orvant::test {
namespace {

namespace fs = std::filesystem;
using Messages = std::vector<std::string>;
using tarn::CheckState;
using namespace std::chrono_literals;

const std::string kTerminal = "INSTANCE_01/properties/terminal.properties";

class SessionTest : public InstallationTest
{
protected:
    // The base instance with these values and instances 1..count with PINByPass and those values.
    const std::vector<tarn::CInstanceData>& load(const std::string& base, int count = 0, const std::string& others = "")
    {
        auto instances = numberedInstances(count);
        instances[0].values = pairs(base);
        for (int n = 1; n <= count; ++n) {
            instances[std::size_t(n)].values = pairs("PINByPass=False " + others);
        }
        writeConfiguration(instances);
        startUp(session);
        return session.instances;
    }

    // The base instance without a card reader and instance 1 with a Dione xtreme, as the window loads them;
    // the operator then picks the Vx670 for instance 1.
    void start(bool xmlMode = true, const std::string& removed = "properties/none")
    {
        copyData("session/installation");
        fs::remove(native(removed));
        makeInstanceFolders(1);
        writeMode(xmlMode);
        startUp(session);
        session.instances[1].pinpad = "Verifone Vx670";
    }

    std::string original(const std::string& relative) const { return dataFile("session/installation/" + relative); }

    tarn::ConfigSession session;
};

using LoadTest = SessionTest;
using SaveTest = SessionTest;

TEST_F(LoadTest, TheFirstInstanceWithoutPinByPassOrTheNinetyNinthEndsTheList)
{
    startUp(session);
    EXPECT_EQ(ui.messages,
              std::vector<std::string> { "Unable to load configuration from file "
                                         "C:\\ORVANT\\conf\\ORVANTConfiguration.xml" });
    EXPECT_EQ(session.instanceSections, std::vector<std::string> { "Harbell" });
    writeConfiguration(
        { { "00", {} }, { "01", pairs("PINByPass=True") }, { "2", {} }, { "03", pairs("PINByPass=1") } });
    startUp(session);
    EXPECT_EQ(session.instanceSections, (std::vector<std::string> { "Harbell", "Harbell_01" }));
    EXPECT_TRUE(session.instances[1].pinByPass);
    ASSERT_EQ(load("", 120).size(), 100u);
    EXPECT_EQ(session.instanceSections[99], "Harbell_99");
    EXPECT_EQ(session.instances[12].PinPadPort, "5012");
    EXPECT_EQ(session.instances[12].receiptDir, "C:\\ORVANT\\INSTANCE_12");
}

TEST_F(LoadTest, StoredPositionsInTwipsBecomePixels)
{
    const std::tuple<int, const char*, const char*, const char*> cases[] = {
        // twips per pixel of a 1024 x 768 screen (0: no screen), stored Top and Left -> shown Top, Left
        { 15, "Top=2000 Left=20000", "133", "1333" }, // beyond the screen: twips
        { 15, "Top=200 Left=1000", "200", "1000" }, // within it: pixels
        { 12, "Top=1830 Left=1842", "152", "154" }, // halves to even
        { 12, "Top=769 Left=1024", "64", "1024" }, // just beyond, and exactly the screen
        { 0, "Top=2000 Left=030", "2000", "030" }, // without a screen as stored
        { 15, "Top=40000 Left=left", "", "" } // not a position
    };
    for (const auto& [twipsPerPixel, stored, top, left] : cases) {
        session.desktop = { false, "", 1024, 768, double(twipsPerPixel), double(twipsPerPixel) };
        const auto& base = load(stored)[0];
        EXPECT_EQ(base.top, top) << stored;
        EXPECT_EQ(base.left, left) << stored;
    }
}

TEST_F(LoadTest, UnconvertibleValuesFallBackAndThePrinterNeedsPrinters)
{
    const auto& base
        = load("ReferralMode=abc InterfaceMethod=99999 WindowsSize=x AvsRuleIndex=2.5 Debug=yes "
               "AvsDetailsMandatory=maybe PinPadPort=port BackGroundColor=0 Printer=Receipts Environment=POS")[0];
    EXPECT_EQ(base.referralMode, 1);
    EXPECT_EQ(base.interfaceMethod, 0);
    EXPECT_EQ(base.WindowsSize, 100);
    EXPECT_EQ(base.avsRuleIndex, 2);
    EXPECT_FALSE(base.debugOn);
    EXPECT_TRUE(base.avsDetailsMandatory);
    EXPECT_EQ(base.environment, 1);
    EXPECT_EQ(base.PinPadPort, "5000");
    EXPECT_EQ(base.printer, "") << "no printer without printers";
    EXPECT_EQ(base.backgroundColor, tarn::kButtonFaceColor) << "zero is the button face";
    session.desktop.hasPrinters = true;
    session.desktop.defaultPrinter = "Office";
    const auto& first = load("Printer=Receipts", 1, "PinPadPort=05001 BackGroundColor=255")[1];
    EXPECT_EQ(session.instances[0].printer, "Receipts");
    EXPECT_EQ(first.printer, "Office") << "the default printer";
    EXPECT_EQ(first.PinPadPort, "5001");
    EXPECT_EQ(first.backgroundColor, 255);
}

TEST_F(LoadTest, CommonSettingsFollowTheStartUpRules)
{
    load("ClassPath=C:\\ORVANT\\KELBRIN-CPS.JAR PropertiesDir= AllowSplit=False ShowConfirmTxnScreen=nonsense "
         "TransactionResultMandatory=True CheckUpgrade=0 AutoUpgrade=2 Environment=4",
         1, "Environment=2");
    const auto& common = session.common;
    EXPECT_EQ(common.classPath, "C:\\ORVANT\\kelbrin-cps.jar");
    EXPECT_EQ(common.propertyDir, "C:/ORVANT");
    EXPECT_EQ(session.instances[1].receiptDir, "C:/ORVANT\\INSTANCE_01");
    EXPECT_EQ(common.allowSplit, CheckState::Unchecked);
    EXPECT_EQ(common.showConfirmTxnScreen, CheckState::Checked);
    EXPECT_EQ(common.transactionResultMandatory, CheckState::Checked);
    EXPECT_EQ(common.checkUpgrade, CheckState::Unchecked);
    EXPECT_EQ(common.autoUpgrade, CheckState::Checked);
    EXPECT_EQ(session.instances[0].environment, 4);
    EXPECT_EQ(session.instances[1].environment, 1) << "only the base's is read";
    load("ClassPath=D:\\engine\\kelbrin-cps.jar");
    EXPECT_EQ(session.common.classPath, "D:\\engine\\kelbrin-cps.jar");
}

// Two parts set both ports, one part the PIN pad's alone, more parts neither; no key clears the PIN pad's.
TEST_F(LoadTest, TheReaderPortIsSplitAtTheComma)
{
    const std::tuple<const char*, const char*, const char*> loads[] = {
        // terminal.properties -> COM port, reader port
        { "smartCardReader.port=COM1,COM2", "COM1", "COM2" },
        { "smartCardReader.port=COM3", "COM3", "COM2" },
        { "smartCardReader.port=COM5,COM6,COM7", "COM3", "COM2" },
        { "", "", "COM2" },
    };
    session.common.propertyDir = "C:\\ORVANT";
    tarn::CInstanceData record;
    for (const auto& [file, comPort, readerPort] : loads) {
        write("INSTANCE_01/properties/terminal.properties", file);
        EXPECT_TRUE(session.loadInstanceData(record, 1));
        EXPECT_EQ(record.comport, comPort) << file;
        EXPECT_EQ(record.comportReader, readerPort) << file;
    }
}

TEST_F(SaveTest, OkWritesEveryValueAndTheEngineFilesAndASecondOkNothing)
{
    start();
    const auto before = snapshot(); // the registry too, which XML mode leaves alone
    session.instances[0].nextReceiptNumber = "60"; // the stored 57 stays: receipt numbers are only seeded
    session.instances[1].nextReceiptNumber = "99";
    session.common.transactionResultMandatory = CheckState::Grayed;
    session.common.allowSplit = CheckState::Unchecked;
    session.common.autoUpgrade = CheckState::Checked;
    EXPECT_TRUE(tarn::runOkSequence(session));
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_TRUE(matchesDataTree(changedFiles(before, snapshot()), "session/ok_in_xml_mode"));

    const auto afterFirst = snapshot();
    startUp(session);
    session.instances[1].nextReceiptNumber = "120";
    EXPECT_TRUE(tarn::runOkSequence(session));
    EXPECT_TRUE(sameTree(afterFirst, snapshot()));
}

TEST_F(SaveTest, InRegistryModeEveryValueGoesToBothHivesWithOrWithoutAConfigurationFile)
{
    start(false);
    EXPECT_TRUE(tarn::runOkSequence(session));
    for (const auto& [hive, name] : { std::pair { platform::Hive::CurrentUser, "HKEY_CURRENT_USER.reg" },
                                      { platform::Hive::LocalMachine, "HKEY_LOCAL_MACHINE.reg" } }) {
        EXPECT_EQ(valuesInNameOrder(host::hiveText(folder.registryFolder(), hive)),
                  valuesInNameOrder(dataFile(std::string("session/ok_in_registry_mode/") + name)));
    }
    EXPECT_EQ(read("properties/hbl.properties"), "Configuration=registry\r\n");
    EXPECT_FALSE(exists("INSTANCE_01/properties/instance.properties")) << "no receipt number is seeded";

    fs::remove(native("conf/ORVANTConfiguration.xml"));
    fs::remove(native("properties/instance.properties"));
    tarn::XmlConfig::reset();
    session.instances[1].timeout = "45";
    EXPECT_TRUE(tarn::runOkSequence(session));
    EXPECT_EQ(kelbrinValue(platform::Hive::LocalMachine, "Harbell_01", "Timeout"), "45");
    EXPECT_FALSE(exists("conf/ORVANTConfiguration.xml"));
    EXPECT_FALSE(exists("properties/instance.properties"));
}

// A Base Directory changed since the load: its files take the device keys as they are in it, never the
// content of the files loaded from the old folder.
TEST_F(SaveTest, APropertyFileIsReadFromTheFolderItIsWrittenTo)
{
    start();
    write("properties/terminal.properties", read("properties/terminal.properties") + "old.folder=1\r\n");
    startUp(session);
    const auto moved = folder.driveC() / "ORVANT2/properties";
    writeFile(moved / "terminal.properties", "hand.made=1\r\n");
    session.common.propertyDir = "C:\\ORVANT2";
    EXPECT_FALSE(tarn::runOkSequence(session)) << "ORVANT2 has no INSTANCE_01";
    const std::string written = readFile(moved / "terminal.properties");
    EXPECT_NE(written.find("hand.made=1\r\n"), std::string::npos);
    EXPECT_EQ(written.find("old.folder"), std::string::npos);
}

TEST_F(SaveTest, ApplyLeavesTheBasePropertyFilesToOk)
{
    start(true, "properties/language.properties");
    EXPECT_TRUE(tarn::runApplySequence(session));
    EXPECT_EQ(read("properties/language.properties"), "en.01=\\\\nlAMOUNT #\r\n") << "the device profile's prompt only";
    EXPECT_EQ(read(kTerminal), dataFile("session/ok_in_xml_mode/drive_c/ORVANT/" + kTerminal));
}

TEST_F(SaveTest, ARefusedCheckWritesNoRecordButOkStillRegeneratesTheBaseFiles)
{
    start(true, "properties/language.properties");
    write("properties/hbl.properties", "Configuration=xml\r\n# by hand\r\n");
    const auto before = snapshotTree(root());
    session.instances[1].receiptDir = "c:\\orvant\\";
    EXPECT_FALSE(tarn::runOkSequence(session));
    EXPECT_EQ(ui.messages,
              Messages { "Receipt Directory for default instance is also used by instance 1. Please "
                         "provide another value." });
    // The mode file is written before the checks; the configuration and the device profiles are not.
    const auto written = changedFiles(before, snapshotTree(root()));
    EXPECT_EQ(written.size(), 4u) << "and the hash of the configuration as it was";
    EXPECT_EQ(written.at("properties/hbl.properties"), "Configuration=xml\r\n");
    EXPECT_EQ(written.at("properties/language.properties"), original("properties/language.properties"));
    EXPECT_EQ(written.at("INSTANCE_01/properties/language.properties"), original("properties/language.properties"));
}

TEST_F(SaveTest, ARefusedTimeoutSkipsItsInstanceOnlyAndOkDoesNotEnd)
{
    start();
    session.instances[1].timeout = "5";
    session.instances[0].receiptWidth = "40";
    session.common.checkUpgrade = CheckState::Grayed;
    EXPECT_FALSE(tarn::runOkSequence(session));
    EXPECT_EQ(ui.messages,
              Messages { "Enter Correct Card Inactivity Timeout between 10 to 90,Then Press Ok (Do not "
                         "press Apply Button)" });
    EXPECT_EQ(storedValue("ReceiptWidth", 0), "40");
    EXPECT_EQ(storedValue("CheckUpgrade", 0), "2");
    EXPECT_EQ(storedValue("Timeout", 1), "<absent>");
    EXPECT_EQ(read(kTerminal), original(kTerminal));
}

TEST_F(SaveTest, AnEngineFileThatCannotBeWrittenOrReadIsReportedOnceAndNeverOverwritten)
{
    const std::string notWritten = "These files could not be written:\nC:\\ORVANT\\INSTANCE_01\\properties\\terminal."
                                   "properties\nThe configuration has not been saved completely.";
    start();
    makeReadOnly(native(kTerminal));
    EXPECT_FALSE(tarn::runOkSequence(session));
    EXPECT_TRUE(session.saveSucceeded);
    EXPECT_EQ(ui.messages, Messages { notWritten });
    EXPECT_EQ(storedValue("PinPadPort", 1), "5001") << "everything else is saved";

    ORVANT_SKIP_UNLESS(host::kUnreadableFiles);
    makeUnreadable(native(kTerminal));
    startUp(session);
    EXPECT_FALSE(tarn::runOkSequence(session));
    EXPECT_EQ(ui.messages,
              (Messages { notWritten,
                          "These property files could not be read:\nC:\\ORVANT\\INSTANCE_01\\"
                          "properties\\terminal.properties\nTheir instances start with empty "
                          "settings, and a save does not overwrite them.",
                          notWritten }));
    fs::permissions(native(kTerminal), fs::perms::owner_read, fs::perm_options::add);
    EXPECT_EQ(read(kTerminal), original(kTerminal));
}

TEST_F(SaveTest, AConfigurationFileThatCannotBeWrittenOrWasLostFailsTheStore)
{
    start();
    makeReadOnly(native("conf/ORVANTConfiguration.xml"));
    session.instances[0].timeout = "45";
    EXPECT_FALSE(tarn::runOkSequence(session));
    EXPECT_TRUE(session.storeFailed) << "reported by the document";

    // In XML mode the save works on the file as it is now: another program's change is kept. (Windows
    // removes no read-only file.)
    fs::permissions(native("conf/ORVANTConfiguration.xml"), fs::perms::owner_write, fs::perm_options::add);
    fs::remove(native("conf/ORVANTConfiguration.xml"));
    writeConfiguration({ { "00", pairs("Custom=kept") } });
    session.saveAllInstances();
    EXPECT_EQ(storedValue("Custom", 0), "kept");
    EXPECT_EQ(storedValue("Timeout", 0), "45");
    fs::remove(native("conf/ORVANTConfiguration.xml"));
    session.saveAllInstances();
    EXPECT_TRUE(session.storeFailed);
    EXPECT_EQ(ui.messages.back(), "Unable to load configuration from file C:\\ORVANT\\conf\\ORVANTConfiguration.xml");
    EXPECT_FALSE(exists("conf/ORVANTConfiguration.xml"));
}

TEST_F(SaveTest, EveryInstanceCarriesTheBaseEnvironmentAndUnattendedOnesAreMarked)
{
    start();
    const char* unattended[] = { "False", "False", "True", "True", "True", "False" }; // POS ... Standalone
    session.instances[1].environment = 2;
    for (std::int16_t environment = 1; environment <= 6; ++environment) {
        session.instances[0].environment = environment;
        session.saveAllInstances();
        SCOPED_TRACE(environment);
        EXPECT_EQ(storedValue("Environment", 1), std::to_string(environment));
        EXPECT_EQ(storedValue("UPTTerminal", 1), unattended[environment - 1]);
        EXPECT_EQ(storedValue("UPTTerminal", 0), unattended[environment - 1]);
    }
}

// Where no lock file can be made the caller goes on without the lock, and knows why.
TEST_F(SessionTest, AnInstallationWhereNoLockFileCanBeMadeIsSavedWithoutTheLock)
{
    ORVANT_SKIP_UNLESS(host::kReadOnlyFolders);
    makeReadOnly(native("conf"));
    const auto unavailable = tarn::InstallationLock::acquire(tarn::InstallationLock::Kind::Exclusive, 0ms);
    EXPECT_EQ(unavailable.outcome(), tarn::InstallationLock::Outcome::Unavailable);
}

// A lock file this user may not open: a reader goes on, a save does not, as it could run beside another.
TEST_F(SessionTest, ALockFileThisUserCannotOpenStopsASaveAndNotAReader)
{
    ORVANT_SKIP_UNLESS(host::kUnreadableFiles);
    using tarn::InstallationLock;
    write("conf/ORVANTConfiguration.lock", "");
    makeUnreadable(native("conf/ORVANTConfiguration.lock"));
    makeReadOnly(native("conf/ORVANTConfiguration.lock"));
    EXPECT_EQ(InstallationLock::acquire(InstallationLock::Kind::Shared, 0ms).outcome(),
              InstallationLock::Outcome::Unavailable);
    const auto refused = InstallationLock::acquire(InstallationLock::Kind::Exclusive, 0ms);
    EXPECT_EQ(refused.outcome(), InstallationLock::Outcome::Refused);
    EXPECT_NE(refused.error().find("ORVANTConfiguration.lock"), std::string::npos);
    EXPECT_FALSE(tarn::SaveGuard(tarn::LoadedFiles::read("C:\\ORVANT", 0), true, {}, 0ms).mayWrite());
    EXPECT_THAT(ui.messages, ::testing::ElementsAre(::testing::StartsWith(tarn::SaveGuard::kRefusedMessage)));
}

// Saves exclude each other and readers; readers share. Each lock is an open file of its own, so one
// process meets its own locks as another process's.
TEST_F(SessionTest, TheInstallationLockKeepsSavesApartAndLetsReadersShare)
{
    using tarn::InstallationLock;
    using Kind = InstallationLock::Kind;
    using Outcome = InstallationLock::Outcome;
    EXPECT_EQ(InstallationLock::path(), "C:\\ORVANT\\conf\\ORVANTConfiguration.lock");
    EXPECT_EQ(InstallationLock::acquire(Kind::Shared, 0ms, {}, InstallationLock::Missing::Skip).outcome(),
              Outcome::Unavailable);
    EXPECT_FALSE(exists("conf/ORVANTConfiguration.lock")) << "a run that writes nothing makes no lock file";
    {
        const auto save = InstallationLock::acquire(Kind::Exclusive, 0ms);
        ASSERT_EQ(save.outcome(), Outcome::Locked);
        int waited = 0;
        EXPECT_EQ(InstallationLock::acquire(Kind::Shared, 60ms, [&] { ++waited; }).outcome(), Outcome::Busy);
        EXPECT_GT(waited, 0) << "the caller is called back while it waits";
        ui.answers = { tarn::QuestionAnswer::Yes };
        EXPECT_FALSE(tarn::SaveGuard(tarn::LoadedFiles::read("C:\\ORVANT", 0), true, {}, 0ms).mayWrite());
        EXPECT_EQ(ui.messages, Messages { tarn::SaveGuard::kBusyMessage });
    }
    const auto reader = InstallationLock::acquire(Kind::Shared, 0ms);
    EXPECT_EQ(InstallationLock::acquire(Kind::Shared, 0ms).outcome(), Outcome::Locked);
    EXPECT_EQ(InstallationLock::acquire(Kind::Exclusive, 0ms).outcome(), Outcome::Busy);
}

// Nothing changed since the load: the save goes ahead without a question. Another program's change to a
// file the window loaded and would write, or in registry mode to a value of its instances' keys, is asked
// about when the window has edits, and only Yes writes; without edits nothing is written or asked.
TEST_F(SessionTest, ASaveAsksBeforeOverwritingWhatAnotherProgramChanged)
{
    using Decision = tarn::SaveGuard::Decision;
    start(false);
    const std::string key = "SOFTWARE\\Kelbrin\\Harbell_01";
    ASSERT_TRUE(storeRegistryValue(platform::Hive::LocalMachine, key, "Timeout", platform::kRegSz, "30"));
    const tarn::LoadedFiles loaded = tarn::LoadedFiles::read(session.common.propertyDir, session.lastIndex());
    EXPECT_EQ(tarn::SaveGuard(loaded, true, {}).decision(), Decision::Save);
    EXPECT_TRUE(ui.questions.empty());

    const auto timeout = [&](const char* value) {
        return [&key, value] {
            storeRegistryValue(platform::Hive::LocalMachine, key, "Timeout", platform::kRegSz, value);
        };
    };
    std::vector<std::tuple<std::string, std::function<void()>, std::function<void()>>> changes {
        { "registry", timeout("45"), timeout("30") }
    };
    for (const std::string& file :
         { std::string("conf/ORVANTConfiguration.xml"), std::string("properties/hbl.properties"), kTerminal }) {
        const std::string bytes = read(file);
        changes.emplace_back(
            file, [=, this] { write(file, bytes + " "); }, [=, this] { write(file, bytes); });
    }
    for (const auto& [what, change, undo] : changes) {
        change();
        ui.answers = { tarn::QuestionAnswer::No, tarn::QuestionAnswer::Yes };
        EXPECT_EQ(tarn::SaveGuard(loaded, true, {}).decision(), Decision::DontSave) << what;
        EXPECT_EQ(tarn::SaveGuard(loaded, true, {}).decision(), Decision::Save) << what;
        EXPECT_EQ(tarn::SaveGuard(loaded, false, {}).decision(), Decision::NothingToSave) << what;
        undo();
    }
    EXPECT_EQ(ui.questions, Messages(8, tarn::SaveGuard::kChangedQuestion));

    // A save in xml mode does not write the registry: a change there is none of its concern.
    timeout("45")();
    tarn::Globals::state().configurationMode = tarn::kXmlMode;
    EXPECT_EQ(tarn::SaveGuard(loaded, true, {}).decision(), Decision::Save);
}

} // namespace
} // namespace orvant::test
