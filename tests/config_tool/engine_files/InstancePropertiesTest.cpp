#include "config_tool/engine_files/InstanceProperties.h"

#include "config_tool/foundation/Globals.h"
#include "config_tool/model/XmlConfig.h"
#include "tests/support/InstallationTest.h"

namespace orvant::test {
namespace {

namespace fs = std::filesystem;

class InstancePropertiesTest : public InstallationTest
{
protected:
    tarn::FailedWrites failures;
};

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
    for (const char* blocked : { "conf/ORVANTConfiguration.xml", "properties/instance.properties" }) {
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
    EXPECT_EQ(folder.read("drive_c/Shops/ORVANT/INSTANCE_01/properties/instance.properties"),
              "NextReceiptNumber=300\r\n");
    EXPECT_FALSE(fs::exists(folder.driveC() / "Shops/ORVANT/INSTANCE_05"));
    EXPECT_TRUE(failures.empty());
    makeInstanceFolders(1);
    makeReadOnly(native("INSTANCE_01/properties"));
    tarn::XmlConfig::reset();
    tarn::seedInstanceProperty("NextReceiptNumber", "9", 1, failures);
    EXPECT_EQ(failures.files, std::vector<std::string> { "C:/ORVANT\\INSTANCE_01\\properties\\instance.properties" });
}

} // namespace
} // namespace orvant::test
