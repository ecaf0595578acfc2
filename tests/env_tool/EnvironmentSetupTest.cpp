#include "env_tool/EnvironmentSetup.h"

#include "tests/support/Host.h"
#include "tests/support/RegistryProbe.h"
#include "tests/support/TestFolder.h"

#include <gtest/gtest.h>

namespace varset {
namespace {

namespace test = orvant::test;
using Names = std::vector<std::string>;
constexpr auto kSz = orvant::platform::kRegSz;
constexpr auto kExpandSz = orvant::platform::kRegExpandSz;

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

// The variables are compared ignoring case but not separators: INSTALL_DIR "c:\orvant" is rewritten,
// the others are kept. Path gets the missing entries in front, upper-cased: the store holds ANSI, so
// "ü" is byte FC and upper-cased DC. What a fresh machine gets is VarsetProgramTest's.
TEST_F(EnvironmentSetupTest, VariablesGetTheirStandardValuesAndPathTheMissingEntriesInFront)
{
    struct Case
    {
        std::uint32_t storedType;
        std::string stored;
        bool knownHere; // INSTALL_DIR and JAVA_HOME are set in the process Varset runs in
        std::uint32_t expectedType;
        std::string expected; // empty: Path stays as it was
    };
    const Case cases[] = {
        { kSz,
          "C:\\Windows\\system32;C:\\Windows;C:\\B\xFC"
          "cher",
          false, kExpandSz,
          "%INSTALL_DIR%;%INSTALL_DIR%BIN;%JAVA_HOME%\\BIN;C:\\WINDOWS\\SYSTEM32\\WBEM;C:\\WINDOWS\\SYSTEM32;C:"
          "\\WINDOWS;"
          "C:\\B\xDC"
          "CHER" },
        // Known here, the product's entries are expanded before the run looks for them.
        { kExpandSz, R"(%INSTALL_DIR%;%INSTALL_DIR%BIN;%JAVA_HOME%\BIN;C:\Windows;C:\Windows\System32;)", true, kSz,
          R"(C:\WINDOWS\SYSTEM32\WBEM;C:\ORVANT\;C:\ORVANT\BIN;C:\ORVANT\JRE1.6.0_20\BIN;C:\WINDOWS;C:\WINDOWS\SYSTEM32;)" },
        // The last entry has no separator after it, so it counts as missing.
        { kSz,
          R"(C:\ORVANT\;C:\ORVANT\BIN;C:\ORVANT\JRE1.6.0_20\BIN;C:\Windows\System32;C:\Windows\System32\Wbem;C:\Windows)",
          false, kSz,
          R"(C:\WINDOWS;C:\ORVANT\;C:\ORVANT\BIN;C:\ORVANT\JRE1.6.0_20\BIN;C:\WINDOWS\SYSTEM32;C:\WINDOWS\SYSTEM32\WBEM;C:\WINDOWS)" },
        { kExpandSz,
          R"(%install_dir%;%Install_Dir%bin;%java_home%\bin;C:\WINDOWS;C:\WINDOWS\SYSTEM32;C:\WINDOWS\SYSTEM32\WBEM;)",
          false, kExpandSz, "" },
    };
    const std::string installDir = R"(C:\ORVANT\)", javaHome = R"(C:\ORVANT\JRE1.6.0_20)";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        test::TestFolder folder;
        for (const auto& [name, type, value] : { std::tuple { "INSTALL_DIR", kSz, R"(c:\orvant)" },
                                                 { "KELBRIN_HOME", kSz, R"(C:\ORVANT)" },
                                                 { "JAVA_HOME", kSz, R"(c:\Orvant\jre1.6.0_20)" },
                                                 { "Path", c.storedType, c.stored.c_str() } }) {
            ASSERT_TRUE(test::storeMachineVariable(name, type, value)) << name;
        }
        test::ScopedEnv knownInstallDir("INSTALL_DIR", c.knownHere ? &installDir : nullptr);
        test::ScopedEnv knownJavaHome("JAVA_HOME", c.knownHere ? &javaHome : nullptr);
        m_broadcasts = 0;
        EXPECT_EQ(run().written, (c.expected.empty() ? Names { "INSTALL_DIR" } : Names { "INSTALL_DIR", "Path" }));
        EXPECT_EQ(m_broadcasts, c.expected.empty() ? 1 : 2);
        const std::string path = c.expected.empty() ? c.stored : c.expected;
        EXPECT_EQ(test::machineVariable("Path"), (test::RegistryValue { c.expectedType, path + '\0' }));
        EXPECT_EQ(test::machineVariable("INSTALL_DIR")->bytes, installDir + '\0');
    }
}

TEST_F(EnvironmentSetupTest, WithoutTheRightToChangeMachineSettingsNothingIsWrittenAndTheScriptStillStarts)
{
    test::TestFolder folder;
    ASSERT_TRUE(test::storeMachineVariable("KELBRIN_HOME", kSz, R"(D:\OLD)"));
    test::host::denyMachineRegistryWrites(folder.registryFolder());
    const auto outcome = run();
    // Path fails once; the Windows folders it would have added are not tried again on their own.
    EXPECT_EQ(outcome.failed, (Names { "INSTALL_DIR", "KELBRIN_HOME", "JAVA_HOME", "Path" }));
    EXPECT_EQ(outcome.written, Names {});
    EXPECT_EQ(m_broadcasts, 0);
    EXPECT_TRUE(outcome.scriptStarted);
    EXPECT_EQ(test::machineVariable("KELBRIN_HOME")->bytes, std::string("D:\\OLD") + '\0');
    EXPECT_EQ(test::machineVariable("Path"), std::nullopt);
}

} // namespace
} // namespace varset
