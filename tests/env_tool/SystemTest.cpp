#include "env_tool/System.h"

#include "platform/Environment.h"
#include "tests/env_tool/HiveValues.h"
#include "tests/support/TestFolder.h"

#include <gtest/gtest.h>

namespace varset {
namespace {

using namespace std::string_literals;
using test::readMachineVariable;
using test::storeMachineVariable;
using test::withNul;

class MachineEnvironmentTest : public ::testing::Test
{
protected:
    orvant::test::TestFolder m_folder;
    orvant::test::ScopedEnv m_installDir { "INSTALL_DIR", nullptr };
    int m_broadcasts = 0;
    System m_system { [this] { ++m_broadcasts; } };
};

TEST_F(MachineEnvironmentTest, WriteStoresTheMachineVariableThenBroadcastsOnce)
{
    m_system.setEnvironment("INSTALL_DIR", R"(C:\ORVANT\)");

    const auto stored = readMachineVariable("INSTALL_DIR");
    ASSERT_EQ(stored.result, orvant::platform::kErrorSuccess);
    EXPECT_EQ(stored.type, orvant::platform::kRegSz);
    EXPECT_EQ(stored.bytes, withNul(R"(C:\ORVANT\)"));
    EXPECT_EQ(m_broadcasts, 1);
    // The machine value is for programs started later; this process keeps its own.
    EXPECT_FALSE(orvant::platform::getEnvironmentVariable("INSTALL_DIR").has_value());
}

TEST_F(MachineEnvironmentTest, PathWithReferencesIsStoredExpandableAndReadBackExpandedWithThisProcess)
{
    const std::string path = R"(%INSTALL_DIR%;%INSTALL_DIR%BIN;C:\WINDOWS;)";
    m_system.setEnvironment("Path", path);

    const auto stored = readMachineVariable("Path");
    EXPECT_EQ(stored.type, orvant::platform::kRegExpandSz);
    EXPECT_EQ(stored.bytes, withNul(path));

    // INSTALL_DIR is not set in this process: the references stay.
    EXPECT_EQ(m_system.environment("Path"), path);
    {
        orvant::test::ScopedEnv installDir("INSTALL_DIR", R"(C:\ORVANT\)");
        EXPECT_EQ(m_system.environment("Path"), R"(C:\ORVANT\;C:\ORVANT\BIN;C:\WINDOWS;)");
        EXPECT_EQ(m_system.storedEnvironment("Path"), path);
    }
}

TEST_F(MachineEnvironmentTest, ReadGivesTextForEveryVariableAndEmptyForAnUndefinedOne)
{
    EXPECT_EQ(m_system.environment("KELBRIN_HOME"), "");
    EXPECT_EQ(m_system.storedEnvironment("KELBRIN_HOME"), "");

    storeMachineVariable("KELBRIN_HOME", orvant::platform::kRegSz, R"(D:\Orvant)");
    test::store(orvant::platform::Hive::LocalMachine, test::kEnvironmentKey, "NUMBER_OF_PROCESSORS",
                orvant::platform::kRegDword, "\x04\x00\x00\x00"s);
    EXPECT_EQ(m_system.environment("kelbrin_home"), R"(D:\Orvant)");
    EXPECT_EQ(m_system.environment("NUMBER_OF_PROCESSORS"), "4");
    EXPECT_EQ(m_system.environment("JAVA_HOME"), "");
    EXPECT_EQ(m_broadcasts, 0);
}

TEST_F(MachineEnvironmentTest, FailedWriteGoesToTheCallerWithoutBroadcast)
{
    storeMachineVariable("INSTALL_DIR", orvant::platform::kRegSz, R"(D:\OLD\)");
    test::makeReadOnly(m_folder.registryFolder());

    const RegistryError error = test::raisedBy([this] { m_system.setEnvironment("INSTALL_DIR", R"(C:\ORVANT\)"); });
    EXPECT_EQ(error.number(), kErrorKeyNotOpened);
    EXPECT_EQ(error.description(),
              R"(Failed to set registry value Key: '-2147483646',Section: )"
              R"('SYSTEM\CurrentControlSet\Control\Session Manager\Environment',)"
              R"(Key: 'INSTALL_DIR' to value: 'C:\ORVANT\')");
    EXPECT_EQ(m_broadcasts, 0);
    EXPECT_EQ(readMachineVariable("INSTALL_DIR").bytes, withNul(R"(D:\OLD\)"));
}

} // namespace
} // namespace varset
