#include "config_tool/window/WindowColor.h"
#include "tests/gui/TarnConfTesting.h"

#include <QCheckBox>
#include <QPushButton>
#include <QSignalSpy>

namespace orvant::test {
namespace {

const QColor kGrey(192, 192, 192);

QColor baseOf(const QLineEdit* box)
{
    return box->palette().color(box->isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::Base);
}

// The window over the base instance and instances 1 and 2, with COM1 and COM2 present.
class TarnConfBehaviourTest : public TarnConfTest
{
protected:
    void SetUp() override
    {
        TarnConfTest::SetUp();
        writeInstallation(2);
        addComPort(1);
        addComPort(2);
        openWindow();
    }

    void tick(const char* name, bool on) const { find<QCheckBox>(name)->setChecked(on); }

    static tarn::CInstanceData sampleRecord()
    {
        tarn::CInstanceData r;
        r.timeout = "42";
        r.checkCardTimeout = "12";
        r.pinByPass = r.combiReader = r.askGratuity = r.usaCreditDebit = r.debugOn = r.extendedDebugOn = true;
        r.disableCancel = r.cardNoHashValue = r.useAvsRules = r.avsDetailsMandatory = r.sendReceipt = true;
        r.fullScreen = r.alwaysOnTop = r.printReceiptFlag = r.printVeriFoneFlag = r.extendedEnterPin = true;
        r.referralMode = 2;
        r.interfaceMethod = 1;
        r.port = "10005";
        r.inputDir = "C:\\in";
        r.outputDir = "C:\\out";
        r.receiptDir = "C:\\receipts";
        r.receiptWidth = "40";
        r.receiptPort = "20005";
        r.top = "12";
        r.left = "34";
        r.WindowsSize = 90;
        r.backgroundColor = 0x00FF8000;
        r.fontName = "Font That Is Not Installed";
        r.logoFile = "C:\\logo.jpg";
        r.watermarkImage = "C:\\mark.bmp";
        r.avsRuleIndex = 4;
        r.printer = "Printer That Is Gone";
        r.comport = "COM9";
        r.comportReader = "COM4";
        r.pinpad = "Sagem";
        r.PinPadPort = "5005";
        return r;
    }
};

TEST_F(TarnConfBehaviourTest, HospitalityAfterSagemShrinksThePinPadListAndResetsThePorts)
{
    pick("cmbPinPad", "Sagem");
    ASSERT_FALSE(find<QComboBox>("cmbReader")->isHidden());
    tick("cbCombiReader", true);

    pick("cboEnvironment", "Hospitality");
    EXPECT_EQ(find<QComboBox>("cmbPinPad")->count(), 5);
    EXPECT_EQ(text("cmbPinPad"), "No Card Reader");
    EXPECT_EQ(portControlsShown(), "cmbComPort lblComPort");
    EXPECT_FALSE(find<QCheckBox>("cbCombiReader")->isChecked());
    EXPECT_EQ(window->session().instances[0].environment, 2);

    pick("cboEnvironment", "Petrol Station");
    EXPECT_EQ(find<QComboBox>("cmbPinPad")->count(), 12);
    EXPECT_EQ(window->session().instances[0].environment, 3);
}

TEST_F(TarnConfBehaviourTest, KioskClearsAndLocksGratuityAutoUpgradeAndReferralMode)
{
    const auto locks = [this] {
        return enabled(
            { "cbAskGratuity", "cbAutoUpgrade", "optReferralMode_0", "optReferralMode_1", "optReferralMode_2" });
    };
    tick("cbAskGratuity", true);
    pick("cboEnvironment", "Kiosk");
    EXPECT_EQ(locks(), "00000");
    EXPECT_FALSE(find<QCheckBox>("cbAskGratuity")->isChecked());

    // Check Upgrades at startup, ticked in a kiosk, ticks Auto Upgrade and keeps it locked.
    tick("cbCheckUpgrade", false);
    EXPECT_EQ(state("cbAutoUpgrade"), "off disabled");
    tick("cbCheckUpgrade", true);
    EXPECT_EQ(state("cbAutoUpgrade"), "on disabled");

    // Leaving the kiosk with Check Upgrades cleared leaves all of them locked.
    tick("cbCheckUpgrade", false);
    pick("cboEnvironment", "POS");
    EXPECT_EQ(locks(), "00000");

    tick("cbCheckUpgrade", true);
    EXPECT_EQ(state("cbAutoUpgrade"), "off enabled");
    pick("cboEnvironment", "Internet");
    EXPECT_EQ(locks(), "11111");
}

TEST_F(TarnConfBehaviourTest, PinPadRulesSetCombinedReaderAndPortControls)
{
    const struct
    {
        const char* model;
        bool combined;
        const char* shown;
    } cases[] = {
        { "Trintech smart 5000", true, nullptr },
        { "Dione secura UPT No MagStripe", true, nullptr },
        { "Verifone Vx670", false, "txtPinPadPort lblPinPadPort" },
        { "Sagem", false, "cmbComPort lblComPort cmbReader lblReader" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.model);
        tick("cbCombiReader", false);
        pick("cmbPinPad", c.model);
        EXPECT_EQ(find<QCheckBox>("cbCombiReader")->isChecked(), c.combined);
        if (c.shown) {
            EXPECT_EQ(portControlsShown(), c.shown);
        }
    }

    // Setting the list's text from code runs no rule.
    tarn::CInstanceData record = window->session().instances[1];
    record.pinpad = "Trintech smart 5000";
    window->showInstanceData(record);
    EXPECT_EQ(text("cmbPinPad"), "Trintech smart 5000");
    EXPECT_FALSE(find<QCheckBox>("cbCombiReader")->isChecked());
    EXPECT_TRUE(find<QComboBox>("cmbReader")->isHidden());
}

TEST_F(TarnConfBehaviourTest, Vx670PrinterBoxOnlyForAVx670PrintingAtAPos)
{
    EXPECT_TRUE(find<QWidget>("cbVerifoneVxPri")->isHidden());
    EXPECT_FALSE(find<QWidget>("cmbPrinters")->isEnabled());

    pick("cmbPinPad", "Verifone Vx670");
    EXPECT_TRUE(find<QWidget>("cbVerifoneVxPri")->isHidden());
    tick("cbEnablePrintReceipt", true);
    EXPECT_FALSE(find<QWidget>("cbVerifoneVxPri")->isHidden());
    EXPECT_EQ(enabled({ "cbVerifoneVxPri", "cmbPrinters" }), "11");
    tick("cbVerifoneVxPri", true);

    // The rule never changes the box's value.
    tick("cbEnablePrintReceipt", false);
    EXPECT_EQ(state("cbVerifoneVxPri"), "hidden on disabled");
    EXPECT_EQ(enabled({ "cmbPrinters" }), "0");

    tick("cbEnablePrintReceipt", true);
    pick("cboEnvironment", "Standalone");
    EXPECT_TRUE(find<QWidget>("cbVerifoneVxPri")->isHidden());
}

TEST_F(TarnConfBehaviourTest, DigitsOnlyBoxesRefuseOtherKeysWithOneBeepAndEnterMovesOn)
{
    auto* timeout = find<QLineEdit>("txtTimeout");
    timeout->clear();
    timeout->setFocus();
    QTest::keyClicks(timeout, "1a2");
    EXPECT_EQ(text("txtTimeout"), "12");
    EXPECT_EQ(ui.beeps, 1);
    QTest::keyClick(timeout, Qt::Key_Backspace);
    QTest::keyClick(timeout, Qt::Key_Return);
    EXPECT_EQ(text("txtTimeout"), "1");
    EXPECT_EQ(ui.beeps, 1);
    EXPECT_EQ(QApplication::focusWidget(), find<QLineEdit>("txtCheckcardTimeout"));

    // Every box of the rule refuses letters; the others take any key.
    for (const char* name : { "txtLeft", "txtTop", "txtPort", "txtPinPadPort", "txtReceiptPort", "txtReceiptWidth" }) {
        auto* box = find<QLineEdit>(name);
        box->setEnabled(true);
        box->clear();
        QTest::keyClicks(box, "7x.");
        EXPECT_EQ(text(name), std::string(name) == "txtReceiptWidth" ? "7x." : "7") << name;
    }
    EXPECT_EQ(ui.beeps, 11);
}

TEST_F(TarnConfBehaviourTest, DisabledTextBoxesAreGreyAndComeBackWithTheWindowBackground)
{
    auto* port = find<QLineEdit>("txtPort");
    auto* input = find<QLineEdit>("txtInputDir");
    EXPECT_EQ(enabled({ "txtPort", "txtInputDir" }), "10");
    EXPECT_EQ(baseOf(input), kGrey);
    EXPECT_NE(baseOf(port), kGrey);

    option("optInterfaceMethod", 1)->setChecked(true);
    EXPECT_EQ(enabled({ "txtPort", "txtInputDir", "txtOutputDir" }), "011");
    EXPECT_EQ(baseOf(port), kGrey);
    EXPECT_EQ(baseOf(input), QApplication::palette().color(QPalette::Active, QPalette::Base));

    EXPECT_EQ(state("txtReceiptPort"), "disabled");
    tick("cbSendReceipt", true);
    EXPECT_EQ(state("txtReceiptPort"), "enabled");
    EXPECT_NE(baseOf(find<QLineEdit>("txtReceiptPort")), kGrey);

    const auto avsRules = [this] {
        return enabled(
            { "optAvsRule_0", "optAvsRule_1", "optAvsRule_2", "optAvsRule_3", "optAvsRule_4", "optAvsRule_5" });
    };
    EXPECT_EQ(avsRules(), "000000");
    tick("cbUseAvsRules", true);
    EXPECT_EQ(avsRules(), "111111");
}

TEST_F(TarnConfBehaviourTest, WindowSizeOutsideEightyToHundredBecomesHundredOnLeavingTheField)
{
    auto* size = find<QComboBox>("cboWindowsSize");
    const std::pair<const char*, const char*> cases[] = { { "79", "100" },  { "79.5", "79.5" }, { "abc", "100" },
                                                          { "101", "100" }, { "85%", "85%" },   { "100", "100" } };
    for (const auto& [typed, kept] : cases) {
        size->setFocus();
        size->lineEdit()->selectAll();
        QTest::keyClicks(size->lineEdit(), typed);
        find<QLineEdit>("txtTop")->setFocus();
        EXPECT_EQ(size->currentText().toStdString(), kept) << typed;
    }
}

TEST_F(TarnConfBehaviourTest, ColourAndFileDialogsFillTheirBoxesOnlyWhenAnswered)
{
    auto* colour = find<QLineEdit>("txtBackColor");
    EXPECT_EQ(window->backColor(), tarn::kButtonFaceColor);
    EXPECT_EQ(colour->palette().color(QPalette::Base), window->palette().color(QPalette::Button));
    EXPECT_TRUE(colour->text().isEmpty());

    services.colorAnswers.push_back(0x00336699);
    click("btSetColor");
    click("btSetColor"); // cancelled
    EXPECT_EQ(services.colorDialogStarts, (std::vector<std::int32_t> { tarn::kButtonFaceColor, 0x00336699 }));
    EXPECT_EQ(colour->palette().color(QPalette::Base), QColor(0x99, 0x66, 0x33));
    tarn::CInstanceData record;
    window->collectInstanceData(record);
    EXPECT_EQ(record.backgroundColor, 0x00336699);

    const std::string logo = text("txtLogoFile");
    click("btBrowseLogoFile");
    EXPECT_EQ(text("txtLogoFile"), logo);
    EXPECT_EQ(services.fileDialogPatterns, std::vector<std::string> { "*.bmp;*.jpg;*.jpeg;*.gif" });
    services.fileAnswers.push_back("C:\\ORVANT\\images\\mark.gif");
    click("btWaterMarkBrowse");
    EXPECT_EQ(text("txtWatermark"), "C:\\ORVANT\\images\\mark.gif");
    EXPECT_EQ(text("txtLogoFile"), logo);
}

TEST_F(TarnConfBehaviourTest, ConfigurationTypeTakesEffectAtOnceAndPasswordButtonAsksForItsWindow)
{
    option("optConfType", 0)->setChecked(true);
    EXPECT_EQ(tarn::Globals::state().configurationMode, tarn::kRegistryMode);
    option("optConfType", 1)->setChecked(true);
    EXPECT_EQ(tarn::Globals::state().configurationMode, tarn::kXmlMode);

    QSignalSpy requested(window.get(), &tarn::TarnConf::changePasswordRequested);
    click("cmdAdminPass");
    EXPECT_EQ(requested.count(), 1);
    EXPECT_TRUE(window->isVisible() && window->isEnabled());
}

TEST_F(TarnConfBehaviourTest, EveryBoundFieldGoesToItsControlAndComesBackUnchanged)
{
    const tarn::CInstanceData shown = sampleRecord();
    window->showInstanceData(shown);
    EXPECT_EQ(text("txtTimeout"), "42");
    EXPECT_TRUE(option("optReferralMode", 2)->isChecked() && option("optAvsRule", 4)->isChecked());
    EXPECT_TRUE(option("optInterfaceMethod", 1)->isChecked());
    EXPECT_EQ(text("cboWindowsSize"), "90");
    EXPECT_EQ(text("cmbReader"), "COM4");
    EXPECT_EQ(enabled({ "txtPort", "txtInputDir", "txtReceiptPort", "cmbPrinters" }), "0111");
    EXPECT_TRUE(find<QWidget>("cbVerifoneVxPri")->isHidden()) << "a Sagem is no Vx670";

    tarn::CInstanceData collected;
    window->collectInstanceData(collected);
    const auto fields = [](const tarn::CInstanceData& r) {
        return std::make_tuple(r.timeout, r.checkCardTimeout, r.pinByPass, r.combiReader, r.referralMode, r.askGratuity,
                               r.usaCreditDebit, r.debugOn, r.extendedDebugOn, r.disableCancel, r.cardNoHashValue,
                               r.useAvsRules, r.avsDetailsMandatory, r.interfaceMethod, r.port, r.inputDir, r.outputDir,
                               r.receiptDir, r.receiptWidth, r.receiptPort, r.sendReceipt, r.fullScreen, r.alwaysOnTop,
                               r.top, r.left, r.WindowsSize, r.backgroundColor, r.fontName, r.logoFile,
                               r.watermarkImage, r.avsRuleIndex, r.printReceiptFlag, r.printVeriFoneFlag, r.printer,
                               r.extendedEnterPin, r.comport, r.comportReader, r.pinpad, r.PinPadPort);
    };
    EXPECT_EQ(fields(collected), fields(shown));

    // A system colour is drawn with the palette and kept as it is.
    collected.backgroundColor = static_cast<std::int32_t>(0x80000005u); // the window background
    window->showInstanceData(collected);
    EXPECT_EQ(find<QLineEdit>("txtBackColor")->palette().color(QPalette::Base),
              window->palette().color(QPalette::Base));
    window->collectInstanceData(collected);
    EXPECT_EQ(collected.backgroundColor, static_cast<std::int32_t>(0x80000005u));
}

TEST_F(TarnConfBehaviourTest, ConversionsOfCheckBoxesWindowSizeOptionsAndEnvironment)
{
    tarn::CInstanceData record = sampleRecord();
    window->showInstanceData(record);
    find<QCheckBox>("cbDebug")->setCheckState(Qt::PartiallyChecked);
    const std::pair<const char*, int> sizes[]
        = { { "80%", 80 }, { "", 0 }, { " 85 ", 85 }, { "80.5", 80 }, { "81.5", 82 } };
    for (const auto& [typed, collected] : sizes) {
        find<QComboBox>("cboWindowsSize")->setEditText(QString::fromLatin1(typed));
        window->collectInstanceData(record);
        EXPECT_EQ(record.WindowsSize, collected) << typed;
    }
    EXPECT_TRUE(record.debugOn) << "a grayed box reads as ticked";

    // With the AVS rules off the shown option is not collected.
    tick("cbUseAvsRules", false);
    option("optAvsRule", 1)->setChecked(true);
    window->collectInstanceData(record);
    EXPECT_EQ(record.avsRuleIndex, 4);

    // An option index without a button selects none, and none collects as 0.
    record.referralMode = 7;
    window->showInstanceData(record);
    for (int i = 0; i < 3; ++i) {
        EXPECT_FALSE(option("optReferralMode", i)->isChecked());
    }
    window->collectInstanceData(record);
    EXPECT_EQ(record.referralMode, 0);

    // The environment shows and goes into record 0 only; an unknown code leaves the list as it was.
    auto& base = window->session().instances[0];
    base.environment = 4;
    window->showInstanceData(record);
    EXPECT_EQ(text("cboEnvironment"), "Kiosk");
    EXPECT_FALSE(option("optReferralMode", 0)->isEnabled());
    base.environment = 7;
    window->showInstanceData(record);
    EXPECT_EQ(text("cboEnvironment"), "Kiosk");
    EXPECT_TRUE(option("optReferralMode", 0)->isEnabled());
    window->collectInstanceData(window->session().instances[1]);
    EXPECT_EQ(base.environment, 4);
}

} // namespace
} // namespace orvant::test
