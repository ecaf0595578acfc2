#include "config_tool/engine_files/DeviceProfiles.h"

#include "tests/support/InstallationTest.h"

namespace orvant::test {
namespace {

using tarn::CInstanceData;

const std::string kLanguage = "# display\r\nen.01=AMOUNT #\r\nen.02=OK?\r\nen.18=REFUND \xA3\r\n";

class DeviceProfilesTest : public InstallationTest
{
protected:
    // The record of a PIN pad on COM3 (reader on COM5, IP port 5003) as loaded from these files.
    CInstanceData loaded(const std::string& model)
    {
        write("INSTANCE_01/properties/terminal.properties", dataFile("device_profiles/input.properties"));
        write("INSTANCE_01/properties/language.properties", kLanguage);
        CInstanceData record;
        EXPECT_TRUE(record.pinpadProperties.load("C:\\ORVANT\\INSTANCE_01\\properties\\terminal.properties").ok);
        EXPECT_TRUE(record.languageProperties.load("C:\\ORVANT\\INSTANCE_01\\properties\\language.properties").ok);
        record.pinpad = model;
        record.comport = "COM3";
        record.comportReader = "COM5";
        record.PinPadPort = "5003";
        return record;
    }

    tarn::FailedWrites failures;
};

TEST_F(DeviceProfilesTest, EveryModelRewritesTheFilesOfAnotherAndReadsBackAsItself)
{
    auto models = tarn::pinPadModelNames();
    models.push_back("Verifone Vx999"); // not in the list: the files are written back as they are
    for (const auto& model : models) {
        SCOPED_TRACE(model);
        CInstanceData record = loaded(model);
        tarn::writeDeviceProfile(record, 1, "C:\\ORVANT", failures);
        EXPECT_TRUE(matchesDataFile(read("INSTANCE_01/properties/terminal.properties"),
                                    "device_profiles/" + model + ".properties"));
        const std::string language = read("INSTANCE_01/properties/language.properties");
        EXPECT_EQ(language.substr(language.find("\r\n")), "\r\nen.02=OK?\r\nen.18=REFUND \xA3\r\n")
            << "the prompt alone";

        // What was written reads back as the model; the UPT models differ from the Dione secura by the combined reader.
        record.combiReader = model.find("UPT") != std::string::npos;
        EXPECT_EQ(tarn::deriveModelName(record), model == "Verifone Vx999" ? "Dione secura" : model);
    }
    EXPECT_TRUE(failures.empty());
}

TEST_F(DeviceProfilesTest, MissingFilesAndUnwritableFolders)
{
    // A Sagem without a reader port gets the separator alone.
    CInstanceData record;
    record.pinpad = "Sagem";
    record.comport = "COM1";
    makeInstanceFolders(2);
    tarn::writeDeviceProfile(record, 2, "C:\\ORVANT", failures);
    EXPECT_EQ(record.pinpadProperties.getValue("smartCardReader.port"), "COM1,");
    record.pinpad = "No Card Reader";
    record.pinpadProperties = tarn::CProperties();
    tarn::writeDeviceProfile(record, 2, "C:\\ORVANT", failures);
    EXPECT_EQ(read("INSTANCE_02/properties/terminal.properties"),
              "cardHolderDisplay.firstpage.prompt=CONFRM\r\nsmartCardReader.timeout=10000\r\n");
    EXPECT_TRUE(failures.empty());

    record = loaded("Sagem");
    makeReadOnly(native("INSTANCE_01/properties"));
    tarn::writeDeviceProfile(record, 1, "C:\\ORVANT", failures);
    EXPECT_EQ(failures.files.size(), 2u) << "terminal and language";
    EXPECT_EQ(read("INSTANCE_01/properties/terminal.properties"), dataFile("device_profiles/input.properties"));
}

TEST(DeriveModelName, TheDriverClassDecidesWithTheSpecificNamesFirst)
{
    const std::tuple<const char*, bool, const char*> cases[] = {
        // terminal.properties, combined reader -> model
        { "pinpad.name=Sagem", false, "No Card Reader" },
        { "smartCardReader.class=sts.drivers.cardholder.Unknown", false, "No Card Reader" },
        { "smartCardReader.class=STS.DRIVERS.CARDHOLDER.VERIFONE7816IPSERVERDRIVER", false, "Verifone Vx670" },
        { "smartCardReader.class=VerifoneDioneBridge", false, "Verifone sc5000" },
        { "smartCardReader.class=DioneDriver\nDioneNoMagStripe.Flag=yes", true, "Dione secura UPT No MagStripe" },
        { "smartCardReader.class=DioneDriver\npinpad.name=Dione secura UPT No MagStripe", false, "Dione secura" },
        { "smartCardReader.class=DioneDriver\npinpad.name=DIONE XTREME", false, "Dione xtreme" },
    };
    for (const auto& [file, combined, expected] : cases) {
        CInstanceData record;
        record.combiReader = combined;
        record.pinpadProperties.loadFromBytes(crlf(file));
        EXPECT_EQ(tarn::deriveModelName(record), expected) << file;
    }
}

} // namespace
} // namespace orvant::test
