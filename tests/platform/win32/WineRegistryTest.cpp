#include "platform/Process.h"
#include "tests/platform/HarbellValues.h"
#include "tests/support/Files.h"
#include "tests/support/RegistryProbe.h"
#include "tests/support/TestFolder.h"

#include <gtest/gtest.h>

// Windows only: the registry files the POSIX stand-in writes (HiveFileTest) against the real registry.
namespace orvant::platform {
namespace {

using namespace test;
using namespace std::chrono_literals;

bool regedit(const std::string& parameters)
{
    const auto regedit = startProgram("regedit", parameters, "", WindowMode::Hidden);
    return regedit && regedit->waitForExit(60s);
}

TEST(WineRegistry, HiveFileImportsWithEveryValueByteForByteAndExportsAsExpected)
{
    TestFolder folder;
    ASSERT_TRUE(regedit("/S \"" + dataPath("fuzz/fuzz_regedit/harbell_01.reg").make_preferred().string() + "\""));
    for (const auto& value : kHarbellValues) {
        const auto [name, type, bytes] = throughRegedit(value);
        EXPECT_EQ(readRegistryValue(Hive::LocalMachine, kHarbellKey, name), (RegistryValue { type, bytes })) << name;
    }
    ASSERT_TRUE(regedit("/E \"" + folder.stored("exported.reg") + "\" \"HKEY_LOCAL_MACHINE\\" + kHarbellKey + "\""));
    EXPECT_TRUE(matchesDataFile(folder.read("exported.reg"), "fuzz/fuzz_regedit/harbell_01_exported.reg"));
}

} // namespace
} // namespace orvant::platform
