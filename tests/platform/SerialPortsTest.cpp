#include "platform/SerialPorts.h"

#include "tests/support/Files.h"
#include "tests/support/Host.h"
#include "tests/support/TestFolder.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace orvant::platform {
namespace {

namespace fs = std::filesystem;

// The ports are the "comN" entries of a mapping folder that can be opened: on Windows Wine's
// dosdevices, through which \\.\COMn is opened; on POSIX the same kind of folder.
TEST(SerialPorts, MappedEntriesThatOpenAreThePorts)
{
    test::TestFolder folder;
    const fs::path ports = test::host::comPortFolder();
    if (ports.empty()) {
        GTEST_SKIP() << "no folder to stage ports in (Windows without Wine)";
    }
    // Numbers outside 1 to 16, other names and folders are no ports. COM1 is left out: Wine maps the
    // machine's first serial device there.
    const char* entries[] = { "com0", "com3", "com6", "com16", "com17", "lpt2", "com2" };
    for (const char* entry : entries) {
        test::writeFile(ports / entry, "");
    }
    fs::remove(ports / "com2");
    fs::create_directory(ports / "com2");
    std::vector<int> found;
    for (int n : { -1, 0, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17 }) {
        if (comPortExists(n)) {
            found.push_back(n);
        }
    }
    for (const char* entry : entries) {
        fs::remove_all(ports / entry);
    }
    EXPECT_EQ(found, (std::vector<int> { 3, 6, 16 }));
}

} // namespace
} // namespace orvant::platform
