#include "tests/support/Installation.h"

#include "config_tool/access/UserManagement.h"
#include "config_tool/foundation/ConfigurationMode.h"
#include "config_tool/foundation/Globals.h"
#include "config_tool/model/XmlConfig.h"
#include "config_tool/session/ConfigSession.h"
#include "platform/Environment.h"
#include "tests/support/Host.h"

#include <sstream>

namespace orvant::test {

namespace fs = std::filesystem;

namespace {

std::string twoDigits(int n)
{
    // Appended rather than "0" + text, which GCC 12 warns about (-Wrestrict) when it inlines it.
    std::string text = n < 10 ? "0" : "";
    text += std::to_string(n);
    return text;
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
    platform::setEnvironmentVariable("KELBRIN_HOME", "C:\\ORVANT");
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
    // Entry by entry: mingw-w64's recursive fs::copy copies nothing into a folder that exists.
    const fs::path source = dataPath(dataFolder);
    fs::create_directories(m_root / relative);
    for (const auto& entry : fs::recursive_directory_iterator(source)) {
        const fs::path target = m_root / relative / fs::relative(entry.path(), source);
        if (entry.is_directory()) {
            fs::create_directories(target);
        } else {
            fs::copy_file(entry.path(), target, fs::copy_options::overwrite_existing);
        }
    }
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

namespace {

constexpr const char* kInstallationPath = "drive_c/ORVANT/";
constexpr std::pair<platform::Hive, const char*> kHives[]
    = { { platform::Hive::CurrentUser, "registry/HKEY_CURRENT_USER.reg" },
        { platform::Hive::LocalMachine, "registry/HKEY_LOCAL_MACHINE.reg" } };

} // namespace

TreeSnapshot Installation::snapshot(Trace trace) const
{
    TreeSnapshot tree = snapshotTree(m_folder.path(), trace);
    if (m_root.string().rfind(m_folder.path().string(), 0) != 0) {
        // Drive C: is the machine's own (Windows).
        for (const auto& [path, bytes] : snapshotTree(m_root, trace)) {
            tree[kInstallationPath + path] = bytes;
        }
    }
    // The registry as the hive files hold it on POSIX; on Windows it is no file of the folder.
    for (const auto& [hive, path] : kHives) {
        if (std::string text = host::hiveText(m_folder.registryFolder(), hive); !text.empty()) {
            tree[path] = std::move(text);
        }
    }
    return tree;
}

std::optional<platform::Hive> Installation::hiveOf(const std::string& snapshotPath)
{
    for (const auto& [hive, path] : kHives) {
        if (snapshotPath == path) {
            return hive;
        }
    }
    return std::nullopt;
}

fs::path Installation::fileOf(const std::string& snapshotPath) const
{
    if (snapshotPath.rfind(kInstallationPath, 0) == 0) {
        return m_root / snapshotPath.substr(std::string_view(kInstallationPath).size());
    }
    return m_folder.path() / snapshotPath;
}

void Installation::restore(const TreeSnapshot& saved) const
{
    for (const auto& [path, bytes] : snapshot()) {
        if (saved.count(path)) {
            continue;
        }
        if (const auto hive = hiveOf(path)) {
            host::restoreHive(m_folder.registryFolder(), *hive, "");
        } else {
            std::error_code gone; // already, with the folder it was in
            fs::remove_all(fileOf(path), gone);
        }
    }
    for (const auto& [path, bytes] : saved) {
        if (const auto hive = hiveOf(path)) {
            host::restoreHive(m_folder.registryFolder(), *hive, bytes);
        } else if (path.back() != '/') {
            writeFile(fileOf(path), bytes);
        }
    }
}

} // namespace orvant::test
