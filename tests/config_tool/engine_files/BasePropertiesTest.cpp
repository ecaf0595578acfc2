#include "config_tool/engine_files/BaseProperties.h"

#include "tests/config_tool/engine_files/EngineFileTesting.h"

#include <filesystem>

namespace tarn::test {
namespace {

const std::string kBaseKeysOfInstance1 = R"(
name=terminal.properties
version=1.00
date=Mon Jun 24 14:00:00 BST 2002
properties.directory=C:/ORVANT/INSTANCE_01/properties
logging.directory=logs\\
logging.extension=txt
logging.class=sts.logging.STSAuditLoggingSFNNoDir
cardPaymentSystem.class=mardo.orvant.cps.MARDOEPOSServerConnector
pinProgress.class=mardo.orvant.services.OrvantPinProgress
smartCardReader.reporting=yes
pinVerification.class.timeout=30000
)";

// Every message after the amount prompt, as the file holds them: "£" is the byte A3.
const std::string kMessagesAfterPrompt
    = "en.02=OK?\r\nen.03=APPROVED\r\nen.04=CALL YOUR BANK\r\nen.05=CANCEL OR ENTER\r\nen.06=CARD ERROR\r\n"
      "en.07=DECLINED\r\nen.08=ENTER AMOUNT\r\nen.09=ENTER PIN\r\nen.0A=INCORRECT PIN\r\nen.0B=\r\n"
      "en.0C=NOT ACCEPTED\r\nen.0D=PIN OK\r\nen.0E=PLEASE WAIT\r\nen.0F=PROCESSING ERROR\r\nen.10=REMOVE CARD\r\n"
      "en.11=USE CHIP READER\r\nen.12=USE MAG STRIPE\r\nen.13=TRY AGAIN\r\nen.14=LAST PIN TRY\r\n"
      "en.15=CANCELLED\r\nen.16=PIN LOCKED\r\nen.17=CALL CARD ISSUER\r\nen.18=REFUND \xA3\r\nen.51=SIGN RECEIPT\r\n"
      "en.IBM.test=IBM MESSAGE\r\nen.emvelink=Kelbrin - Harb\r\nen.testing=Testing...\r\n";

using BasePropertiesTest = EngineFileTest;

TEST_F(BasePropertiesTest, aMissingTerminalFileGetsTheElevenBaseKeysInOrder)
{
    makeFolder("INSTANCE_01/properties");
    CInstanceData record;
    record.pinpad = "Verifone Vx810";
    writeBaseTerminalProperties(record, 1, kPropertiesFolder, m_failures);
    EXPECT_EQ(readFile("INSTANCE_01/properties/terminal.properties"), crlf(kBaseKeysOfInstance1));
    EXPECT_EQ(record.pinpadProperties.getValue("version"), "1.00");
    EXPECT_TRUE(m_failures.empty());
}

TEST_F(BasePropertiesTest, theDioneWithoutMagneticStripeAlwaysGetsItsFlag)
{
    makeFolder("INSTANCE_01/properties");
    CInstanceData record;
    record.pinpad = "Dione secura UPT No MagStripe";
    writeBaseTerminalProperties(record, 1, kPropertiesFolder, m_failures);
    EXPECT_EQ(readFile("INSTANCE_01/properties/terminal.properties"),
              crlf(kBaseKeysOfInstance1 + "DioneNoMagStripe.Flag=Yes\n"));

    writeFile("INSTANCE_01/properties/terminal.properties", "DioneNoMagStripe.Flag=No\r\n");
    writeBaseTerminalProperties(record, 1, kPropertiesFolder, m_failures);
    EXPECT_EQ(readFile("INSTANCE_01/properties/terminal.properties").substr(0, 27), "DioneNoMagStripe.Flag=Yes\r\n");
}

TEST_F(BasePropertiesTest, presentValuesStayAndEmptyOnesAreFilledInPlace)
{
    writeFile("INSTANCE_03/properties/terminal.properties", crlf(R"(
# hand edited
smartCardReader.class=sts.drivers.cardholder.DioneDriver
version=
properties.directory=C:/Elsewhere/INSTANCE_07/properties
pinVerification.timeout=60000
name=custom.properties
logging.extension=log
)"));
    CInstanceData record;
    record.pinpad = "Dione secura";
    writeBaseTerminalProperties(record, 3, kPropertiesFolder, m_failures);
    EXPECT_EQ(readFile("INSTANCE_03/properties/terminal.properties"), crlf(R"(
smartCardReader.class=sts.drivers.cardholder.DioneDriver
version=1.00
properties.directory=C:/Elsewhere/INSTANCE_07/properties
pinVerification.timeout=60000
name=custom.properties
logging.extension=log
date=Mon Jun 24 14:00:00 BST 2002
logging.directory=logs\\
logging.class=sts.logging.STSAuditLoggingSFNNoDir
cardPaymentSystem.class=mardo.orvant.cps.MARDOEPOSServerConnector
pinProgress.class=mardo.orvant.services.OrvantPinProgress
smartCardReader.reporting=yes
pinVerification.class.timeout=30000
)"));
}

TEST_F(BasePropertiesTest, thePropertiesDirectoryFollowsTheFolderAsTyped)
{
    makeFolder("properties");
    CInstanceData base;
    writeBaseTerminalProperties(base, 0, kPropertiesFolder, m_failures);
    EXPECT_EQ(base.pinpadProperties.getValue("properties.directory"), "C:/ORVANT/properties");

    orvant::test::ScopedEnv driveD("ORVANT_DRIVE_D", (m_folder.path() / "drive_d").string());
    std::filesystem::create_directories(m_folder.path() / "drive_d/Pay/ORVANT/INSTANCE_02/properties");
    CInstanceData second;
    writeBaseTerminalProperties(second, 2, "D:\\Pay\\ORVANT", m_failures);
    EXPECT_EQ(second.pinpadProperties.getValue("properties.directory"), "D:/Pay/ORVANT/INSTANCE_02/properties");
    EXPECT_TRUE(m_folder.exists("drive_d/Pay/ORVANT/INSTANCE_02/properties/terminal.properties"));
    EXPECT_TRUE(m_failures.empty());
}

TEST_F(BasePropertiesTest, aMissingLanguageFileGetsEveryMessageWithThePoundAsOneByte)
{
    makeFolder("INSTANCE_01/properties");
    CInstanceData record;
    record.pinpad = "Ingenico 3300";
    writeLanguageProperties(record, 1, kPropertiesFolder, m_failures);
    EXPECT_EQ(readFile("INSTANCE_01/properties/language.properties"), "en.01=AMOUNT #\r\n" + kMessagesAfterPrompt);
    EXPECT_EQ(record.languageProperties.getValue("en.18"), "REFUND \u00A3");
}

TEST_F(BasePropertiesTest, theAmountPromptDefaultDependsOnTheModel)
{
    const std::pair<const char*, const char*> prompts[] = {
        { "No Card Reader", R"(\\nlAMOUNT #)" },
        { "Verifone sc5000", R"(\\sf\\nlAMOUNT #)" },
        { "Verifone Vx670", R"(\\sf\\nlAMOUNT #)" },
        { "Dione secura UPT", R"(\\nlAMOUNT #)" },
        { "Dione xplorer", R"(\\nlAMOUNT #)" },
        { "Dione xtreme", R"(\\nlAMOUNT #)" },
        { "Dione secura", R"(\\nlAMOUNT #)" },
        { "Trintech smart 5000", R"(\\nlAMOUNT #)" },
        { "Sagem", R"(\\nlAMOUNT #)" },
        { "Ingenico 3300", "AMOUNT #" },
    };
    for (const auto& [model, prompt] : prompts) {
        SCOPED_TRACE(model);
        writeFile("INSTANCE_01/properties/language.properties", "en.01=\r\n");
        CInstanceData record;
        record.pinpad = model;
        writeLanguageProperties(record, 1, kPropertiesFolder, m_failures);
        EXPECT_EQ(readFile("INSTANCE_01/properties/language.properties"),
                  "en.01=" + std::string(prompt) + "\r\n" + kMessagesAfterPrompt);
    }
    // These two get their prompt from the device profile only.
    for (const char* model : { "Verifone Vx810", "Dione secura UPT No MagStripe", "verifone vx670" }) {
        SCOPED_TRACE(model);
        writeFile("INSTANCE_01/properties/language.properties", "");
        CInstanceData record;
        record.pinpad = model;
        writeLanguageProperties(record, 1, kPropertiesFolder, m_failures);
        EXPECT_EQ(readFile("INSTANCE_01/properties/language.properties"), kMessagesAfterPrompt);
    }
}

TEST_F(BasePropertiesTest, handEditedMessagesSurviveAndGapsAreFilled)
{
    writeFile("INSTANCE_01/properties/language.properties",
              "en.03=GENEHMIGT\r\nen.01=PRICE #\r\nen.05=\r\nen.18=ERSTATTUNG \x80\r\nen.custom=kept\r\n");
    CInstanceData record;
    record.pinpad = "Sagem";
    writeLanguageProperties(record, 1, kPropertiesFolder, m_failures);
    const std::string written = readFile("INSTANCE_01/properties/language.properties");
    const std::string kept
        = "en.03=GENEHMIGT\r\nen.01=PRICE #\r\nen.05=CANCEL OR ENTER\r\nen.18=ERSTATTUNG \x80\r\nen.custom=kept\r\n";
    EXPECT_EQ(written.substr(0, kept.size()), kept);
    EXPECT_EQ(written.substr(kept.size(), 11), "en.02=OK?\r\n");
    EXPECT_EQ(written.find("en.03=APPROVED"), std::string::npos);
    EXPECT_EQ(written.find("REFUND"), std::string::npos);
}

TEST_F(BasePropertiesTest, writeDefaultPropertiesCompletesEveryInstanceAndKeepsTheFreshStores)
{
    std::vector<CInstanceData> instances(3);
    for (auto& record : instances) {
        record.pinpad = "Ingenico 3300";
    }
    makeFolder("properties");
    makeFolder("INSTANCE_01/properties");
    makeFolder("INSTANCE_02/properties");
    instances[2].pinpadProperties.addKeyValue("stale", "in memory only");
    writeDefaultProperties(instances, kPropertiesFolder, m_failures);

    EXPECT_EQ(instances[0].pinpadProperties.getValue("properties.directory"), "C:/ORVANT/properties");
    EXPECT_EQ(instances[2].pinpadProperties.getValue("properties.directory"), "C:/ORVANT/INSTANCE_02/properties");
    EXPECT_EQ(instances[2].pinpadProperties.getValue("stale"), "ZZZ_NO_VALUE_ZZZ");
    EXPECT_EQ(instances[1].languageProperties.getValue("en.01"), "AMOUNT #");
    EXPECT_EQ(readFile("INSTANCE_01/properties/language.properties"), "en.01=AMOUNT #\r\n" + kMessagesAfterPrompt);
    EXPECT_TRUE(fileThere("properties/terminal.properties"));
    EXPECT_TRUE(m_failures.empty());
}

TEST_F(BasePropertiesTest, anUnreadableFileIsLeftAloneAndReported)
{
    const std::string original = "smartCardReader.class=sts.drivers.cardholder.DioneDriver\r\n";
    writeFile("INSTANCE_01/properties/terminal.properties", original);
    const auto file = m_folder.path() / onDisk("INSTANCE_01/properties/terminal.properties");
    std::filesystem::permissions(file, std::filesystem::perms::all, std::filesystem::perm_options::remove);
    std::filesystem::permissions(file, std::filesystem::perms::owner_write, std::filesystem::perm_options::add);

    CInstanceData record;
    record.pinpadProperties.addKeyValue("smartCardReader.class", "as loaded");
    writeBaseTerminalProperties(record, 1, kPropertiesFolder, m_failures);
    EXPECT_EQ(m_failures.files,
              std::vector<std::string> { "C:\\ORVANT\\INSTANCE_01\\properties\\terminal.properties" });
    EXPECT_EQ(record.pinpadProperties.getValue("smartCardReader.class"), "as loaded");
    std::filesystem::permissions(file, std::filesystem::perms::owner_read, std::filesystem::perm_options::add);
    EXPECT_EQ(readFile("INSTANCE_01/properties/terminal.properties"), original);
}

TEST_F(BasePropertiesTest, aFolderThatCannotBeWrittenIsReported)
{
    CInstanceData record;
    writeBaseTerminalProperties(record, 4, kPropertiesFolder, m_failures);
    writeLanguageProperties(record, 4, kPropertiesFolder, m_failures);
    EXPECT_EQ(m_failures.files,
              (std::vector<std::string> { "C:\\ORVANT\\INSTANCE_04\\properties\\terminal.properties",
                                          "C:\\ORVANT\\INSTANCE_04\\properties\\language.properties" }));
    EXPECT_FALSE(fileThere("INSTANCE_04"));
}

} // namespace
} // namespace tarn::test
