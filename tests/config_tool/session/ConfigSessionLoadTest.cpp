#include "config_tool/session/ConfigSession.h"
#include "tests/support/InstallationTest.h"

namespace orvant::test {
namespace {

using tarn::CheckState;

class LoadTest : public InstallationTest
{
protected:
    // The base instance with these values and instances 1..count with PINByPass and those values.
    const std::vector<tarn::CInstanceData>& load(const std::string& base, int count = 0, const std::string& others = "")
    {
        auto instances = numberedInstances(count);
        instances[0].values = pairs(base);
        for (int n = 1; n <= count; ++n) {
            instances[std::size_t(n)].values = pairs("PINByPass=False " + others);
        }
        writeConfiguration(instances);
        startUp(session);
        return session.instances;
    }

    tarn::ConfigSession session;
};

TEST_F(LoadTest, TheFirstInstanceWithoutPinByPassOrTheNinetyNinthEndsTheList)
{
    startUp(session);
    EXPECT_EQ(ui.messages,
              std::vector<std::string> { "Unable to load configuration from file "
                                         "C:\\ORVANT\\conf\\ORVANTConfiguration.xml" });
    EXPECT_EQ(session.instanceSections, std::vector<std::string> { "Harbell" });
    writeConfiguration(
        { { "00", {} }, { "01", pairs("PINByPass=True") }, { "2", {} }, { "03", pairs("PINByPass=1") } });
    startUp(session);
    EXPECT_EQ(session.instanceSections, (std::vector<std::string> { "Harbell", "Harbell_01" }));
    EXPECT_TRUE(session.instances[1].pinByPass);
    ASSERT_EQ(load("", 120).size(), 100u);
    EXPECT_EQ(session.instanceSections[99], "Harbell_99");
    EXPECT_EQ(session.instances[12].PinPadPort + " " + session.instances[12].receiptDir,
              "5012 C:\\ORVANT\\INSTANCE_12");
}

TEST_F(LoadTest, StoredPositionsInTwipsBecomePixels)
{
    const std::tuple<int, const char*, const char*> cases[] = {
        // twips per pixel of a 1024 x 768 screen (0: no screen), stored Top and Left -> shown
        { 15, "Top=2000 Left=20000", "133 1333" }, // beyond the screen: twips
        { 15, "Top=200 Left=1000", "200 1000" },   { 12, "Top=1830 Left=1842", "152 154" }, // halves to even
        { 12, "Top=769 Left=1024", "64 1024" }, // just beyond, and exactly the screen
        { 0, "Top=2000 Left=030", "2000 030" }, // without a screen as stored
        { 15, "Top=40000 Left=left", " " } // not a position
    };
    for (const auto& [twipsPerPixel, stored, shown] : cases) {
        session.desktop = { false, "", 1024, 768, double(twipsPerPixel), double(twipsPerPixel) };
        const auto& base = load(stored)[0];
        EXPECT_EQ(base.top + " " + base.left, shown) << stored;
    }
}

TEST_F(LoadTest, UnconvertibleValuesFallBackAndThePrinterNeedsPrinters)
{
    const auto& base
        = load("ReferralMode=abc InterfaceMethod=99999 WindowsSize=x AvsRuleIndex=2.5 Debug=yes "
               "AvsDetailsMandatory=maybe PinPadPort=port BackGroundColor=0 Printer=Receipts Environment=POS")[0];
    EXPECT_EQ(std::vector<int>({ base.referralMode, base.interfaceMethod, base.WindowsSize, base.avsRuleIndex,
                                 base.debugOn, base.avsDetailsMandatory, base.environment }),
              std::vector<int>({ 1, 0, 100, 2, 0, 1, 1 }));
    EXPECT_EQ(base.PinPadPort + base.printer, "5000") << "no printer without printers";
    EXPECT_EQ(base.backgroundColor, tarn::kButtonFaceColor) << "zero is the button face";
    session.desktop.hasPrinters = true;
    session.desktop.defaultPrinter = "Office";
    const auto& first = load("Printer=Receipts", 1, "PinPadPort=05001 BackGroundColor=255")[1];
    EXPECT_EQ(session.instances[0].printer + " " + first.printer + " " + first.PinPadPort, "Receipts Office 5001");
    EXPECT_EQ(first.backgroundColor, 255);
}

TEST_F(LoadTest, CommonSettingsFollowTheStartUpRules)
{
    load("ClassPath=C:\\ORVANT\\KELBRIN-CPS.JAR PropertiesDir= AllowSplit=False ShowConfirmTxnScreen=nonsense "
         "TransactionResultMandatory=True CheckUpgrade=0 AutoUpgrade=2 Environment=4",
         1, "Environment=2");
    const auto& common = session.common;
    EXPECT_EQ(common.classPath + " " + common.propertyDir + " " + session.instances[1].receiptDir,
              "C:\\ORVANT\\kelbrin-cps.jar C:/ORVANT C:/ORVANT\\INSTANCE_01");
    EXPECT_EQ(std::vector({ common.allowSplit, common.showConfirmTxnScreen, common.transactionResultMandatory,
                            common.checkUpgrade, common.autoUpgrade }),
              std::vector({ CheckState::Unchecked, CheckState::Checked, CheckState::Checked, CheckState::Unchecked,
                            CheckState::Checked }));
    EXPECT_EQ(session.instances[0].environment * 10 + session.instances[1].environment, 41) << "the base's alone";
    load("ClassPath=D:\\engine\\kelbrin-cps.jar");
    EXPECT_EQ(session.common.classPath, "D:\\engine\\kelbrin-cps.jar");
}

TEST_F(LoadTest, TheReaderPortIsSplitAtTheComma)
{
    const std::tuple<const char*, const char*> cases[] = {
        // smartCardReader.port (null: none) -> PIN-pad and reader port of a record that had COM8 and COM9
        { "COM1,COM2", "COM1 COM2" }, { "COM3", "COM3 COM9" }, { "COM1,COM2,COM3", "COM8 COM9" }, { ",", " " },
        { nullptr, " COM9" },
    };
    session.common.propertyDir = "C:\\ORVANT";
    for (const auto& [stored, ports] : cases) {
        write("INSTANCE_01/properties/terminal.properties",
              stored ? std::string("smartCardReader.port=") + stored : "");
        tarn::CInstanceData record;
        record.comport = "COM8";
        record.comportReader = "COM9";
        EXPECT_TRUE(session.loadInstanceData(record, 1));
        EXPECT_EQ(record.comport + " " + record.comportReader, ports) << (stored ? stored : "none");
    }
}

} // namespace
} // namespace orvant::test
