#include "config_tool/model/InstanceNaming.h"
#include "tests/config_tool/model/ModelTesting.h"

#include <filesystem>

namespace orvant::test {
namespace {

using tarn::CheckState;
using tarn::ConfigSession;

const char* const kTimeoutMessage
    = "Enter Correct Card Inactivity Timeout between 10 to 90,Then Press Ok (Do not press Apply Button)";

class ConfigSessionSaveTest : public InstallationTest
{
protected:
    void SetUp() override
    {
        InstallationTest::SetUp();
        makeInstanceFolders(2);
        writeMode(true);
    }

    void writeTwoInstances(const KeyValues& base = {}, const KeyValues& first = {}, const KeyValues& second = {})
    {
        KeyValues one { { "PINByPass", "False" } };
        one.insert(one.end(), first.begin(), first.end());
        KeyValues two { { "PINByPass", "False" } };
        two.insert(two.end(), second.begin(), second.end());
        writeConfiguration({ { "00", base }, { "01", one }, { "02", two } });
    }
};

TEST_F(ConfigSessionSaveTest, NextReceiptNumberIsOnlyEverSeeded)
{
    writeTwoInstances({ { "NextReceiptNumber", "57" } });
    ConfigSession session;
    startUp(session);
    ASSERT_EQ(session.instances.size(), 3u);
    EXPECT_EQ(session.instances[0].nextReceiptNumber, "57");
    session.instances[0].nextReceiptNumber = "60";
    session.instances[1].nextReceiptNumber = "99";
    session.saveAllInstances();
    EXPECT_TRUE(session.saveSucceeded);

    EXPECT_EQ(storedValue("NextReceiptNumber", 0), "57");
    EXPECT_EQ(storedValue("NextReceiptNumber", 1), "1");
    EXPECT_EQ(storedValue("NextReceiptNumber", 2), "1");
    // The record's number goes to the instance's own file, once.
    EXPECT_EQ(read("properties/instance.properties"), "NextReceiptNumber=60\r\n");
    EXPECT_EQ(read("INSTANCE_01/properties/instance.properties"), "NextReceiptNumber=99\r\n");

    session.instances[1].nextReceiptNumber = "120";
    session.saveAllInstances();
    EXPECT_EQ(read("INSTANCE_01/properties/instance.properties"), "NextReceiptNumber=99\r\n");
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(ConfigSessionSaveTest, EveryInstanceCarriesTheBaseEnvironment)
{
    writeTwoInstances({ { "Environment", "3" } }, { { "Environment", "2" }, { "UPTTerminal", "False" } });
    ConfigSession session;
    startUp(session);
    session.saveAllInstances();
    for (int n = 0; n <= 2; ++n) {
        EXPECT_EQ(storedValue("Environment", n), "3") << n;
        EXPECT_EQ(storedValue("UPTTerminal", n), "True") << n;
    }

    // Hospitality is attended.
    tarn::XmlConfig::loadXmlConfig(tarn::Globals::state().xmlConfigurationPath);
    session.instances[0].environment = 2;
    session.saveAllInstances();
    for (int n = 0; n <= 2; ++n) {
        EXPECT_EQ(storedValue("Environment", n), "2") << n;
        EXPECT_EQ(storedValue("UPTTerminal", n), "False") << n;
    }
}

TEST_F(ConfigSessionSaveTest, RefusedTimeoutSkipsOnlyItsInstance)
{
    writeTwoInstances({}, { { "Port", "11111" } }, { { "Port", "22222" } });
    write("INSTANCE_01/properties/terminal.properties", "untouched=yes\r\n");
    ConfigSession session;
    startUp(session);
    session.instances[1].timeout = "5";
    session.instances[1].port = "12345";
    session.instances[2].port = "23456";
    session.instances[0].port = "10100";
    session.saveAllInstances();

    EXPECT_FALSE(session.saveSucceeded);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0], kTimeoutMessage);
    EXPECT_EQ(storedValue("Port", 1), "11111");
    EXPECT_EQ(storedValue("Timeout", 1), "<absent>");
    EXPECT_EQ(storedValue("Port", 2), "23456");
    EXPECT_EQ(storedValue("Port", 0), "10100");
    EXPECT_EQ(read("INSTANCE_01/properties/terminal.properties"), "untouched=yes\r\n");
    EXPECT_FALSE(exists("INSTANCE_01/properties/instance.properties"));
    EXPECT_TRUE(exists("INSTANCE_02/properties/terminal.properties"));
}

TEST_F(ConfigSessionSaveTest, WithoutPrintersTheStoredPrinterIsCleared)
{
    writeTwoInstances({}, { { "Printer", "Receipts" } });
    ConfigSession session;
    startUp(session);
    session.saveAllInstances();
    EXPECT_EQ(storedValue("Printer", 1), "");
}

TEST_F(ConfigSessionSaveTest, ButtonFaceColourIsSavedBackForAStoredZero)
{
    writeTwoInstances({ { "BackGroundColor", "0" } });
    ConfigSession session;
    startUp(session);
    session.saveAllInstances();
    EXPECT_EQ(storedValue("BackGroundColor", 0), "-2147483633");
    EXPECT_EQ(storedValue("BackGroundColor", 2), "-2147483633");
}

TEST_F(ConfigSessionSaveTest, CommonSettingsAreWrittenFromTheWindow)
{
    writeTwoInstances();
    ConfigSession session;
    startUp(session);
    session.window.classPath = "D:\\engine\\kelbrin-cps.jar";
    session.window.hblPort = "9100";
    session.window.transactionResultMandatory = CheckState::Grayed;
    session.window.checkUpgrade = CheckState::Grayed;
    session.window.autoUpgrade = CheckState::Checked;
    session.window.allowSplit = CheckState::Unchecked;
    session.window.showConfirmTxnScreen = CheckState::Grayed;
    session.saveAllInstances();

    EXPECT_EQ(storedValue("UsePropDir", 0), "True");
    EXPECT_EQ(storedValue("ClassPath", 0), "D:\\engine\\kelbrin-cps.jar");
    EXPECT_EQ(storedValue("PropertiesDir", 0), "C:\\ORVANT");
    EXPECT_EQ(storedValue("HBLPort", 0), "9100");
    EXPECT_EQ(storedValue("TransactionResultMandatory", 0), "True");
    EXPECT_EQ(storedValue("CheckUpgrade", 0), "2");
    EXPECT_EQ(storedValue("AutoUpgrade", 0), "1");
    EXPECT_EQ(storedValue("AllowSplit", 0), "False");
    EXPECT_EQ(storedValue("ShowConfirmTxnScreen", 0), "True");
}

TEST_F(ConfigSessionSaveTest, AClashStopsTheSaveBeforeAnyValue)
{
    writeTwoInstances({}, { { "ReceiptDir", "C:\\Receipts" } }, { { "ReceiptDir", "c:\\receipts\\" } });
    write("properties/hbl.properties", "Configuration=xml\r\n# written by hand\r\n");
    const std::string before = configurationFile();
    ConfigSession session;
    startUp(session);
    const long writes = tarn::XmlConfig::writeCount();
    session.saveAllInstances();

    EXPECT_FALSE(session.saveSucceeded);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0],
              "Receipt Directory for instance 1 is also used by instance 2. Please provide another value.");
    EXPECT_EQ(tarn::XmlConfig::writeCount(), writes);
    EXPECT_EQ(configurationFile(), before);
    EXPECT_FALSE(exists("INSTANCE_01/properties/terminal.properties"));
    // The mode file is written before the checks.
    EXPECT_EQ(read("properties/hbl.properties"), "Configuration=xml\r\n");
}

TEST_F(ConfigSessionSaveTest, UnchangedValuesAreNotWrittenAgain)
{
    writeTwoInstances();
    ConfigSession session;
    startUp(session);
    session.saveAllInstances();
    const std::string afterFirst = configurationFile();
    const long writes = tarn::XmlConfig::writeCount();

    session.saveAllInstances();
    EXPECT_EQ(tarn::XmlConfig::writeCount(), writes);
    EXPECT_EQ(configurationFile(), afterFirst);

    session.instances[2].receiptWidth = "40";
    session.saveAllInstances();
    EXPECT_EQ(tarn::XmlConfig::writeCount(), writes + 1);
}

TEST_F(ConfigSessionSaveTest, XmlModeReloadsTheFileBeforeSaving)
{
    writeTwoInstances();
    ConfigSession session;
    startUp(session);
    // Another program edits the file while the window is open; the save works on the file's content.
    writeTwoInstances({ { "Custom", "kept" } });
    session.saveAllInstances();
    EXPECT_EQ(storedValue("Custom", 0), "kept");
    EXPECT_EQ(storedValue("Timeout", 0), "30");
}

TEST_F(ConfigSessionSaveTest, ConfigurationFileLostInXmlModeIsAFailedStore)
{
    writeTwoInstances();
    ConfigSession session;
    startUp(session);
    std::filesystem::remove(native("conf/ORVANTConfiguration.xml"));
    session.saveAllInstances();

    EXPECT_TRUE(session.saveSucceeded);
    EXPECT_TRUE(session.storeFailed);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0], "Unable to load configuration from file C:\\ORVANT\\conf\\ORVANTConfiguration.xml");
    EXPECT_FALSE(exists("conf/ORVANTConfiguration.xml"));
}

} // namespace
} // namespace orvant::test
