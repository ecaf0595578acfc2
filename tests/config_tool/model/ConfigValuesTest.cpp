#include "config_tool/model/ConfigValues.h"

#include "config_tool/foundation/ConfigurationMode.h"
#include "config_tool/foundation/Globals.h"
#include "config_tool/model/XmlConfig.h"
#include "tests/support/InstallationTest.h"
#include "tests/support/RegistryProbe.h"

namespace orvant::test {
namespace {

using platform::Hive;
using ConfigValuesTest = InstallationTest;

TEST_F(ConfigValuesTest, ValuesAreReadFromTheDocumentAndWrittenToTheRegistryToo)
{
    writeConfiguration({ { "00", pairs("Port=10000") }, { "1", pairs("Port=10001") }, { "12", pairs("Port=10012") } });
    tarn::determineConfigurationMode();
    tarn::XmlConfig::loadXmlConfig(tarn::Globals::state().xmlConfigurationPath);
    const std::pair<const char*, const char*> reads[] = {
        { "Harbell", "10000" }, { "Harbell_01", "10001" }, { "Harbell_12", "10012" },
        { "Harbell_02", "x" },  { "Harbell_x1", "x" },
    };
    for (const auto& [section, value] : reads) {
        EXPECT_EQ(tarn::getConfigValue("Other", section, "Port", "x"), value) << section;
    }
    // Registry mode: every value goes to both hives, an unchanged one too, and then to the document.
    tarn::setConfigValue("Kelbrin", "Harbell", "Port", "10000");
    tarn::setConfigValue("Kelbrin", "Harbell_03", "Port", "10003");
    for (const auto hive : { Hive::CurrentUser, Hive::LocalMachine }) {
        EXPECT_EQ(kelbrinValue(hive, "Harbell", "Port"), "10000");
        EXPECT_EQ(kelbrinValue(hive, "Harbell_03", "Port"), "10003");
    }
    EXPECT_EQ(storedValue("Port", 3), "10003");

    // XML mode: the document alone.
    tarn::Globals::state().configurationMode = tarn::kXmlMode;
    tarn::setConfigValue("Kelbrin", "Harbell", "Port", "10100");
    EXPECT_EQ(storedValue("Port", 0), "10100");
    EXPECT_EQ(kelbrinValue(Hive::CurrentUser, "Harbell", "Port"), "10000");
}

} // namespace
} // namespace orvant::test
