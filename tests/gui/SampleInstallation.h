#pragma once

#include <filesystem>
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
    explicit SampleInstallation(std::filesystem::path root);

    // The configuration file holding these instances, tab indented with CR LF line ends.
    void writeConfiguration(const std::vector<SampleInstance>& instances) const;
    void writeMode(bool xml) const;

    // INSTANCE_nn\{properties,conf,logs} for n = 1..count.
    void makeInstanceFolders(int count) const;

    // properties\terminal.properties of instance n (0: the base instance's properties folder).
    void writeTerminalProperties(int n, const std::string& bytes) const;

    void write(const std::string& relative, const std::string& bytes) const;
    std::string read(const std::string& relative) const;

    const std::filesystem::path& root() const { return m_root; }

    // Instances 0..count with a PINByPass value each, so that the tool discovers them.
    static std::vector<SampleInstance> numberedInstances(int count);
    static std::string twoDigits(int n);

private:
    std::filesystem::path m_root;
};

// Every file below folder with its bytes, keyed by relative path: two snapshots compare equal only
// when nothing was written, created or removed.
std::vector<std::pair<std::string, std::string>> snapshotTree(const std::filesystem::path& folder);

} // namespace orvant::test
