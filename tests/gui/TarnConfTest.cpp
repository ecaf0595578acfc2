#include "config_tool/model/ConfigurationLayout.h"
#include "config_tool/session/Backups.h"
#include "config_tool/session/SaveGuard.h"
#include "platform/Environment.h"
#include "tests/gui/WindowTesting.h"

#include <QApplication>
#include <gmock/gmock.h>
#include <tuple>

namespace orvant::test {
namespace {

using Record = tarn::CInstanceData;
using ::testing::HasSubstr;

// Every value of the configuration layout that has a control, compared alone: a failure names the setting.
void expectSameShownValues(const Record& collected, const Record& expected)
{
    for (const auto& setting : tarn::instanceSettings()) {
        std::visit(
            [&](auto member) {
                if constexpr (!std::is_same_v<decltype(member), std::monostate>) {
                    EXPECT_EQ(collected.*member, expected.*member) << setting.name;
                }
            },
            setting.control.empty() ? tarn::InstanceMember() : setting.member);
    }
}

TEST_F(MainWindowTest, EveryControlAfterLoad)
{
    EXPECT_TRUE(matchesDataFile(controlDump(*window), "gui/TarnConf.txt"));
    EXPECT_EQ(ui.takeMessages(), "");
}

TEST_F(MainWindowTest, EveryFieldGoesToItsOwnControlAndComesBack)
{
    Record shown;
    std::tie(shown.timeout, shown.checkCardTimeout, shown.port, shown.receiptPort, shown.receiptWidth, shown.top,
             shown.left, shown.PinPadPort)
        = std::make_tuple("11", "12", "10013", "20014", "15", "16", "17", "5018");
    std::tie(shown.inputDir, shown.outputDir, shown.receiptDir, shown.logoFile, shown.watermarkImage)
        = std::make_tuple("C:\\in", "C:\\out", "C:\\receipts", "C:\\logo.jpg", "C:\\mark.bmp");
    std::tie(shown.fontName, shown.printer, shown.comport, shown.comportReader, shown.pinpad)
        = std::make_tuple("Font Not Installed", "Receipt Printer", "COM2", "COM1", "Sagem");
    std::tie(shown.referralMode, shown.interfaceMethod, shown.avsRuleIndex, shown.WindowsSize, shown.backgroundColor)
        = std::make_tuple(2, 1, 4, 90, 0x00FF8000);
    // The check boxes take the bits of their position, a round a bit: any two of them differ in some round.
    bool Record::*const flags[]
        = { &Record::pinByPass,   &Record::combiReader,         &Record::askGratuity,       &Record::usaCreditDebit,
            &Record::debugOn,     &Record::extendedDebugOn,     &Record::disableCancel,     &Record::cardNoHashValue,
            &Record::useAvsRules, &Record::avsDetailsMandatory, &Record::sendReceipt,       &Record::fullScreen,
            &Record::alwaysOnTop, &Record::printReceiptFlag,    &Record::printVeriFoneFlag, &Record::extendedEnterPin };
    for (int bit = 0; bit < 5; ++bit) {
        for (std::size_t i = 0; i < std::size(flags); ++i) {
            shown.*flags[i] = ((i + 1) >> bit) & 1;
        }
        window->showInstanceData(shown);
        Record collected;
        window->collectInstanceData(collected);
        Record expected = shown;
        expected.avsRuleIndex = shown.useAvsRules ? shown.avsRuleIndex : 0; // greyed options are not read
        SCOPED_TRACE(::testing::Message() << "round " << bit);
        expectSameShownValues(collected, expected);
    }
}

TEST_F(MainWindowTest, ChoicesShowWhatTheFieldRulesSay)
{
    pick("cmbPinPad", "Sagem");
    for (const char* shown : { "cmbComPort", "lblComPort", "cmbReader", "lblReader" }) {
        EXPECT_FALSE(find(shown)->isHidden()) << shown;
    }
    for (const char* hidden : { "txtPinPadPort", "lblPinPadPort" }) {
        EXPECT_TRUE(find(hidden)->isHidden()) << hidden;
    }

    find<QAbstractButton>("cbAskGratuity")->setChecked(true);
    pick("cboEnvironment", "Kiosk");
    EXPECT_FALSE(find<QAbstractButton>("cbAskGratuity")->isChecked());
    for (const char* locked : { "cbAskGratuity", "cbAutoUpgrade", "optReferralMode_0" }) {
        EXPECT_FALSE(find(locked)->isEnabled()) << locked;
    }
    EXPECT_EQ(text("cmbPinPad"), "No Card Reader");
    EXPECT_TRUE(find("cmbReader")->isHidden()) << "no reader port without the Sagem";
    EXPECT_EQ(window->session().instances[0].environment, 4);
}

TEST_F(MainWindowTest, TypingIsFilteredAndCorrectedAsTheBoxesRulesSay)
{
    type("txtTimeout", "1a2");
    EXPECT_EQ(text("txtTimeout"), "12");
    EXPECT_EQ(ui.beeps, 1);
    QTest::keyClick(find("txtTimeout"), Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), find("txtCheckcardTimeout"));

    type("cboWindowsSize", "79");
    EXPECT_EQ(text("cboWindowsSize"), "79");
    find("txtTop")->setFocus();
    EXPECT_EQ(text("cboWindowsSize"), "100");
}

TEST_F(MainWindowTest, AShortcutPressingOkWithTheFocusInWindowsSizeStillAppliesItsRule)
{
    type("cboWindowsSize", "9");
    QTest::keyClick(window->windowHandle(), Qt::Key_O, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([this] { return ends == 1; })); // the button shows itself pressed first
    EXPECT_EQ(installation.storedValue("WindowsSize", 0), "100");
}

TEST_F(MainWindowTest, ColourAndImageDialogsFillTheirBoxesWhenAnswered)
{
    services.colorAnswer = 0x00336699;
    EXPECT_EQ(find("txtBackColor")->palette().color(QPalette::Base), window->palette().color(QPalette::Button));
    click("btSetColor");
    EXPECT_EQ(find("txtBackColor")->palette().color(QPalette::Base), QColor(0x99, 0x66, 0x33));
    const std::string logo = text("txtLogoFile");
    services.fileAnswer = "C:\\ORVANT\\images\\mark.gif";
    click("btWaterMarkBrowse");
    click("btBrowseLogoFile"); // cancelled
    EXPECT_EQ(text("txtWatermark"), "C:\\ORVANT\\images\\mark.gif");
    EXPECT_EQ(text("txtLogoFile"), logo) << "the dialog was cancelled";
}

TEST_F(MainWindowTest, SwitchKeepsTheEditsApplySavesWhatWasCollectedAndOkSavesAllThenEnds)
{
    const auto before = installation.snapshot();
    type("txtHBLHost", "10.0.0.9");
    pick("cboInstance", "Harbell_01");
    type("txtTimeout", "45");
    pick("cboInstance", "Harbell_02");
    EXPECT_TRUE(sameTree(before, installation.snapshot()));

    type("txtTimeout", "5");
    click("btApply");
    EXPECT_EQ(installation.storedValue("HBLHost", 0), "10.0.0.9");
    EXPECT_EQ(installation.storedValue("Timeout", 1), "45") << "collected at the switch";
    EXPECT_EQ(installation.storedValue("Timeout", 2), "30") << "the shown instance is not collected";

    click("btOk");
    EXPECT_EQ(ui.takeMessages(),
              "[] Enter Correct Card Inactivity Timeout between 10 to 90,Then Press Ok (Do not "
              "press Apply Button) (none)\n");
    EXPECT_EQ(ends, 0);
    type("txtTimeout", "55");
    find<QAbstractButton>("optConfType_0")->setChecked(true);
    click("btOk");
    EXPECT_EQ(ui.takeMessages(), "");
    EXPECT_EQ(ends, 1);
    EXPECT_EQ(installation.storedValue("Timeout", 2), "55");
    EXPECT_EQ(installation.read("properties/hbl.properties"), "Configuration=registry\r\n");
    // The window's saves are backed up and logged as every save is: Apply, the refused OK (which still
    // writes the base property files) and the OK.
    EXPECT_EQ(tarn::listBackups().size(), 3u);
    EXPECT_THAT(installation.read("logs/configuration-audit.log"),
                HasSubstr("\tTarnConfig\t\t" + platform::currentUserName()
                          + "\t2\tC:\\ORVANT\\conf\\ORVANTConfiguration.xml\tTimeout\t\"30\" -> \"55\"\r\n"));
}

TEST_F(MainWindowTest, CancelAndTheTitleBarCloseAskOnlyWhenAnEditWouldBeLost)
{
    type("txtHBLHost", "10.0.0.9");
    click("btApply"); // the installation-wide edit is saved: nothing left to lose
    const auto saved = installation.snapshot();
    type("txtTimeout", "45"); // Apply does not save the shown instance's edits
    click("btApply");
    click("btCancel"); // No, the default, keeps the window
    EXPECT_EQ(ends, 0);
    ui.answers = { tarn::QuestionAnswer::Yes };
    window->close(); // Yes: the program ends, as by Cancel
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(ends, 1);
    const std::vector<std::string> asked(2, tarn::TarnConf::kDiscardQuestion);
    EXPECT_EQ(ui.questions, asked);
    EXPECT_TRUE(sameTree(saved, installation.snapshot()));

    open();
    click("btCancel"); // nothing edited: the program ends at once
    EXPECT_EQ(ends, 2);
    EXPECT_EQ(ui.questions, asked);
}

TEST_F(MainWindowTest, ASaveOverwritesAConfigurationChangedOnDiskOnlyWhenTheOperatorSaysSo)
{
    installation.write("conf/ORVANTConfiguration.xml", installation.configuration() + "<!-- another program -->\r\n");
    const auto changed = installation.snapshot();
    type("txtHBLHost", "10.0.0.9");
    click("btApply"); // No, the default: nothing written, the window stays
    EXPECT_TRUE(sameTree(changed, installation.snapshot()));
    ui.answers = { tarn::QuestionAnswer::Yes };
    click("btApply");
    click("btApply"); // the window now knows what is on disk: no question
    EXPECT_EQ(ui.questions, std::vector<std::string>(2, tarn::SaveGuard::kChangedQuestion));
    EXPECT_EQ(installation.storedValue("HBLHost", 0), "10.0.0.9");
    EXPECT_EQ(ends, 0);
}

TEST_F(MainWindowTest, AWindowOpenedOnAConfigurationItCouldNotLoadSavesNothing)
{
    installation.write("conf/ORVANTConfiguration.xml", "<ORVANTConfiguration><Instance>\r\n");
    open();
    ui.takeMessages();
    const auto unloadable = installation.snapshot();
    type("txtHBLHost", "10.0.0.9");
    click("btOk");
    EXPECT_THAT(ui.takeMessages(), HasSubstr(tarn::SaveGuard::kUnloadedMessage));
    EXPECT_TRUE(sameTree(unloadable, installation.snapshot()));
    EXPECT_EQ(ends, 0);
}

TEST_F(MainWindowTest, AWindowWithoutEditsLeavesAnotherProgramsChangeAsItIsAndOkEndsTheProgram)
{
    installation.write("INSTANCE_01/properties/terminal.properties", "smartCardReader.class=sts.drivers.Sagem\r\n");
    const auto changed = installation.snapshot();
    click("btApply");
    click("btOk");
    EXPECT_TRUE(ui.questions.empty());
    EXPECT_TRUE(sameTree(changed, installation.snapshot()));
    EXPECT_EQ(ends, 1);
}

TEST_F(MainWindowTest, InRegistryModeTheAuditLogsOldValuesAreWhatTheDiskHeldWhenTheSaveBegan)
{
    installation.writeMode(false);
    open();
    auto stored = Installation::numberedInstances(2);
    // Another program's save since the window loaded.
    stored[0].values.insert(stored[0].values.end(), { { "Timeout", "50" }, { "UPTTerminal", "False" } });
    installation.writeConfiguration(stored);
    type("txtTimeout", "45");
    ui.answers = { tarn::QuestionAnswer::Yes };
    click("btOk");
    EXPECT_EQ(ends, 1);
    const std::string log = installation.read("logs/configuration-audit.log");
    const std::string xml = "\t0\tC:\\ORVANT\\conf\\ORVANTConfiguration.xml\t";
    EXPECT_NE(log.find(xml + "Timeout\t\"50\" -> \"45\"\r\n"), std::string::npos) << log;
    EXPECT_EQ(log.find(xml + "UPTTerminal\t"), std::string::npos) << "stored as it was";
}

TEST_F(MainWindowTest, ANewBaseDirectoryWithoutTheInstanceFoldersIsSavedOnlyWhenTheOperatorSaysSo)
{
    writeFile(folder.driveC() / "ORVANT2/properties/terminal.properties", "hand.made=1\r\n");
    const auto before = installation.snapshot();
    type("txtPropertyDir", "C:\\ORVANT2");
    click("btOk"); // No, the default: nothing written, the window stays
    EXPECT_EQ(ui.questions,
              std::vector<std::string> { "The folder C:\\ORVANT2 holds no INSTANCE_01 (and 1 more). Save anyway?" });
    EXPECT_TRUE(sameTree(before, installation.snapshot()));
    EXPECT_EQ(ends, 0);
    ui.answers = { tarn::QuestionAnswer::Yes };
    click("btApply");
    EXPECT_EQ(installation.storedValue("PropertiesDir", 0), "C:\\ORVANT2");
}

TEST_F(MainWindowTest, AddNewBuildsAndReadsTheNewInstanceUnderTheBaseDirectoryAsTyped)
{
    click("btAddNew");
    EXPECT_EQ(ui.takeMessages(), "");
    EXPECT_EQ(text("cboInstance"), "Harbell_03");
    EXPECT_EQ(text("txtPort"), "10003");

    const auto moved = folder.driveC() / "NEWBASE";
    writeFile(moved / "conf/ORVANTTransactionLogEmpty.xml", "<TransactionLog/>\r\n");
    writeFile(moved / "bin/ReceiptPrinter.exe", "printer");
    writeFile(moved / "properties/terminal.properties", "smartCardReader.class=sts.drivers.cardholder.Verifone\r\n");
    type("txtPropertyDir", "C:\\NEWBASE");
    click("btAddNew");
    EXPECT_EQ(text("cboInstance"), "Harbell_04");
    EXPECT_EQ(text("txtReceiptDir"), "C:\\NEWBASE\\INSTANCE_04");
    EXPECT_EQ(text("cmbPinPad"), "Verifone sc5000") << "read from the new Base Directory's files";
}

TEST_F(MainWindowTest, AnInstanceAddedThenCancelledAndAddedAgainIsLoggedAsCreatedOnceWhenItIsSaved)
{
    click("btAddNew");
    ui.answers = { tarn::QuestionAnswer::Yes };
    click("btCancel"); // the new instance is discarded; its folder stays
    open();
    click("btAddNew");
    EXPECT_EQ(text("cboInstance"), "Harbell_03");
    EXPECT_FALSE(installation.exists("logs/configuration-audit.log"));
    click("btApply");
    click("btOk"); // saves the instance again: no creation
    const std::string log = installation.read("logs/configuration-audit.log");
    const std::string created = "\t3\tevent\tinstance created\tC:\\ORVANT\\INSTANCE_03\r\n";
    EXPECT_NE(log.find(created), std::string::npos);
    EXPECT_EQ(log.find(created), log.rfind(created)) << "one line";
}

TEST_F(MainWindowTest, EditableListsKeepTypedTextAsTypedForTheirOwnRules)
{
    type("cboWindowsSize", "9");
    type("cboFont", "A");
    type("cmbComPort", "c");
    click("cbEnablePrintReceipt");
    type("cmbPrinters", "R");
    find("txtTop")->setFocus();
    tarn::CInstanceData collected;
    window->collectInstanceData(collected);
    EXPECT_EQ(collected.WindowsSize, 100); // 9 is too small: the size rule makes it full size
    EXPECT_EQ(collected.fontName, "A");
    EXPECT_EQ(collected.comport, "c");
    EXPECT_EQ(collected.printer, "R");
}

TEST_F(MainWindowTest, RunUpgradeNowSavesWhenAskedAndEndsTheProgram)
{
    type("txtHBLHost", "10.0.0.9");
    ui.answers = { tarn::QuestionAnswer::Yes };
    click("btRunUpgrade");
    EXPECT_EQ(ui.questions.size(), 1u);
    EXPECT_EQ(installation.storedValue("HBLHost", 0), "10.0.0.9");
    EXPECT_EQ(ends, 1);
}

} // namespace
} // namespace orvant::test
