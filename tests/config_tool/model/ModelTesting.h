#pragma once

#include "config_tool/foundation/ConfigurationMode.h"
#include "config_tool/foundation/Globals.h"
#include "config_tool/model/InstanceNaming.h"
#include "config_tool/model/XmlConfig.h"
#include "config_tool/session/ConfigSession.h"
#include "platform/Registry.h"
#include "tests/support/FakeUi.h"
#include "tests/support/TestFolder.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <initializer_list>
#include <optional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace orvant::test {

using KeyValues = std::vector<std::pair<std::string, std::string>>;
using Messages = std::vector<std::string>;

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

// "Key=value" words separated by blanks, in order (values without blanks).
inline KeyValues pairs(const std::string& words)
{
    KeyValues list;
    std::istringstream in(words);
    for (std::string word; in >> word;) {
        const auto at = word.find('=');
        list.emplace_back(word.substr(0, at), word.substr(at + 1));
    }
    return list;
}

// A string value under SOFTWARE\Kelbrin\section, if there is one.
inline std::optional<std::string> registryValue(platform::Hive hive, const std::string& section,
                                                const std::string& name)
{
    platform::HKey key = nullptr;
    if (platform::regOpenKeyEx(hive, "SOFTWARE\\Kelbrin\\" + section, platform::kKeyQueryValue, &key)
        != platform::kErrorSuccess) {
        return std::nullopt;
    }
    std::uint32_t type = 0;
    std::uint32_t size = 0;
    std::optional<std::string> value;
    if (platform::regQueryValueEx(key, name, &type, nullptr, &size) == platform::kErrorSuccess
        && type == platform::kRegSz) {
        std::string data(size, '\0');
        if (platform::regQueryValueEx(key, name, &type, reinterpret_cast<std::uint8_t*>(data.data()), &size)
            == platform::kErrorSuccess) {
            data.resize(size);
            value = data;
        }
    }
    platform::regCloseKey(key);
    return value;
}

inline void removePermissions(const std::filesystem::path& target, std::filesystem::perms perms)
{
    std::filesystem::permissions(target, perms, std::filesystem::perm_options::remove);
}
constexpr auto kWriteBits
    = std::filesystem::perms::owner_write | std::filesystem::perms::group_write | std::filesystem::perms::others_write;

// Every process-wide value reset around the test, and the UI services recorded.
class ModelTest : public ::testing::Test
{
protected:
    TestFolder folder;
    FakeUi ui;

    void SetUp() override
    {
        tarn::Globals::reset();
        tarn::XmlConfig::reset();
        tarn::Globals::setUi(&ui);
    }

    void TearDown() override
    {
        tarn::Globals::setUi(nullptr);
        tarn::XmlConfig::reset();
        tarn::Globals::reset();
    }
};

// The XML document alone, kept in conf/ORVANTConfiguration.xml of the test's folder.
class XmlDocumentTest : public ModelTest
{
protected:
    static constexpr const char* kFile = "conf/ORVANTConfiguration.xml";
    std::string path = (folder.path() / kFile).string();

    void SetUp() override
    {
        ModelTest::SetUp();
        tarn::Globals::state().xmlConfigurationPath = path;
    }

    bool load(const std::string& bytes)
    {
        folder.write(kFile, bytes);
        return tarn::XmlConfig::loadXmlConfig(path);
    }

    std::string file() const { return folder.read(kFile); }
};

// Values written one after the other, each followed by "|", to check many fields in one comparison.
template <typename... Values> std::string fields(const Values&... values)
{
    std::ostringstream out;
    out << std::boolalpha;
    ((out << values << '|'), ...);
    return out.str();
}

// text with its one occurrence of from replaced by to.
inline std::string replaced(std::string text, const std::string& from, const std::string& to)
{
    const auto at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    EXPECT_EQ(text.find(from, at + 1), std::string::npos) << from << " is not unique";
    return text.replace(at, from.size(), to);
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

// An installation at C:\ORVANT (KELBRIN_HOME) inside the test's own folder.
class InstallationTest : public ModelTest
{
protected:
    ScopedEnv home { "KELBRIN_HOME", std::string("C:\\ORVANT") };

    void SetUp() override
    {
        ModelTest::SetUp();
        for (const char* sub : { "conf", "properties", "bin", "logs" }) {
            std::filesystem::create_directories(folder.driveC() / "ORVANT" / sub);
        }
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
