#include "config_tool/foundation/ConfigurationMode.h"

#include "config_tool/foundation/Globals.h"
#include "tests/support/Files.h"
#include "tests/support/ProcessState.h"
#include "tests/support/TestFolder.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace tarn {
namespace {

using namespace orvant::test;

class ConfigurationModeTest : public ::testing::Test
{
protected:
    TestFolder folder;
    ProcessStateGuard process;
    std::string home = (folder.path() / "home").string();
    std::filesystem::path modeFile = folder.path() / "home/properties/hbl.properties";
};

TEST_F(ConfigurationModeTest, TheInstallationFolderComesFromKelbrinHomeOnce)
{
    EXPECT_EQ(determineConfigurationMode(), kRegistryMode);
    EXPECT_EQ(Globals::state().installationFolder, home);
    EXPECT_EQ(Globals::state().xmlConfigurationPath, "") << "the folder does not exist";

    writeFile(modeFile, "Configuration=xml\r\n");
    EXPECT_EQ(determineConfigurationMode(), kXmlMode);
    EXPECT_EQ(Globals::state().xmlConfigurationPath, home + "\\conf\\ORVANTConfiguration.xml");

    const ScopedEnv later("KELBRIN_HOME", std::string("E:\\Other"));
    EXPECT_EQ(Globals::ensureInstallationFolder(), home);
    const std::string empty;
    for (const std::string* unset : { static_cast<const std::string*>(nullptr), &empty }) {
        Globals::reset();
        const ScopedEnv none("KELBRIN_HOME", unset);
        EXPECT_EQ(determineConfigurationMode(), kRegistryMode);
        EXPECT_EQ(Globals::ensureInstallationFolder(), "C:\\ORVANT");
    }
}

TEST_F(ConfigurationModeTest, WhichLinesSelectXmlMode)
{
    const std::pair<std::string, std::int16_t> cases[] {
        { "configuration=XML\r\n", 1 },        { "CONFIGURATION=Xml", 1 },
        { "Configuration=xml\n", 1 },          { "# set by TarnConfig\r\nConfiguration=xml\r\n", 1 },
        { "other=1\rConfiguration=xml\r", 1 }, { "Configuration=xml\r\nConfiguration=registry\r\n", 1 },
        { "Configuration=xml=1\r\n", 0 },      { "#Configuration=xml\r\n", 0 },
        { "Configuration = xml\r\n", 0 },      { " Configuration=xml\r\n", 0 },
        { "Configuration=xml \r\n", 0 },       { "Configuration=registry\r\n", 0 },
        { "other=1\nConfiguration=xml\n", 0 }, { "", 0 },
    };
    Globals::state().installationFolder = home;
    for (const auto& [bytes, expected] : cases) {
        writeFile(modeFile, bytes);
        EXPECT_EQ(readConfigurationMode(), expected) << bytes;
    }
    EXPECT_TRUE(process.ui.messages.empty());

    makeUnreadable(modeFile);
    EXPECT_EQ(readConfigurationMode(), kRegistryMode);
    ASSERT_EQ(process.ui.messages.size(), 1u);
    EXPECT_NE(process.ui.messages[0], "");
}

TEST_F(ConfigurationModeTest, WritingLeavesOneLineOrReportsWhyNot)
{
    Globals::state().installationFolder = home;
    EXPECT_FALSE(writeConfigurationMode()) << "no properties folder";
    EXPECT_FALSE(std::filesystem::exists(modeFile.parent_path()));

    writeFile(modeFile, "# old comment\r\nConfiguration=registry\r\nother=1\r\n");
    Globals::state().configurationMode = kXmlMode;
    EXPECT_TRUE(writeConfigurationMode());
    EXPECT_EQ(readFile(modeFile), "Configuration=xml\r\n");
    Globals::state().configurationMode = kRegistryMode;
    EXPECT_TRUE(writeConfigurationMode());
    EXPECT_EQ(readFile(modeFile), "Configuration=registry\r\n");

    makeReadOnly(modeFile);
    Globals::state().configurationMode = kXmlMode;
    EXPECT_FALSE(writeConfigurationMode());
    EXPECT_EQ(readFile(modeFile), "Configuration=registry\r\n");
    EXPECT_EQ(process.ui.messages.size(), 2u);

    // Without KELBRIN_HOME the first write makes the default folder known.
    Globals::reset();
    const ScopedEnv unset("KELBRIN_HOME", nullptr);
    std::filesystem::create_directories(folder.driveC() / "ORVANT/properties");
    Globals::state().configurationMode = kXmlMode;
    EXPECT_TRUE(writeConfigurationMode());
    EXPECT_EQ(folder.read("drive_c/ORVANT/properties/hbl.properties"), "Configuration=xml\r\n");
}

TEST_F(ConfigurationModeTest, MessagesGoNowhereUntilAFrontEndInstallsItsServices)
{
    Globals::setUi(nullptr);
    Globals::ui().showMessage("nowhere");
    EXPECT_EQ(Globals::ui().askYesNoCancel("Save?"), QuestionAnswer::Cancel);
    EXPECT_TRUE(process.ui.messages.empty());
}

} // namespace
} // namespace tarn
