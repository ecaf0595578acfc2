#include "platform/Registry.h"
#include "tests/gui/TarnConfTesting.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

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
    while (!value.empty() && value.back() == '\0') {
        value.pop_back();
    }
    return value;
}

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
    }

    void type(const char* boxName, const char* text)
    {
        auto* box = find<QLineEdit>(boxName);
        box->selectAll();
        QTest::keyClicks(box, text);
    }

    void click(const char* buttonName) { QTest::mouseClick(find<QPushButton>(buttonName), Qt::LeftButton); }

    void switchTo(int index) { find<QComboBox>("cboInstance")->setCurrentIndex(index); }
};

TEST_F(TarnConfSaveTest, SwitchingInstancesKeepsTheEditsOfTheInstanceLeftBehindAndWritesNothing)
{
    openWindow();
    const auto before = everythingStored();
    switchTo(2);
    EXPECT_EQ(find<QLineEdit>("txtTimeout")->text().toStdString(), "50");
    type("txtTimeout", "65");
    find<QCheckBox>("cbDebug")->setChecked(true);

    switchTo(1);
    EXPECT_EQ(find<QLineEdit>("txtTimeout")->text().toStdString(), "40");
    EXPECT_FALSE(find<QCheckBox>("cbDebug")->isChecked());

    switchTo(2);
    EXPECT_EQ(window->currentIndex(), 2);
    EXPECT_EQ(find<QLineEdit>("txtTimeout")->text().toStdString(), "65");
    EXPECT_TRUE(find<QCheckBox>("cbDebug")->isChecked());
    EXPECT_EQ(everythingStored(), before);
}

TEST_F(TarnConfSaveTest, ApplyLeavesTheShownInstancesEditsAndOkSavesThemAndEnds)
{
    openWindow();
    switchTo(1);
    type("txtTimeout", "70");
    type("txtHBLHost", "192.168.0.9");

    click("btApply");
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(storedValue("Timeout", 1), "40");
    EXPECT_EQ(storedValue("HBLHost", 0), "192.168.0.9") << "common settings come straight from their controls";
    EXPECT_NE(installation.read("properties/instance.properties").find("ConfigHash="), std::string::npos);

    click("btOk");
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(storedValue("Timeout", 1), "70");
    EXPECT_EQ(storedValue("Timeout", 2), "50");
    // OK also fills in the base engine keys of every instance.
    EXPECT_NE(installation.read("INSTANCE_02/properties/terminal.properties").find("logging.class="),
              std::string::npos);
}

TEST_F(TarnConfSaveTest, ReceiptDirectoryClashOnOkShowsOneMessageAndKeepsTheWindowOpen)
{
    openWindow();
    switchTo(1);
    type("txtReceiptDir", "C:\\ORVANT\\Receipts");
    type("txtTimeout", "33");
    switchTo(2);
    type("txtReceiptDir", "c:\\orvant\\receipts\\");

    click("btOk");
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0],
              "Receipt Directory for instance 1 is also used by instance 2. Please provide another value.");
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(find<QLineEdit>("txtReceiptDir")->text().toStdString(), "c:\\orvant\\receipts\\");
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
    openWindow();
    switchTo(1);
    type("txtTimeout", "5");
    switchTo(2);
    type("txtTimeout", "90");

    click("btOk");
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0],
              "Enter Correct Card Inactivity Timeout between 10 to 90,Then Press Ok (Do not press Apply Button)");
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(storedValue("Timeout", 1), "40");
    EXPECT_EQ(storedValue("Timeout", 2), "90");
}

TEST_F(TarnConfSaveTest, CancelAndTheTitleBarCloseWriteNothing)
{
    openWindow();
    const auto before = everythingStored();
    switchTo(1);
    type("txtTimeout", "80");
    find<QRadioButton>("optConfType_0")->setChecked(true);
    type("txtHBLPort", "9100");
    click("btCancel");
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(everythingStored(), before);

    tarn::XmlConfig::reset();
    openWindow();
    type("txtTimeout", "80");
    window->close();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(everythingStored(), before);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(TarnConfSaveTest, SwitchingToRegistryModeBeforeOkWritesTheModeFileAndBothHives)
{
    openWindow();
    find<QRadioButton>("optConfType_0")->setChecked(true);
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
