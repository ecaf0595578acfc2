#include "tests/support/Installation.h"

#include "config_tool/access/UserManagement.h"
#include "config_tool/foundation/ConfigurationMode.h"
#include "config_tool/foundation/Globals.h"
#include "config_tool/model/XmlConfig.h"
#include "config_tool/session/ConfigSession.h"

#include <sstream>

namespace orvant::test {

namespace fs = std::filesystem;

namespace {

std::string twoDigits(int n)
{
    return (n < 10 ? "0" : "") + std::to_string(n);
}

} // namespace

KeyValues pairs(const std::string& words)
{
    KeyValues list;
    std::istringstream in(words);
    for (std::string word; in >> word;) {
        const auto at = word.find('=');
        list.emplace_back(word.substr(0, at), word.substr(at + 1));
    }
    return list;
}

Installation::Installation(const TestFolder& folder)
    : m_folder(folder)
    , m_root(folder.driveC() / "ORVANT")
{
    ::setenv("KELBRIN_HOME", "C:\\ORVANT", 1);
    for (const char* sub : { "conf", "properties", "bin", "logs" }) {
        fs::create_directories(m_root / sub);
    }
}

void Installation::write(const std::string& relative, std::string_view bytes) const
{
    writeFile(m_root / relative, bytes);
}

std::string Installation::read(const std::string& relative) const
{
    return readFile(m_root / relative);
}

bool Installation::exists(const std::string& relative) const
{
    return fs::exists(m_root / relative);
}

void Installation::copyData(const std::string& dataFolder, const std::string& relative) const
{
    fs::create_directories(m_root / relative);
    fs::copy(dataPath(dataFolder), m_root / relative,
             fs::copy_options::recursive | fs::copy_options::overwrite_existing);
}

std::string Installation::configurationXml(const std::vector<StoredInstance>& instances)
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
    return xml + "</ORVANTConfiguration>\r\n";
}

void Installation::writeConfiguration(const std::vector<StoredInstance>& instances) const
{
    write("conf/ORVANTConfiguration.xml", configurationXml(instances));
}

std::vector<StoredInstance> Installation::numberedInstances(int count)
{
    std::vector<StoredInstance> instances;
    for (int n = 0; n <= count; ++n) {
        instances.push_back({ twoDigits(n), { { "PINByPass", "False" } } });
    }
    return instances;
}

void Installation::writeMode(bool xml) const
{
    write("properties/hbl.properties", xml ? "Configuration=xml\r\n" : "Configuration=registry\r\n");
}

void Installation::makeInstanceFolders(int count) const
{
    for (int n = 1; n <= count; ++n) {
        for (const char* sub : { "properties", "conf", "logs" }) {
            fs::create_directories(m_root / ("INSTANCE_" + twoDigits(n)) / sub);
        }
    }
}

std::string Installation::userEntry(const std::string& userId, const std::string& password)
{
    return userId + "=" + tarn::UserManagement::passwordHash(password) + "\r\n";
}

void Installation::writeUsers() const
{
    writeUsers(userEntry("Administrator", kPassword));
}

void Installation::writeUsers(const std::string& lines) const
{
    write("properties/configuser.properties", lines);
}

void Installation::startUp(tarn::ConfigSession& session) const
{
    auto& state = tarn::Globals::state();
    state.configurationMode = tarn::determineConfigurationMode();
    tarn::XmlConfig::loadXmlConfig(state.xmlConfigurationPath);
    session.loadCommonSettings();
    session.loadAllInstances();
}

std::string Installation::storedValue(const std::string& key, int n) const
{
    tarn::XmlConfig::reset();
    tarn::XmlConfig::loadXmlConfig(tarn::Globals::state().xmlConfigurationPath);
    return tarn::XmlConfig::xmlGetValue(key, n, "<absent>");
}

TreeSnapshot Installation::snapshot() const
{
    return snapshotTree(m_folder.path());
}

} // namespace orvant::test
