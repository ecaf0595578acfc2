#include "env_tool/EnvironmentSetup.h"
#include "env_tool/StartScript.h"
#include "env_tool/System.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"
#include "platform/Process.h"

#include "tests/support/Files.h"
#include "tests/support/Host.h"
#include "tests/support/RegistryProbe.h"
#include "tests/support/TestFolder.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace varset {
namespace {

namespace platform = orvant::platform;
namespace test = orvant::test;
using namespace std::chrono_literals;

constexpr const char* kRecord = "C:\\ORVANT\\record.txt";

std::optional<test::RegistryValue> machineVariable(const std::string& name)
{
    return test::readRegistryValue(platform::Hive::LocalMachine, kMachineEnvironmentKey, name);
}

test::RegistryValue text(std::uint32_t type, const std::string& text)
{
    return { type, text + '\0' };
}

// Starts the start script in the test's folder, whatever the case of the stored path; nothing to start
// is no start.
TEST(StartScript, StartsTheScriptAtTheStoredPath)
{
    test::TestFolder folder;
    EXPECT_FALSE(startScript(folder.stored("ORVANT\\StartPOSServer.bat")));
    platform::createFolder(folder.stored("ORVANT"));
    test::host::writeRecordingScript(folder.stored("ORVANT\\StartPOSServer.bat"), folder.stored("ORVANT\\ran.txt"));
    EXPECT_TRUE(startScript(folder.stored("orvant\\startposserver.BAT")));
    EXPECT_EQ(test::waitForLine(folder.path() / "ORVANT" / "ran.txt").rfind("started", 0), 0u);
}

// The built Varset, started as a program, on the machine environment and the installation's start
// script C:\ORVANT\StartPOSServer.bat (on Windows the machine's own drive C:).
class VarsetProgramTest : public ::testing::Test
{
protected:
    VarsetProgramTest()
    {
        platform::createFolder("C:\\ORVANT");
        test::host::writeRecordingScript(kStartScript, kRecord);
    }

    // Runs Varset to its end; true when it started the script.
    bool runVarset()
    {
        std::filesystem::remove(platform::toNativePath(kRecord));
        const auto varset = platform::startProgram(VARSET_PROGRAM, "", "", platform::WindowMode::Hidden);
        EXPECT_TRUE(varset && varset->waitForExit(60s));
        return test::waitForLine(platform::toNativePath(kRecord)).rfind("started", 0) == 0;
    }

    test::TestFolder m_folder;
    // Started from a program that does not know the product's variables yet.
    test::ScopedEnv m_installDir { "INSTALL_DIR", nullptr };
    test::ScopedEnv m_javaHome { "JAVA_HOME", nullptr };
};

TEST_F(VarsetProgramTest, SetsTheMachineEnvironmentOnceAndStartsTheScriptEveryTime)
{
    for (int run = 0; run < 10; ++run) {
        EXPECT_TRUE(runVarset()) << "run " << run;
    }
    EXPECT_EQ(machineVariable("INSTALL_DIR"), text(platform::kRegSz, R"(C:\ORVANT\)"));
    EXPECT_EQ(machineVariable("KELBRIN_HOME"), text(platform::kRegSz, R"(C:\ORVANT)"));
    EXPECT_EQ(machineVariable("JAVA_HOME"), text(platform::kRegSz, R"(C:\ORVANT\JRE1.6.0_20)"));
    EXPECT_EQ(machineVariable("Path"), text(platform::kRegExpandSz, R"(%INSTALL_DIR%;%INSTALL_DIR%BIN;%JAVA_HOME%\BIN;)"
                                                                    R"(C:\WINDOWS;C:\WINDOWS\SYSTEM32;C:\WINDOWS\SYSTEM32\WBEM;)"));

    // A Path that lacks only the WBEM folder gets only that folder in front.
    ASSERT_TRUE(test::storeRegistryValue(platform::Hive::LocalMachine, kMachineEnvironmentKey, "Path",
                                         platform::kRegExpandSz,
                                         std::string(kProductEntries) + R"(C:\Windows;C:\Windows\System32;)" + '\0'));
    EXPECT_TRUE(runVarset());
    EXPECT_EQ(machineVariable("Path"), text(platform::kRegExpandSz, R"(C:\WINDOWS\SYSTEM32\WBEM;%INSTALL_DIR%;)"
                                                                    R"(%INSTALL_DIR%BIN;%JAVA_HOME%\BIN;C:\WINDOWS;C:\WINDOWS\SYSTEM32;)"));
}

TEST_F(VarsetProgramTest, UserWhoMayNotChangeTheMachineEnvironmentStillGetsTheScriptStarted)
{
    test::host::denyMachineRegistryWrites(m_folder.registryFolder());
    EXPECT_TRUE(runVarset());
    for (const char* name : { "INSTALL_DIR", "KELBRIN_HOME", "JAVA_HOME", "Path" }) {
        EXPECT_EQ(machineVariable(name), std::nullopt) << name;
    }
}

} // namespace
} // namespace varset
