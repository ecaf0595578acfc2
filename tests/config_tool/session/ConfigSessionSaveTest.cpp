#include "config_tool/model/InstanceNaming.h"
#include "tests/config_tool/model/ModelTesting.h"

#include <filesystem>

namespace orvant::test {
namespace {

using tarn::CheckState;
using tarn::ConfigSession;

class ConfigSessionSaveTest : public InstallationTest
{
protected:
    ConfigSession session;

    void SetUp() override
    {
        InstallationTest::SetUp();
        makeInstanceFolders(2);
        writeMode(true);
    }

    // Instances 0, 1 and 2 with the given values, then the window's start-up on them.
    void startWith(const std::string& base = "", const std::string& first = "", const std::string& second = "")
    {
        writeTwoInstances(base, first, second);
        startUp(session);
        ASSERT_EQ(session.instances.size(), 3u);
    }

    void writeTwoInstances(const std::string& base = "", const std::string& first = "", const std::string& second = "")
    {
        writeConfiguration({ { "00", pairs(base) },
                             { "01", pairs("PINByPass=False " + first) },
                             { "02", pairs("PINByPass=False " + second) } });
    }

    // The stored values of key for instances 0, 1 and 2.
    std::string stored(const std::string& key)
    {
        return fields(storedValue(key, 0), storedValue(key, 1), storedValue(key, 2));
    }
};

TEST_F(ConfigSessionSaveTest, NextReceiptNumberIsOnlyEverSeeded)
{
    startWith("NextReceiptNumber=57");
    EXPECT_EQ(session.instances[0].nextReceiptNumber, "57");
    session.instances[0].nextReceiptNumber = "60";
    session.instances[1].nextReceiptNumber = "99";
    session.saveAllInstances();
    EXPECT_TRUE(session.saveSucceeded);
    EXPECT_EQ(stored("NextReceiptNumber"), "57|1|1|");
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
    startWith("Environment=3", "Environment=2 UPTTerminal=False");
    session.saveAllInstances();
    EXPECT_EQ(stored("Environment"), "3|3|3|");
    EXPECT_EQ(stored("UPTTerminal"), "True|True|True|");

    // Hospitality is attended.
    tarn::XmlConfig::loadXmlConfig(tarn::Globals::state().xmlConfigurationPath);
    session.instances[0].environment = 2;
    session.saveAllInstances();
    EXPECT_EQ(stored("Environment"), "2|2|2|");
    EXPECT_EQ(stored("UPTTerminal"), "False|False|False|");
}

TEST_F(ConfigSessionSaveTest, RefusedTimeoutSkipsOnlyItsInstance)
{
    write("INSTANCE_01/properties/terminal.properties", "untouched=yes\r\n");
    startWith("", "Port=11111", "Port=22222");
    session.instances[1].timeout = "5";
    session.instances[1].port = "12345";
    session.instances[2].port = "23456";
    session.instances[0].port = "10100";
    session.saveAllInstances();

    EXPECT_FALSE(session.saveSucceeded);
    EXPECT_EQ(ui.messages,
              Messages { "Enter Correct Card Inactivity Timeout between 10 to 90,Then "
                         "Press Ok (Do not press Apply Button)" });
    EXPECT_EQ(stored("Port"), "10100|11111|23456|");
    EXPECT_EQ(stored("Timeout"), "30|<absent>|30|");
    EXPECT_EQ(read("INSTANCE_01/properties/terminal.properties"), "untouched=yes\r\n");
    EXPECT_FALSE(exists("INSTANCE_01/properties/instance.properties"));
    EXPECT_TRUE(exists("INSTANCE_02/properties/terminal.properties"));
}

TEST_F(ConfigSessionSaveTest, ButtonFaceColourAndClearedPrinterAreSavedBack)
{
    // A stored zero colour is shown and saved as the button face; without printers the printer is cleared.
    startWith("BackGroundColor=0", "Printer=Receipts");
    session.saveAllInstances();
    EXPECT_EQ(stored("BackGroundColor"), "-2147483633|-2147483633|-2147483633|");
    EXPECT_EQ(storedValue("Printer", 1), "");
}

TEST_F(ConfigSessionSaveTest, CommonSettingsAreWrittenFromTheWindow)
{
    startWith();
    session.common.classPath = "D:\\engine\\kelbrin-cps.jar";
    session.common.hblPort = "9100";
    session.common.transactionResultMandatory = CheckState::Grayed;
    session.common.checkUpgrade = CheckState::Grayed;
    session.common.autoUpgrade = CheckState::Checked;
    session.common.allowSplit = CheckState::Unchecked;
    session.common.showConfirmTxnScreen = CheckState::Grayed;
    session.saveAllInstances();

    std::string values;
    for (const char* key : { "UsePropDir", "ClassPath", "PropertiesDir", "HBLPort", "TransactionResultMandatory",
                             "CheckUpgrade", "AutoUpgrade", "AllowSplit", "ShowConfirmTxnScreen" }) {
        values += storedValue(key, 0) + "|";
    }
    EXPECT_EQ(values, "True|D:\\engine\\kelbrin-cps.jar|C:\\ORVANT|9100|True|2|1|False|True|");
}

TEST_F(ConfigSessionSaveTest, AClashStopsTheSaveBeforeAnyValue)
{
    write("properties/hbl.properties", "Configuration=xml\r\n# written by hand\r\n");
    startWith("", "ReceiptDir=C:\\Receipts", "ReceiptDir=c:\\receipts\\");
    const std::string before = configurationFile();
    const long writes = tarn::XmlConfig::writeCount();
    session.saveAllInstances();

    EXPECT_FALSE(session.saveSucceeded);
    EXPECT_EQ(ui.messages,
              Messages { "Receipt Directory for instance 1 is also used by instance 2. "
                         "Please provide another value." });
    EXPECT_EQ(tarn::XmlConfig::writeCount(), writes);
    EXPECT_EQ(configurationFile(), before);
    EXPECT_FALSE(exists("INSTANCE_01/properties/terminal.properties"));
    // The mode file is written before the checks.
    EXPECT_EQ(read("properties/hbl.properties"), "Configuration=xml\r\n");
}

TEST_F(ConfigSessionSaveTest, UnchangedValuesAreNotWrittenAgain)
{
    startWith();
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
    startWith();
    // Another program edits the file while the window is open; the save works on the file's content.
    writeTwoInstances("Custom=kept");
    session.saveAllInstances();
    EXPECT_EQ(storedValue("Custom", 0), "kept");
    EXPECT_EQ(storedValue("Timeout", 0), "30");

    // A file lost meanwhile is a failed store, not a failed check.
    std::filesystem::remove(native("conf/ORVANTConfiguration.xml"));
    session.saveAllInstances();
    EXPECT_TRUE(session.saveSucceeded);
    EXPECT_TRUE(session.storeFailed);
    EXPECT_EQ(ui.messages,
              Messages { "Unable to load configuration from file "
                         "C:\\ORVANT\\conf\\ORVANTConfiguration.xml" });
    EXPECT_FALSE(exists("conf/ORVANTConfiguration.xml"));
}

} // namespace
} // namespace orvant::test
