#include "config_tool/model/ConfigValues.h"

#include "tests/config_tool/model/ModelTesting.h"

namespace orvant::test {
namespace {

class ConfigValuesTest : public InstallationTest
{
protected:
    long load(std::int16_t mode)
    {
        auto& state = tarn::Globals::state();
        tarn::determineConfigurationMode();
        state.configurationMode = mode;
        tarn::XmlConfig::loadXmlConfig(state.xmlConfigurationPath);
        return tarn::XmlConfig::writeCount();
    }

    static bool registryHas(platform::Hive hive, const std::string& section)
    {
        return registryValue(hive, section, "Port").has_value();
    }
};

TEST_F(ConfigValuesTest, ReadsComeFromTheInstanceOfTheSection)
{
    writeConfiguration(
        { { "00", { { "Port", "10000" } } }, { "1", { { "Port", "10001" } } }, { "12", { { "Port", "10012" } } } });
    load(tarn::kRegistryMode);
    EXPECT_EQ(tarn::getConfigValue("Kelbrin", "Harbell", "Port", "x"), "10000");
    EXPECT_EQ(tarn::getConfigValue("Kelbrin", "Harbell_01", "Port", "x"), "10001");
    EXPECT_EQ(tarn::getConfigValue("Other", "Harbell_12", "Port", "x"), "10012");
    EXPECT_EQ(tarn::getConfigValue("Kelbrin", "Harbell_02", "Port", "x"), "x");
    EXPECT_EQ(tarn::getConfigValue("Kelbrin", "Harbell_01", "Missing", ""), "");
}

TEST_F(ConfigValuesTest, XmlModeWritesTheFileOnlyForAChange)
{
    writeConfiguration({ { "00", { { "Port", "10000" } } } });
    const long writes = load(tarn::kXmlMode);
    tarn::setConfigValue("Kelbrin", "Harbell", "Port", "10000");
    tarn::setConfigValue("Kelbrin", "Harbell_01", "InputDir", "");
    EXPECT_EQ(tarn::XmlConfig::writeCount(), writes);
    tarn::setConfigValue("Kelbrin", "Harbell", "Port", "10100");
    tarn::setConfigValue("Kelbrin", "Harbell", "Port", "10100");
    EXPECT_EQ(tarn::XmlConfig::writeCount(), writes + 1);
    EXPECT_EQ(storedValue("Port", 0), "10100");
    EXPECT_FALSE(registryHas(platform::Hive::CurrentUser, "Harbell"));
}

TEST_F(ConfigValuesTest, RegistryModeWritesBothHivesEvenWithoutAChange)
{
    writeConfiguration({ { "00", { { "Port", "10000" } } } });
    const long writes = load(tarn::kRegistryMode);
    tarn::setConfigValue("Kelbrin", "Harbell", "Port", "10000");
    EXPECT_EQ(tarn::XmlConfig::writeCount(), writes);
    EXPECT_TRUE(registryHas(platform::Hive::CurrentUser, "Harbell"));
    EXPECT_TRUE(registryHas(platform::Hive::LocalMachine, "Harbell"));

    // Without a configuration file the registry is still written.
    std::filesystem::remove(native("conf/ORVANTConfiguration.xml"));
    tarn::XmlConfig::reset();
    load(tarn::kRegistryMode);
    ASSERT_EQ(ui.messages.size(), 1u);
    tarn::setConfigValue("Kelbrin", "Harbell_03", "Port", "10003");
    EXPECT_TRUE(registryHas(platform::Hive::LocalMachine, "Harbell_03"));
    EXPECT_FALSE(exists("conf/ORVANTConfiguration.xml"));
    EXPECT_EQ(ui.messages.size(), 1u);
}

} // namespace
} // namespace orvant::test
