#include "env_tool/EnvironmentSetup.h"
#include "env_tool/StartScript.h"
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

// Whether the start script at the stored path ran: it writes a line into the file beside it.
bool ran(const std::string& storedRecord)
{
    return test::waitForLine(platform::toNativePath(storedRecord)).rfind("started", 0) == 0;
}

TEST(StartScript, StartsTheScriptAtTheStoredPathWithoutRegardToCase)
{
    test::TestFolder folder;
    EXPECT_FALSE(startScript(folder.stored("ORVANT\\StartPOSServer.bat")));
    platform::createFolder(folder.stored("ORVANT"));
    test::host::writeRecordingScript(folder.stored("ORVANT\\StartPOSServer.bat"), folder.stored("ORVANT\\ran.txt"));
    EXPECT_TRUE(startScript(folder.stored("orvant\\startposserver.BAT")));
    EXPECT_TRUE(ran(folder.stored("ORVANT\\ran.txt")));
}

// The built Varset on the machine environment and the installation's C:\ORVANT\StartPOSServer.bat (on
// Windows the machine's own drive C:), started from a program that does not know the product's variables.
class VarsetProgramTest : public ::testing::Test
{
protected:
    VarsetProgramTest()
    {
        platform::createFolder("C:\\ORVANT");
        test::host::writeRecordingScript(kStartScript, "C:\\ORVANT\\record.txt");
    }

    // Runs Varset to its end and expects it to have started the script and announced this many
    // changes; on POSIX no announcement reaches anyone, so none is counted there.
    void runVarset(int changes)
    {
        std::filesystem::remove(platform::toNativePath("C:\\ORVANT\\record.txt"));
        const int broadcasts = test::host::environmentBroadcastsDuring([] {
            const auto varset = platform::startProgram(VARSET_PROGRAM, "", "", platform::WindowMode::Hidden);
            ASSERT_NE(varset, nullptr) << "Varset did not start";
            EXPECT_TRUE(varset->waitForExit(std::chrono::seconds(60))) << "Varset did not end";
        });
        EXPECT_TRUE(ran("C:\\ORVANT\\record.txt"));
        EXPECT_EQ(broadcasts, test::host::kEnvironmentBroadcastsArrive ? changes : 0);
    }

    test::TestFolder m_folder;
    test::ScopedEnv m_installDir { "INSTALL_DIR", nullptr }, m_javaHome { "JAVA_HOME", nullptr };
};

TEST_F(VarsetProgramTest, SetsTheMachineEnvironmentOnceAndStartsTheScriptEveryTime)
{
    for (int run = 0; run < 10; ++run) {
        SCOPED_TRACE(run);
        runVarset(run == 0 ? 4 : 0);
    }
    const auto text = [](std::uint32_t type, const std::string& characters) {
        return test::RegistryValue { type, characters + '\0' };
    };
    EXPECT_EQ(test::machineVariable("INSTALL_DIR"), text(platform::kRegSz, R"(C:\ORVANT\)"));
    EXPECT_EQ(test::machineVariable("KELBRIN_HOME"), text(platform::kRegSz, R"(C:\ORVANT)"));
    EXPECT_EQ(test::machineVariable("JAVA_HOME"), text(platform::kRegSz, R"(C:\ORVANT\JRE1.6.0_20)"));
    EXPECT_EQ(test::machineVariable("Path"),
              text(platform::kRegExpandSz,
                   std::string(kProductEntries) + R"(C:\WINDOWS;C:\WINDOWS\SYSTEM32;C:\WINDOWS\SYSTEM32\WBEM;)"));

    // A Path that lacks only the WBEM folder gets only that folder in front.
    ASSERT_TRUE(test::storeMachineVariable("Path", platform::kRegExpandSz,
                                           kProductEntries + std::string(R"(C:\Windows\System32;C:\Windows;)")));
    runVarset(1);
    EXPECT_EQ(
        test::machineVariable("Path"),
        text(platform::kRegExpandSz,
             R"(C:\WINDOWS\SYSTEM32\WBEM;)" + std::string(kProductEntries) + R"(C:\WINDOWS\SYSTEM32;C:\WINDOWS;)"));
}

TEST_F(VarsetProgramTest, UserWhoMayNotChangeTheMachineEnvironmentStillGetsTheScriptStarted)
{
    test::host::denyMachineRegistryWrites(m_folder.registryFolder());
    runVarset(0);
    for (const char* name : { "INSTALL_DIR", "KELBRIN_HOME", "JAVA_HOME", "Path" }) {
        EXPECT_EQ(test::machineVariable(name), std::nullopt) << name;
    }
}

} // namespace
} // namespace varset
