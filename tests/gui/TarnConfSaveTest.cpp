#include "platform/Registry.h"
#include "tests/gui/TarnConfTesting.h"

#include <QCheckBox>

namespace orvant::test {
namespace {

// A REG_SZ value as the engine reads it from a hive, without its terminating NUL.
std::string registryString(platform::Hive hive, const std::string& key, const std::string& name)
{
    platform::HKey handle = nullptr;
    if (platform::regOpenKeyEx(hive, key, platform::kKeyQueryValue, &handle) != platform::kErrorSuccess) {
        return "<no key>";
    }
    std::uint32_t type = 0;
    std::uint8_t data[256] = {};
    std::uint32_t size = sizeof data;
    const long result = platform::regQueryValueEx(handle, name, &type, data, &size);
    platform::regCloseKey(handle);
    if (result != platform::kErrorSuccess || type != platform::kRegSz) {
        return "<no string>";
    }
    std::string value(reinterpret_cast<const char*>(data), size);
    return value.substr(0, value.find_last_not_of('\0') + 1);
}

// Instances 1 and 2 stored with timeouts 40 and 50; the window open on the base instance.
class TarnConfSaveTest : public TarnConfTest
{
protected:
    void SetUp() override
    {
        TarnConfTest::SetUp();
        auto stored = SampleInstallation::numberedInstances(2);
        stored[1].values.push_back({ "Timeout", "40" });
        stored[2].values.push_back({ "Timeout", "50" });
        installation.writeConfiguration(stored);
        installation.writeMode(true);
        installation.makeInstanceFolders(2);
        openWindow();
    }

    void switchTo(int index) const { find<QComboBox>("cboInstance")->setCurrentIndex(index); }
};

TEST_F(TarnConfSaveTest, SwitchingInstancesKeepsTheEditsOfTheInstanceLeftBehindAndWritesNothing)
{
    const auto before = everythingStored();
    switchTo(2);
    EXPECT_EQ(text("txtTimeout"), "50");
    type("txtTimeout", "65");
    find<QCheckBox>("cbDebug")->setChecked(true);

    switchTo(1);
    EXPECT_EQ(text("txtTimeout"), "40");
    EXPECT_EQ(state("cbDebug"), "off enabled");

    switchTo(2);
    EXPECT_EQ(window->currentIndex(), 2);
    EXPECT_EQ(text("txtTimeout"), "65");
    EXPECT_EQ(state("cbDebug"), "on enabled");
    EXPECT_EQ(everythingStored(), before);
}

TEST_F(TarnConfSaveTest, ApplyLeavesTheShownInstancesEditsAndOkSavesThemAndEnds)
{
    switchTo(1);
    type("txtTimeout", "70");
    type("txtHBLHost", "192.168.0.9");

    click("btApply");
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(storedValue("Timeout", 1), "40");
    EXPECT_EQ(storedValue("HBLHost", 0), "192.168.0.9") << "common settings come straight from their controls";
    EXPECT_NE(installation.read("properties/instance.properties").find("ConfigHash="), std::string::npos);

    click("btOk");
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(storedValue("Timeout", 1) + " " + storedValue("Timeout", 2), "70 50");
    // OK also fills in the base engine keys of every instance.
    EXPECT_NE(installation.read("INSTANCE_02/properties/terminal.properties").find("logging.class="),
              std::string::npos);
}

TEST_F(TarnConfSaveTest, ReceiptDirectoryClashOnOkShowsOneMessageAndKeepsTheWindowOpen)
{
    switchTo(1);
    type("txtReceiptDir", "C:\\ORVANT\\Receipts");
    type("txtTimeout", "33");
    switchTo(2);
    type("txtReceiptDir", "c:\\orvant\\receipts\\");

    click("btOk");
    EXPECT_EQ(ui.messages,
              std::vector<std::string> {
                  "Receipt Directory for instance 1 is also used by instance 2. Please provide another value." });
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(text("txtReceiptDir"), "c:\\orvant\\receipts\\");
    EXPECT_EQ(window->currentIndex(), 2);
    EXPECT_EQ(storedValue("Timeout", 1), "40");

    // Corrected, the same OK goes through.
    type("txtReceiptDir", "C:\\ORVANT\\Receipts2");
    click("btOk");
    EXPECT_EQ(ui.messages.size(), 1u);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(storedValue("Timeout", 1), "33");
    EXPECT_EQ(storedValue("ReceiptDir", 2), "C:\\ORVANT\\Receipts2");
}

TEST_F(TarnConfSaveTest, RefusedTimeoutOnOkSavesTheOtherInstancesAndKeepsTheWindowOpen)
{
    switchTo(1);
    type("txtTimeout", "5");
    switchTo(2);
    type("txtTimeout", "90");

    click("btOk");
    EXPECT_EQ(ui.messages,
              std::vector<std::string> {
                  "Enter Correct Card Inactivity Timeout between 10 to 90,Then Press Ok (Do not press Apply Button)" });
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(storedValue("Timeout", 1) + " " + storedValue("Timeout", 2), "40 90");
}

TEST_F(TarnConfSaveTest, CancelAndTheTitleBarCloseWriteNothing)
{
    const auto before = everythingStored();
    switchTo(1);
    type("txtTimeout", "80");
    option("optConfType", 0)->setChecked(true);
    type("txtHBLPort", "9100");
    ui.answers = { tarn::QuestionAnswer::Yes };
    click("btCancel");
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(everythingStored(), before);

    tarn::XmlConfig::reset();
    openWindow();
    type("txtTimeout", "80");
    ui.answers = { tarn::QuestionAnswer::Yes };
    window->close();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(everythingStored(), before);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(TarnConfSaveTest, SwitchingToRegistryModeBeforeOkWritesTheModeFileAndBothHives)
{
    option("optConfType", 0)->setChecked(true);
    type("txtTimeout", "44");
    click("btOk");
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(installation.read("properties/hbl.properties"), "Configuration=registry\r\n");
    EXPECT_EQ(storedValue("Timeout", 0), "44");
    for (const auto hive : { platform::Hive::CurrentUser, platform::Hive::LocalMachine }) {
        EXPECT_EQ(registryString(hive, "SOFTWARE\\Kelbrin\\Harbell", "Timeout"), "44");
        EXPECT_EQ(registryString(hive, "SOFTWARE\\Kelbrin\\Harbell_02", "Timeout"), "50");
    }
}

} // namespace
} // namespace orvant::test
