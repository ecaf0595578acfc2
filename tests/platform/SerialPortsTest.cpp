#include "platform/SerialPorts.h"

#include "tests/support/TestFolder.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace orvant::platform {
namespace {

namespace fs = std::filesystem;
using test::ScopedEnv;

std::vector<int> existingPorts()
{
    std::vector<int> ports;
    for (int n = 1; n <= 16; ++n) {
        if (comPortExists(n)) {
            ports.push_back(n);
        }
    }
    return ports;
}

class SerialPortsTest : public ::testing::Test
{
protected:
    fs::path ports() const { return m_folder.path() / "dosdevices"; }

    test::TestFolder m_folder;
    ScopedEnv m_mapping { "ORVANT_COM_PORT_DIR", (m_folder.path() / "dosdevices").string() };
};

TEST_F(SerialPortsTest, MappedEntriesThatOpenAreThePorts)
{
    m_folder.write("dosdevices/com1", "");
    m_folder.write("dosdevices/COM3", "");
    m_folder.write("dosdevices/device", "");
    fs::create_symlink(ports() / "device", ports() / "Com7");
    fs::create_symlink(ports() / "missing-device", ports() / "com5");
    m_folder.write("dosdevices/com16", "");
    m_folder.write("dosdevices/com17", "");
    m_folder.write("dosdevices/com01", "");
    m_folder.write("dosdevices/lpt2", "");
    EXPECT_EQ(existingPorts(), (std::vector<int> { 1, 3, 7, 16 }));
}

TEST_F(SerialPortsTest, FoldersAndUnreadableEntriesAreNoPorts)
{
    fs::create_directories(ports() / "com2");
    m_folder.write("dosdevices/com4", "");
    ASSERT_EQ(::chmod((ports() / "com4").c_str(), 0200), 0);
    m_folder.write("dosdevices/com6", "");
    EXPECT_EQ(existingPorts(), std::vector<int> { 6 });
}

TEST_F(SerialPortsTest, NumbersOutsideOneToSixteenDoNotExist)
{
    m_folder.write("dosdevices/com0", "");
    m_folder.write("dosdevices/com17", "");
    EXPECT_FALSE(comPortExists(0));
    EXPECT_FALSE(comPortExists(17));
    EXPECT_FALSE(comPortExists(-1));
}

TEST_F(SerialPortsTest, EmptyMappingFolderHasNoPorts)
{
    fs::create_directories(ports());
    EXPECT_TRUE(existingPorts().empty());
}

} // namespace
} // namespace orvant::platform
