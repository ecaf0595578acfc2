#include "config_tool/model/ConfigValues.h"

#include "config_tool/foundation/ConfigurationMode.h"
#include "config_tool/foundation/Globals.h"
#include "config_tool/model/XmlConfig.h"
#include "tests/support/InstallationTest.h"
#include "tests/support/RegistryProbe.h"

namespace orvant::test {
namespace {

using platform::Hive;

class ConfigValuesTest : public InstallationTest
{
protected:
    void load(std::int16_t mode)
    {
        tarn::determineConfigurationMode();
        tarn::Globals::state().configurationMode = mode;
        tarn::XmlConfig::loadXmlConfig(tarn::Globals::state().xmlConfigurationPath);
    }
};

TEST_F(ConfigValuesTest, ValuesAreReadFromTheInstanceOfTheSection)
{
    writeConfiguration({ { "00", pairs("Port=10000") }, { "1", pairs("Port=10001") }, { "12", pairs("Port=10012") } });
    load(tarn::kRegistryMode);
    EXPECT_EQ(tarn::getConfigValue("Kelbrin", "Harbell", "Port", "x"), "10000");
    EXPECT_EQ(tarn::getConfigValue("Kelbrin", "Harbell_01", "Port", "x"), "10001");
    EXPECT_EQ(tarn::getConfigValue("Other", "Harbell_12", "Port", "x"), "10012");
    EXPECT_EQ(tarn::getConfigValue("Kelbrin", "Harbell_02", "Port", "x"), "x");
    EXPECT_EQ(tarn::getConfigValue("Kelbrin", "Harbell_x1", "Port", "x"), "x");
}

TEST_F(ConfigValuesTest, XmlModeWritesTheFileAloneAndRegistryModeBothHivesAsWell)
{
    writeConfiguration({ { "00", pairs("Port=10000") } });
    load(tarn::kXmlMode);
    tarn::setConfigValue("Kelbrin", "Harbell", "Port", "10100");
    EXPECT_EQ(storedValue("Port", 0), "10100");
    EXPECT_FALSE(kelbrinValue(Hive::CurrentUser, "Harbell", "Port"));

    // In registry mode every value goes to the registry, an unchanged one and one without a file too.
    load(tarn::kRegistryMode);
    tarn::setConfigValue("Kelbrin", "Harbell", "Port", "10100");
    std::filesystem::remove(native("conf/ORVANTConfiguration.xml"));
    load(tarn::kRegistryMode);
    tarn::setConfigValue("Kelbrin", "Harbell_03", "Port", "10003");
    for (const auto hive : { Hive::CurrentUser, Hive::LocalMachine }) {
        EXPECT_EQ(kelbrinValue(hive, "Harbell", "Port"), "10100");
        EXPECT_EQ(kelbrinValue(hive, "Harbell_03", "Port"), "10003");
    }
    EXPECT_FALSE(exists("conf/ORVANTConfiguration.xml"));
}

} // namespace
} // namespace orvant::test
