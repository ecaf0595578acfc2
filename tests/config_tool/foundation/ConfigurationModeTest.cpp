#include "config_tool/foundation/ConfigurationMode.h"

#include "config_tool/foundation/Globals.h"
#include "tests/support/Files.h"
#include "tests/support/ProcessState.h"
#include "tests/support/TestFolder.h"

#include <gtest/gtest.h>

namespace tarn {
namespace {

using namespace orvant::test;

class ConfigurationModeTest : public ::testing::Test
{
protected:
    TestFolder folder;
    ProcessStateGuard process;
    GlobalState& state = Globals::state();
    std::string home = (folder.path() / "home").string(); // KELBRIN_HOME
    std::filesystem::path modeFile = folder.path() / "home/properties/hbl.properties";
};

TEST_F(ConfigurationModeTest, TheInstallationFolderComesFromKelbrinHomeOnce)
{
    EXPECT_EQ(determineConfigurationMode(), kRegistryMode);
    EXPECT_EQ(state.installationFolder + "|" + state.xmlConfigurationPath, home + "|") << "the folder does not exist";
    writeFile(modeFile, "Configuration=xml\r\n");
    EXPECT_EQ(determineConfigurationMode(), kXmlMode);
    EXPECT_EQ(state.xmlConfigurationPath, home + "\\conf\\ORVANTConfiguration.xml");

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

TEST_F(ConfigurationModeTest, AnyLineConfigurationEqualsXmlInAnyCaseSelectsXmlMode)
{
    const std::pair<std::string, std::int16_t> cases[] {
        { "configuration=XML\r\n", 1 },    { "CONFIGURATION=Xml", 1 },
        { "Configuration=xml\n", 1 },      { "#\r\nConfiguration=xml", 1 },
        { "a=1\rConfiguration=xml\r", 1 }, { "Configuration=xml\r\nConfiguration=registry", 1 },
        { "Configuration=xml=1", 0 },      { "#Configuration=xml", 0 },
        { "Configuration = xml", 0 },      { " Configuration=xml", 0 },
        { "Configuration=xml ", 0 },       { "a=1\nConfiguration=xml\n", 0 },
        { "Configuration=registry", 0 },   { "", 0 }
    };
    state.installationFolder = home;
    for (const auto& [bytes, expected] : cases) {
        writeFile(modeFile, bytes);
        EXPECT_EQ(readConfigurationMode(), expected) << bytes;
    }
    EXPECT_TRUE(process.ui.messages.empty());
    makeUnreadable(modeFile);
    EXPECT_EQ(readConfigurationMode(), kRegistryMode);
    EXPECT_EQ(process.ui.messages.size(), 1u) << "the reason is shown";
}

TEST_F(ConfigurationModeTest, WritingLeavesOneLineOrShowsWhyNot)
{
    state.installationFolder = home;
    EXPECT_FALSE(writeConfigurationMode()) << "no properties folder";
    writeFile(modeFile, "# old comment\r\nConfiguration=registry\r\nother=1\r\n");
    state.configurationMode = kXmlMode;
    EXPECT_TRUE(writeConfigurationMode());
    EXPECT_EQ(readFile(modeFile), "Configuration=xml\r\n");
    state.configurationMode = kRegistryMode;
    EXPECT_TRUE(writeConfigurationMode());
    EXPECT_EQ(readFile(modeFile), "Configuration=registry\r\n");
    makeReadOnly(modeFile);
    state.configurationMode = kXmlMode;
    EXPECT_FALSE(writeConfigurationMode());
    EXPECT_EQ(readFile(modeFile), "Configuration=registry\r\n");
    EXPECT_EQ(process.ui.messages.size(), 2u);
}

} // namespace
} // namespace tarn
