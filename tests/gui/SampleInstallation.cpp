#include "tests/gui/SampleInstallation.h"

#include <algorithm>
#include <fstream>
#include <iterator>

namespace orvant::test {

SampleInstallation::SampleInstallation(std::filesystem::path root)
    : m_root(std::move(root))
{
    for (const char* sub : { "conf", "properties", "bin", "logs" }) {
        std::filesystem::create_directories(m_root / sub);
    }
}

void SampleInstallation::writeConfiguration(const std::vector<SampleInstance>& instances) const
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
    xml += "\t</InstanceConfigurationList>\r\n</ORVANTConfiguration>\r\n";
    write("conf/ORVANTConfiguration.xml", xml);
}

void SampleInstallation::writeMode(bool xml) const
{
    write("properties/hbl.properties", xml ? "Configuration=xml\r\n" : "Configuration=registry\r\n");
}

void SampleInstallation::makeInstanceFolders(int count) const
{
    for (int n = 1; n <= count; ++n) {
        for (const char* sub : { "properties", "conf", "logs" }) {
            std::filesystem::create_directories(m_root / ("INSTANCE_" + twoDigits(n)) / sub);
        }
    }
}

void SampleInstallation::writeTerminalProperties(int n, const std::string& bytes) const
{
    const std::string folder = n == 0 ? std::string() : "INSTANCE_" + twoDigits(n) + "/";
    write(folder + "properties/terminal.properties", bytes);
}

void SampleInstallation::write(const std::string& relative, const std::string& bytes) const
{
    const auto target = m_root / relative;
    std::filesystem::create_directories(target.parent_path());
    std::ofstream out(target, std::ios::binary | std::ios::trunc);
    out << bytes;
}

std::string SampleInstallation::read(const std::string& relative) const
{
    std::ifstream in(m_root / relative, std::ios::binary);
    return { std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>() };
}

std::vector<SampleInstance> SampleInstallation::numberedInstances(int count)
{
    std::vector<SampleInstance> instances;
    for (int n = 0; n <= count; ++n) {
        instances.push_back({ twoDigits(n), { { "PINByPass", "False" } } });
    }
    return instances;
}

std::string SampleInstallation::twoDigits(int n)
{
    return (n < 10 ? "0" : "") + std::to_string(n);
}

std::vector<std::pair<std::string, std::string>> snapshotTree(const std::filesystem::path& folder)
{
    std::vector<std::pair<std::string, std::string>> files;
    if (!std::filesystem::exists(folder)) {
        return files;
    }
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        const std::string relative = std::filesystem::relative(entry.path(), folder).generic_string();
        if (entry.is_directory()) {
            files.emplace_back(relative + "/", "");
            continue;
        }
        std::ifstream in(entry.path(), std::ios::binary);
        files.emplace_back(relative, std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()));
    }
    std::sort(files.begin(), files.end());
    return files;
}

} // namespace orvant::test
