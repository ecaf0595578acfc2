#pragma once

#include "config_tool/foundation/ConfigurationMode.h"
#include "config_tool/foundation/Globals.h"
#include "config_tool/model/ConfigSession.h"
#include "config_tool/model/InstanceNaming.h"
#include "config_tool/model/XmlConfig.h"
#include "tests/support/FakeUi.h"
#include "tests/support/TestFolder.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

namespace orvant::test {

using KeyValues = std::vector<std::pair<std::string, std::string>>;

// One instance of a configuration file: its InstanceId text and its values in document order.
struct StoredInstance
{
    std::string id;
    KeyValues values;
};

// A configuration file as the engine's installer writes it: tab indented, CR LF line ends.
inline std::string configurationXml(const std::vector<StoredInstance>& instances)
{
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<ORVANTConfiguration>\r\n";
    if (!instances.empty()) {
        xml += "\t<InstanceConfigurationList>\r\n";
        for (const auto& instance : instances) {
            xml += "\t\t<InstanceConfiguration>\r\n\t\t\t<InstanceId>" + instance.id + "</InstanceId>\r\n";
            for (const auto& [key, value] : instance.values) {
                xml += "\t\t\t<" + key + ">" + value + "</" + key + ">\r\n";
            }
            xml += "\t\t</InstanceConfiguration>\r\n";
        }
        xml += "\t</InstanceConfigurationList>\r\n";
    }
    xml += "</ORVANTConfiguration>\r\n";
    return xml;
}

// Lines joined with CR LF, each line ended, as the property files are written.
inline std::string crlfLines(std::initializer_list<std::string> lines)
{
    std::string text;
    for (const auto& line : lines) {
        text += line + "\r\n";
    }
    return text;
}

// An installation at C:\ORVANT (KELBRIN_HOME) inside the test's own folder, with the UI services
// recorded and every process-wide value reset around the test.
class InstallationTest : public ::testing::Test
{
protected:
    TestFolder folder;
    ScopedEnv home { "KELBRIN_HOME", std::string("C:\\ORVANT") };
    FakeUi ui;

    void SetUp() override
    {
        tarn::Globals::reset();
        tarn::XmlConfig::reset();
        tarn::Globals::setUi(&ui);
        for (const char* sub : { "conf", "properties", "bin", "logs" }) {
            std::filesystem::create_directories(folder.driveC() / "ORVANT" / sub);
        }
    }

    void TearDown() override
    {
        tarn::Globals::setUi(nullptr);
        tarn::XmlConfig::reset();
        tarn::Globals::reset();
    }

    // Paths below C:\ORVANT, written with "/".
    static std::string under(const std::string& relative) { return "drive_c/ORVANT/" + relative; }
    void write(const std::string& relative, const std::string& bytes) const { folder.write(under(relative), bytes); }
    std::string read(const std::string& relative) const { return folder.read(under(relative)); }
    bool exists(const std::string& relative) const { return folder.exists(under(relative)); }
    std::filesystem::path native(const std::string& relative) const { return folder.path() / under(relative); }

    void makeInstanceFolders(int count) const
    {
        for (int n = 1; n <= count; ++n) {
            const std::string nn = tarn::getInstanceString(static_cast<std::int16_t>(n));
            std::filesystem::create_directories(native("INSTANCE_" + nn + "/properties"));
        }
    }

    void writeConfiguration(const std::vector<StoredInstance>& instances) const
    {
        write("conf/ORVANTConfiguration.xml", configurationXml(instances));
    }

    void writeMode(bool xml) const
    {
        write("properties/hbl.properties", xml ? "Configuration=xml\r\n" : "Configuration=registry\r\n");
    }

    std::string configurationFile() const { return read("conf/ORVANTConfiguration.xml"); }

    // What the window's load does before it shows the base instance.
    void startUp(tarn::ConfigSession& session) const
    {
        auto& state = tarn::Globals::state();
        state.configurationMode = tarn::determineConfigurationMode();
        tarn::XmlConfig::loadXmlConfig(state.xmlConfigurationPath);
        session.loadCommonSettings();
        session.loadAllInstances();
    }

    // A value as the tool reads it back from the file on disk.
    std::string storedValue(const std::string& key, int n)
    {
        tarn::XmlConfig::reset();
        tarn::XmlConfig::loadXmlConfig(tarn::Globals::state().xmlConfigurationPath);
        return tarn::XmlConfig::xmlGetValue(key, n, "<absent>");
    }
};

} // namespace orvant::test
