#include "tests/gui/TarnConfTesting.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>

namespace orvant::test {
namespace {

class TarnConfBindingTest : public TarnConfTest
{
protected:
    void SetUp() override
    {
        TarnConfTest::SetUp();
        installation.writeConfiguration(SampleInstallation::numberedInstances(1));
        installation.writeMode(true);
        installation.makeInstanceFolders(1);
        addComPort(1);
        openWindow();
    }

    static tarn::CInstanceData sampleRecord()
    {
        tarn::CInstanceData record;
        record.timeout = "42";
        record.checkCardTimeout = "12";
        record.pinByPass = true;
        record.combiReader = true;
        record.referralMode = 2;
        record.askGratuity = true;
        record.usaCreditDebit = true;
        record.debugOn = true;
        record.extendedDebugOn = true;
        record.disableCancel = true;
        record.cardNoHashValue = true;
        record.useAvsRules = true;
        record.avsDetailsMandatory = true;
        record.interfaceMethod = 1;
        record.port = "10005";
        record.inputDir = "C:\\in";
        record.outputDir = "C:\\out";
        record.receiptDir = "C:\\receipts";
        record.receiptWidth = "40";
        record.receiptPort = "20005";
        record.sendReceipt = true;
        record.fullScreen = true;
        record.alwaysOnTop = true;
        record.top = "12";
        record.left = "34";
        record.WindowsSize = 90;
        record.backgroundColor = 0x00FF8000;
        record.fontName = "Font That Is Not Installed";
        record.logoFile = "C:\\logo.jpg";
        record.watermarkImage = "C:\\mark.bmp";
        record.avsRuleIndex = 4;
        record.printReceiptFlag = true;
        record.printVeriFoneFlag = true;
        record.printer = "Printer That Is Gone";
        record.extendedEnterPin = true;
        record.comport = "COM9";
        record.comportReader = "COM4";
        record.pinpad = "Sagem";
        record.PinPadPort = "5005";
        return record;
    }
};

TEST_F(TarnConfBindingTest, EveryBoundFieldGoesToItsControlAndComesBackUnchanged)
{
    const tarn::CInstanceData shown = sampleRecord();
    window->showInstanceData(shown);
    EXPECT_EQ(find<QLineEdit>("txtTimeout")->text().toStdString(), "42");
    EXPECT_TRUE(find<QRadioButton>("optReferralMode_2")->isChecked());
    EXPECT_TRUE(find<QRadioButton>("optAvsRule_4")->isChecked());
    EXPECT_TRUE(find<QRadioButton>("optInterfaceMethod_1")->isChecked());
    EXPECT_EQ(find<QComboBox>("cboWindowsSize")->currentText().toStdString(), "90");
    EXPECT_EQ(find<QComboBox>("cmbReader")->currentText().toStdString(), "COM4");
    EXPECT_FALSE(find<QLineEdit>("txtPort")->isEnabled());
    EXPECT_TRUE(find<QLineEdit>("txtInputDir")->isEnabled());
    EXPECT_TRUE(find<QLineEdit>("txtReceiptPort")->isEnabled());
    EXPECT_TRUE(find<QComboBox>("cmbPrinters")->isEnabled());
    EXPECT_TRUE(find<QCheckBox>("cbVerifoneVxPri")->isHidden()) << "a Sagem is no Vx670";

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
}

TEST_F(TarnConfBindingTest, ConversionsOfCheckBoxesWindowSizeAndEnvironment)
{
    tarn::CInstanceData record = sampleRecord();
    window->showInstanceData(record);

    find<QCheckBox>("cbDebug")->setCheckState(Qt::PartiallyChecked);
    auto* size = find<QComboBox>("cboWindowsSize");
    const auto collectedSize = [&](const char* text) {
        size->setEditText(QString::fromLatin1(text));
        window->collectInstanceData(record);
        return record.WindowsSize;
    };
    EXPECT_EQ(collectedSize("80%"), 80);
    EXPECT_EQ(collectedSize(""), 0);
    EXPECT_EQ(collectedSize(" 85 "), 85);
    EXPECT_EQ(collectedSize("80.5"), 80);
    EXPECT_EQ(collectedSize("81.5"), 82);
    EXPECT_TRUE(record.debugOn) << "a grayed box reads as ticked";

    // With the AVS rules off the shown option is not collected.
    find<QCheckBox>("cbUseAvsRules")->setChecked(false);
    find<QRadioButton>("optAvsRule_1")->setChecked(true);
    window->collectInstanceData(record);
    EXPECT_EQ(record.avsRuleIndex, 4);

    // An option index without a button selects none, and none collects as 0.
    record.referralMode = 7;
    window->showInstanceData(record);
    for (int i = 0; i < 3; ++i) {
        EXPECT_FALSE(find<QRadioButton>(("optReferralMode_" + std::to_string(i)).c_str())->isChecked());
    }
    window->collectInstanceData(record);
    EXPECT_EQ(record.referralMode, 0);

    // The environment shows and goes into record 0 only; an unknown code leaves the list as it was.
    auto& base = window->session().instances[0];
    base.environment = 4;
    window->showInstanceData(record);
    EXPECT_EQ(find<QComboBox>("cboEnvironment")->currentText().toStdString(), "Kiosk");
    EXPECT_FALSE(find<QRadioButton>("optReferralMode_0")->isEnabled());
    base.environment = 7;
    window->showInstanceData(record);
    EXPECT_EQ(find<QComboBox>("cboEnvironment")->currentText().toStdString(), "Kiosk");
    EXPECT_TRUE(find<QRadioButton>("optReferralMode_0")->isEnabled());
    window->collectInstanceData(window->session().instances[1]);
    EXPECT_EQ(base.environment, 4);
}

TEST_F(TarnConfBindingTest, SystemColoursAreDrawnWithThePalette)
{
    tarn::CInstanceData record = sampleRecord();
    record.backgroundColor = static_cast<std::int32_t>(0x80000005u); // the window background
    window->showInstanceData(record);
    const QColor drawn = find<QLineEdit>("txtBackColor")->palette().color(QPalette::Base);
    EXPECT_EQ(drawn, window->palette().color(QPalette::Base));
    tarn::CInstanceData collected;
    window->collectInstanceData(collected);
    EXPECT_EQ(collected.backgroundColor, record.backgroundColor);
}

} // namespace
} // namespace orvant::test
