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
};

TEST_F(ConfigSessionLoadTest, WithoutConfigurationFileOnlyTheBaseInstanceWithDefaults)
{
    ConfigSession session;
    startUp(session);

    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0], "Unable to load configuration from file C:\\ORVANT\\conf\\ORVANTConfiguration.xml");
    ASSERT_EQ(session.instances.size(), 1u);
    EXPECT_EQ(session.instanceSections, std::vector<std::string> { "Harbell" });

    const auto& base = session.instances[0];
    EXPECT_EQ(base.environment, 1);
    EXPECT_EQ(base.timeout, "30");
    EXPECT_EQ(base.checkCardTimeout, "10");
    EXPECT_EQ(base.port, "10000");
    EXPECT_EQ(base.receiptPort, "20000");
    EXPECT_EQ(base.PinPadPort, "5000");
    EXPECT_EQ(base.receiptDir, "C:\\ORVANT");
    EXPECT_EQ(base.receiptWidth, "36");
    EXPECT_EQ(base.logoFile, "C:\\ORVANT\\kelbrin_logo.jpg");
    EXPECT_EQ(base.top, "");
    EXPECT_EQ(base.left, "");
    EXPECT_EQ(base.WindowsSize, 100);
    EXPECT_EQ(base.referralMode, 1);
    EXPECT_EQ(base.interfaceMethod, 0);
    EXPECT_EQ(base.avsRuleIndex, 0);
    EXPECT_TRUE(base.avsDetailsMandatory);
    EXPECT_TRUE(base.cardNoHashValue);
    EXPECT_FALSE(base.pinByPass);
    EXPECT_FALSE(base.sendReceipt);
    EXPECT_EQ(base.backgroundColor, tarn::kButtonFaceColor);
    EXPECT_EQ(base.nextReceiptNumber, "1");
    EXPECT_EQ(base.pinpad, "No Card Reader");
    EXPECT_EQ(base.comport, "");

    EXPECT_EQ(session.window.classPath, "C:\\ORVANT\\kelbrin-cps.jar");
    EXPECT_EQ(session.window.propertyDir, "C:\\ORVANT");
    EXPECT_EQ(session.window.hblHost, "127.0.0.1");
    EXPECT_EQ(session.window.hblPort, "9000");
    EXPECT_EQ(session.window.deleteTransAfterMin, "50");
    EXPECT_EQ(session.window.allowSplit, CheckState::Checked);
    EXPECT_EQ(session.window.showConfirmTxnScreen, CheckState::Checked);
    EXPECT_EQ(session.window.transactionResultMandatory, CheckState::Unchecked);
    EXPECT_EQ(session.window.checkUpgrade, CheckState::Checked);
    EXPECT_EQ(session.window.autoUpgrade, CheckState::Unchecked);
}

TEST_F(ConfigSessionLoadTest, AGapEndsTheInstanceList)
{
    writeConfiguration({ { "00", {} },
                         { "01", { { "PINByPass", "True" } } },
                         { "02", { { "PINByPass", "False" } } },
                         { "04", { { "PINByPass", "False" } } } });
    ConfigSession session;
    startUp(session);

    ASSERT_EQ(session.instances.size(), 3u);
    EXPECT_EQ(session.instanceSections, (std::vector<std::string> { "Harbell", "Harbell_01", "Harbell_02" }));
    EXPECT_TRUE(session.instances[1].pinByPass);
    EXPECT_EQ(session.instances[2].port, "10002");
    EXPECT_EQ(session.instances[2].receiptDir, "C:\\ORVANT\\INSTANCE_02");
}

TEST_F(ConfigSessionLoadTest, TwelveInstancesAreListedWithTheirSections)
{
    writeInstances(12);
    ConfigSession session;
    startUp(session);
    ASSERT_EQ(session.instances.size(), 13u);
    EXPECT_EQ(session.instanceSections[9], "Harbell_09");
    EXPECT_EQ(session.instanceSections[12], "Harbell_12");
    EXPECT_EQ(session.instances[12].PinPadPort, "5012");
}

TEST_F(ConfigSessionLoadTest, TheListStopsAtTheLastNumberTheNamingCarries)
{
    std::vector<StoredInstance> list { { "00", { { "PINByPass", "True" } } } };
    for (int n = 1; n <= 99; ++n) {
        list.push_back({ tarn::getInstanceString(static_cast<std::int16_t>(n)), { { "PINByPass", "False" } } });
    }
    writeConfiguration(list);
    ConfigSession session;
    startUp(session);
    EXPECT_EQ(session.instances.size(), 100u);
    EXPECT_EQ(session.instanceSections.back(), "Harbell_99");
}

TEST_F(ConfigSessionLoadTest, StoredPositionsInTwipsBecomePixels)
{
    writeInstances(3, { { "Top", "2000" }, { "Left", "20000" } }, { { "Top", "200" }, { "Left", "1000" } });
    ConfigSession session;
    session.window.screenWidthPixels = 1024;
    session.window.screenHeightPixels = 768;
    session.window.twipsPerPixelX = 15;
    session.window.twipsPerPixelY = 15;
    startUp(session);

    EXPECT_EQ(session.instances[0].top, "133"); // 2000 / 15 = 133.3
    EXPECT_EQ(session.instances[0].left, "1333"); // 20000 / 15 = 1333.3
    EXPECT_EQ(session.instances[1].top, "200");
    EXPECT_EQ(session.instances[1].left, "1000");
    EXPECT_EQ(session.instances[2].top, "");
}

TEST_F(ConfigSessionLoadTest, TwipsRuleRoundsHalvesToEven)
{
    writeInstances(1, { { "Top", "1830" }, { "Left", "1842" } }, { { "Top", "769" }, { "Left", "768" } });
    ConfigSession session;
    session.window.screenWidthPixels = 768;
    session.window.screenHeightPixels = 768;
    session.window.twipsPerPixelX = 12;
    session.window.twipsPerPixelY = 12;
    startUp(session);

    EXPECT_EQ(session.instances[0].top, "152"); // 152.5
    EXPECT_EQ(session.instances[0].left, "154"); // 153.5
    EXPECT_EQ(session.instances[1].top, "64"); // just beyond the screen: twips
    EXPECT_EQ(session.instances[1].left, "768"); // exactly the screen: pixels
}

TEST_F(ConfigSessionLoadTest, WithoutScreenMetricsPositionsStayAsStored)
{
    writeInstances(0, { { "Top", "2000" }, { "Left", " 30" } });
    ConfigSession session;
    startUp(session);
    EXPECT_EQ(session.instances[0].top, "2000");
    EXPECT_EQ(session.instances[0].left, " 30");
}

TEST_F(ConfigSessionLoadTest, BackgroundColourZeroIsTheButtonFace)
{
    writeInstances(2, { { "BackGroundColor", "0" } }, { { "BackGroundColor", "255" } });
    ConfigSession session;
    startUp(session);
    EXPECT_EQ(session.instances[0].backgroundColor, -2147483633);
    EXPECT_EQ(session.instances[1].backgroundColor, 255);
    EXPECT_EQ(session.instances[2].backgroundColor, -2147483633); // absent
}

TEST_F(ConfigSessionLoadTest, PrinterIsReadOnlyWhenPrintersAreInstalled)
{
    writeInstances(1, {}, { { "Printer", "Receipts" } });
    {
        ConfigSession session;
        startUp(session);
        EXPECT_EQ(session.instances[0].printer, "");
        EXPECT_EQ(session.instances[1].printer, "");
    }
    ConfigSession session;
    session.window.hasPrinters = true;
    session.window.defaultPrinter = "Office";
    startUp(session);
    EXPECT_EQ(session.instances[0].printer, "Office");
    EXPECT_EQ(session.instances[1].printer, "Receipts");
}

TEST_F(ConfigSessionLoadTest, ValuesThatCannotBeConvertedFallBackToTheirDefaults)
{
    writeInstances(1,
                   { { "ReferralMode", "abc" },
                     { "InterfaceMethod", "99999" },
                     { "Top", "40000" },
                     { "Left", "left" },
                     { "WindowsSize", "x" },
                     { "AvsRuleIndex", "2.5" },
                     { "PinPadPort", "port" },
                     { "BackGroundColor", "blue" },
                     { "Debug", "yes" },
                     { "AvsDetailsMandatory", "maybe" },
                     { "CardNoHashValue", "0" },
                     { "SendReceipt", "1" },
                     { "FullScreen", "true" },
                     { "Environment", "POS" } },
                   { { "PinPadPort", "05001" }, { "ReferralMode", "2" }, { "WindowsSize", "85" } });
    ConfigSession session;
    startUp(session);

    const auto& base = session.instances[0];
    EXPECT_EQ(base.referralMode, 1);
    EXPECT_EQ(base.interfaceMethod, 0);
    EXPECT_EQ(base.top, "");
    EXPECT_EQ(base.left, "");
    EXPECT_EQ(base.WindowsSize, 100);
    EXPECT_EQ(base.avsRuleIndex, 2);
    EXPECT_EQ(base.PinPadPort, "5000");
    EXPECT_EQ(base.backgroundColor, tarn::kButtonFaceColor);
    EXPECT_FALSE(base.debugOn);
    EXPECT_TRUE(base.avsDetailsMandatory);
    EXPECT_FALSE(base.cardNoHashValue);
    EXPECT_TRUE(base.sendReceipt);
    EXPECT_TRUE(base.fullScreen);
    EXPECT_EQ(base.environment, 1);

    const auto& first = session.instances[1];
    EXPECT_EQ(first.PinPadPort, "5001");
    EXPECT_EQ(first.referralMode, 2);
    EXPECT_EQ(first.WindowsSize, 85);
}

TEST_F(ConfigSessionLoadTest, EnvironmentIsReadIntoTheBaseRecordOnly)
{
    writeInstances(1, { { "Environment", "4" } }, { { "Environment", "2" } });
    ConfigSession session;
    startUp(session);
    EXPECT_EQ(session.instances[0].environment, 4);
    EXPECT_EQ(session.instances[1].environment, 1);
    EXPECT_EQ(ConfigSession::readStoredEnvironment(), 4);
}

TEST_F(ConfigSessionLoadTest, CommonSettingsFollowTheStartUpRules)
{
    writeInstances(0,
                   { { "ClassPath", "C:\\ORVANT\\KELBRIN-CPS.JAR" },
                     { "PropertiesDir", "" },
                     { "HBLHost", "10.1.1.1" },
                     { "AllowSplit", "False" },
                     { "ShowConfirmTxnScreen", "nonsense" },
                     { "TransactionResultMandatory", "True" },
                     { "CheckUpgrade", "0" },
                     { "AutoUpgrade", "2" } });
    ConfigSession session;
    startUp(session);
    EXPECT_EQ(session.window.classPath, "C:\\ORVANT\\kelbrin-cps.jar");
    EXPECT_EQ(session.window.propertyDir, "C:/ORVANT");
    EXPECT_EQ(session.window.hblHost, "10.1.1.1");
    EXPECT_EQ(session.window.allowSplit, CheckState::Unchecked);
    EXPECT_EQ(session.window.showConfirmTxnScreen, CheckState::Checked);
    EXPECT_EQ(session.window.transactionResultMandatory, CheckState::Checked);
    EXPECT_EQ(session.window.checkUpgrade, CheckState::Unchecked);
    EXPECT_EQ(session.window.autoUpgrade, CheckState::Checked);
    // The instance folders follow the shown text.
    EXPECT_EQ(session.instances[0].receiptDir, "C:/ORVANT");

    tarn::XmlConfig::reset();
    writeInstances(0, { { "ClassPath", "D:\\engine\\kelbrin-cps.jar" } });
    ConfigSession other;
    startUp(other);
    EXPECT_EQ(other.window.classPath, "D:\\engine\\kelbrin-cps.jar");
}

TEST_F(ConfigSessionLoadTest, ReaderPortIsSplitAtTheComma)
{
    writeInstances(3);
    write("properties/terminal.properties", "smartCardReader.port=COM1,COM2\r\n");
    write("INSTANCE_01/properties/terminal.properties", "smartCardReader.port=COM3\r\n");
    write("INSTANCE_02/properties/terminal.properties", "smartCardReader.port=COM1,COM2,COM3\r\n");
    write("INSTANCE_03/properties/terminal.properties", "smartCardReader.port=,\r\n");
    ConfigSession session;
    startUp(session);

    EXPECT_EQ(session.instances[0].comport, "COM1");
    EXPECT_EQ(session.instances[0].comportReader, "COM2");
    EXPECT_EQ(session.instances[3].comport, "");
    EXPECT_EQ(session.instances[3].comportReader, "");

    // One part sets the PIN-pad port only; three parts change neither; no key clears the PIN-pad port.
    tarn::CInstanceData record;
    record.comport = "COM8";
    record.comportReader = "COM9";
    session.loadInstanceData(record, 1);
    EXPECT_EQ(record.comport, "COM3");
    EXPECT_EQ(record.comportReader, "COM9");
    record.comport = "COM8";
    session.loadInstanceData(record, 2);
    EXPECT_EQ(record.comport, "COM8");
    EXPECT_EQ(record.comportReader, "COM9");
    session.loadInstanceData(record, 4);
    EXPECT_EQ(record.comport, "");
    EXPECT_EQ(record.comportReader, "COM9");
}

TEST_F(ConfigSessionLoadTest, PropertyStoresAndModelComeFromTheInstanceFolder)
{
    writeInstances(1, {}, { { "CombiReader", "False" } });
    write("INSTANCE_01/properties/terminal.properties",
          crlfLines({ "smartCardReader.class=sts.drivers.cardholder.DioneDriver", "pinpad.name=Dione xtreme",
                      "smartCardReader.port=COM4" }));
    write("INSTANCE_01/properties/terminal.emv.properties", crlfLines({ "emv.kernel=4" }));
    write("INSTANCE_01/properties/language.properties", crlfLines({ "en.02=OK?" }));
    ConfigSession session;
    startUp(session);

    const auto& first = session.instances[1];
    EXPECT_EQ(first.pinpad, "Dione xtreme");
    EXPECT_EQ(first.comport, "COM4");
    EXPECT_EQ(first.emvProperties.getValue("emv.kernel"), "4");
    EXPECT_EQ(first.languageProperties.getValue("en.02"), "OK?");
    EXPECT_EQ(session.instances[0].pinpadProperties.count(), 0);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(ConfigSessionLoadTest, UnreadablePropertyFilesAreReportedOnce)
{
    writeInstances(2);
    write("INSTANCE_01/properties/terminal.properties", "smartCardReader.port=COM3\r\n");
    write("INSTANCE_02/properties/language.properties", "en.02=OK?\r\n");
    std::filesystem::permissions(native("INSTANCE_01/properties/terminal.properties"), std::filesystem::perms::all,
                                 std::filesystem::perm_options::remove);
    std::filesystem::permissions(native("INSTANCE_02/properties/language.properties"), std::filesystem::perms::all,
                                 std::filesystem::perm_options::remove);
    ConfigSession session;
    startUp(session);

    ASSERT_EQ(session.instances.size(), 3u);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0],
              "These property files could not be read:\n"
              "C:\\ORVANT\\INSTANCE_01\\properties\\terminal.properties\n"
              "C:\\ORVANT\\INSTANCE_02\\properties\\language.properties\n"
              "Their instances start with empty settings, and a save does not overwrite them.");
    EXPECT_EQ(session.instances[1].pinpadProperties.count(), 0);
    EXPECT_EQ(session.instances[1].comport, "");
}

} // namespace
} // namespace orvant::test
