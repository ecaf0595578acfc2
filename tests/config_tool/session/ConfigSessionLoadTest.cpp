#include "config_tool/model/InstanceNaming.h"
#include "tests/config_tool/model/ModelTesting.h"

#include <filesystem>

namespace orvant::test {
namespace {

using tarn::CheckState;
using tarn::ConfigSession;

class ConfigSessionLoadTest : public InstallationTest
{
protected:
    ConfigSession session;

    // A configuration holding the given values for instance 0 and PINByPass for instances 1..count.
    void writeInstances(int count, const KeyValues& baseValues = {}, const KeyValues& firstValues = {})
    {
        std::vector<StoredInstance> list { { "00", baseValues } };
        for (int n = 1; n <= count; ++n) {
            KeyValues values { { "PINByPass", "False" } };
            if (n == 1) {
                values.insert(values.end(), firstValues.begin(), firstValues.end());
            }
            list.push_back({ tarn::getInstanceString(static_cast<std::int16_t>(n)), values });
        }
        writeConfiguration(list);
        writeMode(true);
        makeInstanceFolders(count);
    }

    // A fresh session started on what is now on disk.
    ConfigSession& restart()
    {
        tarn::XmlConfig::reset();
        session = ConfigSession();
        return session;
    }
};

TEST_F(ConfigSessionLoadTest, WithoutConfigurationFileOnlyTheBaseInstanceWithDefaults)
{
    startUp(session);
    EXPECT_EQ(ui.messages,
              Messages { "Unable to load configuration from file "
                         "C:\\ORVANT\\conf\\ORVANTConfiguration.xml" });
    ASSERT_EQ(session.instances.size(), 1u);
    EXPECT_EQ(session.instanceSections, Messages { "Harbell" });

    const auto& base = session.instances[0];
    const auto& window = session.common;
    EXPECT_EQ(fields(base.timeout, base.checkCardTimeout, base.port, base.receiptPort, base.PinPadPort, base.receiptDir,
                     base.receiptWidth, base.logoFile, base.top, base.left, base.nextReceiptNumber, base.pinpad,
                     base.comport),
              "30|10|10000|20000|5000|C:\\ORVANT|36|C:\\ORVANT\\kelbrin_logo.jpg|||1|No Card Reader||");
    EXPECT_EQ(fields(base.environment, base.WindowsSize, base.referralMode, base.interfaceMethod, base.avsRuleIndex,
                     base.avsDetailsMandatory, base.cardNoHashValue, base.pinByPass, base.sendReceipt,
                     base.backgroundColor),
              "1|100|1|0|0|true|true|false|false|-2147483633|");
    EXPECT_EQ(fields(window.classPath, window.propertyDir, window.hblHost, window.hblPort, window.deleteTransAfterMin),
              "C:\\ORVANT\\kelbrin-cps.jar|C:\\ORVANT|127.0.0.1|9000|50|");
    EXPECT_EQ(std::vector({ window.allowSplit, window.showConfirmTxnScreen, window.transactionResultMandatory,
                            window.checkUpgrade, window.autoUpgrade }),
              std::vector({ CheckState::Checked, CheckState::Checked, CheckState::Unchecked, CheckState::Checked,
                            CheckState::Unchecked }));
}

TEST_F(ConfigSessionLoadTest, AGapOrTheLastNumberTheNamingCarriesEndsTheInstanceList)
{
    writeConfiguration({ { "00", {} },
                         { "01", pairs("PINByPass=True") },
                         { "02", pairs("PINByPass=False") },
                         { "04", pairs("PINByPass=False") } });
    startUp(session);
    ASSERT_EQ(session.instances.size(), 3u);
    EXPECT_EQ(session.instanceSections, (Messages { "Harbell", "Harbell_01", "Harbell_02" }));
    EXPECT_TRUE(session.instances[1].pinByPass);
    EXPECT_EQ(session.instances[2].port, "10002");
    EXPECT_EQ(session.instances[2].receiptDir, "C:\\ORVANT\\INSTANCE_02");

    std::vector<StoredInstance> list { { "00", {} } };
    for (int n = 1; n <= 100; ++n) {
        list.push_back({ std::to_string(n), pairs("PINByPass=False") });
    }
    writeConfiguration(list);
    startUp(restart());
    ASSERT_EQ(session.instances.size(), 100u);
    EXPECT_EQ(session.instanceSections[9], "Harbell_09");
    EXPECT_EQ(session.instanceSections[12], "Harbell_12");
    EXPECT_EQ(session.instanceSections.back(), "Harbell_99");
    EXPECT_EQ(session.instances[12].PinPadPort, "5012");
}

TEST_F(ConfigSessionLoadTest, StoredPositionsInTwipsBecomePixels)
{
    struct Case
    {
        int width, height, twipsPerPixel;
        const char *top, *left, *shownTop, *shownLeft; // null: not stored
    };
    const Case cases[] = {
        { 1024, 768, 15, "2000", "20000", "133", "1333" }, // 133.3 and 1333.3
        { 1024, 768, 15, "200", "1000", "200", "1000" },   { 1024, 768, 15, nullptr, nullptr, "", "" },
        { 768, 768, 12, "1830", "1842", "152", "154" }, // halves to even: 152.5 and 153.5
        { 768, 768, 12, "769", "768", "64", "768" }, // just beyond the screen: twips; exactly the screen: pixels
        { 0, 0, 0, "2000", " 30", "2000", " 30" }, // without screen metrics as stored
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.top ? c.top : "absent") + " at " + std::to_string(c.width));
        writeInstances(0, c.top ? KeyValues { { "Top", c.top }, { "Left", c.left } } : KeyValues {});
        restart();
        session.desktop.screenWidthPixels = c.width;
        session.desktop.screenHeightPixels = c.height;
        session.desktop.twipsPerPixelX = session.desktop.twipsPerPixelY = c.twipsPerPixel;
        startUp(session);
        EXPECT_EQ(session.instances[0].top, c.shownTop);
        EXPECT_EQ(session.instances[0].left, c.shownLeft);
    }
}

TEST_F(ConfigSessionLoadTest, PrinterIsReadOnlyWhenPrintersAreInstalled)
{
    writeInstances(1, {}, pairs("Printer=Receipts"));
    startUp(session);
    EXPECT_EQ(session.instances[0].printer, "");
    EXPECT_EQ(session.instances[1].printer, "");
    restart();
    session.desktop.hasPrinters = true;
    session.desktop.defaultPrinter = "Office";
    startUp(session);
    EXPECT_EQ(session.instances[0].printer, "Office");
    EXPECT_EQ(session.instances[1].printer, "Receipts");
}

TEST_F(ConfigSessionLoadTest, ValuesThatCannotBeConvertedFallBackToTheirDefaults)
{
    writeInstances(2,
                   pairs("ReferralMode=abc InterfaceMethod=99999 Top=40000 Left=left WindowsSize=x AvsRuleIndex=2.5 "
                         "PinPadPort=port BackGroundColor=blue Debug=yes AvsDetailsMandatory=maybe CardNoHashValue=0 "
                         "SendReceipt=1 FullScreen=true Environment=POS"),
                   pairs("PinPadPort=05001 ReferralMode=2 WindowsSize=85 BackGroundColor=255"));
    startUp(session);
    const auto& base = session.instances[0];
    EXPECT_EQ(fields(base.referralMode, base.interfaceMethod, base.top, base.left, base.WindowsSize, base.avsRuleIndex,
                     base.PinPadPort, base.backgroundColor, base.debugOn, base.avsDetailsMandatory,
                     base.cardNoHashValue, base.sendReceipt, base.fullScreen, base.environment),
              "1|0|||100|2|5000|-2147483633|false|true|false|true|true|1|");
    const auto& first = session.instances[1];
    EXPECT_EQ(fields(first.PinPadPort, first.referralMode, first.WindowsSize, first.backgroundColor), "5001|2|85|255|");
    EXPECT_EQ(session.instances[2].backgroundColor, -2147483633); // absent

    // Colour zero is the button face.
    writeInstances(0, pairs("BackGroundColor=0"));
    startUp(restart());
    EXPECT_EQ(session.instances[0].backgroundColor, -2147483633);
}

TEST_F(ConfigSessionLoadTest, CommonSettingsFollowTheStartUpRules)
{
    writeInstances(0,
                   pairs("ClassPath=C:\\ORVANT\\KELBRIN-CPS.JAR PropertiesDir= HBLHost=10.1.1.1 AllowSplit=False "
                         "ShowConfirmTxnScreen=nonsense TransactionResultMandatory=True CheckUpgrade=0 "
                         "AutoUpgrade=2"));
    startUp(session);
    const auto& window = session.common;
    EXPECT_EQ(window.classPath, "C:\\ORVANT\\kelbrin-cps.jar");
    EXPECT_EQ(window.propertyDir, "C:/ORVANT");
    EXPECT_EQ(window.hblHost, "10.1.1.1");
    EXPECT_EQ(std::vector({ window.allowSplit, window.showConfirmTxnScreen, window.transactionResultMandatory,
                            window.checkUpgrade, window.autoUpgrade }),
              std::vector({ CheckState::Unchecked, CheckState::Checked, CheckState::Checked, CheckState::Unchecked,
                            CheckState::Checked }));
    // The instance folders follow the shown text.
    EXPECT_EQ(session.instances[0].receiptDir, "C:/ORVANT");

    // Another class path is kept; the environment is read into the base record only.
    writeInstances(1, pairs("ClassPath=D:\\engine\\kelbrin-cps.jar Environment=4"), pairs("Environment=2"));
    startUp(restart());
    EXPECT_EQ(session.common.classPath, "D:\\engine\\kelbrin-cps.jar");
    EXPECT_EQ(session.instances[0].environment, 4);
    EXPECT_EQ(session.instances[1].environment, 1);
    EXPECT_EQ(ConfigSession::readStoredEnvironment(), 4);
}

TEST_F(ConfigSessionLoadTest, ReaderPortIsSplitAtTheComma)
{
    writeInstances(3);
    write("properties/terminal.properties", "smartCardReader.port=COM1,COM2\r\n");
    write("INSTANCE_01/properties/terminal.properties", "smartCardReader.port=COM3\r\n");
    write("INSTANCE_02/properties/terminal.properties", "smartCardReader.port=COM1,COM2,COM3\r\n");
    write("INSTANCE_03/properties/terminal.properties", "smartCardReader.port=,\r\n");
    startUp(session);
    EXPECT_EQ(session.instances[0].comport, "COM1");
    EXPECT_EQ(session.instances[0].comportReader, "COM2");
    EXPECT_EQ(session.instances[3].comport, "");
    EXPECT_EQ(session.instances[3].comportReader, "");

    // One part sets the PIN-pad port only; three parts change neither; no key clears the PIN-pad port.
    const std::pair<std::int16_t, const char*> loads[] = { { 1, "COM3" }, { 2, "COM8" }, { 4, "" } };
    for (const auto& [n, comport] : loads) {
        tarn::CInstanceData record;
        record.comport = "COM8";
        record.comportReader = "COM9";
        session.loadInstanceData(record, n);
        EXPECT_EQ(record.comport, comport) << n;
        EXPECT_EQ(record.comportReader, "COM9") << n;
    }
}

TEST_F(ConfigSessionLoadTest, PropertyStoresComeFromTheInstanceFolderAndUnreadableOnesAreReportedOnce)
{
    writeInstances(3, {}, pairs("CombiReader=False"));
    write("INSTANCE_01/properties/terminal.properties",
          crlfLines({ "smartCardReader.class=sts.drivers.cardholder.DioneDriver", "pinpad.name=Dione xtreme",
                      "smartCardReader.port=COM4" }));
    write("INSTANCE_01/properties/terminal.emv.properties", crlfLines({ "emv.kernel=4" }));
    write("INSTANCE_01/properties/language.properties", crlfLines({ "en.02=OK?" }));
    write("INSTANCE_02/properties/terminal.properties", "smartCardReader.port=COM3\r\n");
    write("INSTANCE_03/properties/language.properties", "en.02=OK?\r\n");
    removePermissions(native("INSTANCE_02/properties/terminal.properties"), std::filesystem::perms::all);
    removePermissions(native("INSTANCE_03/properties/language.properties"), std::filesystem::perms::all);
    startUp(session);
    ASSERT_EQ(session.instances.size(), 4u);
    const auto& first = session.instances[1];
    EXPECT_EQ(first.pinpad, "Dione xtreme");
    EXPECT_EQ(first.comport, "COM4");
    EXPECT_EQ(first.emvProperties.getValue("emv.kernel"), "4");
    EXPECT_EQ(first.languageProperties.getValue("en.02"), "OK?");
    EXPECT_EQ(session.instances[0].pinpadProperties.count(), 0);
    EXPECT_EQ(ui.messages,
              Messages { "These property files could not be read:\n"
                         "C:\\ORVANT\\INSTANCE_02\\properties\\terminal.properties\n"
                         "C:\\ORVANT\\INSTANCE_03\\properties\\language.properties\n"
                         "Their instances start with empty settings, and a save does not overwrite them." });
    EXPECT_EQ(session.instances[2].pinpadProperties.count(), 0);
    EXPECT_EQ(session.instances[2].comport, "");
}

} // namespace
} // namespace orvant::test
