#include "config_tool/engine_files/InstanceProperties.h"

#include "config_tool/foundation/Globals.h"
#include "config_tool/model/XmlConfig.h"
#include "tests/support/InstallationTest.h"

namespace orvant::test {
namespace {

// SHA-1 of the configuration's lines, each ended by CR LF, and the salt "7A3B9E10C4D25F86E01B".
constexpr const char* kHashOfSaltAlone = "124A2E4BFCBEB0FB7F808F6A24F3DF50686647AF";
constexpr const char* kHashOfTwoLines = "6FB6B203533A0B79E41AC2746BD42773C5BD96F3"; // "<a/>\r\n<b/>\r\n"

class InstancePropertiesTest : public InstallationTest
{
protected:
    void writeConfigurationBytes(std::string_view bytes) const { write("conf/ORVANTConfiguration.xml", bytes); }

    tarn::FailedWrites failures;
};

TEST_F(InstancePropertiesTest, TheHashIsTakenOverTheLinesOfTheFileWithCrLfAndTheSalt)
{
    const std::pair<std::string, const char*> cases[] = {
        { "", kHashOfSaltAlone },
        { "<a/>\r\n<b/>\r\n", kHashOfTwoLines },
        { "<a/>\r<b/>\r", kHashOfTwoLines },
        { "<a/>\n<b/>", "0670ED122836324526EB41C0DA2D1772555E60EC" }, // a lone LF is part of the line
        { "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\r\n<c>caf\xE9</c>\r\n",
          "B415ABF2E6202220F719CF395CF6934272147721" } // bytes above 7F as they stand
    };
    for (const auto& [bytes, hash] : cases) {
        writeConfigurationBytes(bytes);
        std::string computed;
        EXPECT_TRUE(tarn::computeConfigHash(computed));
        EXPECT_EQ(computed, hash) << bytes;
    }
}

TEST_F(InstancePropertiesTest, TheHashStampsTheInstallationsFileInPlace)
{
    writeConfigurationBytes("");
    write("properties/instance.properties", "# engine\r\nNextReceiptNumber=12\r\nConfigHash=OLD\r\nx=1\r\n");
    tarn::writeConfigHash(failures);
    EXPECT_EQ(read("properties/instance.properties"),
              "NextReceiptNumber=12\r\nConfigHash=" + std::string(kHashOfSaltAlone) + "\r\nx=1\r\n");
    std::filesystem::remove(native("properties/instance.properties"));
    writeConfigurationBytes("<a/>\r\n<b/>\r\n");
    tarn::writeConfigHash(failures);
    EXPECT_EQ(read("properties/instance.properties"), "ConfigHash=" + std::string(kHashOfTwoLines) + "\r\n");

    // Without a configuration there is nothing to stamp, quietly.
    std::filesystem::remove(native("conf/ORVANTConfiguration.xml"));
    std::string hash = "untouched";
    EXPECT_FALSE(tarn::computeConfigHash(hash));
    EXPECT_EQ(hash, "untouched");
    tarn::writeConfigHash(failures);
    EXPECT_EQ(read("properties/instance.properties"), "ConfigHash=" + std::string(kHashOfTwoLines) + "\r\n");
    EXPECT_TRUE(failures.empty());
}

TEST_F(InstancePropertiesTest, AnUnreadableConfigurationOrReadOnlyInstanceFileKeepsTheOldHashAndIsReported)
{
    for (const char* blocked : { "conf/ORVANTConfiguration.xml", "properties/instance.properties" }) {
        SCOPED_TRACE(blocked);
        failures = {};
        writeConfigurationBytes("<a/>\r\n");
        write("properties/instance.properties", "ConfigHash=OLD\r\n");
        blocked[0] == 'c' ? makeUnreadable(native(blocked)) : makeReadOnly(native(blocked));
        tarn::writeConfigHash(failures);
        std::filesystem::permissions(native(blocked), std::filesystem::perms::owner_all);
        EXPECT_EQ(read("properties/instance.properties"), "ConfigHash=OLD\r\n");
        EXPECT_EQ(failures.files, std::vector<std::string> { "C:\\ORVANT\\properties\\instance.properties" });
    }
}

TEST_F(InstancePropertiesTest, TheReceiptSeedIsWrittenOnceInXmlModeWhereTheFolderExists)
{
    makeInstanceFolders(2);
    tarn::seedInstanceProperty("NextReceiptNumber", "57", 2, failures);
    EXPECT_FALSE(exists("INSTANCE_02/properties/instance.properties")) << "registry mode";

    tarn::Globals::state().configurationMode = tarn::kXmlMode;
    tarn::seedInstanceProperty("NextReceiptNumber", "57", 2, failures);
    tarn::seedInstanceProperty("NextReceiptNumber", "58", 2, failures);
    tarn::seedInstanceProperty("NextReceiptNumber", "1", 5, failures);
    EXPECT_EQ(read("INSTANCE_02/properties/instance.properties"), "NextReceiptNumber=57\r\n");
    EXPECT_FALSE(exists("INSTANCE_05"));
    EXPECT_TRUE(failures.empty());

    // Below the configured properties folder; a folder that cannot be written is reported.
    writeConfiguration({ { "00", pairs("PropertiesDir=C:\\Shops\\ORVANT") } });
    ASSERT_TRUE(tarn::XmlConfig::loadXmlConfig("C:\\ORVANT\\conf\\ORVANTConfiguration.xml"));
    std::filesystem::create_directories(folder.driveC() / "Shops/ORVANT/INSTANCE_01/properties");
    tarn::seedInstanceProperty("NextReceiptNumber", "300", 1, failures);
    EXPECT_EQ(folder.read("drive_c/Shops/ORVANT/INSTANCE_01/properties/instance.properties"),
              "NextReceiptNumber=300\r\n");
    makeReadOnly(native("INSTANCE_01/properties"));
    tarn::XmlConfig::reset();
    tarn::seedInstanceProperty("NextReceiptNumber", "9", 1, failures);
    EXPECT_EQ(failures.files, std::vector<std::string> { "C:/ORVANT\\INSTANCE_01\\properties\\instance.properties" });
}

} // namespace
} // namespace orvant::test
