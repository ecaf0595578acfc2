#pragma once

#include "platform/Registry.h"
#include "tests/support/Files.h"
#include "tests/support/TestFolder.h"

#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace tarn {
class ConfigSession;
}

namespace orvant::test {

using KeyValues = std::vector<std::pair<std::string, std::string>>;

// One InstanceConfiguration of the configuration file: its InstanceId text and its values in order.
struct StoredInstance
{
    std::string id;
    KeyValues values;
};

// "Key=value" words separated by blanks (values without blanks).
KeyValues pairs(const std::string& words);

// An installation at C:\ORVANT (KELBRIN_HOME) inside a test's folder, written as the engine's installer
// leaves it. Paths are relative to the installation folder, with "/".
class Installation
{
public:
    static constexpr const char* kPassword = "secret12"; // the Administrator's, after writeUsers()

    explicit Installation(const TestFolder& folder);

    const std::filesystem::path& root() const { return m_root; }
    std::filesystem::path native(const std::string& relative) const { return m_root / relative; }

    void write(const std::string& relative, std::string_view bytes) const;
    std::string read(const std::string& relative) const;
    bool exists(const std::string& relative) const;

    // Copies a folder of tests/data into the installation (an installation's files, a device profile).
    void copyData(const std::string& dataFolder, const std::string& relative = "") const;

    // conf\ORVANTConfiguration.xml with these instances, tab indented with CR LF line ends.
    void writeConfiguration(const std::vector<StoredInstance>& instances) const;
    static std::string configurationXml(const std::vector<StoredInstance>& instances);
    // Instances 0..count, each with a PINByPass value so that the tool finds it.
    static std::vector<StoredInstance> numberedInstances(int count);
    std::string configuration() const { return read("conf/ORVANTConfiguration.xml"); }

    // properties\hbl.properties.
    void writeMode(bool xml) const;

    // INSTANCE_nn\{properties, conf, logs} for n = 1..count.
    void makeInstanceFolders(int count) const;

    // A line of the user file: the user ID and the hash of the password, CR LF.
    static std::string userEntry(const std::string& userId, const std::string& password);
    // properties\configuser.properties with the Administrator's password kPassword (or these lines).
    void writeUsers() const;
    void writeUsers(const std::string& lines) const;

    // What the window's load does before it shows the base instance: the mode, the XML document, the
    // common settings and every instance.
    void startUp(tarn::ConfigSession& session) const;

    // A value as the tool reads it back from the file on disk (the document is loaded afresh).
    std::string storedValue(const std::string& key, int n) const;

    // The installation and the registry hives, file by file, by path below the test's folder
    // ("drive_c/ORVANT/conf/ORVANTConfiguration.xml", "registry/HKEY_CURRENT_USER.reg").
    TreeSnapshot snapshot(Trace trace = Trace::LeftOut) const;
    // Puts back every file and registry hive of a snapshot and removes the files and folders it did not hold.
    void restore(const TreeSnapshot& snapshot) const;

private:
    // The file a snapshot's path names; the hive when it names a registry hive.
    std::filesystem::path fileOf(const std::string& snapshotPath) const;
    static std::optional<platform::Hive> hiveOf(const std::string& snapshotPath);

    const TestFolder& m_folder;
    std::filesystem::path m_root;
};

} // namespace orvant::test
