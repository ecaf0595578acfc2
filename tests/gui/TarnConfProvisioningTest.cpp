#include "tests/gui/TarnConfTesting.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <chrono>
#include <thread>

namespace orvant::test {
namespace {

namespace fs = std::filesystem;

// Add New and Run Upgrade Now over an installation with the base instance and instances 1 and 2.
class TarnConfProvisioningTest : public TarnConfTest
{
protected:
    void SetUp() override
    {
        TarnConfTest::SetUp();
        auto stored = SampleInstallation::numberedInstances(2);
        stored[0].values.push_back({ "Timeout", "45" });
        installation.writeConfiguration(stored);
        installation.writeMode(true);
        installation.makeInstanceFolders(2);
        installation.write("conf/ORVANTTransactionLogEmpty.xml", "<TransactionLog/>\r\n");
        installation.write("bin/ReceiptPrinter.exe", "printer");
        installation.write("properties/terminal.properties", "smartCardReader.port=COM1\r\n");
    }

    void click(const char* name) { find<QPushButton>(name)->click(); }

    static void type(QLineEdit* box, const char* text)
    {
        box->selectAll();
        QTest::keyClicks(box, text);
    }

    // A stand-in Java launcher that records its arguments and working folder.
    void installLauncher() const
    {
        installation.write("jre1.6.0_20/bin/java", "#!/bin/sh\necho \"$*|$(pwd)\" >> launches.txt\n");
        fs::permissions(installation.root() / "jre1.6.0_20/bin/java", fs::perms::owner_all, fs::perm_options::add);
    }

    std::string launches() const
    {
        // The launcher runs detached; give it a moment to write its line.
        for (int i = 0; i < 100 && !fs::exists(installation.root() / "launches.txt"); ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return installation.read("launches.txt");
    }
};

TEST_F(TarnConfProvisioningTest, AddNewCreatesInstanceThreeOnDiskListsItAndShowsIt)
{
    openWindow();
    type(find<QLineEdit>("txtTimeout"), "50");
    click("btAddNew");

    auto* list = find<QComboBox>("cboInstance");
    ASSERT_EQ(list->count(), 4);
    EXPECT_EQ(list->itemText(3).toStdString(), "Harbell_03");
    EXPECT_EQ(list->currentIndex(), 3);
    EXPECT_EQ(window->currentIndex(), 3);
    EXPECT_TRUE(ui.messages.empty());

    // The new instance shows the base instance's timeout and its own ports and folder.
    EXPECT_EQ(find<QLineEdit>("txtTimeout")->text().toStdString(), "45");
    EXPECT_EQ(find<QLineEdit>("txtPort")->text().toStdString(), "10003");
    EXPECT_EQ(find<QLineEdit>("txtReceiptPort")->text().toStdString(), "20003");
    EXPECT_EQ(find<QLineEdit>("txtPinPadPort")->text().toStdString(), "5003");
    EXPECT_TRUE(fs::is_directory(installation.root() / "INSTANCE_03" / "logs"));
    EXPECT_EQ(installation.read("bin/ReceiptPrinter_03.exe"), "printer");
    EXPECT_EQ(installation.read("INSTANCE_03/properties/terminal.properties"),
              "smartCardReader.port=COM1\r\n\r\n\r\nproperties.directory=C:/ORVANT/INSTANCE_03/properties\r\n");

    // Switching away collected the base instance's edit; the store holds nothing new before a save.
    list->setCurrentIndex(0);
    EXPECT_EQ(find<QLineEdit>("txtTimeout")->text().toStdString(), "50");
    EXPECT_EQ(storedValue("PINByPass", 3), "<absent>");
}

TEST_F(TarnConfProvisioningTest, AddNewThatCannotCopyTheReceiptPrinterSaysWhyAndAddsNothing)
{
    fs::remove(installation.root() / "bin" / "ReceiptPrinter.exe");
    openWindow();
    const auto before = everythingStored();
    click("btAddNew");

    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_NE(ui.messages[0].find("ReceiptPrinter.exe"), std::string::npos) << ui.messages[0];
    EXPECT_EQ(find<QComboBox>("cboInstance")->count(), 3);
    EXPECT_EQ(everythingStored(), before);
}

TEST_F(TarnConfProvisioningTest, RunUpgradeCancelStaysAndTheOtherAnswersStartTheInstallerAndEnd)
{
    installLauncher();
    openWindow();
    const auto before = everythingStored();

    ui.answers = { tarn::QuestionAnswer::Cancel };
    click("btRunUpgrade");
    ASSERT_EQ(ui.questions.size(), 1u);
    EXPECT_EQ(ui.questions[0], "Save changes before exiting the application to run software update?");
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(everythingStored(), before);

    // No: nothing saved, the installer started in the installation folder, the program ends.
    ui.answers = { tarn::QuestionAnswer::No };
    type(find<QLineEdit>("txtHBLHost"), "10.0.0.9");
    click("btRunUpgrade");
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(launches(), "-jar installUpdate.jar|" + fs::canonical(installation.root()).string() + "\n");
    EXPECT_EQ(storedValue("HBLHost", 0), "<absent>");
}

TEST_F(TarnConfProvisioningTest, RunUpgradeYesSavesTheCommonSettingsFirst)
{
    installLauncher();
    openWindow();
    ui.answers = { tarn::QuestionAnswer::Yes };
    type(find<QLineEdit>("txtHBLHost"), "10.0.0.9");
    click("btRunUpgrade");
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(storedValue("HBLHost", 0), "10.0.0.9");
    EXPECT_NE(launches().find("-jar installUpdate.jar|"), std::string::npos);
}

} // namespace
} // namespace orvant::test
