#pragma once

#include <filesystem>
#include <string>

namespace orvant::test {

// A fresh temporary folder for one test, removed afterwards. While it lives, the registry folder,
// KELBRIN_HOME, the C: drive root and the serial-port folder point inside it, so no test touches the
// real home folder, /var/lib or /dev. On Windows the registry and drive C: are the machine's own (under
// Wine, the throwaway prefix's), put back as they were when the folder goes; see Host.h.
class TestFolder
{
public:
    TestFolder();
    ~TestFolder();
    TestFolder(const TestFolder&) = delete;
    TestFolder& operator=(const TestFolder&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    std::filesystem::path registryFolder() const { return m_path / "registry"; }
    // Drive C: — on Windows the machine's own; see host::driveC.
    const std::filesystem::path& driveC() const { return m_driveC; }

    // A path below the folder in the stored (Windows) form: the folder, then "\" and relativePath.
    std::string stored(const std::string& relativePath) const;

    // Writes or reads a file below the folder (relative path with "/").
    void write(const std::string& relativePath, const std::string& bytes) const;
    std::string read(const std::string& relativePath) const;
    bool exists(const std::string& relativePath) const;

private:
    std::filesystem::path m_path;
    std::filesystem::path m_driveC;
};

// Sets an environment variable for the life of the object and restores the old value afterwards.
class ScopedEnv
{
public:
    ScopedEnv(std::string name, const std::string* value);
    ScopedEnv(std::string name, const std::string& value)
        : ScopedEnv(std::move(name), &value)
    {
    }
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    std::string m_name;
    bool m_hadValue = false;
    std::string m_oldValue;
};

} // namespace orvant::test
