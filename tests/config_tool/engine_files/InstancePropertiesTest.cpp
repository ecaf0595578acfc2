#include "config_tool/engine_files/InstanceProperties.h"

#include "config_tool/foundation/Globals.h"
#include "config_tool/model/XmlConfig.h"
#include "tests/config_tool/engine_files/EngineFileTesting.h"

#include <filesystem>

namespace tarn::test {
namespace {

// SHA-1 of the configuration text plus the salt "7A3B9E10C4D25F86E01B", computed outside the system.
constexpr const char* kHashOfSaltAlone = "124A2E4BFCBEB0FB7F808F6A24F3DF50686647AF";
constexpr const char* kHashOfTwoLines = "6FB6B203533A0B79E41AC2746BD42773C5BD96F3"; // "<a/>\r\n<b/>\r\n"
constexpr const char* kHashWithLoneLf = "0670ED122836324526EB41C0DA2D1772555E60EC"; // "<a/>\n<b/>\r\n"

class InstancePropertiesTest : public EngineFileTest
{
protected:
    InstancePropertiesTest()
    {
        Globals::reset();
        Globals::state().installationFolder = kPropertiesFolder;
    }
    ~InstancePropertiesTest() override
    {
        XmlConfig::reset();
        Globals::reset();
    }

    void writeConfiguration(const std::string& bytes) const { writeFile("conf/ORVANTConfiguration.xml", bytes); }

    std::string hashNow()
    {
        std::string hash;
        EXPECT_TRUE(computeConfigHash(hash));
        return hash;
    }
};

TEST_F(InstancePropertiesTest, theHashIsTakenOverTheLinesWithCrLfEndings)
{
    writeConfiguration("");
    EXPECT_EQ(hashNow(), kHashOfSaltAlone);

    writeConfiguration("<a/>\r\n<b/>\r\n");
    EXPECT_EQ(hashNow(), kHashOfTwoLines);
    // A last line without an ending and lines ended by a lone CR count as ended by CR LF.
    writeConfiguration("<a/>\r\n<b/>");
    EXPECT_EQ(hashNow(), kHashOfTwoLines);
    writeConfiguration("<a/>\r<b/>\r");
    EXPECT_EQ(hashNow(), kHashOfTwoLines);
    // A lone LF does not end a line: it stays part of it.
    writeConfiguration("<a/>\n<b/>");
    EXPECT_EQ(hashNow(), kHashWithLoneLf);
}

TEST_F(InstancePropertiesTest, theHashFollowsEveryByteOfTheFile)
{
    writeConfiguration("<a/>\r\n<b/>\r\n");
    const std::string before = hashNow();
    EXPECT_EQ(hashNow(), before);
    writeConfiguration("<a/>\r\n<b />\r\n");
    EXPECT_NE(hashNow(), before);

    // Bytes above 7F go into the digest as they stand, whatever the file's encoding.
    writeConfiguration("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\r\n<c>caf\xE9</c>\r\n");
    EXPECT_EQ(hashNow(), "B415ABF2E6202220F719CF395CF6934272147721");
}

TEST_F(InstancePropertiesTest, writeConfigHashStampsTheInstallationFile)
{
    writeConfiguration("");
    writeFile("properties/instance.properties", "# engine\r\nNextReceiptNumber=12\r\nConfigHash=OLD\r\nx=1\r\n");
    writeConfigHash(m_failures);
    EXPECT_EQ(readFile("properties/instance.properties"),
              "NextReceiptNumber=12\r\nConfigHash=" + std::string(kHashOfSaltAlone) + "\r\nx=1\r\n");
    EXPECT_TRUE(m_failures.empty());
}

TEST_F(InstancePropertiesTest, aMissingInstanceFileIsCreatedWithTheHashAlone)
{
    writeConfiguration("<a/>\r\n<b/>\r\n");
    makeFolder("properties");
    writeConfigHash(m_failures);
    EXPECT_EQ(readFile("properties/instance.properties"), "ConfigHash=" + std::string(kHashOfTwoLines) + "\r\n");
}

TEST_F(InstancePropertiesTest, aMissingConfigurationChangesNothingQuietly)
{
    writeFile("properties/instance.properties", "ConfigHash=OLD\r\n");
    std::string hash = "untouched";
    EXPECT_FALSE(computeConfigHash(hash));
    EXPECT_EQ(hash, "untouched");
    writeConfigHash(m_failures);
    EXPECT_EQ(readFile("properties/instance.properties"), "ConfigHash=OLD\r\n");
    EXPECT_TRUE(m_failures.empty());
}

TEST_F(InstancePropertiesTest, anUnreadableConfigurationOrReadOnlyInstanceFileKeepsTheOldHashAndIsReported)
{
    namespace fs = std::filesystem;
    const std::pair<const char*, fs::perms> cases[] = {
        { "conf/ORVANTConfiguration.xml", fs::perms::none },
        { "properties/instance.properties", fs::perms::owner_read | fs::perms::group_read },
    };
    for (const auto& [file, perms] : cases) {
        SCOPED_TRACE(file);
        m_failures = {};
        writeConfiguration("<a/>\r\n");
        writeFile("properties/instance.properties", "ConfigHash=OLD\r\n");
        fs::permissions(m_folder.path() / onDisk(file), perms);
        writeConfigHash(m_failures);
        EXPECT_EQ(readFile("properties/instance.properties"), "ConfigHash=OLD\r\n");
        EXPECT_EQ(m_failures.files, std::vector<std::string> { "C:\\ORVANT\\properties\\instance.properties" });
        fs::permissions(m_folder.path() / onDisk(file), fs::perms::owner_all);
    }
}

// Without a loaded configuration PropertiesDir takes its default "C:/ORVANT".
TEST_F(InstancePropertiesTest, theReceiptSeedIsWrittenOnceAndOnlyInXmlMode)
{
    makeFolder("INSTANCE_02/properties");
    seedInstanceProperty("NextReceiptNumber", "57", 2, m_failures);
    EXPECT_FALSE(fileThere("INSTANCE_02/properties/instance.properties"));

    Globals::state().configurationMode = kXmlMode;
    seedInstanceProperty("NextReceiptNumber", "57", 2, m_failures);
    EXPECT_EQ(readFile("INSTANCE_02/properties/instance.properties"), "NextReceiptNumber=57\r\n");
    seedInstanceProperty("NextReceiptNumber", "58", 2, m_failures);
    EXPECT_EQ(readFile("INSTANCE_02/properties/instance.properties"), "NextReceiptNumber=57\r\n");
    EXPECT_TRUE(m_failures.empty());
}

TEST_F(InstancePropertiesTest, theBaseInstanceSeedsTheDefaultFolderAndAMissingFolderGetsNothing)
{
    Globals::state().configurationMode = kXmlMode;
    makeFolder("properties");
    seedInstanceProperty("NextReceiptNumber", "1", 0, m_failures);
    EXPECT_EQ(readFile("properties/instance.properties"), "NextReceiptNumber=1\r\n");

    seedInstanceProperty("NextReceiptNumber", "1", 5, m_failures);
    EXPECT_FALSE(fileThere("INSTANCE_05"));
    EXPECT_TRUE(m_failures.empty());
}

TEST_F(InstancePropertiesTest, theSeedGoesBelowTheConfiguredPropertiesFolder)
{
    Globals::state().configurationMode = kXmlMode;
    writeConfiguration("<ORVANTConfiguration><PropertiesDir>C:\\Shops\\ORVANT</PropertiesDir>"
                       "</ORVANTConfiguration>\r\n");
    ASSERT_TRUE(XmlConfig::loadXmlConfig("C:\\ORVANT\\conf\\ORVANTConfiguration.xml"));
    m_folder.write("drive_c/Shops/ORVANT/INSTANCE_01/properties/terminal.properties", "");
    seedInstanceProperty("NextReceiptNumber", "300", 1, m_failures);
    EXPECT_EQ(m_folder.read("drive_c/Shops/ORVANT/INSTANCE_01/properties/instance.properties"),
              "NextReceiptNumber=300\r\n");
    EXPECT_FALSE(fileThere("INSTANCE_01"));
}

TEST_F(InstancePropertiesTest, aSeedThatCannotBeWrittenIsReported)
{
    Globals::state().configurationMode = kXmlMode;
    const auto folder = m_folder.path() / onDisk("INSTANCE_01/properties");
    std::filesystem::create_directories(folder);
    std::filesystem::permissions(folder, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    seedInstanceProperty("NextReceiptNumber", "9", 1, m_failures);
    EXPECT_EQ(m_failures.files, std::vector<std::string> { "C:/ORVANT\\INSTANCE_01\\properties\\instance.properties" });
}

} // namespace
} // namespace tarn::test
