#include "config_tool/provisioning/NewInstance.h"

#include "config_tool/foundation/Globals.h"
#include "config_tool/model/XmlConfig.h"
#include "config_tool/session/ConfigSession.h"
#include "tests/support/TestFolder.h"

#include <algorithm>
#include <filesystem>
#include <functional>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <map>

namespace tarn::test {
namespace {

namespace fs = std::filesystem;

constexpr const char* kBase = "C:\\ORVANT";

// The base instance's terminal.properties does not end with a line end, as hand-edited files often
// do not; the appended line must still stand on its own.
const std::string kBaseTerminal = "name=terminal.properties\r\nproperties.directory=C:/ORVANT/properties";
const std::string kEmptyLog = "<?xml version=\"1.0\"?>\r\n<TransactionLog/>\r\n";
const std::string kPrinterProgram = std::string("MZ\x90\x00\x03", 5) + "receipt printer";

class NewInstanceTest : public ::testing::Test
{
protected:
    NewInstanceTest()
    {
        Globals::reset();
        XmlConfig::reset();
        m_session.common.propertyDir = kBase;
        write("properties/terminal.properties", kBaseTerminal);
        write("properties/language.properties", "en.02=OK?\r\nen.18=REFUND \xA3\r\n");
        write("properties/terminal.emv.properties", "emv.kernel=2\r\n");
        write("properties/.directory", "hidden");
        write("properties/archive/old.properties", "old=1\r\n");
        write("conf/ORVANTTransactionLogEmpty.xml", kEmptyLog);
        write("conf/ORVANTConfiguration.xml", "<Configuration/>\r\n");
        write("bin/ReceiptPrinter.exe", kPrinterProgram);
        write("INSTANCE_01/properties/terminal.properties", "name=one\r\n");
        write("INSTANCE_02/properties/terminal.properties", "name=two\r\n");

        m_session.instances.resize(3);
        CInstanceData& base = m_session.instances[0];
        base.timeout = "45";
        base.logoFile = "C:\\ORVANT\\shop_logo.jpg";
        base.useAvsRules = true;
        base.avsRuleIndex = 2;
        base.backgroundColor = 255;
        base.WindowsSize = 80;
        base.watermarkImage = "C:\\ORVANT\\base_mark.jpg";
        base.port = "10000";
        m_session.instances[1].port = "10001";
        m_session.instances[2].port = "10002";
    }
    ~NewInstanceTest() override
    {
        XmlConfig::reset();
        Globals::reset();
    }

    fs::path root() const { return m_folder.driveC() / "ORVANT"; }
    void write(const std::string& relative, const std::string& bytes) const
    {
        m_folder.write("drive_c/ORVANT/" + relative, bytes);
    }
    std::string read(const std::string& relative) const { return m_folder.read("drive_c/ORVANT/" + relative); }
    bool there(const std::string& relative) const { return fs::exists(root() / relative); }

    // Every file and folder below the installation with its content, to show that nothing changed.
    std::map<std::string, std::string> snapshot() const
    {
        std::map<std::string, std::string> entries;
        for (const auto& entry : fs::recursive_directory_iterator(root())) {
            const std::string name = fs::relative(entry.path(), root()).generic_string();
            entries[name] = entry.is_directory() ? "<folder>" : read(name);
        }
        return entries;
    }

    NewInstanceResult addInstance()
    {
        return createNewInstance(
            m_session.instances, static_cast<int>(m_session.instances.size()), kBase,
            [this](CInstanceData& record, std::int16_t n) { return m_session.loadInstanceData(record, n); });
    }

    // A refused attempt leaves the installation and the instance list exactly as they were.
    NewInstanceResult expectRefused(const ::testing::Matcher<const std::string&>& message,
                                    const std::function<NewInstanceResult()>& attempt = {})
    {
        const auto before = snapshot();
        const std::size_t count = m_session.instances.size();
        const NewInstanceResult result = attempt ? attempt() : addInstance();
        EXPECT_FALSE(result.created);
        EXPECT_THAT(result.message, message);
        EXPECT_EQ(snapshot(), before);
        EXPECT_EQ(m_session.instances.size(), count);
        return result;
    }

    // A read-only bin folder makes the copy of the receipt printer, the last step, fail.
    NewInstanceResult addWithReadOnlyBin()
    {
        fs::permissions(root() / "bin", fs::perms::owner_read | fs::perms::owner_exec);
        const NewInstanceResult result = addInstance();
        fs::permissions(root() / "bin", fs::perms::owner_all, fs::perm_options::add);
        return result;
    }

    std::string expectedTerminal(const std::string& nn) const
    {
        return kBaseTerminal + "\r\n\r\nproperties.directory=C:/ORVANT/INSTANCE_" + nn + "/properties\r\n";
    }

    orvant::test::TestFolder m_folder;
    ConfigSession m_session;
};

TEST_F(NewInstanceTest, theFourthInstanceGetsItsSkeletonFromTheBaseInstance)
{
    const NewInstanceResult result = addInstance();
    ASSERT_TRUE(result.created) << result.message;
    EXPECT_EQ(result.number, 3);
    EXPECT_EQ(result.section, "Harbell_03");
    EXPECT_TRUE(result.message.empty());

    EXPECT_TRUE(fs::is_directory(root() / "INSTANCE_03/logs"));
    EXPECT_TRUE(fs::is_empty(root() / "INSTANCE_03/logs"));
    EXPECT_EQ(read("INSTANCE_03/properties/terminal.properties"), expectedTerminal("03"));
    EXPECT_EQ(read("INSTANCE_03/properties/language.properties"), "en.02=OK?\r\nen.18=REFUND \xA3\r\n");
    EXPECT_EQ(read("INSTANCE_03/properties/terminal.emv.properties"), "emv.kernel=2\r\n");
    // Only ordinary files: no subfolder, no hidden file.
    EXPECT_FALSE(there("INSTANCE_03/properties/archive"));
    EXPECT_FALSE(there("INSTANCE_03/properties/.directory"));
    EXPECT_EQ(read("INSTANCE_03/conf/ORVANTTransactionLogEmpty.xml"), kEmptyLog);
    EXPECT_EQ(read("INSTANCE_03/conf/ORVANTTransactionLog.xml"), kEmptyLog);
    EXPECT_FALSE(there("INSTANCE_03/conf/ORVANTConfiguration.xml"));
    EXPECT_EQ(read("bin/ReceiptPrinter_03.exe"), kPrinterProgram);
    EXPECT_FALSE(there("INSTANCE_03/bin"));
}

TEST_F(NewInstanceTest, theNewRecordHasItsOwnPortsAndFolderButTheBaseInstancesLook)
{
    ASSERT_TRUE(addInstance().created);
    ASSERT_EQ(m_session.instances.size(), 4u);
    const CInstanceData& added = m_session.instances[3];
    EXPECT_EQ(added.port, "10003");
    EXPECT_EQ(added.receiptPort, "20003");
    EXPECT_EQ(added.PinPadPort, "5003");
    EXPECT_EQ(added.receiptDir, "C:\\ORVANT\\INSTANCE_03");
    EXPECT_EQ(added.watermarkImage, "");
    EXPECT_EQ(added.timeout, "45");
    EXPECT_EQ(added.logoFile, "C:\\ORVANT\\shop_logo.jpg");
    EXPECT_TRUE(added.useAvsRules);
    EXPECT_EQ(added.avsRuleIndex, 2);
    EXPECT_EQ(added.backgroundColor, 255);
    EXPECT_EQ(added.WindowsSize, 80);
    // Read from the copied files; the appended line wins over the one copied from the base file.
    EXPECT_EQ(added.pinpadProperties.getValue("properties.directory"), "C:/ORVANT/INSTANCE_03/properties");
    EXPECT_EQ(added.languageProperties.getValue("en.18"), "REFUND \u00A3");
    EXPECT_EQ(added.pinpad, "No Card Reader");
    // The records already there are kept.
    EXPECT_EQ(m_session.instances[1].port, "10001");
    EXPECT_EQ(m_session.instances[2].port, "10002");
}

TEST_F(NewInstanceTest, theTenthInstanceHasNoLeadingZero)
{
    m_session.instances.resize(10);
    const NewInstanceResult result = addInstance();
    ASSERT_TRUE(result.created) << result.message;
    EXPECT_EQ(result.section, "Harbell_10");
    EXPECT_EQ(read("INSTANCE_10/properties/terminal.properties"), expectedTerminal("10"));
    EXPECT_EQ(read("bin/ReceiptPrinter_10.exe"), kPrinterProgram);
    EXPECT_EQ(m_session.instances[10].port, "10010");
    EXPECT_EQ(m_session.instances[10].receiptPort, "20010");
    EXPECT_EQ(m_session.instances[10].PinPadPort, "5010");
}

TEST_F(NewInstanceTest, theNinetyNinthIsTheLastAndTheHundredthIsRefusedWithoutTouchingAnything)
{
    m_session.instances.resize(99);
    ASSERT_TRUE(addInstance().created);
    EXPECT_TRUE(there("INSTANCE_99/properties/terminal.properties"));
    EXPECT_EQ(expectRefused("Instance 100 cannot be added: an installation holds at most 99 instances besides the "
                            "base instance.")
                  .number,
              100);
}

TEST_F(NewInstanceTest, aMissingSourceFileIsReportedAndNothingIsBuilt)
{
    for (const char* missing : { "bin\\ReceiptPrinter.exe", "conf\\ORVANTTransactionLogEmpty.xml" }) {
        SCOPED_TRACE(missing);
        std::string relative = missing;
        std::replace(relative.begin(), relative.end(), '\\', '/');
        const std::string content = read(relative);
        fs::remove(root() / relative);
        expectRefused("The new instance Harbell_03 cannot be created: C:\\ORVANT\\" + std::string(missing)
                      + " was not found.");
        write(relative, content);
    }
}

TEST_F(NewInstanceTest, aStepThatFailsTakesBackWhatTheAttemptCreated)
{
    expectRefused(
        ::testing::StartsWith("The new instance Harbell_03 cannot be created: C:\\ORVANT\\bin\\ReceiptPrinter.exe "
                              "could not be copied to C:\\ORVANT\\bin\\ReceiptPrinter_03.exe ("),
        [this] { return addWithReadOnlyBin(); });
}

TEST_F(NewInstanceTest, aFolderLeftByAnUnsavedAttemptIsReused)
{
    ASSERT_TRUE(addInstance().created);
    // The window was closed without saving: the next start loads instances 0 to 2 again.
    m_session.instances.resize(3);
    write("INSTANCE_03/properties/notes.txt", "left by the operator");

    const NewInstanceResult result = addInstance();
    ASSERT_TRUE(result.created) << result.message;
    EXPECT_EQ(read("INSTANCE_03/properties/terminal.properties"), expectedTerminal("03"));
    EXPECT_EQ(read("INSTANCE_03/properties/notes.txt"), "left by the operator");
    EXPECT_EQ(m_session.instances.size(), 4u);
}

TEST_F(NewInstanceTest, aFailureInAReusedFolderKeepsWhatWasThereBefore)
{
    write("INSTANCE_03/properties/notes.txt", "left by the operator");
    expectRefused(::testing::HasSubstr("could not be copied"), [this] { return addWithReadOnlyBin(); });
}

TEST_F(NewInstanceTest, aFolderWithTheEnginesDataIsNeverOverwritten)
{
    const std::pair<const char*, const char*> engineData[] = {
        { "INSTANCE_03/conf/ORVANTTransactionLog.xml", "<TransactionLog><Txn id=\"1\"/></TransactionLog>" },
        { "INSTANCE_03/logs/20240101.txt", "started" },
    };
    for (const auto& [file, content] : engineData) {
        SCOPED_TRACE(file);
        fs::remove_all(root() / "INSTANCE_03");
        write(file, content);
        expectRefused("The new instance Harbell_03 cannot be created: the folder C:\\ORVANT\\INSTANCE_03 "
                      "already exists and holds transaction or log files. Move it away and try again.");
    }
}

TEST_F(NewInstanceTest, aFileInThePlaceOfTheFolderIsRefused)
{
    write("INSTANCE_03", "not a folder");
    expectRefused("The new instance Harbell_03 cannot be created: C:\\ORVANT\\INSTANCE_03 exists and is not a folder.");
}

TEST_F(NewInstanceTest, anInstanceAlreadyInTheConfigurationIsNotCreatedAgain)
{
    // Saved by another session after this one loaded its instances.
    write("conf/ORVANTConfiguration.xml",
          "<ORVANTConfiguration><InstanceConfigurationList><InstanceConfiguration>"
          "<InstanceId>03</InstanceId><PINByPass>False</PINByPass>"
          "</InstanceConfiguration></InstanceConfigurationList></ORVANTConfiguration>");
    Globals::state().xmlConfigurationPath = "C:\\ORVANT\\conf\\ORVANTConfiguration.xml";
    ASSERT_TRUE(XmlConfig::loadXmlConfig(Globals::state().xmlConfigurationPath));
    expectRefused("The new instance Harbell_03 cannot be created: Harbell_03 is already in the configuration.");
}

TEST_F(NewInstanceTest, anEmptyBaseFolderAMismatchedListOrAnUnreadableRecordIsRefused)
{
    expectRefused("The new instance cannot be added: the Base Directory is empty.",
                  [this] { return createNewInstance(m_session.instances, 3, "", {}); });
    expectRefused("The new instance cannot be added: the instance list does not match the loaded instances.",
                  [this] { return createNewInstance(m_session.instances, 2, kBase, {}); });
    expectRefused("The new instance Harbell_03 cannot be created: its property files in "
                  "C:\\ORVANT\\INSTANCE_03\\properties could not be read.",
                  [this] {
                      return createNewInstance(m_session.instances, 3, kBase,
                                               [](CInstanceData&, std::int16_t) { return false; });
                  });
}

TEST_F(NewInstanceTest, copyFolderReplacesFilesOfTheSameNameAndSkipsTheRest)
{
    write("target/terminal.properties", "old");
    std::vector<std::string> newFiles;
    const auto copied = copyFolder("C:\\ORVANT\\properties", "C:\\ORVANT\\target", &newFiles);
    ASSERT_TRUE(copied.ok) << copied.error;
    EXPECT_EQ(read("target/terminal.properties"), kBaseTerminal);
    EXPECT_EQ(newFiles,
              (std::vector<std::string> { "C:\\ORVANT\\target\\language.properties",
                                          "C:\\ORVANT\\target\\terminal.emv.properties" }));
    EXPECT_FALSE(there("target/archive"));
    EXPECT_FALSE(there("target/.directory"));

    // Nothing to copy from a folder that is not there.
    EXPECT_TRUE(copyFolder("C:\\ORVANT\\nowhere", "C:\\ORVANT\\target").ok);
}

} // namespace
} // namespace tarn::test
