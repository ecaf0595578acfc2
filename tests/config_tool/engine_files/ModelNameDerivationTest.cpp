#include "config_tool/engine_files/DeviceProfiles.h"
#include "tests/config_tool/engine_files/EngineFileTesting.h"

namespace tarn::test {
namespace {

struct DerivationCase
{
    const char* classText; // nullptr: the key is absent
    const char* flag; // nullptr: absent
    const char* name; // nullptr: absent
    bool combiReader;
    const char* expected;
};

CInstanceData recordWith(const DerivationCase& c)
{
    CInstanceData record;
    if (c.classText) {
        record.pinpadProperties.addKeyValue("smartCardReader.class", c.classText);
    }
    if (c.flag) {
        record.pinpadProperties.addKeyValue("DioneNoMagStripe.Flag", c.flag);
    }
    if (c.name) {
        record.pinpadProperties.addKeyValue("pinpad.name", c.name);
    }
    record.combiReader = c.combiReader;
    return record;
}

TEST(DeriveModelName, followsTheDriverClassWithTheSpecificTestsFirst)
{
    const DerivationCase cases[] = {
        { nullptr, nullptr, "Sagem", false, "No Card Reader" },
        { "", nullptr, nullptr, false, "No Card Reader" },
        { "sts.drivers.cardholder.SomeOtherDriver", nullptr, nullptr, false, "No Card Reader" },
        { "sts.drivers.cardholder.Verifone7816IPServerDriver", nullptr, nullptr, false, "Verifone Vx670" },
        { "sts.drivers.cardholder.VerifoneVx7816Driver", nullptr, nullptr, false, "Verifone Vx810" },
        { "sts.drivers.cardholder.VerifoneSC5000Driver", nullptr, nullptr, false, "Verifone sc5000" },
        { "sts.drivers.cardholder.verifonesc5000driver", nullptr, nullptr, false, "Verifone sc5000" },
        { "STS.DRIVERS.CARDHOLDER.VERIFONE7816IPSERVERDRIVER", nullptr, nullptr, false, "Verifone Vx670" },
        { "sts.drivers.cardholder.STSSerialSmartHybridPinPadReaderProtocol", nullptr, nullptr, false, "Sagem" },
        { "sts.drivers.cardholder.trintechdriver01", nullptr, nullptr, false, "Trintech smart 5000" },
        { "sts.drivers.cardholder.IFPinPad7505Driver", nullptr, nullptr, false, "Ingenico 3300" },
        // A class that names two makers: the earlier test wins.
        { "VerifoneDioneBridge", nullptr, nullptr, false, "Verifone sc5000" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.classText ? c.classText : "(absent)");
        EXPECT_EQ(deriveModelName(recordWith(c)), c.expected);
    }
}

TEST(DeriveModelName, dioneModelsDependOnTheCombiReaderFlagAndName)
{
    constexpr const char* kDione = "sts.drivers.cardholder.DioneDriver";
    const DerivationCase cases[] = {
        { kDione, "Yes", "Dione secura UPT No MagStripe", true, "Dione secura UPT No MagStripe" },
        { kDione, "yes", nullptr, true, "Dione secura UPT No MagStripe" },
        { kDione, "No", "Dione secura UPT No MagStripe", true, "Dione secura UPT" },
        { kDione, nullptr, "Dione xtreme", true, "Dione secura UPT" },
        // Without the combi reader the name decides; the UPT names contain "Dione secura".
        { kDione, "Yes", "Dione secura UPT No MagStripe", false, "Dione secura" },
        { kDione, nullptr, "Dione secura UPT", false, "Dione secura" },
        { kDione, nullptr, "Dione secura", false, "Dione secura" },
        { kDione, nullptr, "DIONE XTREME", false, "Dione xtreme" },
        { kDione, nullptr, "Dione xplorer", false, "Dione xplorer" },
        { kDione, nullptr, nullptr, false, "Dione xplorer" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.name ? c.name : "(no name)") + (c.combiReader ? " combi" : ""));
        EXPECT_EQ(deriveModelName(recordWith(c)), c.expected);
    }
}

class ModelRoundTripTest : public EngineFileTest
{
};

TEST_F(ModelRoundTripTest, everyModelWrittenReadsBackAsItself)
{
    for (const auto& model : pinPadModelNames()) {
        SCOPED_TRACE(model);
        CInstanceData written;
        written.pinpad = model;
        written.comport = "COM2";
        written.PinPadPort = "5001";
        FailedWrites failures;
        m_folder.write(onDisk("INSTANCE_01/properties/terminal.properties"), "");
        writeDeviceProfile(written, 1, kPropertiesFolder, failures);
        ASSERT_TRUE(failures.empty());

        // The UPT models are told apart from the plain Dione secura by the combi reader only.
        CInstanceData loaded;
        loaded.combiReader = model == "Dione secura UPT" || model == "Dione secura UPT No MagStripe";
        ASSERT_TRUE(loaded.pinpadProperties.load("C:\\ORVANT\\INSTANCE_01\\properties\\terminal.properties").ok);
        EXPECT_EQ(deriveModelName(loaded), model);

        if (model == "Dione secura UPT") {
            loaded.combiReader = false;
            EXPECT_EQ(deriveModelName(loaded), "Dione secura");
        }
    }
}

} // namespace
} // namespace tarn::test
