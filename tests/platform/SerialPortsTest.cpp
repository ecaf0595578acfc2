#include "platform/SerialPorts.h"

#include "tests/support/TestFolder.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace orvant::platform {
namespace {

namespace fs = std::filesystem;

std::vector<int> existingPorts()
{
    std::vector<int> ports;
    for (int n = -1; n <= 17; ++n) {
        if (comPortExists(n)) {
            ports.push_back(n);
        }
    }
    return ports;
}

TEST(SerialPorts, MappedEntriesThatOpenAreThePorts)
{
    test::TestFolder folder;
    const fs::path ports = folder.path() / "dosdevices";
    test::ScopedEnv mapping("ORVANT_COM_PORT_DIR", ports.string());
    fs::create_directories(ports);
    EXPECT_TRUE(existingPorts().empty());

    // Numbers outside 1 to 16, other names and missing link targets are no ports.
    for (const char* name : { "com0", "com1", "COM3", "device", "com16", "com17", "com01", "lpt2", "com6" }) {
        folder.write("dosdevices/" + std::string(name), "");
    }
    fs::create_symlink(ports / "device", ports / "Com7");
    fs::create_symlink(ports / "missing-device", ports / "com5");
    // Nor are folders and unreadable entries.
    fs::create_directories(ports / "com2");
    folder.write("dosdevices/com4", "");
    ASSERT_EQ(::chmod((ports / "com4").c_str(), 0200), 0);
    EXPECT_EQ(existingPorts(), (std::vector<int> { 1, 3, 6, 7, 16 }));
}

} // namespace
} // namespace orvant::platform
