#include "env_tool/EnvironmentSetup.h"
#include "env_tool/System.h"

#include "tests/support/Host.h"
#include "tests/support/RegistryProbe.h"
#include "tests/support/TestFolder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace varset {
namespace {

namespace test = orvant::test;
using namespace std::string_literals;
using Names = std::vector<std::string>;
constexpr auto kSz = orvant::platform::kRegSz;
constexpr auto kExpandSz = orvant::platform::kRegExpandSz;
constexpr const char* kFreshPath
    = R"(%INSTALL_DIR%;%INSTALL_DIR%BIN;%JAVA_HOME%\BIN;C:\WINDOWS;C:\WINDOWS\SYSTEM32;C:\WINDOWS\SYSTEM32\WBEM;)";

std::optional<test::RegistryValue> machineVariable(const std::string& name)
{
    return test::readRegistryValue(orvant::platform::Hive::LocalMachine, kMachineEnvironmentKey, name);
}

void storeMachineVariable(const std::string& name, std::uint32_t type, const std::string& text)
{
    ASSERT_TRUE(test::storeRegistryValue(orvant::platform::Hive::LocalMachine, kMachineEnvironmentKey, name, type,
                                         text + '\0'));
}

// Runs the sequence as Varset does, counting broadcasts and script starts instead of doing them.
class EnvironmentSetupTest : public ::testing::Test
{
protected:
    SetupOutcome run()
    {
        return runEnvironmentSetup([this] { ++m_broadcasts; }, [this] { return ++m_scriptStarts > 0; });
    }

    // Varset is normally started from a shell that does not know the product's variables yet.
    test::ScopedEnv m_installDir { "INSTALL_DIR", nullptr };
    test::ScopedEnv m_javaHome { "JAVA_HOME", nullptr };
    int m_broadcasts = 0;
    int m_scriptStarts = 0;
};

// What one run writes: the variables it changed (each announced once) and Path as it stores it.
TEST_F(EnvironmentSetupTest, BringsTheVariablesToTheStandardValuesAndPutsMissingPathEntriesInFront)
{
    struct Case
    {
        const char* what;
        std::string installDir; // stored before the run; "-": not at all
        std::uint32_t storedType;
        std::string stored; // Path; empty: not at all
        bool installDirKnown; // INSTALL_DIR and JAVA_HOME set in the process Varset runs in
        Names written;
        std::uint32_t expectedType;
        std::string expected; // Path after the run
    };
    const std::string installDir = R"(C:\ORVANT\)";
    const Case cases[] = {
        { "fresh machine", "-", kSz, "", false, { "INSTALL_DIR", "KELBRIN_HOME", "JAVA_HOME", "Path" }, kExpandSz,
          kFreshPath },
        // Compared ignoring case, not separators; the store holds ANSI ("ü" is FC, upper-cased DC).
        { "plain path", R"(c:\orvant)", kSz, "C:\\Windows\\system32;C:\\Windows;C:\\Program Files\\B\xFC" "cher",
          false, { "INSTALL_DIR", "Path" }, kExpandSz,
          "%INSTALL_DIR%;%INSTALL_DIR%BIN;%JAVA_HOME%\\BIN;C:\\WINDOWS\\SYSTEM32\\WBEM;C:\\WINDOWS\\SYSTEM32;"
          "C:\\WINDOWS;C:\\PROGRAM FILES\\B\xDC" "CHER" },
        // Started by a program that has the product's variables: the path is stored expanded.
        { "only WBEM missing", R"(c:\orvant\)", kExpandSz,
          R"(%INSTALL_DIR%;%INSTALL_DIR%BIN;%JAVA_HOME%\BIN;C:\Windows;C:\Windows\System32;)", true, { "Path" }, kSz,
          R"(C:\WINDOWS\SYSTEM32\WBEM;C:\ORVANT\;C:\ORVANT\BIN;C:\ORVANT\JRE1.6.0_20\BIN;C:\WINDOWS;C:\WINDOWS\SYSTEM32;)" },
        // The last entry has no separator after it, so it counts as missing.
        { "last entry unterminated", installDir, kSz,
          R"(C:\ORVANT\;C:\ORVANT\BIN;C:\ORVANT\JRE1.6.0_20\BIN;C:\Windows\System32;C:\Windows\System32\Wbem;C:\Windows)",
          false, { "Path" }, kSz,
          R"(C:\WINDOWS;C:\ORVANT\;C:\ORVANT\BIN;C:\ORVANT\JRE1.6.0_20\BIN;C:\WINDOWS\SYSTEM32;)"
          R"(C:\WINDOWS\SYSTEM32\WBEM;C:\WINDOWS)" },
        { "entries in other case", installDir, kExpandSz,
          R"(%install_dir%;%Install_Dir%bin;%java_home%\bin;C:\WINDOWS;C:\WINDOWS\SYSTEM32;C:\WINDOWS\SYSTEM32\WBEM;)",
          false, {}, kExpandSz,
          R"(%install_dir%;%Install_Dir%bin;%java_home%\bin;C:\WINDOWS;C:\WINDOWS\SYSTEM32;C:\WINDOWS\SYSTEM32\WBEM;)" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        test::TestFolder folder;
        if (c.installDir != "-") {
            storeMachineVariable("INSTALL_DIR", kSz, c.installDir);
            storeMachineVariable("KELBRIN_HOME", kSz, R"(C:\ORVANT)");
            storeMachineVariable("JAVA_HOME", kSz, R"(c:\Orvant\jre1.6.0_20)");
        }
        if (!c.stored.empty()) {
            storeMachineVariable("Path", c.storedType, c.stored);
        }
        const std::string javaHome = R"(C:\ORVANT\JRE1.6.0_20)";
        test::ScopedEnv knownInstallDir("INSTALL_DIR", c.installDirKnown ? &installDir : nullptr);
        test::ScopedEnv knownJavaHome("JAVA_HOME", c.installDirKnown ? &javaHome : nullptr);
        m_broadcasts = 0;

        EXPECT_EQ(run().written, c.written);
        EXPECT_EQ(m_broadcasts, static_cast<int>(c.written.size()));
        EXPECT_EQ(machineVariable("Path"), (test::RegistryValue { c.expectedType, c.expected + '\0' }));
        const bool rewritten = c.written.size() > 1;
        EXPECT_EQ(machineVariable("INSTALL_DIR")->bytes, (rewritten ? installDir : c.installDir) + '\0');
    }
}

TEST_F(EnvironmentSetupTest, WithoutTheRightToChangeMachineSettingsNothingIsWrittenAndTheScriptStillStarts)
{
    test::TestFolder folder;
    storeMachineVariable("KELBRIN_HOME", kSz, R"(D:\OLD)");
    test::host::denyMachineRegistryWrites(folder.registryFolder());

    const auto outcome = run();

    EXPECT_THAT(outcome.written, ::testing::IsEmpty());
    // Path fails once; the Windows folders it would have added are not tried again on their own.
    EXPECT_EQ(outcome.failed, (Names { "INSTALL_DIR", "KELBRIN_HOME", "JAVA_HOME", "Path" }));
    EXPECT_EQ(m_broadcasts, 0);
    EXPECT_TRUE(outcome.scriptStarted);
    EXPECT_EQ(machineVariable("KELBRIN_HOME")->bytes, "D:\\OLD"s + '\0');
    EXPECT_EQ(machineVariable("Path"), std::nullopt);
}

} // namespace
} // namespace varset
