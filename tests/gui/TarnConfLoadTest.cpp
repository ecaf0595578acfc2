#include "tests/gui/TarnConfTesting.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QPushButton>
#include <QTabWidget>

namespace orvant::test {
namespace {

using Texts = std::vector<std::string>;
using TarnConfLoadTest = TarnConfTest;

TEST_F(TarnConfLoadTest, ListsTwelveInstancesUpToTheGapAndShowsTheDefaultInstance)
{
    auto stored = SampleInstallation::numberedInstances(12);
    stored.push_back({ "14", { { "PINByPass", "True" } } }); // behind the gap: 13 is missing
    stored[0].values.insert(
        stored[0].values.end(),
        { { "Timeout", "45" }, { "HBLHost", "10.1.2.3" }, { "ClassPath", "D:\\engine\\KELBRIN-CPS.JAR" } });
    stored[5].values.push_back({ "Timeout", "25" });
    installation.writeConfiguration(stored);
    installation.writeMode(true);
    installation.makeInstanceFolders(12);
    addComPort(7);
    addComPort(3);

    auto& conf = openWindow();
    Texts expected { "Default" };
    for (int n = 1; n <= 12; ++n) {
        expected.push_back("Harbell_" + SampleInstallation::twoDigits(n));
    }
    EXPECT_EQ(entries("cboInstance"), expected);
    EXPECT_EQ(find<QComboBox>("cboInstance")->currentIndex(), 0);
    EXPECT_EQ(conf.session().instances.size(), 13u);
    EXPECT_EQ(conf.currentIndex(), 0);
    EXPECT_EQ(conf.session().instances[5].timeout, "25");

    EXPECT_EQ(conf.windowTitle().toStdString(), "Configure ORVANT (version 2.2.4.1)");
    EXPECT_EQ(text("txtTimeout"), "45");
    EXPECT_EQ(text("txtHBLHost"), "10.1.2.3");
    EXPECT_EQ(text("txtClasspath"), "C:\\ORVANT\\kelbrin-cps.jar");
    EXPECT_TRUE(option("optConfType", 1)->isChecked());
    EXPECT_EQ(text("lblVersion"), "");

    EXPECT_EQ(entries("cboEnvironment"),
              (Texts { "POS", "Kiosk", "Hospitality", "Petrol Station", "Internet", "Standalone" }));
    EXPECT_EQ(text("cboEnvironment"), "POS");
    EXPECT_EQ(entries("cboWindowsSize"), (Texts { "80", "85", "90", "95", "100" }));
    EXPECT_EQ(entries("cmbPinPad"),
              (Texts { "No Card Reader", "Verifone sc5000", "Dione secura", "Dione xplorer", "Dione xtreme",
                       "Dione secura UPT", "Sagem", "Trintech smart 5000", "Verifone Vx670", "Ingenico 3300",
                       "Verifone Vx810", "Dione secura UPT No MagStripe" }));
    EXPECT_EQ(entries("cboFont"), (Texts { "Arial", "Courier New", "Tahoma" }));
    EXPECT_EQ(entries("cmbPrinters"), (Texts { "Receipt Printer", "Office Laser" }));
    EXPECT_EQ(entries("cmbComPort"), (Texts { "COM3", "COM7" }));
    EXPECT_EQ(entries("cmbReader"), (Texts { "COM3", "COM7" }));
    // With a printer installed and none stored, the system's default printer is the instance's.
    EXPECT_EQ(text("cmbPrinters"), "Office Laser");
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(TarnConfLoadTest, WithoutAConfigurationFileShowsTheDefaultsOfTheBaseInstanceOnly)
{
    services.printers.clear();
    auto& conf = openWindow();
    EXPECT_EQ(ui.messages,
              Texts { "Unable to load configuration from file C:\\ORVANT\\conf\\ORVANTConfiguration.xml" });
    EXPECT_EQ(find<QComboBox>("cboInstance")->count(), 1);
    EXPECT_EQ(conf.session().instances.size(), 1u);
    EXPECT_EQ(text("txtPort") + " " + text("txtReceiptPort") + " " + text("txtPinPadPort"), "10000 20000 5000");
    EXPECT_EQ(text("txtPropertyDir"), "C:\\ORVANT");
    EXPECT_TRUE(option("optConfType", 0)->isChecked());
    EXPECT_EQ(entries("cmbPrinters"), Texts {});
    EXPECT_EQ(entries("cmbComPort"), Texts {});
    EXPECT_EQ(text("cboWindowsSize"), "100");
}

TEST_F(TarnConfLoadTest, StoredEnvironmentSetsThePinPadListAndTheUpgradeLocks)
{
    writeInstallation(0, { { "Environment", "2" } });
    openWindow();
    EXPECT_EQ(entries("cmbPinPad"),
              (Texts { "No Card Reader", "Dione secura", "Dione xplorer", "Dione xtreme", "Verifone Vx670" }));
    EXPECT_EQ(text("cboEnvironment"), "Hospitality");

    // A kiosk locks Auto Upgrade; an unknown environment leaves the referral options free.
    const struct
    {
        KeyValues values;
        bool checkUpgrade;
        bool referralEnabled;
    } cases[] = {
        { { { "Environment", "4" }, { "AutoUpgrade", "True" } }, true, false },
        { { { "Environment", "9" }, { "CheckUpgrade", "False" }, { "AutoUpgrade", "True" } }, false, true },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.values[0].second);
        window.reset();
        tarn::XmlConfig::reset();
        writeInstallation(0, c.values);
        openWindow();
        EXPECT_EQ(find<QComboBox>("cmbPinPad")->count(), 12);
        EXPECT_EQ(state("cbAutoUpgrade"), "on disabled");
        EXPECT_EQ(find<QCheckBox>("cbCheckUpgrade")->isChecked(), c.checkUpgrade);
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(option("optReferralMode", i)->isEnabled(), c.referralEnabled);
        }
    }
}

TEST_F(TarnConfLoadTest, PortControlsFollowTheDefaultInstancesPinPad)
{
    writeInstallation(1);
    installation.writeTerminalProperties(
        0,
        "smartCardReader.class=sts.drivers.cardholder.STSSerialSmartHybridPinPadReaderProtocol\r\n"
        "smartCardReader.port=COM3,COM7\r\n");
    installation.writeTerminalProperties(
        1, "smartCardReader.class=sts.drivers.cardholder.Verifone7816IPServerDriver\r\nsmartCardReader.port=COM2\r\n");
    addComPort(3);
    addComPort(7);

    auto& conf = openWindow();
    EXPECT_EQ(text("cmbPinPad"), "Sagem");
    EXPECT_EQ(portControlsShown(), "cmbComPort lblComPort cmbReader lblReader");
    EXPECT_EQ(text("cmbComPort") + " " + text("cmbReader"), "COM3 COM7");
    // The reader combination is shown from stored text; no PIN-pad rule ran to tick the combined reader.
    EXPECT_FALSE(find<QCheckBox>("cbCombiReader")->isChecked());

    find<QComboBox>("cboInstance")->setCurrentIndex(1);
    EXPECT_EQ(conf.currentIndex(), 1);
    EXPECT_EQ(text("cmbPinPad"), "Verifone Vx670");
    EXPECT_EQ(portControlsShown(), "txtPinPadPort lblPinPadPort");
    EXPECT_EQ(text("txtPinPadPort"), "5001");
}

TEST_F(TarnConfLoadTest, LayoutCarriesEveryCaptionInItsTab)
{
    openWindow();
    auto* tabs = find<QTabWidget>("SSTab1");
    const Texts captions { "&General",   "&Interfacing", "&Receipt",         "&Look n Feel",
                           "A&VS Rules", "&Hospitality", "Software &Upgrade" };
    ASSERT_EQ(tabs->count(), 7);
    const char* onTab[] = { "optReferralMode_2", "optInterfaceMethod_1",   "cbVerifoneVxPri", "btWaterMarkBrowse",
                            "optAvsRule_5",      "txtDeleteTransAfterMin", "lblVersion" };
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(tabs->tabText(i).toStdString(), captions[static_cast<std::size_t>(i)]);
        EXPECT_TRUE(tabs->widget(i)->isAncestorOf(find<QWidget>(onTab[i]))) << onTab[i];
    }
    EXPECT_TRUE(tabs->widget(0)->isAncestorOf(find<QWidget>("txtCheckcardTimeout")));
    EXPECT_TRUE(find<QGroupBox>("Frame1")->isAncestorOf(find<QRadioButton>("optConfType_1")));
    EXPECT_TRUE(find<QGroupBox>("Frame2")->isAncestorOf(tabs));
    EXPECT_TRUE(find<QGroupBox>("Frame3")->isAncestorOf(find<QPushButton>("cmdAdminPass")));

    const std::pair<const char*, const char*> texts[] = {
        { "cbCombiReader", "Combined  Reader" },
        { "cbAvsDetailsMandatory", "AVS Details Mandatory " },
        { "Label5", "Delete transacton from list after" },
        { "btOk", "&OK" },
        { "btRunUpgrade", "&Run Upgrade Now" },
        { "btBrowseLogoFile", "Browse..." },
        { "optAvsRule_3", "Accept on cvv and any of address or zip code match" },
    };
    for (const auto& [name, caption] : texts) {
        EXPECT_EQ(text(name), caption);
    }
    EXPECT_FALSE(find<QLabel>("Picture1")->pixmap().isNull());
    // The window fits a 1024 x 768 screen.
    EXPECT_LE(window->frameGeometry().width(), 1024);
    EXPECT_LE(window->frameGeometry().height(), 768);
}

} // namespace
} // namespace orvant::test
