#include "config_tool/engine_files/DeviceProfiles.h"
#include "tests/config_tool/engine_files/EngineFileTesting.h"

#include <filesystem>

namespace tarn::test {
namespace {

// A terminal.properties last written for the Verifone Vx670, with a comment, base keys around the
// device keys and the IP address the installer set.
const std::string kVx670File = crlf(R"(
# written for the Vx670
name=terminal.properties
version=1.00
pinVerification.class=sts.businesslogic.basicPinVerification
smartCardReader.class=sts.drivers.cardholder.Verifone7816IPServerDriver
magStripeReader.class=sts.drivers.cardholder.STSMagStripeUsingSmartCardReader
cardHolderKeyPad.class=sts.drivers.cardholder.STSKeyPadUsingSmartCardReader
cardHolderDisplay.class=sts.drivers.cardholder.STSDisplayUsingSmartCardReader
cardHolderSelection.class=sts.businesslogic.basicCardHolderSelection
smartCardReader.timeout=20000
cardHolderSelection.timeout=60000
pinVerification.timeout=60000
cardHolderDisplay.rows=6
smartCardReader.IP.address=10.0.0.7
smartCardReader.IP.port=5001
cardHolderDisplay.selections.perpage=5
logging.class=sts.logging.STSAuditLoggingSFNNoDir
)");

// A terminal.properties last written for the Dione without magnetic stripe.
const std::string kDioneNoMagStripeFile = crlf(R"(
name=terminal.properties
smartCardReader.port=COM4
smartCardReader.baudrate.initial=57600
smartCardReader.class=sts.drivers.cardholder.DioneDriver
magStripeReader.class=sts.drivers.cardholder.noMagStripeReader
cardHolderKeyPad.class=sts.drivers.cardholder.DioneDriver
cardHolderDisplay.class=sts.drivers.cardholder.DioneDriver
pinVerification.class=sts.businesslogic.basicPinVerification
cardHolderSelection.class=sts.businesslogic.advancedCardHolderSelection
smartCardReader.timeout=2000
DioneNoMagStripe.Flag=Yes
pinpad.name=Dione secura UPT No MagStripe
logging.class=sts.logging.STSAuditLoggingSFNNoDir
)");

// The pound sign is the single byte A3 on disk and must survive the rewrite.
const std::string kLanguageFile = "# display\r\nen.01=AMOUNT #\r\nen.02=OK?\r\nen.18=REFUND \xA3\r\n";

std::string expectedLanguage(const std::string& prompt)
{
    return "en.01=" + prompt + "\r\nen.02=OK?\r\nen.18=REFUND \xA3\r\n";
}

// Expected files are built from these shared pieces, each written out literally.
std::string drivers(const std::string& driverClass) // one class for all four device drivers
{
    const std::string value = "=sts.drivers.cardholder." + driverClass + "\n";
    return "smartCardReader.class" + value + "magStripeReader.class" + value + "cardHolderKeyPad.class" + value
        + "cardHolderDisplay.class" + value;
}
// Rewritten from kVx670File: its first keys keep their place.
const std::string kVx670Start = "name=terminal.properties\nversion=1.00\npinVerification.class=sts.businesslogic.";
const std::string kRowsAndLogging = "cardHolderDisplay.rows=6\nlogging.class=sts.logging.STSAuditLoggingSFNNoDir\n";
const std::string kDioneBody = "cardHolderSelection.class=sts.businesslogic.advancedCardHolderSelection\n"
                               "smartCardReader.timeout=2000\n"
    + kRowsAndLogging + "smartCardReader.port=COM3\nsmartCardReader.baudrate.initial=57600\n";

struct ProfileCase
{
    const char* model;
    const std::string* startFile;
    std::string expectedTerminal;
    std::string expectedPrompt; // as the bytes of the file
};

std::vector<ProfileCase> profileCases()
{
    return {
        { "No Card Reader", &kVx670File,
          crlf(kVx670Start + "basicPinVerification\nsmartCardReader.timeout=10000\n" + kRowsAndLogging
               + "cardHolderDisplay.firstpage.prompt=CONFRM\n"),
          R"(\\nlAMOUNT #)" },
        { "Verifone sc5000", &kVx670File,
          crlf(kVx670Start + "enhancedPinVerification\n" + drivers("VerifoneSC5000Driver")
               + R"(cardHolderSelection.class=sts.businesslogic.advancedCardHolderSelection
cardHolderSelection.timeout=20000
pinVerification.timeout=20000
)" + kRowsAndLogging
               + R"(smartCardReader.port=COM3
smartCardReader.baudrate.initial=19200
cardHolderDisplay.firstpage.prompt=CONFRM
pinpad.name=Verifone sc5000
)"),
          R"(\\sf\\nlAMOUNT #)" },
        { "Verifone Vx670", &kDioneNoMagStripeFile, crlf(R"(
name=terminal.properties
smartCardReader.class=sts.drivers.cardholder.Verifone7816IPServerDriver
magStripeReader.class=sts.drivers.cardholder.STSMagStripeUsingSmartCardReader
cardHolderKeyPad.class=sts.drivers.cardholder.STSKeyPadUsingSmartCardReader
cardHolderDisplay.class=sts.drivers.cardholder.STSDisplayUsingSmartCardReader
pinVerification.class=sts.businesslogic.basicPinVerification
cardHolderSelection.class=sts.businesslogic.basicCardHolderSelection
smartCardReader.timeout=20000
logging.class=sts.logging.STSAuditLoggingSFNNoDir
cardHolderSelection.timeout=60000
pinVerification.timeout=60000
cardHolderDisplay.rows=6
smartCardReader.IP.port=5003
cardHolderDisplay.selections.perpage=5
)"),
          R"(\\sf\\nlAMOUNT #)" },
        { "Dione xtreme", &kVx670File,
          crlf(kVx670Start + "basicPinVerification\n" + drivers("DioneDriver") + kDioneBody
               + "pinpad.name=Dione xtreme\n"),
          R"(\\nlAMOUNT #)" },
        { "Dione secura UPT No MagStripe", &kVx670File, crlf(kVx670Start + R"(basicPinVerification
smartCardReader.class=sts.drivers.cardholder.DioneDriver
magStripeReader.class=sts.drivers.cardholder.noMagStripeReader
cardHolderKeyPad.class=sts.drivers.cardholder.DioneDriver
cardHolderDisplay.class=sts.drivers.cardholder.DioneDriver
)" + kDioneBody + "DioneNoMagStripe.Flag=Yes\npinpad.name=Dione secura UPT No MagStripe\n"),
          R"(\\nlAMOUNT #)" },
        { "Trintech smart 5000", &kVx670File,
          crlf(kVx670Start + "enhancedPinVerification\n" + drivers("TrintechDriver01")
               + R"(cardHolderSelection.class=sts.businesslogic.basicCardHolderSelection
smartCardReader.timeout=10000
)" + kRowsAndLogging
               + R"(smartCardReader.baudrate.initial=19200
pinpad.name=Trintech smart 5000
smartCardReader.port=COM3
)"),
          R"(\\nlAMOUNT #)" },
        { "Sagem", &kDioneNoMagStripeFile,
          crlf(R"(
name=terminal.properties
smartCardReader.port=COM3,COM5
smartCardReader.baudrate.initial=115200,115200
)" + drivers("STSSerialSmartHybridPinPadReaderProtocol")
               + R"(pinVerification.class=sts.businesslogic.enhancedPinVerification
cardHolderSelection.class=sts.businesslogic.basicCardHolderSelection
smartCardReader.timeout=4000
pinpad.name=Sagem
logging.class=sts.logging.STSAuditLoggingSFNNoDir
pinVerification.timeout=30000
cardHolderSelection.timeout=10000
cardHolderDisplay.firstpage.prompt=CONFRM
smartCardReader.protocol.class=dk.sagem.stsapi.STSSerialProtocolLayer
)"),
          R"(\\nlAMOUNT #)" },
        { "Ingenico 3300", &kVx670File, crlf(kVx670Start + R"(enhancedPinVerification
smartCardReader.class=sts.drivers.cardholder.IFPinPad7505Driver
magStripeReader.class=sts.drivers.cardholder.noMagStripeReader
cardHolderKeyPad.class=sts.drivers.cardholder.IFPinPad7505Driver
cardHolderDisplay.class=sts.drivers.cardholder.IFPinPad7505Driver
cardHolderSelection.class=sts.businesslogic.basicCardHolderSelection
smartCardReader.timeout=4000
cardHolderSelection.timeout=10000
pinVerification.timeout=30000
)" + kRowsAndLogging + R"(smartCardReader.port=COM3
smartCardReader.baudrate.initial=19200
pinpad.name=Ingenico 3300
)"),
          "AMOUNT #" },
        { "Verifone Vx810", &kDioneNoMagStripeFile, crlf(R"(
name=terminal.properties
smartCardReader.port=COM3
smartCardReader.baudrate.initial=57600
)" + drivers("VerifoneVx7816Driver") + R"(pinVerification.class=sts.businesslogic.basicPinVerification
cardHolderSelection.class=sts.businesslogic.advancedCardHolderSelection
smartCardReader.timeout=3000
pinpad.name=Verifone Vx810
logging.class=sts.logging.STSAuditLoggingSFNNoDir
pinVerification.timeout=30000
cardHolderSelection.timeout=30000
cardHolderDisplay.firstpage.prompt=CONFRM
cardHolderDisplay.selections.perpage=4
)"),
          "AMOUNT #" },
    };
}

class DeviceProfileTest : public EngineFileTest
{
protected:
    // Instance n's record as loaded: both stores from the files on disk.
    CInstanceData loadedRecord(std::int16_t n, const std::string& model, const std::string& terminal,
                               const std::string& language = kLanguageFile)
    {
        const std::string folder
            = n == 0 ? std::string("properties/") : "INSTANCE_0" + std::to_string(n) + "/properties/";
        writeFile(folder + "terminal.properties", terminal);
        writeFile(folder + "language.properties", language);
        const std::string stored = n == 0 ? std::string("C:\\ORVANT\\properties\\")
                                          : "C:\\ORVANT\\INSTANCE_0" + std::to_string(n) + "\\properties\\";
        CInstanceData record;
        EXPECT_TRUE(record.pinpadProperties.load(stored + "terminal.properties").ok);
        EXPECT_TRUE(record.languageProperties.load(stored + "language.properties").ok);
        record.pinpad = model;
        record.comport = "COM3";
        record.comportReader = "COM5";
        record.PinPadPort = "5003";
        return record;
    }
};

TEST_F(DeviceProfileTest, everyProfileRewritesAFileWrittenForAnotherModel)
{
    for (const auto& c : profileCases()) {
        SCOPED_TRACE(c.model);
        CInstanceData record = loadedRecord(1, c.model, *c.startFile);
        writeDeviceProfile(record, 1, kPropertiesFolder, m_failures);
        EXPECT_EQ(readFile("INSTANCE_01/properties/terminal.properties"), c.expectedTerminal);
        EXPECT_EQ(readFile("INSTANCE_01/properties/language.properties"), expectedLanguage(c.expectedPrompt));
        EXPECT_TRUE(m_failures.empty());
    }
}

TEST_F(DeviceProfileTest, everyDioneNameSelectsTheDioneProfileAndWritesItsOwnName)
{
    for (const char* model : { "Dione secura", "Dione xplorer", "Dione xtreme", "Dione secura UPT" }) {
        SCOPED_TRACE(model);
        CInstanceData record = loadedRecord(1, model, kVx670File);
        writeDeviceProfile(record, 1, kPropertiesFolder, m_failures);
        EXPECT_EQ(record.pinpadProperties.getValue("pinpad.name"), model);
        EXPECT_EQ(record.pinpadProperties.getValue("smartCardReader.class"), "sts.drivers.cardholder.DioneDriver");
        EXPECT_EQ(record.pinpadProperties.getValue("smartCardReader.baudrate.initial"), "57600");
    }
}

TEST_F(DeviceProfileTest, vx670KeepsTheInstallersAddressAndRowsOutliveIt)
{
    CInstanceData record = loadedRecord(1, "Verifone Vx670", kVx670File);
    record.PinPadPort = "5009";
    writeDeviceProfile(record, 1, kPropertiesFolder, m_failures);
    EXPECT_EQ(record.pinpadProperties.getValue("smartCardReader.IP.address"), "10.0.0.7");
    EXPECT_EQ(record.pinpadProperties.getValue("smartCardReader.IP.port"), "5009");

    // No profile removes the display rows the Vx670 set.
    record.pinpad = "Verifone sc5000";
    writeDeviceProfile(record, 1, kPropertiesFolder, m_failures);
    EXPECT_EQ(record.pinpadProperties.getValue("cardHolderDisplay.rows"), "6");
}

TEST_F(DeviceProfileTest, sagemWithoutAReaderPortWritesTheSeparatorAlone)
{
    CInstanceData record = loadedRecord(1, "Sagem", kVx670File);
    record.comport = "COM1";
    record.comportReader.clear();
    writeDeviceProfile(record, 1, kPropertiesFolder, m_failures);
    EXPECT_EQ(record.pinpadProperties.getValue("smartCardReader.port"), "COM1,");
}

TEST_F(DeviceProfileTest, aModelOutsideTheListRewritesBothFilesUnchangedButWithoutComments)
{
    CInstanceData record = loadedRecord(1, "Verifone Vx999", kVx670File);
    writeDeviceProfile(record, 1, kPropertiesFolder, m_failures);
    EXPECT_EQ(readFile("INSTANCE_01/properties/terminal.properties"), kVx670File.substr(kVx670File.find("\r\n") + 2));
    EXPECT_EQ(readFile("INSTANCE_01/properties/language.properties"), expectedLanguage("AMOUNT #"));
    EXPECT_TRUE(m_failures.empty());
}

TEST_F(DeviceProfileTest, theBaseInstanceWritesUnderThePropertiesFolderItself)
{
    CInstanceData record = loadedRecord(0, "Ingenico 3300", kVx670File);
    writeDeviceProfile(record, 0, kPropertiesFolder, m_failures);
    EXPECT_EQ(readFile("properties/terminal.properties"), profileCases()[7].expectedTerminal);
    EXPECT_FALSE(fileThere("INSTANCE_00"));
}

TEST_F(DeviceProfileTest, aMissingFileIsCreatedWithTheProfileKeysOnly)
{
    CInstanceData record;
    record.pinpad = "No Card Reader";
    makeFolder("INSTANCE_02/properties");
    writeDeviceProfile(record, 2, kPropertiesFolder, m_failures);
    EXPECT_EQ(readFile("INSTANCE_02/properties/terminal.properties"),
              crlf("cardHolderDisplay.firstpage.prompt=CONFRM\nsmartCardReader.timeout=10000\n"));
    EXPECT_EQ(readFile("INSTANCE_02/properties/language.properties"), crlf(R"(en.01=\\nlAMOUNT #
)"));
}

TEST_F(DeviceProfileTest, filesThatCannotBeWrittenAreRecordedAndKeepTheirContent)
{
    CInstanceData record = loadedRecord(1, "Sagem", kVx670File);
    const auto folder = m_folder.path() / onDisk("INSTANCE_01/properties");
    std::filesystem::permissions(folder, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    writeDeviceProfile(record, 1, kPropertiesFolder, m_failures);
    EXPECT_EQ(m_failures.files,
              (std::vector<std::string> { "C:\\ORVANT\\INSTANCE_01\\properties\\terminal.properties",
                                          "C:\\ORVANT\\INSTANCE_01\\properties\\language.properties" }));
    EXPECT_EQ(readFile("INSTANCE_01/properties/terminal.properties"), kVx670File);
}

TEST(PinPadModelNames, listTheTwelveModelsInSelectionOrder)
{
    EXPECT_EQ(pinPadModelNames(),
              (std::vector<std::string> { "No Card Reader", "Verifone sc5000", "Verifone Vx670", "Dione secura",
                                          "Dione xplorer", "Dione xtreme", "Dione secura UPT",
                                          "Dione secura UPT No MagStripe", "Trintech smart 5000", "Sagem",
                                          "Ingenico 3300", "Verifone Vx810" }));
}

} // namespace
} // namespace tarn::test
