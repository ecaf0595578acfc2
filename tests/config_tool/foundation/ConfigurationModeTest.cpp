#include "config_tool/foundation/ConfigurationMode.h"

#include "config_tool/foundation/Globals.h"
#include "tests/support/FakeUi.h"
#include "tests/support/TestFolder.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <utility>

namespace {

namespace fs = std::filesystem;
using tarn::Globals::state;

constexpr char kModeFile[] = "home/properties/hbl.properties";

class ConfigurationMode : public ::testing::Test
{
protected:
    void SetUp() override
    {
        tarn::Globals::reset();
        tarn::Globals::setUi(&ui);
    }

    void TearDown() override
    {
        tarn::Globals::setUi(nullptr);
        tarn::Globals::reset();
    }

    void removeFromModeFile(fs::perms perms)
    {
        fs::permissions(folder.path() / kModeFile, perms, fs::perm_options::remove);
    }

    orvant::test::TestFolder folder;
    orvant::test::FakeUi ui;
    std::string home = (folder.path() / "home").string();
};

TEST_F(ConfigurationMode, InstallationFolderDecidesWhetherTheModeFileIsRead)
{
    // A KELBRIN_HOME that does not exist is kept but gives no XML path.
    EXPECT_EQ(tarn::determineConfigurationMode(), tarn::kRegistryMode);
    EXPECT_EQ(state().installationFolder, home);
    EXPECT_EQ(state().xmlConfigurationPath, "");

    fs::create_directories(home);
    EXPECT_EQ(tarn::determineConfigurationMode(), tarn::kRegistryMode);
    EXPECT_EQ(state().xmlConfigurationPath, home + "\\conf\\ORVANTConfiguration.xml");
    folder.write(kModeFile, "Configuration=xml\r\n");
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

TEST_F(ConfigurationMode, WithoutKelbrinHomeTheFirstSaveWritesUnderTheDefaultFolder)
{
    orvant::test::ScopedEnv unset("KELBRIN_HOME", nullptr);
    EXPECT_EQ(tarn::determineConfigurationMode(), tarn::kRegistryMode);
    EXPECT_EQ(state().installationFolder, "");
    EXPECT_EQ(state().xmlConfigurationPath, "");
    fs::create_directories(folder.path() / "drive_c/ORVANT/properties");
    state().configurationMode = tarn::kXmlMode;
    EXPECT_TRUE(tarn::writeConfigurationMode());
    EXPECT_EQ(state().installationFolder, "C:\\ORVANT");
    EXPECT_EQ(state().xmlConfigurationPath, "");
    EXPECT_EQ(folder.read("drive_c/ORVANT/properties/hbl.properties"), "Configuration=xml\r\n");
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(ConfigurationMode, WhichLinesSelectXmlMode)
{
    const std::pair<std::string, std::int16_t> cases[] {
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
    state().installationFolder = home;
    for (const auto& [bytes, expected] : cases) {
        folder.write(kModeFile, bytes);
        EXPECT_EQ(tarn::readConfigurationMode(), expected) << bytes;
    }
    EXPECT_TRUE(ui.messages.empty());

    // An unreadable file shows the reason and gives registry mode.
    folder.write(kModeFile, "Configuration=xml\r\n");
    removeFromModeFile(fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    EXPECT_EQ(tarn::readConfigurationMode(), tarn::kRegistryMode);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_FALSE(ui.messages[0].empty());
}

TEST_F(ConfigurationMode, WritesOneLineAndDropsTheRest)
{
    folder.write(kModeFile, "# old comment\r\nConfiguration=registry\r\nother=1\r\n");
    state().configurationMode = tarn::kXmlMode;
    // Writing makes the installation folder known.
    EXPECT_TRUE(tarn::writeConfigurationMode());
    EXPECT_EQ(state().installationFolder, home);
    EXPECT_EQ(folder.read(kModeFile), "Configuration=xml\r\n");
    EXPECT_EQ(tarn::readConfigurationMode(), tarn::kXmlMode);

    state().configurationMode = tarn::kRegistryMode;
    EXPECT_TRUE(tarn::writeConfigurationMode());
    EXPECT_EQ(folder.read(kModeFile), "Configuration=registry\r\n");
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(ConfigurationMode, WriteFailuresShowTheReasonAndLeaveTheOldFile)
{
    state().installationFolder = home; // no properties folder yet
    EXPECT_FALSE(tarn::writeConfigurationMode());
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_FALSE(ui.messages[0].empty());
    EXPECT_FALSE(folder.exists("home/properties"));

    folder.write(kModeFile, "Configuration=xml\r\n");
    removeFromModeFile(fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write);
    EXPECT_FALSE(tarn::writeConfigurationMode());
    EXPECT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(folder.read(kModeFile), "Configuration=xml\r\n");
}

} // namespace
