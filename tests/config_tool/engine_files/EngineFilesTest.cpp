#include "config_tool/engine_files/BaseProperties.h"
#include "config_tool/engine_files/DeviceProfiles.h"
#include "config_tool/engine_files/InstanceProperties.h"
#include "config_tool/foundation/Globals.h"
#include "config_tool/model/PinPadModels.h"
#include "config_tool/model/XmlConfig.h"
#include "tests/support/Host.h"
#include "tests/support/InstallationTest.h"

#include <gmock/gmock.h>

namespace orvant::test {
namespace {

namespace fs = std::filesystem;
using tarn::CInstanceData;

const std::string kLanguage = "# display\r\nen.01=AMOUNT #\r\nen.02=OK?\r\nen.18=REFUND \xA3\r\n";

class EngineFilesTest : public InstallationTest
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

using BasePropertiesTest = EngineFilesTest;
using DeviceProfilesTest = EngineFilesTest;
using InstancePropertiesTest = EngineFilesTest;

TEST_F(BasePropertiesTest, MissingKeysAndMessagesAreFilledInAndPresentOnesKept)
{
    makeInstanceFolders(2);
    copyData("base_properties/hand_edited", "INSTANCE_02/properties");
    std::vector<CInstanceData> instances(3);
    instances[0].pinpad = "Ingenico 3300";
    instances[1].pinpad = "Verifone Vx810"; // has no default amount prompt
    instances[2].pinpad = "Dione secura UPT No MagStripe"; // always gets its flag
    instances[2].pinpadProperties.addKeyValue("stale", "in memory only");
    const auto before = snapshotTree(root());
    tarn::writeDefaultProperties(instances, "C:\\ORVANT", failures);
    EXPECT_TRUE(matchesDataTree(changedFiles(before, snapshotTree(root())), "base_properties/written"));
    EXPECT_TRUE(failures.empty());
    // The records keep the stores as written.
    EXPECT_EQ(instances[2].pinpadProperties.getValue("stale"), "ZZZ_NO_VALUE_ZZZ");
    EXPECT_EQ(instances[2].pinpadProperties.getValue("version"), "1.00");
    EXPECT_EQ(instances[0].languageProperties.getValue("en.18"), "REFUND \xC2\xA3");
}

// A file that cannot be read, a missing folder, or a file already holding as many keys as a store can
// take (a writer that needs one more): each is reported and left as it was.
TEST_F(BasePropertiesTest, AFileThatCannotBeReadOrCompletedIsReportedAndLeftAlone)
{
    std::string full;
    for (int i = 0; i < tarn::CProperties::kMaxEntries; ++i) {
        full += "key" + std::to_string(i) + "=x\r\n";
    }
    for (const char* file :
         { "properties/terminal.properties", "properties/language.properties", "properties/instance.properties" }) {
        write(file, full);
    }
    write("conf/ORVANTConfiguration.xml", "<ORVANTConfiguration/>");
    makeInstanceFolders(1);
    write("INSTANCE_01/properties/terminal.properties", "version=0.9\r\n");
    ORVANT_SKIP_UNLESS(host::kUnreadableFiles);
    makeUnreadable(native("INSTANCE_01/properties/terminal.properties"));
    std::vector<CInstanceData> records(2);
    records[0].pinpad = "Verifone sc5000";
    records[1].pinpadProperties.addKeyValue("version", "as loaded");
    tarn::writeDefaultProperties(records, "C:\\ORVANT", failures);
    tarn::writeLanguageProperties(records[1], 4, "C:\\ORVANT", failures);
    tarn::writeConfigHash(failures);
    EXPECT_EQ(failures.files,
              (std::vector<std::string> { "C:\\ORVANT\\properties\\terminal.properties",
                                          "C:\\ORVANT\\properties\\language.properties",
                                          "C:\\ORVANT\\INSTANCE_01\\properties\\terminal.properties",
                                          "C:\\ORVANT\\INSTANCE_04\\properties\\language.properties",
                                          "C:\\ORVANT\\properties\\instance.properties" }));
    EXPECT_EQ(records[1].pinpadProperties.getValue("version"), "as loaded");
    fs::permissions(native("INSTANCE_01/properties/terminal.properties"), fs::perms::owner_read, fs::perm_options::add);
    for (const char* file :
         { "properties/terminal.properties", "properties/language.properties", "properties/instance.properties" }) {
        EXPECT_EQ(read(file), full) << file;
    }
    EXPECT_EQ(read("INSTANCE_01/properties/terminal.properties"), "version=0.9\r\n");
    EXPECT_FALSE(exists("INSTANCE_04"));
}

TEST_F(DeviceProfilesTest, EveryModelRewritesTheFilesOfAnotherAndReadsBackAsItself)
{
    std::vector<std::string> models;
    for (const auto& model : tarn::pinPadModels()) {
        models.emplace_back(model.name);
    }
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
    // A Sagem without a reader port gets the separator alone, in a file of its own.
    CInstanceData record;
    record.pinpad = "Sagem";
    record.comport = "COM1";
    makeInstanceFolders(2);
    tarn::writeDeviceProfile(record, 2, "C:\\ORVANT", failures);
    EXPECT_THAT(read("INSTANCE_02/properties/terminal.properties"),
                ::testing::StartsWith("smartCardReader.port=COM1,\r\n"));
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

TEST_F(InstancePropertiesTest, TheHashOfTheConfigurationsLinesWithCrLfAndTheSaltStampsTheInstallationsFile)
{
    const std::pair<std::string, const char*> cases[] = {
        { "", "124A2E4BFCBEB0FB7F808F6A24F3DF50686647AF" }, // the salt alone
        { "<a/>\r\n<b/>\r\n", "6FB6B203533A0B79E41AC2746BD42773C5BD96F3" },
        { "<a/>\r<b/>", "6FB6B203533A0B79E41AC2746BD42773C5BD96F3" }, // a lone CR and the end end a line
        { "<a/>\n<b/>", "0670ED122836324526EB41C0DA2D1772555E60EC" }, // a lone LF does not
        { "<c>caf\xE9</c>\r\n", "AECE1851ABBC67D5BAF6C944ED5039B191288C43" }, // bytes as they stand
    };
    write("properties/instance.properties", "# engine\r\nNextReceiptNumber=12\r\nConfigHash=OLD\r\nx=1\r\n");
    for (const auto& [bytes, hash] : cases) {
        write("conf/ORVANTConfiguration.xml", bytes);
        tarn::writeConfigHash(failures);
        EXPECT_EQ(read("properties/instance.properties"),
                  "NextReceiptNumber=12\r\nConfigHash=" + std::string(hash) + "\r\nx=1\r\n");
    }
    fs::remove(native("properties/instance.properties"));
    tarn::writeConfigHash(failures);
    EXPECT_EQ(read("properties/instance.properties"), "ConfigHash=AECE1851ABBC67D5BAF6C944ED5039B191288C43\r\n");
    // Without a configuration there is nothing to stamp, quietly.
    fs::remove(native("conf/ORVANTConfiguration.xml"));
    std::string hash = "untouched";
    EXPECT_FALSE(tarn::computeConfigHash(hash));
    EXPECT_EQ(hash, "untouched");
    tarn::writeConfigHash(failures);
    EXPECT_TRUE(failures.empty());
}

TEST_F(InstancePropertiesTest, AnUnreadableConfigurationOrReadOnlyInstanceFileKeepsTheOldHashAndIsReported)
{
    for (const char* blocked : { "properties/instance.properties", "conf/ORVANTConfiguration.xml" }) {
        if (blocked[0] == 'c') {
            ORVANT_SKIP_UNLESS(host::kUnreadableFiles);
        }
        failures = {};
        write("conf/ORVANTConfiguration.xml", "<a/>\r\n");
        write("properties/instance.properties", "ConfigHash=OLD\r\n");
        blocked[0] == 'c' ? makeUnreadable(native(blocked)) : makeReadOnly(native(blocked));
        tarn::writeConfigHash(failures);
        fs::permissions(native(blocked), fs::perms::owner_all);
        EXPECT_EQ(read("properties/instance.properties"), "ConfigHash=OLD\r\n") << blocked;
        EXPECT_EQ(failures.files, std::vector<std::string> { "C:\\ORVANT\\properties\\instance.properties" });
    }
}

// Written once and only in XML mode: see the saves of the session tests.
TEST_F(InstancePropertiesTest, TheReceiptSeedGoesBelowThePropertiesFolderWhereTheInstanceFolderExists)
{
    tarn::Globals::state().configurationMode = tarn::kXmlMode;
    writeConfiguration({ { "00", pairs("PropertiesDir=C:\\Shops\\ORVANT") } });
    ASSERT_TRUE(tarn::XmlConfig::loadXmlConfig("C:\\ORVANT\\conf\\ORVANTConfiguration.xml"));
    fs::create_directories(folder.driveC() / "Shops/ORVANT/INSTANCE_01/properties");
    tarn::seedInstanceProperty("NextReceiptNumber", "300", 1, failures);
    tarn::seedInstanceProperty("NextReceiptNumber", "1", 5, failures);
    EXPECT_EQ(readFile(folder.driveC() / "Shops/ORVANT/INSTANCE_01/properties/instance.properties"),
              "NextReceiptNumber=300\r\n");
    EXPECT_FALSE(fs::exists(folder.driveC() / "Shops/ORVANT/INSTANCE_05"));
    EXPECT_TRUE(failures.empty());
    makeInstanceFolders(1);
    ORVANT_SKIP_UNLESS(host::kReadOnlyFolders);
    makeReadOnly(native("INSTANCE_01/properties"));
    tarn::XmlConfig::reset();
    tarn::seedInstanceProperty("NextReceiptNumber", "9", 1, failures);
    EXPECT_EQ(failures.files, std::vector<std::string> { "C:/ORVANT\\INSTANCE_01\\properties\\instance.properties" });
}

} // namespace
} // namespace orvant::test
