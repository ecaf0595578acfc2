#include "tests/support/TestFolder.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace orvant::test {

namespace {

void setVariable(const std::string& name, const std::string* value)
{
    if (value) {
        ::setenv(name.c_str(), value->c_str(), 1);
    } else {
        ::unsetenv(name.c_str());
    }
}

} // namespace

TestFolder::TestFolder()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "orvant-test-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) {
        throw std::runtime_error("cannot create a temporary folder");
    }
    m_path = pattern;
    std::filesystem::create_directories(registryFolder());
    std::filesystem::create_directories(driveC());
    ::setenv("ORVANT_REGISTRY_DIR", registryFolder().c_str(), 1);
    ::setenv("ORVANT_DRIVE_C", driveC().c_str(), 1);
    ::setenv("KELBRIN_HOME", (m_path / "home").c_str(), 1);
    // An empty port folder: no test probes the machine's real serial devices.
    std::filesystem::create_directories(m_path / "com");
    ::setenv("ORVANT_COM_PORT_DIR", (m_path / "com").c_str(), 1);
}

TestFolder::~TestFolder()
{
    std::error_code ignored;
    // Tests make folders read-only to provoke failures; give the rights back so everything goes.
    for (auto it = std::filesystem::recursive_directory_iterator(m_path, ignored);
         it != std::filesystem::recursive_directory_iterator(); it.increment(ignored)) {
        std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all, std::filesystem::perm_options::add,
                                     ignored);
    }
    std::filesystem::permissions(m_path, std::filesystem::perms::owner_all, std::filesystem::perm_options::add,
                                 ignored);
    std::filesystem::remove_all(m_path, ignored);
    ::unsetenv("ORVANT_REGISTRY_DIR");
    ::unsetenv("ORVANT_DRIVE_C");
    ::unsetenv("KELBRIN_HOME");
    ::unsetenv("ORVANT_COM_PORT_DIR");
}

void TestFolder::write(const std::string& relativePath, const std::string& bytes) const
{
    const auto target = m_path / relativePath;
    std::filesystem::create_directories(target.parent_path());
    std::ofstream out(target, std::ios::binary | std::ios::trunc);
    out << bytes;
}

std::string TestFolder::read(const std::string& relativePath) const
{
    std::ifstream in(m_path / relativePath, std::ios::binary);
    return { std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>() };
}

bool TestFolder::exists(const std::string& relativePath) const
{
    return std::filesystem::exists(m_path / relativePath);
}

ScopedEnv::ScopedEnv(std::string name, const std::string* value)
    : m_name(std::move(name))
{
    if (const char* old = std::getenv(m_name.c_str())) {
        m_hadValue = true;
        m_oldValue = old;
    }
    setVariable(m_name, value);
}

ScopedEnv::~ScopedEnv()
{
    setVariable(m_name, m_hadValue ? &m_oldValue : nullptr);
}

} // namespace orvant::test
