#pragma once

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

namespace orvant::test {

using KeyValues = std::vector<std::pair<std::string, std::string>>;

// One InstanceConfiguration of the configuration file: its InstanceId text and its values in order.
struct SampleInstance
{
    std::string id;
    KeyValues values;
};

// An installation as the engine's installer leaves it, written below root (the folder C:\ORVANT stands
// for): conf\ORVANTConfiguration.xml, properties\hbl.properties and the instance folders.
class SampleInstallation
{
public:
    explicit SampleInstallation(std::filesystem::path root)
        : m_root(std::move(root))
    {
        for (const char* sub : { "conf", "properties", "bin", "logs" }) {
            std::filesystem::create_directories(m_root / sub);
        }
    }

    // The configuration file holding these instances, tab indented with CR LF line ends.
    void writeConfiguration(const std::vector<SampleInstance>& instances) const
    {
        std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<ORVANTConfiguration>\r\n";
        xml += "\t<InstanceConfigurationList>\r\n";
        for (const auto& instance : instances) {
            xml += "\t\t<InstanceConfiguration>\r\n\t\t\t<InstanceId>" + instance.id + "</InstanceId>\r\n";
            for (const auto& [key, value] : instance.values) {
                xml += "\t\t\t<" + key + ">" + value + "</" + key + ">\r\n";
            }
            xml += "\t\t</InstanceConfiguration>\r\n";
        }
        write("conf/ORVANTConfiguration.xml", xml + "\t</InstanceConfigurationList>\r\n</ORVANTConfiguration>\r\n");
    }

    void writeMode(bool xml) const
    {
        write("properties/hbl.properties", xml ? "Configuration=xml\r\n" : "Configuration=registry\r\n");
    }

    // INSTANCE_nn\{properties,conf,logs} for n = 1..count.
    void makeInstanceFolders(int count) const
    {
        for (int n = 1; n <= count; ++n) {
            for (const char* sub : { "properties", "conf", "logs" }) {
                std::filesystem::create_directories(m_root / ("INSTANCE_" + twoDigits(n)) / sub);
            }
        }
    }

    // properties\terminal.properties of instance n (0: the base instance's properties folder).
    void writeTerminalProperties(int n, const std::string& bytes) const
    {
        write((n == 0 ? std::string() : "INSTANCE_" + twoDigits(n) + "/") + "properties/terminal.properties", bytes);
    }

    void write(const std::string& relative, const std::string& bytes) const
    {
        const auto target = m_root / relative;
        std::filesystem::create_directories(target.parent_path());
        std::ofstream(target, std::ios::binary | std::ios::trunc) << bytes;
    }

    std::string read(const std::string& relative) const
    {
        std::ifstream in(m_root / relative, std::ios::binary);
        return { std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>() };
    }

    const std::filesystem::path& root() const { return m_root; }

    // Instances 0..count with a PINByPass value each, so that the tool discovers them.
    static std::vector<SampleInstance> numberedInstances(int count)
    {
        std::vector<SampleInstance> instances;
        for (int n = 0; n <= count; ++n) {
            instances.push_back({ twoDigits(n), { { "PINByPass", "False" } } });
        }
        return instances;
    }

    static std::string twoDigits(int n) { return (n < 10 ? "0" : "") + std::to_string(n); }

private:
    std::filesystem::path m_root;
};

// Every file below folder with its bytes, keyed by relative path: two snapshots compare equal only
// when nothing was written, created or removed.
inline std::vector<std::pair<std::string, std::string>> snapshotTree(const std::filesystem::path& folder)
{
    std::vector<std::pair<std::string, std::string>> files;
    if (!std::filesystem::exists(folder)) {
        return files;
    }
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        const std::string relative = std::filesystem::relative(entry.path(), folder).generic_string();
        std::ifstream in(entry.path(), std::ios::binary);
        files.emplace_back(relative + (entry.is_directory() ? "/" : ""),
                           entry.is_directory() ? std::string() : std::string(std::istreambuf_iterator<char>(in), {}));
    }
    std::sort(files.begin(), files.end());
    return files;
}

} // namespace orvant::test
