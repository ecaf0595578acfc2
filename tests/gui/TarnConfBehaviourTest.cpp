#include "config_tool/window/WindowColor.h"
#include "tests/gui/TarnConfTesting.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>

namespace orvant::test {
namespace {

const QColor kGrey(192, 192, 192);

QColor baseOf(const QLineEdit* box)
{
    return box->palette().color(box->isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::Base);
}

class TarnConfBehaviourTest : public TarnConfTest
{
protected:
    void SetUp() override
    {
        TarnConfTest::SetUp();
        installation.writeConfiguration(SampleInstallation::numberedInstances(2));
        installation.writeMode(true);
        installation.makeInstanceFolders(2);
        addComPort(1);
        addComPort(2);
        openWindow();
    }

    void pick(const char* listName, const char* entry)
    {
        auto* list = find<QComboBox>(listName);
        const int index = list->findText(QString::fromLatin1(entry));
        ASSERT_GE(index, 0) << entry;
        list->setCurrentIndex(index);
    }

    QRadioButton* option(const char* group, int index)
    {
        return find<QRadioButton>((std::string(group) + "_" + std::to_string(index)).c_str());
    }
};

TEST_F(TarnConfBehaviourTest, HospitalityAfterSagemShrinksThePinPadListAndResetsThePorts)
{
    pick("cmbPinPad", "Sagem");
    ASSERT_FALSE(find<QComboBox>("cmbReader")->isHidden());
    find<QCheckBox>("cbCombiReader")->setChecked(true);

    pick("cboEnvironment", "Hospitality");

    auto* pinPad = find<QComboBox>("cmbPinPad");
    EXPECT_EQ(pinPad->count(), 5);
    EXPECT_EQ(pinPad->currentText().toStdString(), "No Card Reader");
    EXPECT_FALSE(find<QComboBox>("cmbComPort")->isHidden());
    EXPECT_TRUE(find<QComboBox>("cmbReader")->isHidden());
    EXPECT_TRUE(find<QLineEdit>("txtPinPadPort")->isHidden());
    EXPECT_FALSE(find<QCheckBox>("cbCombiReader")->isChecked());
    EXPECT_EQ(window->session().instances[0].environment, 2);

    pick("cboEnvironment", "Petrol Station");
    EXPECT_EQ(pinPad->count(), 12);
    EXPECT_EQ(window->session().instances[0].environment, 3);
}

TEST_F(TarnConfBehaviourTest, KioskClearsAndLocksGratuityAutoUpgradeAndReferralMode)
{
    find<QCheckBox>("cbAskGratuity")->setChecked(true);

    pick("cboEnvironment", "Kiosk");
    EXPECT_FALSE(find<QCheckBox>("cbAskGratuity")->isChecked());
    EXPECT_FALSE(find<QCheckBox>("cbAskGratuity")->isEnabled());
    EXPECT_FALSE(find<QCheckBox>("cbAutoUpgrade")->isEnabled());
    for (int i = 0; i < 3; ++i) {
        EXPECT_FALSE(option("optReferralMode", i)->isEnabled());
    }

    // Check Upgrades at startup, ticked in a kiosk, ticks Auto Upgrade and keeps it locked.
    find<QCheckBox>("cbCheckUpgrade")->setChecked(false);
    EXPECT_FALSE(find<QCheckBox>("cbAutoUpgrade")->isChecked());
    find<QCheckBox>("cbCheckUpgrade")->setChecked(true);
    EXPECT_TRUE(find<QCheckBox>("cbAutoUpgrade")->isChecked());
    EXPECT_FALSE(find<QCheckBox>("cbAutoUpgrade")->isEnabled());

    // Leaving the kiosk with Check Upgrades cleared leaves all of them locked.
    find<QCheckBox>("cbCheckUpgrade")->setChecked(false);
    pick("cboEnvironment", "POS");
    EXPECT_FALSE(find<QCheckBox>("cbAskGratuity")->isEnabled());
    EXPECT_FALSE(find<QCheckBox>("cbAutoUpgrade")->isEnabled());
    EXPECT_FALSE(option("optReferralMode", 0)->isEnabled());

    find<QCheckBox>("cbCheckUpgrade")->setChecked(true);
    EXPECT_TRUE(find<QCheckBox>("cbAutoUpgrade")->isEnabled());
    EXPECT_FALSE(find<QCheckBox>("cbAutoUpgrade")->isChecked());
    pick("cboEnvironment", "Internet");
    EXPECT_TRUE(find<QCheckBox>("cbAskGratuity")->isEnabled());
    EXPECT_TRUE(option("optReferralMode", 2)->isEnabled());
}

TEST_F(TarnConfBehaviourTest, PinPadRulesSetCombinedReaderAndPortControls)
{
    pick("cmbPinPad", "Trintech smart 5000");
    EXPECT_TRUE(find<QCheckBox>("cbCombiReader")->isChecked());
    pick("cmbPinPad", "Dione secura UPT No MagStripe");
    EXPECT_TRUE(find<QCheckBox>("cbCombiReader")->isChecked());

    pick("cmbPinPad", "Verifone Vx670");
    EXPECT_FALSE(find<QCheckBox>("cbCombiReader")->isChecked());
    EXPECT_FALSE(find<QLineEdit>("txtPinPadPort")->isHidden());
    EXPECT_FALSE(find<QLabel>("lblPinPadPort")->isHidden());
    EXPECT_TRUE(find<QComboBox>("cmbComPort")->isHidden());
    EXPECT_TRUE(find<QLabel>("lblComPort")->isHidden());

    pick("cmbPinPad", "Sagem");
    EXPECT_TRUE(find<QLineEdit>("txtPinPadPort")->isHidden());
    EXPECT_FALSE(find<QComboBox>("cmbComPort")->isHidden());
    EXPECT_FALSE(find<QComboBox>("cmbReader")->isHidden());
    EXPECT_FALSE(find<QLabel>("lblReader")->isHidden());

    // Setting the list's text from code runs no rule.
    find<QCheckBox>("cbCombiReader")->setChecked(false);
    tarn::CInstanceData record = window->session().instances[1];
    record.pinpad = "Trintech smart 5000";
    window->showInstanceData(record);
    EXPECT_EQ(find<QComboBox>("cmbPinPad")->currentText().toStdString(), "Trintech smart 5000");
    EXPECT_FALSE(find<QCheckBox>("cbCombiReader")->isChecked());
    EXPECT_TRUE(find<QComboBox>("cmbReader")->isHidden());
}

TEST_F(TarnConfBehaviourTest, Vx670PrinterBoxOnlyForAVx670PrintingAtAPos)
{
    auto* printerBox = find<QCheckBox>("cbVerifoneVxPri");
    auto* print = find<QCheckBox>("cbEnablePrintReceipt");
    auto* printers = find<QComboBox>("cmbPrinters");
    EXPECT_TRUE(printerBox->isHidden());
    EXPECT_FALSE(printers->isEnabled());

    pick("cmbPinPad", "Verifone Vx670");
    EXPECT_TRUE(printerBox->isHidden());
    print->setChecked(true);
    EXPECT_FALSE(printerBox->isHidden());
    EXPECT_TRUE(printerBox->isEnabled());
    EXPECT_TRUE(printers->isEnabled());
    printerBox->setChecked(true);

    print->setChecked(false);
    EXPECT_TRUE(printerBox->isHidden());
    EXPECT_FALSE(printerBox->isEnabled());
    EXPECT_FALSE(printers->isEnabled());
    EXPECT_TRUE(printerBox->isChecked()) << "the rule never changes the box's value";

    print->setChecked(true);
    pick("cboEnvironment", "Standalone");
    EXPECT_TRUE(printerBox->isHidden());
}

TEST_F(TarnConfBehaviourTest, DigitsOnlyBoxesRefuseOtherKeysWithOneBeepAndEnterMovesOn)
{
    auto* timeout = find<QLineEdit>("txtTimeout");
    timeout->clear();
    timeout->setFocus();
    QTest::keyClicks(timeout, "1a2");
    EXPECT_EQ(timeout->text().toStdString(), "12");
    EXPECT_EQ(ui.beeps, 1);

    QTest::keyClick(timeout, Qt::Key_Backspace);
    EXPECT_EQ(timeout->text().toStdString(), "1");
    EXPECT_EQ(ui.beeps, 1);

    QTest::keyClick(timeout, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), find<QLineEdit>("txtCheckcardTimeout"));
    EXPECT_EQ(timeout->text().toStdString(), "1");

    // Every box of the rule refuses letters; the others take any key.
    for (const char* name : { "txtLeft", "txtTop", "txtPort", "txtPinPadPort", "txtReceiptPort" }) {
        auto* box = find<QLineEdit>(name);
        box->setEnabled(true);
        box->clear();
        QTest::keyClicks(box, "7x.");
        EXPECT_EQ(box->text().toStdString(), "7") << name;
    }
    EXPECT_EQ(ui.beeps, 11);
    auto* receiptWidth = find<QLineEdit>("txtReceiptWidth");
    receiptWidth->clear();
    QTest::keyClicks(receiptWidth, "4a");
    EXPECT_EQ(receiptWidth->text().toStdString(), "4a");
    EXPECT_EQ(ui.beeps, 11);
}

TEST_F(TarnConfBehaviourTest, DisabledTextBoxesAreGreyAndComeBackWithTheWindowBackground)
{
    auto* port = find<QLineEdit>("txtPort");
    auto* input = find<QLineEdit>("txtInputDir");
    auto* output = find<QLineEdit>("txtOutputDir");
    EXPECT_TRUE(port->isEnabled());
    EXPECT_FALSE(input->isEnabled());
    EXPECT_EQ(baseOf(input), kGrey);
    EXPECT_NE(baseOf(port), kGrey);

    option("optInterfaceMethod", 1)->setChecked(true);
    EXPECT_FALSE(port->isEnabled());
    EXPECT_EQ(baseOf(port), kGrey);
    EXPECT_TRUE(input->isEnabled());
    EXPECT_TRUE(output->isEnabled());
    EXPECT_EQ(baseOf(input), QApplication::palette().color(QPalette::Active, QPalette::Base));

    auto* receiptPort = find<QLineEdit>("txtReceiptPort");
    EXPECT_FALSE(receiptPort->isEnabled());
    find<QCheckBox>("cbSendReceipt")->setChecked(true);
    EXPECT_TRUE(receiptPort->isEnabled());
    EXPECT_NE(baseOf(receiptPort), kGrey);

    EXPECT_FALSE(option("optAvsRule", 0)->isEnabled());
    find<QCheckBox>("cbUseAvsRules")->setChecked(true);
    for (int i = 0; i < 6; ++i) {
        EXPECT_TRUE(option("optAvsRule", i)->isEnabled());
    }
}

TEST_F(TarnConfBehaviourTest, WindowSizeOutsideEightyToHundredBecomesHundredOnLeavingTheField)
{
    auto* size = find<QComboBox>("cboWindowsSize");
    auto* other = find<QLineEdit>("txtTop");
    const auto typeAndLeave = [&](const char* typed) {
        size->setFocus();
        size->lineEdit()->selectAll();
        QTest::keyClicks(size->lineEdit(), typed);
        other->setFocus();
        return size->currentText().toStdString();
    };
    EXPECT_EQ(typeAndLeave("79"), "100");
    EXPECT_EQ(typeAndLeave("79.5"), "79.5");
    EXPECT_EQ(typeAndLeave("abc"), "100");
    EXPECT_EQ(typeAndLeave("101"), "100");
    EXPECT_EQ(typeAndLeave("85%"), "85%");
    EXPECT_EQ(typeAndLeave("100"), "100");
}

TEST_F(TarnConfBehaviourTest, ColourDialogChoiceIsShownAndKeptAsAWindowsColour)
{
    auto* colour = find<QLineEdit>("txtBackColor");
    EXPECT_EQ(window->backColor(), tarn::kButtonFaceColor);
    EXPECT_EQ(colour->palette().color(QPalette::Base), window->palette().color(QPalette::Button));
    EXPECT_TRUE(colour->text().isEmpty());

    services.colorAnswers.push_back(0x00336699);
    QTest::mouseClick(find<QPushButton>("btSetColor"), Qt::LeftButton);
    ASSERT_EQ(services.colorDialogStarts.size(), 1u);
    EXPECT_EQ(services.colorDialogStarts[0], tarn::kButtonFaceColor);
    EXPECT_EQ(window->backColor(), 0x00336699);
    EXPECT_EQ(colour->palette().color(QPalette::Base), QColor(0x99, 0x66, 0x33));

    QTest::mouseClick(find<QPushButton>("btSetColor"), Qt::LeftButton); // cancelled
    EXPECT_EQ(window->backColor(), 0x00336699);

    tarn::CInstanceData record;
    window->collectInstanceData(record);
    EXPECT_EQ(record.backgroundColor, 0x00336699);
}

TEST_F(TarnConfBehaviourTest, FileChooserFillsTheBoxOnlyWhenAFileWasChosen)
{
    auto* logo = find<QLineEdit>("txtLogoFile");
    const std::string before = logo->text().toStdString();
    QTest::mouseClick(find<QPushButton>("btBrowseLogoFile"), Qt::LeftButton);
    EXPECT_EQ(logo->text().toStdString(), before);
    ASSERT_EQ(services.fileDialogPatterns.size(), 1u);
    EXPECT_EQ(services.fileDialogPatterns[0], "*.bmp;*.jpg;*.jpeg;*.gif");

    services.fileAnswers.push_back("C:\\ORVANT\\images\\mark.gif");
    QTest::mouseClick(find<QPushButton>("btWaterMarkBrowse"), Qt::LeftButton);
    EXPECT_EQ(find<QLineEdit>("txtWatermark")->text().toStdString(), "C:\\ORVANT\\images\\mark.gif");
    EXPECT_EQ(logo->text().toStdString(), before);
}

TEST_F(TarnConfBehaviourTest, ConfigurationTypeTakesEffectAtOnceAndPasswordButtonAsksForItsWindow)
{
    option("optConfType", 0)->setChecked(true);
    EXPECT_EQ(tarn::Globals::state().configurationMode, tarn::kRegistryMode);
    option("optConfType", 1)->setChecked(true);
    EXPECT_EQ(tarn::Globals::state().configurationMode, tarn::kXmlMode);

    QSignalSpy requested(window.get(), &tarn::TarnConf::changePasswordRequested);
    QTest::mouseClick(find<QPushButton>("cmdAdminPass"), Qt::LeftButton);
    EXPECT_EQ(requested.count(), 1);
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->isEnabled());
}

} // namespace
} // namespace orvant::test
