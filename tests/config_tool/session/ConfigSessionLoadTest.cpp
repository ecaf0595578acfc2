#include "config_tool/model/XmlConfig.h"
#include "config_tool/session/ConfigSession.h"
#include "tests/support/InstallationTest.h"

namespace orvant::test {
namespace {

using tarn::CheckState;

class LoadTest : public InstallationTest
{
protected:
    // The base instance with these values and instances 1..count with a PINByPass value and these.
    tarn::ConfigSession& load(const std::string& base, int count = 0, const std::string& others = "")
    {
        auto instances = numberedInstances(count);
        instances[0].values = pairs(base);
        for (int n = 1; n <= count; ++n) {
            instances[static_cast<std::size_t>(n)].values = pairs("PINByPass=False " + others);
        }
        writeConfiguration(instances);
        return restart();
    }

    // A fresh session on the same desktop.
    tarn::ConfigSession& restart()
    {
        const auto desktop = session.desktop;
        tarn::XmlConfig::reset();
        session = tarn::ConfigSession();
        session.desktop = desktop;
        startUp(session);
        return session;
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
    EXPECT_EQ(restart().instanceSections, (std::vector<std::string> { "Harbell", "Harbell_01" }));
    EXPECT_TRUE(session.instances[1].pinByPass);

    load("", 120);
    ASSERT_EQ(session.instances.size(), 100u);
    EXPECT_EQ(session.instanceSections[99], "Harbell_99");
    EXPECT_EQ(session.instances[12].PinPadPort, "5012");
    EXPECT_EQ(session.instances[12].receiptDir, "C:\\ORVANT\\INSTANCE_12");
}

TEST_F(LoadTest, StoredPositionsInTwipsBecomePixels)
{
    struct Case
    {
        int width, height, twipsPerPixel;
        const char *top, *left, *shownTop, *shownLeft;
    };
    const Case cases[] = {
        { 1024, 768, 15, "2000", "20000", "133", "1333" }, // beyond the screen: twips
        { 1024, 768, 15, "200", "1000", "200", "1000" },
        { 768, 768, 12, "1830", "1842", "152", "154" }, // halves to even: 152.5 and 153.5
        { 768, 768, 12, "769", "768", "64", "768" }, // exactly the screen: pixels
        { 0, 0, 0, "2000", "030", "2000", "030" }, // without screen metrics, as stored
        { 1024, 768, 15, "40000", "left", "", "" }, // not a position
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.top);
        session.desktop = { false, "", c.width, c.height, double(c.twipsPerPixel), double(c.twipsPerPixel) };
        const auto& base = load(std::string("Top=") + c.top + " Left=" + c.left).instances[0];
        EXPECT_EQ(base.top + "|" + base.left, std::string(c.shownTop) + "|" + c.shownLeft);
    }
}

TEST_F(LoadTest, UnconvertibleValuesFallBackAndThePrinterNeedsPrinters)
{
    load("ReferralMode=abc InterfaceMethod=99999 WindowsSize=x AvsRuleIndex=2.5 PinPadPort=port BackGroundColor=0 "
         "Debug=yes AvsDetailsMandatory=maybe CardNoHashValue=0 SendReceipt=1 Environment=POS Printer=Receipts",
         1, "PinPadPort=05001 WindowsSize=85 BackGroundColor=255");
    const auto& base = session.instances[0];
    EXPECT_EQ(
        std::vector<int>({ base.referralMode, base.interfaceMethod, base.WindowsSize, base.avsRuleIndex, base.debugOn,
                           base.avsDetailsMandatory, base.cardNoHashValue, base.sendReceipt, base.environment }),
        std::vector<int>({ 1, 0, 100, 2, 0, 1, 0, 1, 1 }));
    EXPECT_EQ(base.PinPadPort, "5000");
    EXPECT_EQ(base.backgroundColor, tarn::kButtonFaceColor) << "zero is the button face";
    EXPECT_EQ(base.printer, "");
    EXPECT_EQ(session.instances[1].PinPadPort, "5001");
    EXPECT_EQ(session.instances[1].WindowsSize, 85);
    EXPECT_EQ(session.instances[1].backgroundColor, 255);

    session.desktop.hasPrinters = true;
    session.desktop.defaultPrinter = "Office";
    load("Printer=Receipts", 1);
    EXPECT_EQ(session.instances[0].printer, "Receipts");
    EXPECT_EQ(session.instances[1].printer, "Office");
}

TEST_F(LoadTest, CommonSettingsFollowTheStartUpRules)
{
    load("ClassPath=C:\\ORVANT\\KELBRIN-CPS.JAR PropertiesDir= AllowSplit=False ShowConfirmTxnScreen=nonsense "
         "TransactionResultMandatory=True CheckUpgrade=0 AutoUpgrade=2 Environment=4",
         1, "Environment=2");
    const auto& common = session.common;
    EXPECT_EQ(common.classPath, "C:\\ORVANT\\kelbrin-cps.jar");
    EXPECT_EQ(common.propertyDir, "C:/ORVANT");
    EXPECT_EQ(common.hblHost + " " + common.hblPort + " " + common.deleteTransAfterMin, "127.0.0.1 9000 50");
    EXPECT_EQ(std::vector({ common.allowSplit, common.showConfirmTxnScreen, common.transactionResultMandatory,
                            common.checkUpgrade, common.autoUpgrade }),
              std::vector({ CheckState::Unchecked, CheckState::Checked, CheckState::Checked, CheckState::Unchecked,
                            CheckState::Checked }));
    EXPECT_EQ(session.instances[1].receiptDir, "C:/ORVANT\\INSTANCE_01") << "instance folders follow the shown text";
    EXPECT_EQ(session.instances[0].environment, 4);
    EXPECT_EQ(session.instances[1].environment, 1) << "the environment is the base instance's alone";
    EXPECT_EQ(load("ClassPath=D:\\engine\\kelbrin-cps.jar").common.classPath, "D:\\engine\\kelbrin-cps.jar");
}

TEST_F(LoadTest, TheReaderPortIsSplitAtTheComma)
{
    const std::tuple<const char*, const char*, const char*> cases[] = {
        // smartCardReader.port (null: no key) -> PIN-pad port, reader port of a record that had COM8 and COM9
        { "COM1,COM2", "COM1", "COM2" },
        { "COM3", "COM3", "COM9" },
        { "COM1,COM2,COM3", "COM8", "COM9" },
        { ",", "", "" },
        { nullptr, "", "COM9" },
    };
    session.common.propertyDir = "C:\\ORVANT";
    for (const auto& [stored, comport, reader] : cases) {
        write("INSTANCE_01/properties/terminal.properties",
              stored ? std::string("smartCardReader.port=") + stored + "\r\n" : std::string());
        tarn::CInstanceData record;
        record.comport = "COM8";
        record.comportReader = "COM9";
        EXPECT_TRUE(session.loadInstanceData(record, 1));
        EXPECT_EQ(record.comport + "|" + record.comportReader, std::string(comport) + "|" + reader) << stored;
    }
}

} // namespace
} // namespace orvant::test
