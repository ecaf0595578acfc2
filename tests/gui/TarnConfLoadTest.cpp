#include "tests/gui/TarnConfTesting.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

namespace orvant::test {
namespace {

std::vector<std::string> entries(const QComboBox* list)
{
    std::vector<std::string> result;
    for (int i = 0; i < list->count(); ++i) {
        result.push_back(list->itemText(i).toStdString());
    }
    return result;
}

const std::vector<std::string> kTwelveModels {
    "No Card Reader", "Verifone sc5000",  "Dione secura",   "Dione xplorer",
    "Dione xtreme",   "Dione secura UPT", "Sagem",          "Trintech smart 5000",
    "Verifone Vx670", "Ingenico 3300",    "Verifone Vx810", "Dione secura UPT No MagStripe"
};

using TarnConfLoadTest = TarnConfTest;

TEST_F(TarnConfLoadTest, ListsTwelveInstancesUpToTheGapAndShowsTheDefaultInstance)
{
    auto stored = SampleInstallation::numberedInstances(12);
    stored.push_back({ "14", { { "PINByPass", "True" } } }); // behind the gap: 13 is missing
    stored[0].values.push_back({ "Timeout", "45" });
    stored[0].values.push_back({ "HBLHost", "10.1.2.3" });
    stored[0].values.push_back({ "ClassPath", "D:\\engine\\KELBRIN-CPS.JAR" });
    stored[5].values.push_back({ "Timeout", "25" });
    installation.writeConfiguration(stored);
    installation.writeMode(true);
    installation.makeInstanceFolders(12);
    addComPort(7);
    addComPort(3);

    auto& conf = openWindow();

    std::vector<std::string> expected { "Default" };
    for (int n = 1; n <= 12; ++n) {
        expected.push_back("Harbell_" + SampleInstallation::twoDigits(n));
    }
    auto* cboInstance = find<QComboBox>("cboInstance");
    EXPECT_EQ(entries(cboInstance), expected);
    EXPECT_EQ(cboInstance->currentIndex(), 0);
    EXPECT_EQ(conf.session().instances.size(), 13u);
    EXPECT_EQ(conf.currentIndex(), 0);
    EXPECT_EQ(conf.session().instances[5].timeout, "25");

    EXPECT_EQ(conf.windowTitle().toStdString(), "Configure ORVANT (version 2.2.4.1)");
    EXPECT_EQ(find<QLineEdit>("txtTimeout")->text().toStdString(), "45");
    EXPECT_EQ(find<QLineEdit>("txtHBLHost")->text().toStdString(), "10.1.2.3");
    EXPECT_EQ(find<QLineEdit>("txtClasspath")->text().toStdString(), "C:\\ORVANT\\kelbrin-cps.jar");
    EXPECT_TRUE(find<QRadioButton>("optConfType_1")->isChecked());
    EXPECT_TRUE(find<QLabel>("lblVersion")->text().isEmpty());

    EXPECT_EQ(entries(find<QComboBox>("cboEnvironment")),
              (std::vector<std::string> { "POS", "Kiosk", "Hospitality", "Petrol Station", "Internet", "Standalone" }));
    EXPECT_EQ(find<QComboBox>("cboEnvironment")->currentText().toStdString(), "POS");
    EXPECT_EQ(entries(find<QComboBox>("cboWindowsSize")), (std::vector<std::string> { "80", "85", "90", "95", "100" }));
    EXPECT_EQ(entries(find<QComboBox>("cmbPinPad")), kTwelveModels);
    EXPECT_EQ(entries(find<QComboBox>("cboFont")), (std::vector<std::string> { "Arial", "Courier New", "Tahoma" }));
    EXPECT_EQ(entries(find<QComboBox>("cmbPrinters")),
              (std::vector<std::string> { "Receipt Printer", "Office Laser" }));
    EXPECT_EQ(entries(find<QComboBox>("cmbComPort")), (std::vector<std::string> { "COM3", "COM7" }));
    EXPECT_EQ(entries(find<QComboBox>("cmbReader")), (std::vector<std::string> { "COM3", "COM7" }));
    // With a printer installed and none stored, the system's default printer is the instance's.
    EXPECT_EQ(find<QComboBox>("cmbPrinters")->currentText().toStdString(), "Office Laser");
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(TarnConfLoadTest, WithoutAConfigurationFileShowsTheDefaultsOfTheBaseInstanceOnly)
{
    services.printers.clear();

    auto& conf = openWindow();

    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0], "Unable to load configuration from file C:\\ORVANT\\conf\\ORVANTConfiguration.xml");
    EXPECT_EQ(find<QComboBox>("cboInstance")->count(), 1);
    EXPECT_EQ(conf.session().instances.size(), 1u);
    EXPECT_EQ(find<QLineEdit>("txtPort")->text().toStdString(), "10000");
    EXPECT_EQ(find<QLineEdit>("txtReceiptPort")->text().toStdString(), "20000");
    EXPECT_EQ(find<QLineEdit>("txtPinPadPort")->text().toStdString(), "5000");
    EXPECT_EQ(find<QLineEdit>("txtPropertyDir")->text().toStdString(), "C:\\ORVANT");
    EXPECT_TRUE(find<QRadioButton>("optConfType_0")->isChecked());
    EXPECT_EQ(find<QComboBox>("cmbPrinters")->count(), 0);
    EXPECT_EQ(find<QComboBox>("cmbComPort")->count(), 0);
    EXPECT_EQ(find<QComboBox>("cboWindowsSize")->currentText().toStdString(), "100");
}

TEST_F(TarnConfLoadTest, HospitalityOffersFivePinPadsAndKioskLocksTheUpgradeOptions)
{
    auto stored = SampleInstallation::numberedInstances(0);
    stored[0].values.push_back({ "Environment", "2" });
    installation.writeConfiguration(stored);
    installation.writeMode(true);
    openWindow();
    EXPECT_EQ(entries(find<QComboBox>("cmbPinPad")),
              (std::vector<std::string> { "No Card Reader", "Dione secura", "Dione xplorer", "Dione xtreme",
                                          "Verifone Vx670" }));
    EXPECT_EQ(find<QComboBox>("cboEnvironment")->currentText().toStdString(), "Hospitality");
    window.reset();

    tarn::XmlConfig::reset();
    stored[0].values = { { "PINByPass", "False" }, { "Environment", "4" }, { "AutoUpgrade", "True" } };
    installation.writeConfiguration(stored);
    openWindow();
    EXPECT_EQ(find<QComboBox>("cmbPinPad")->count(), 12);
    auto* autoUpgrade = find<QCheckBox>("cbAutoUpgrade");
    EXPECT_TRUE(autoUpgrade->isChecked());
    EXPECT_FALSE(autoUpgrade->isEnabled());
    EXPECT_TRUE(find<QCheckBox>("cbCheckUpgrade")->isChecked());
    for (int i = 0; i < 3; ++i) {
        EXPECT_FALSE(find<QRadioButton>(("optReferralMode_" + std::to_string(i)).c_str())->isEnabled());
    }
    window.reset();

    tarn::XmlConfig::reset();
    stored[0].values
        = { { "PINByPass", "False" }, { "Environment", "9" }, { "CheckUpgrade", "False" }, { "AutoUpgrade", "True" } };
    installation.writeConfiguration(stored);
    openWindow();
    EXPECT_EQ(find<QComboBox>("cmbPinPad")->count(), 12);
    EXPECT_FALSE(find<QCheckBox>("cbCheckUpgrade")->isChecked());
    EXPECT_TRUE(find<QCheckBox>("cbAutoUpgrade")->isChecked());
    EXPECT_FALSE(find<QCheckBox>("cbAutoUpgrade")->isEnabled());
    EXPECT_TRUE(find<QRadioButton>("optReferralMode_0")->isEnabled());
}

TEST_F(TarnConfLoadTest, PortControlsFollowTheDefaultInstancesPinPad)
{
    installation.writeConfiguration(SampleInstallation::numberedInstances(1));
    installation.writeMode(true);
    installation.makeInstanceFolders(1);
    installation.writeTerminalProperties(
        0,
        "smartCardReader.class=sts.drivers.cardholder.STSSerialSmartHybridPinPadReaderProtocol\r\n"
        "smartCardReader.port=COM3,COM7\r\n");
    installation.writeTerminalProperties(1,
                                         "smartCardReader.class=sts.drivers.cardholder.Verifone7816IPServerDriver\r\n"
                                         "smartCardReader.port=COM2\r\n");
    addComPort(3);
    addComPort(7);

    auto& conf = openWindow();
    EXPECT_EQ(find<QComboBox>("cmbPinPad")->currentText().toStdString(), "Sagem");
    EXPECT_FALSE(find<QComboBox>("cmbComPort")->isHidden());
    EXPECT_FALSE(find<QLabel>("lblComPort")->isHidden());
    EXPECT_FALSE(find<QComboBox>("cmbReader")->isHidden());
    EXPECT_FALSE(find<QLabel>("lblReader")->isHidden());
    EXPECT_TRUE(find<QLineEdit>("txtPinPadPort")->isHidden());
    EXPECT_TRUE(find<QLabel>("lblPinPadPort")->isHidden());
    EXPECT_EQ(find<QComboBox>("cmbComPort")->currentText().toStdString(), "COM3");
    EXPECT_EQ(find<QComboBox>("cmbReader")->currentText().toStdString(), "COM7");
    // The reader combination is shown from stored text; no PIN-pad rule ran to tick the combined reader.
    EXPECT_FALSE(find<QCheckBox>("cbCombiReader")->isChecked());

    find<QComboBox>("cboInstance")->setCurrentIndex(1);
    EXPECT_EQ(conf.currentIndex(), 1);
    EXPECT_EQ(find<QComboBox>("cmbPinPad")->currentText().toStdString(), "Verifone Vx670");
    EXPECT_FALSE(find<QLineEdit>("txtPinPadPort")->isHidden());
    EXPECT_EQ(find<QLineEdit>("txtPinPadPort")->text().toStdString(), "5001");
    EXPECT_TRUE(find<QComboBox>("cmbComPort")->isHidden());
    EXPECT_TRUE(find<QComboBox>("cmbReader")->isHidden());
}

TEST_F(TarnConfLoadTest, LayoutCarriesEveryCaptionInItsTab)
{
    openWindow();
    auto* tabs = find<QTabWidget>("SSTab1");
    ASSERT_EQ(tabs->count(), 7);
    const std::vector<std::string> captions { "&General",   "&Interfacing", "&Receipt",         "&Look n Feel",
                                              "A&VS Rules", "&Hospitality", "Software &Upgrade" };
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(tabs->tabText(i).toStdString(), captions[static_cast<std::size_t>(i)]);
    }
    const auto onTab = [&](const char* name, int tab) {
        EXPECT_TRUE(tabs->widget(tab)->isAncestorOf(window->findChild<QWidget*>(QString::fromLatin1(name)))) << name;
    };
    onTab("txtCheckcardTimeout", 0);
    onTab("optReferralMode_2", 0);
    onTab("optInterfaceMethod_1", 1);
    onTab("cbVerifoneVxPri", 2);
    onTab("btWaterMarkBrowse", 3);
    onTab("optAvsRule_5", 4);
    onTab("txtDeleteTransAfterMin", 5);
    onTab("lblVersion", 6);
    EXPECT_TRUE(find<QGroupBox>("Frame1")->isAncestorOf(find<QRadioButton>("optConfType_1")));
    EXPECT_TRUE(find<QGroupBox>("Frame2")->isAncestorOf(tabs));
    EXPECT_TRUE(find<QGroupBox>("Frame3")->isAncestorOf(find<QPushButton>("cmdAdminPass")));

    EXPECT_EQ(find<QCheckBox>("cbCombiReader")->text().toStdString(), "Combined  Reader");
    EXPECT_EQ(find<QCheckBox>("cbAvsDetailsMandatory")->text().toStdString(), "AVS Details Mandatory ");
    EXPECT_EQ(find<QLabel>("Label5")->text().toStdString(), "Delete transacton from list after");
    EXPECT_EQ(find<QPushButton>("btOk")->text().toStdString(), "&OK");
    EXPECT_EQ(find<QPushButton>("btRunUpgrade")->text().toStdString(), "&Run Upgrade Now");
    EXPECT_EQ(find<QPushButton>("btBrowseLogoFile")->text().toStdString(), "Browse...");
    EXPECT_EQ(find<QRadioButton>("optAvsRule_3")->text().toStdString(),
              "Accept on cvv and any of address or zip code match");
    EXPECT_FALSE(find<QLabel>("Picture1")->pixmap().isNull());
    // The window fits a 1024 x 768 screen.
    EXPECT_LE(window->frameGeometry().width(), 1024);
    EXPECT_LE(window->frameGeometry().height(), 768);
}

} // namespace
} // namespace orvant::test
