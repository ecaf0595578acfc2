#include "config_tool/foundation/ConfigurationMode.h"

#include "config_tool/foundation/Globals.h"
#include "tests/support/FakeUi.h"
#include "tests/support/TestFolder.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

namespace {

namespace fs = std::filesystem;
using tarn::Globals::state;

class ConfigurationMode : public ::testing::Test
{
protected:
    void SetUp() override
    {
        tarn::Globals::reset();
        tarn::Globals::setUi(&ui);
        home = (folder.path() / "home").string();
    }

    void TearDown() override
    {
        tarn::Globals::setUi(nullptr);
        tarn::Globals::reset();
    }

    void writeModeFile(const std::string& bytes) { folder.write("home/properties/hbl.properties", bytes); }

    orvant::test::TestFolder folder;
    orvant::test::FakeUi ui;
    std::string home;
};

TEST_F(ConfigurationMode, WithoutKelbrinHomeRegistryModeAndNoXmlPath)
{
    orvant::test::ScopedEnv unset("KELBRIN_HOME", nullptr);
    EXPECT_EQ(tarn::determineConfigurationMode(), tarn::kRegistryMode);
    EXPECT_EQ(state().installationFolder, "");
    EXPECT_EQ(state().xmlConfigurationPath, "");
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(ConfigurationMode, KelbrinHomeThatDoesNotExistIsKeptButGivesNoXmlPath)
{
    EXPECT_EQ(tarn::determineConfigurationMode(), tarn::kRegistryMode);
    EXPECT_EQ(state().installationFolder, home);
    EXPECT_EQ(state().xmlConfigurationPath, "");
}

TEST_F(ConfigurationMode, ExistingInstallationFolderReadsTheModeFile)
{
    fs::create_directories(home);
    EXPECT_EQ(tarn::determineConfigurationMode(), tarn::kRegistryMode);
    EXPECT_EQ(state().xmlConfigurationPath, home + "\\conf\\ORVANTConfiguration.xml");

    writeModeFile("Configuration=xml\r\n");
    EXPECT_EQ(tarn::determineConfigurationMode(), tarn::kXmlMode);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(ConfigurationMode, WindowsFormInstallationFolder)
{
    orvant::test::ScopedEnv windowsHome("KELBRIN_HOME", std::string("C:\\ORVANT"));
    folder.write("drive_c/orvant/Properties/HBL.properties", "Configuration=xml\r\n");
    EXPECT_EQ(tarn::determineConfigurationMode(), tarn::kXmlMode);
    EXPECT_EQ(state().installationFolder, "C:\\ORVANT");
    EXPECT_EQ(state().xmlConfigurationPath, "C:\\ORVANT\\conf\\ORVANTConfiguration.xml");
}

TEST_F(ConfigurationMode, WhichLinesSelectXmlMode)
{
    const std::vector<std::pair<std::string, std::int16_t>> cases {
        { "configuration=XML\r\n", 1 },
        { "CONFIGURATION=Xml", 1 },
        { "Configuration=xml", 1 },
        { "Configuration=xml\n", 1 },
        { "# set by TarnConfig\r\nConfiguration=xml\r\n", 1 },
        { "other=1\rConfiguration=xml\r", 1 },
        { "Configuration=registry\r\nConfiguration=xml\r\n", 1 },
        { "Configuration=xml\r\nConfiguration=registry\r\n", 1 },
        { "Configuration=xml=1\r\n", 0 },
        { "#Configuration=xml\r\n", 0 },
        { "Configuration = xml\r\n", 0 },
        { " Configuration=xml\r\n", 0 },
        { "Configuration=xml \r\n", 0 },
        { "Configuration=registry\r\n", 0 },
        { "Configuration=\r\n=xml\r\n", 0 },
        { "other=1\nConfiguration=xml\n", 0 },
        { "Configurationxml\r\n", 0 },
        { "", 0 },
    };
    fs::create_directories(home);
    state().installationFolder = home;
    for (const auto& [bytes, expected] : cases) {
        writeModeFile(bytes);
        EXPECT_EQ(tarn::readConfigurationMode(), expected) << bytes;
    }
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(ConfigurationMode, UnreadableModeFileShowsTheReasonAndGivesRegistryMode)
{
    writeModeFile("Configuration=xml\r\n");
    fs::permissions(folder.path() / "home/properties/hbl.properties",
                    fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read, fs::perm_options::remove);
    state().installationFolder = home;
    EXPECT_EQ(tarn::readConfigurationMode(), tarn::kRegistryMode);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_FALSE(ui.messages[0].empty());
}

TEST_F(ConfigurationMode, WritesOneLineAndDropsTheRest)
{
    writeModeFile("# old comment\r\nConfiguration=registry\r\nother=1\r\n");
    state().installationFolder = home;
    state().configurationMode = tarn::kXmlMode;
    EXPECT_TRUE(tarn::writeConfigurationMode());
    EXPECT_EQ(folder.read("home/properties/hbl.properties"), "Configuration=xml\r\n");
    EXPECT_EQ(tarn::readConfigurationMode(), tarn::kXmlMode);

    state().configurationMode = tarn::kRegistryMode;
    EXPECT_TRUE(tarn::writeConfigurationMode());
    EXPECT_EQ(folder.read("home/properties/hbl.properties"), "Configuration=registry\r\n");
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(ConfigurationMode, WriteMakesTheInstallationFolderKnown)
{
    fs::create_directories(folder.path() / "home/properties");
    EXPECT_TRUE(tarn::writeConfigurationMode());
    EXPECT_EQ(state().installationFolder, home);
    EXPECT_EQ(folder.read("home/properties/hbl.properties"), "Configuration=registry\r\n");
}

TEST_F(ConfigurationMode, WithoutKelbrinHomeTheFirstSaveWritesUnderTheDefaultFolder)
{
    orvant::test::ScopedEnv unset("KELBRIN_HOME", nullptr);
    EXPECT_EQ(tarn::determineConfigurationMode(), tarn::kRegistryMode);
    fs::create_directories(folder.path() / "drive_c/ORVANT/properties");
    state().configurationMode = tarn::kXmlMode;
    EXPECT_TRUE(tarn::writeConfigurationMode());
    EXPECT_EQ(state().installationFolder, "C:\\ORVANT");
    EXPECT_EQ(state().xmlConfigurationPath, "");
    EXPECT_EQ(folder.read("drive_c/ORVANT/properties/hbl.properties"), "Configuration=xml\r\n");
}

TEST_F(ConfigurationMode, WriteFailuresShowTheReasonAndLeaveTheOldFile)
{
    state().installationFolder = home; // no properties folder yet
    EXPECT_FALSE(tarn::writeConfigurationMode());
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_FALSE(ui.messages[0].empty());
    EXPECT_FALSE(folder.exists("home/properties"));

    writeModeFile("Configuration=xml\r\n");
    fs::permissions(folder.path() / "home/properties/hbl.properties",
                    fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    EXPECT_FALSE(tarn::writeConfigurationMode());
    EXPECT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(folder.read("home/properties/hbl.properties"), "Configuration=xml\r\n");
}

} // namespace
