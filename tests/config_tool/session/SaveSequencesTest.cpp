#include "config_tool/session/SaveSequences.h"

#include "config_tool/foundation/SHA1.h"
#include "tests/config_tool/model/ModelTesting.h"

#include <filesystem>

namespace orvant::test {
namespace {

using tarn::ConfigSession;

// The lines every terminal.properties of the installation starts with.
std::string terminalHead(const std::string& propertiesDirectory)
{
    return crlfLines({ "name=terminal.properties", "version=1.00", "date=Mon Jun 24 14:00:00 BST 2002",
                       "properties.directory=" + propertiesDirectory, "logging.directory=logs\\\\",
                       "logging.extension=txt", "logging.class=sts.logging.STSAuditLoggingSFNNoDir",
                       "cardPaymentSystem.class=mardo.orvant.cps.MARDOEPOSServerConnector",
                       "pinProgress.class=mardo.orvant.services.OrvantPinProgress", "smartCardReader.reporting=yes",
                       "pinVerification.class.timeout=30000" });
}

const std::string kBaseTerminal = terminalHead("C:/ORVANT/properties")
    + crlfLines({ "cardHolderDisplay.firstpage.prompt=CONFRM", "smartCardReader.timeout=10000" });

// Instance 1 drives a Dione xtreme on COM1 and has a network address for a reader left from earlier.
const std::string kDioneTerminal = terminalHead("C:/ORVANT/INSTANCE_01/properties")
    + crlfLines({ "smartCardReader.port=COM1", "smartCardReader.baudrate.initial=57600",
                  "smartCardReader.class=sts.drivers.cardholder.DioneDriver",
                  "magStripeReader.class=sts.drivers.cardholder.DioneDriver",
                  "cardHolderKeyPad.class=sts.drivers.cardholder.DioneDriver",
                  "cardHolderDisplay.class=sts.drivers.cardholder.DioneDriver",
                  "pinVerification.class=sts.businesslogic.basicPinVerification",
                  "cardHolderSelection.class=sts.businesslogic.advancedCardHolderSelection",
                  "smartCardReader.timeout=2000", "pinpad.name=Dione xtreme", "smartCardReader.IP.address=10.0.0.5" });

// The same file after the Vx670 profile: keys already present keep their place, the port keys and the
// model name go, the new keys follow in the profile's order, the network address stays.
const std::string kVx670Terminal = terminalHead("C:/ORVANT/INSTANCE_01/properties")
    + crlfLines({ "smartCardReader.class=sts.drivers.cardholder.Verifone7816IPServerDriver",
                  "magStripeReader.class=sts.drivers.cardholder.STSMagStripeUsingSmartCardReader",
                  "cardHolderKeyPad.class=sts.drivers.cardholder.STSKeyPadUsingSmartCardReader",
                  "cardHolderDisplay.class=sts.drivers.cardholder.STSDisplayUsingSmartCardReader",
                  "pinVerification.class=sts.businesslogic.basicPinVerification",
                  "cardHolderSelection.class=sts.businesslogic.basicCardHolderSelection",
                  "smartCardReader.timeout=20000", "smartCardReader.IP.address=10.0.0.5",
                  "cardHolderSelection.timeout=60000", "pinVerification.timeout=60000", "cardHolderDisplay.rows=6",
                  "smartCardReader.IP.port=5001", "cardHolderDisplay.selections.perpage=5" });

std::string languageFile(const std::string& amountPrompt, bool withTesting)
{
    return "en.01=" + amountPrompt + "\r\n"
        + crlfLines({ "en.02=OK?",
                      "en.03=APPROVED",
                      "en.04=CALL YOUR BANK",
                      "en.05=CANCEL OR ENTER",
                      "en.06=CARD ERROR",
                      "en.07=DECLINED",
                      "en.08=ENTER AMOUNT",
                      "en.09=ENTER PIN",
                      "en.0A=INCORRECT PIN",
                      "en.0B=",
                      "en.0C=NOT ACCEPTED",
                      "en.0D=PIN OK",
                      "en.0E=PLEASE WAIT",
                      "en.0F=PROCESSING ERROR",
                      "en.10=REMOVE CARD",
                      "en.11=USE CHIP READER",
                      "en.12=USE MAG STRIPE",
                      "en.13=TRY AGAIN",
                      "en.14=LAST PIN TRY",
                      "en.15=CANCELLED",
                      "en.16=PIN LOCKED",
                      "en.17=CALL CARD ISSUER",
                      "en.18=REFUND \xA3",
                      "en.51=SIGN RECEIPT",
                      "en.IBM.test=IBM MESSAGE",
                      "en.emvelink=Kelbrin - Harb" })
        + (withTesting ? "en.testing=Testing...\r\n" : "");
}

const std::string kPlainPrompt = "\\\\nlAMOUNT #";
const std::string kScreenPrompt = "\\\\sf\\\\nlAMOUNT #";
const std::string kNotWritten = "These files could not be written:\n"
                                "C:\\ORVANT\\INSTANCE_01\\properties\\terminal.properties\n"
                                "The configuration has not been saved completely.";

// The values a first save adds to the base instance (globals first), in the order written. Values
// already in the file (Environment, PINByPass) and empty ones are not added.
const KeyValues kBaseAfterSave = pairs(
    "Environment=1 PINByPass=False UsePropDir=True ClassPath=C:\\ORVANT\\kelbrin-cps.jar PropertiesDir=C:\\ORVANT "
    "HBLHost=127.0.0.1 HBLPort=9000 DeleteTransAfterMin=50 TransactionResultMandatory=False CheckUpgrade=1 "
    "AutoUpgrade=0 AllowSplit=True ShowConfirmTxnScreen=True UPTTerminal=False Timeout=30 CheckCardTimeout=10 "
    "SendReceipt=False ReceiptPort=20000 Debug=False ExtendedDebug=False FullScreen=False AlwaysOnTop=False "
    "LogoFile=C:\\ORVANT\\kelbrin_logo.jpg CombiReader=False ReferralMode=1 AskGratuity=False USACreditDebit=False "
    "InterfaceMethod=0 Port=10000 ReceiptDir=C:\\ORVANT ReceiptWidth=36 WindowsSize=100 "
    "BackGroundColor=-2147483633 UseAvsRules=False AvsDetailsMandatory=True AvsRuleIndex=0 DisableCancel=False "
    "CardNoHashValue=True NextReceiptNumber=1 PrintReceiptFlag=False IsVx670Printer=False "
    "ExtendedPinMessage=False PinPadPort=5000");

const KeyValues kFirstAfterSave = pairs(
    "PINByPass=False CombiReader=False Environment=1 UPTTerminal=False Timeout=30 CheckCardTimeout=10 "
    "SendReceipt=False ReceiptPort=20001 Debug=False ExtendedDebug=False FullScreen=False AlwaysOnTop=False "
    "LogoFile=C:\\ORVANT\\kelbrin_logo.jpg ReferralMode=1 AskGratuity=False USACreditDebit=False InterfaceMethod=0 "
    "Port=10001 ReceiptDir=C:\\ORVANT\\INSTANCE_01 ReceiptWidth=36 WindowsSize=100 BackGroundColor=-2147483633 "
    "UseAvsRules=False AvsDetailsMandatory=True AvsRuleIndex=0 DisableCancel=False CardNoHashValue=True "
    "NextReceiptNumber=1 PrintReceiptFlag=False IsVx670Printer=False ExtendedPinMessage=False PinPadPort=5001");

// The installation's instance.properties for the configuration file as it stands; in XML mode it is
// also the base instance's and holds its seeded receipt number first.
std::string hashLine(const std::string& configuration, bool seeded = false)
{
    std::string digest = tarn::SHA1::sha1(configuration + std::string(tarn::kSalt));
    std::erase(digest, ' ');
    return (seeded ? "NextReceiptNumber=1\r\n" : "") + std::string("ConfigHash=") + digest + "\r\n";
}

class SaveSequencesTest : public InstallationTest
{
protected:
    ConfigSession session;

    // The base instance without a card reader and instance 1 with a Dione PIN pad.
    void writeInstallation(bool xmlMode)
    {
        makeInstanceFolders(1);
        writeMode(xmlMode);
        writeConfiguration(
            { { "00", pairs("Environment=1 PINByPass=False") }, { "01", pairs("PINByPass=False CombiReader=False") } });
        write("properties/terminal.properties", kBaseTerminal);
        write("properties/language.properties", languageFile(kPlainPrompt, true));
        write("INSTANCE_01/properties/terminal.properties", kDioneTerminal);
        write("INSTANCE_01/properties/terminal.emv.properties", "emv.kernel=4\r\n");
        write("INSTANCE_01/properties/language.properties", languageFile(kPlainPrompt, false));
    }

    // The operator picks the Vx670 for instance 1; collecting the controls put it into the record.
    void pickVx670()
    {
        startUp(session);
        ASSERT_EQ(session.instances.size(), 2u);
        ASSERT_EQ(session.instances[1].pinpad, "Dione xtreme");
        session.instances[1].pinpad = "Verifone Vx670";
    }

    void expectOkFiles()
    {
        EXPECT_EQ(configurationFile(), configurationXml({ { "00", kBaseAfterSave }, { "01", kFirstAfterSave } }));
        EXPECT_EQ(read("properties/terminal.properties"), kBaseTerminal);
        EXPECT_EQ(read("properties/language.properties"), languageFile(kPlainPrompt, true));
        EXPECT_EQ(read("INSTANCE_01/properties/terminal.properties"), kVx670Terminal);
        EXPECT_EQ(read("INSTANCE_01/properties/language.properties"), languageFile(kScreenPrompt, true));
        EXPECT_EQ(read("INSTANCE_01/properties/terminal.emv.properties"), "emv.kernel=4\r\n");
    }
};

TEST_F(SaveSequencesTest, Vx670ForInstanceOneThenOkInXmlMode)
{
    writeInstallation(true);
    pickVx670();
    EXPECT_TRUE(tarn::runOkSequence(session));
    EXPECT_TRUE(session.saveSucceeded);
    EXPECT_TRUE(ui.messages.empty());
    expectOkFiles();
    EXPECT_EQ(read("properties/hbl.properties"), "Configuration=xml\r\n");
    // In XML mode each instance's receipt number is seeded; the base instance's file is the
    // installation's, which then also receives the hash.
    EXPECT_EQ(read("INSTANCE_01/properties/instance.properties"), "NextReceiptNumber=1\r\n");
    EXPECT_EQ(read("properties/instance.properties"), hashLine(configurationFile(), true));
    EXPECT_FALSE(registryValue(platform::Hive::CurrentUser, "Harbell_01", "Timeout").has_value());

    // A second OK with nothing changed leaves the configuration file alone.
    const std::string configuration = configurationFile();
    const std::string instanceFile = read("properties/instance.properties");
    const long writes = tarn::XmlConfig::writeCount();
    ConfigSession again;
    tarn::XmlConfig::reset();
    startUp(again);
    EXPECT_EQ(again.instances[1].pinpad, "Verifone Vx670");
    EXPECT_TRUE(tarn::runOkSequence(again));
    EXPECT_EQ(tarn::XmlConfig::writeCount(), writes);
    EXPECT_EQ(configurationFile(), configuration);
    EXPECT_EQ(read("properties/instance.properties"), instanceFile);
    EXPECT_EQ(read("INSTANCE_01/properties/terminal.properties"), kVx670Terminal);
}

TEST_F(SaveSequencesTest, Vx670ForInstanceOneThenOkInRegistryMode)
{
    writeInstallation(false);
    pickVx670();
    EXPECT_TRUE(tarn::runOkSequence(session));
    EXPECT_TRUE(ui.messages.empty());
    expectOkFiles();
    EXPECT_EQ(read("properties/hbl.properties"), "Configuration=registry\r\n");
    EXPECT_FALSE(exists("INSTANCE_01/properties/instance.properties"));
    EXPECT_EQ(read("properties/instance.properties"), hashLine(configurationFile()));

    // Every value goes to both hives, empty ones and unchanged ones included.
    KeyValues expected = kFirstAfterSave;
    for (const char* empty : { "InputDir", "OutputDir", "Top", "Left", "FontName", "Watermark", "Printer" }) {
        expected.emplace_back(empty, "");
    }
    for (const auto hive : { platform::Hive::CurrentUser, platform::Hive::LocalMachine }) {
        for (const auto& [name, value] : expected) {
            EXPECT_EQ(registryValue(hive, "Harbell_01", name), value) << name;
        }
        for (const auto& [name, value] : kBaseAfterSave) {
            EXPECT_EQ(registryValue(hive, "Harbell", name), value) << name;
        }
    }
}

TEST_F(SaveSequencesTest, ApplyWritesNoBasePropertyFiles)
{
    writeInstallation(true);
    std::filesystem::remove(native("properties/language.properties"));
    pickVx670();
    EXPECT_TRUE(tarn::runApplySequence(session));
    EXPECT_TRUE(ui.messages.empty());
    // The device profile sets the amount prompt only; the messages come with OK.
    EXPECT_EQ(read("properties/language.properties"), "en.01=" + kPlainPrompt + "\r\n");
    EXPECT_EQ(read("INSTANCE_01/properties/language.properties"), languageFile(kScreenPrompt, false));
    EXPECT_EQ(read("INSTANCE_01/properties/terminal.properties"), kVx670Terminal);
    EXPECT_EQ(read("properties/instance.properties"), hashLine(configurationFile(), true));
}

TEST_F(SaveSequencesTest, OkWithAClashSavesNothingButRegeneratesTheBaseFiles)
{
    writeInstallation(true);
    std::filesystem::remove(native("properties/language.properties"));
    const std::string configuration = configurationFile();
    pickVx670();
    session.instances[1].receiptDir = "c:\\orvant\\";

    EXPECT_FALSE(tarn::runOkSequence(session));
    EXPECT_FALSE(session.saveSucceeded);
    EXPECT_EQ(ui.messages,
              Messages { "Receipt Directory for default instance is also used by instance 1. "
                         "Please provide another value." });
    EXPECT_EQ(configurationFile(), configuration);
    EXPECT_EQ(read("INSTANCE_01/properties/terminal.properties"), kDioneTerminal);
    EXPECT_EQ(read("properties/language.properties"), languageFile(kPlainPrompt, true));
    EXPECT_EQ(read("INSTANCE_01/properties/language.properties"), languageFile(kPlainPrompt, true));
    EXPECT_EQ(read("properties/instance.properties"), hashLine(configuration));
}

TEST_F(SaveSequencesTest, OkWithARefusedTimeoutSavesTheOthersAndStaysOpen)
{
    writeInstallation(true);
    pickVx670();
    session.instances[1].timeout = "5";
    session.instances[0].receiptWidth = "40";

    EXPECT_FALSE(tarn::runOkSequence(session));
    EXPECT_EQ(ui.messages,
              Messages { "Enter Correct Card Inactivity Timeout between 10 to 90,Then "
                         "Press Ok (Do not press Apply Button)" });
    EXPECT_EQ(storedValue("ReceiptWidth", 0), "40");
    EXPECT_EQ(storedValue("Timeout", 1), "<absent>");
    EXPECT_EQ(read("INSTANCE_01/properties/terminal.properties"), kDioneTerminal);
}

TEST_F(SaveSequencesTest, UnwritableOrUnreadableTerminalPropertiesIsReportedOnceAndOkDoesNotEnd)
{
    writeInstallation(true);
    removePermissions(native("INSTANCE_01/properties/terminal.properties"), kWriteBits);
    pickVx670();
    EXPECT_FALSE(tarn::runOkSequence(session));
    EXPECT_TRUE(session.saveSucceeded);
    EXPECT_EQ(ui.messages, Messages { kNotWritten });
    EXPECT_EQ(read("INSTANCE_01/properties/terminal.properties"), kDioneTerminal);
    // Everything else is written as usual.
    EXPECT_EQ(read("INSTANCE_01/properties/language.properties"), languageFile(kScreenPrompt, true));
    EXPECT_EQ(storedValue("PinPadPort", 1), "5001");
    EXPECT_EQ(read("properties/instance.properties"), hashLine(configurationFile(), true));

    // A file that could not be read is not overwritten by the next session's save either.
    const auto file = native("INSTANCE_01/properties/terminal.properties");
    removePermissions(file, std::filesystem::perms::all);
    ConfigSession unread;
    tarn::XmlConfig::reset();
    ui.messages.clear();
    startUp(unread);
    ASSERT_EQ(ui.messages.size(), 1u);
    ui.messages.clear();
    EXPECT_FALSE(tarn::runOkSequence(unread));
    EXPECT_EQ(ui.messages, Messages { kNotWritten });
    std::filesystem::permissions(file, std::filesystem::perms::owner_read, std::filesystem::perm_options::add);
    EXPECT_EQ(read("INSTANCE_01/properties/terminal.properties"), kDioneTerminal);
}

TEST_F(SaveSequencesTest, UnwritableConfigurationFileKeepsTheWindowOpen)
{
    writeInstallation(true);
    pickVx670();
    removePermissions(native("conf/ORVANTConfiguration.xml"), kWriteBits);
    EXPECT_FALSE(tarn::runOkSequence(session));
    EXPECT_TRUE(session.storeFailed);
    // Reported once by the configuration store, not once per value.
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].rfind("Unable to save configuration to file C:\\ORVANT\\conf\\ORVANTConfiguration.xml", 0),
              0u);
}

TEST_F(SaveSequencesTest, RegistryModeWithoutConfigurationFileStillSavesAndEnds)
{
    writeInstallation(false);
    std::filesystem::remove(native("conf/ORVANTConfiguration.xml"));
    startUp(session);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_TRUE(tarn::runOkSequence(session));
    EXPECT_EQ(ui.messages.size(), 1u);
    EXPECT_FALSE(session.storeFailed);
    EXPECT_EQ(registryValue(platform::Hive::LocalMachine, "Harbell", "Timeout"), "30");
    EXPECT_FALSE(exists("conf/ORVANTConfiguration.xml"));
    // Without a configuration file there is nothing to hash.
    EXPECT_FALSE(exists("properties/instance.properties"));
}

} // namespace
} // namespace orvant::test
