#include "tests/support/TestFolder.h"

#include "platform/Environment.h"
#include "platform/FileSystem.h"
#include "tests/support/Host.h"

#include <fstream>
#include <iterator>
#include <stdexcept>

namespace orvant::test {

namespace {

constexpr const char* kRedirected[]
    = { "ORVANT_REGISTRY_DIR", "ORVANT_DRIVE_C", "KELBRIN_HOME", "ORVANT_COM_PORT_DIR" };

} // namespace

TestFolder::TestFolder()
{
    m_path = platform::createTemporaryFolder("orvant-test-");
    if (m_path.empty()) {
        throw std::runtime_error("cannot create a temporary folder");
    }
    m_driveC = host::driveC(m_path);
    std::filesystem::create_directories(registryFolder());
    std::filesystem::create_directories(driveC());
    host::beginDriveTest(m_driveC);
    // An empty port folder: no test probes the machine's real serial devices.
    std::filesystem::create_directories(m_path / "com");
    const std::filesystem::path targets[] = { registryFolder(), driveC(), m_path / "home", m_path / "com" };
    for (std::size_t i = 0; i < std::size(kRedirected); ++i) {
        platform::setEnvironmentVariable(kRedirected[i], targets[i].string());
    }
    host::beginRegistryTest();
}

TestFolder::~TestFolder()
{
    host::endRegistryTest();
    host::endDriveTest(m_driveC);
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
    for (const char* name : kRedirected) {
        platform::setEnvironmentVariable(name, std::nullopt);
    }
}

std::string TestFolder::stored(const std::string& relativePath) const
{
    return m_path.string() + "\\" + relativePath;
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
    if (const auto old = platform::getEnvironmentVariable(m_name)) {
        m_hadValue = true;
        m_oldValue = *old;
    }
    platform::setEnvironmentVariable(m_name, value ? std::optional<std::string>(*value) : std::nullopt);
}

ScopedEnv::~ScopedEnv()
{
    platform::setEnvironmentVariable(m_name, m_hadValue ? std::optional<std::string>(m_oldValue) : std::nullopt);
}

} // namespace orvant::test
