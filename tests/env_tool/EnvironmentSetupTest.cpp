#include "env_tool/EnvironmentSetup.h"

#include "platform/TextCodec.h"
#include "tests/env_tool/HiveValues.h"
#include "tests/support/TestFolder.h"

#include <fstream>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <iterator>
#include <optional>

namespace varset {
namespace {

using namespace std::string_literals;
using test::readMachineVariable;
using test::storeMachineVariable;
using test::withNul;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr auto kSz = orvant::platform::kRegSz;
constexpr auto kExpandSz = orvant::platform::kRegExpandSz;
constexpr const char* kFreshPath
    = R"(%INSTALL_DIR%;%INSTALL_DIR%BIN;%JAVA_HOME%\BIN;C:\WINDOWS;C:\WINDOWS\SYSTEM32;C:\WINDOWS\SYSTEM32\WBEM;)";

// Runs the sequence the way Varset does, counting broadcasts and script starts instead of doing them.
class EnvironmentSetupTest : public ::testing::Test
{
protected:
    SetupOutcome run()
    {
        return runEnvironmentSetup([this] { ++m_broadcasts; },
                                   [this] {
                                       ++m_scriptStarts;
                                       return true;
                                   });
    }

    void storeStandardVariables()
    {
        storeMachineVariable("INSTALL_DIR", kSz, R"(C:\ORVANT\)");
        storeMachineVariable("KELBRIN_HOME", kSz, R"(C:\ORVANT)");
        storeMachineVariable("JAVA_HOME", kSz, R"(C:\ORVANT\JRE1.6.0_20)");
    }

    static void expectStored(const std::string& name, std::uint32_t type, const std::string& text)
    {
        const auto stored = readMachineVariable(name);
        ASSERT_EQ(stored.result, orvant::platform::kErrorSuccess) << name;
        EXPECT_EQ(stored.type, type) << name;
        EXPECT_EQ(stored.bytes, withNul(text)) << name;
    }

    orvant::test::TestFolder m_folder;
    // Varset is normally started from a shell that does not know the product's variables yet.
    orvant::test::ScopedEnv m_installDir { "INSTALL_DIR", nullptr };
    orvant::test::ScopedEnv m_javaHome { "JAVA_HOME", nullptr };
    int m_broadcasts = 0;
    int m_scriptStarts = 0;
};

TEST_F(EnvironmentSetupTest, MachineWithoutTheVariablesGetsAllFourAndTheScriptStarts)
{
    const auto outcome = run();

    EXPECT_THAT(outcome.written, ElementsAre("INSTALL_DIR", "KELBRIN_HOME", "JAVA_HOME", "Path"));
    EXPECT_THAT(outcome.failed, IsEmpty());
    EXPECT_EQ(m_broadcasts, 4);
    EXPECT_EQ(m_scriptStarts, 1);
    EXPECT_TRUE(outcome.scriptStarted);
    expectStored("INSTALL_DIR", kSz, R"(C:\ORVANT\)");
    expectStored("KELBRIN_HOME", kSz, R"(C:\ORVANT)");
    expectStored("JAVA_HOME", kSz, R"(C:\ORVANT\JRE1.6.0_20)");
    expectStored("Path", kExpandSz, kFreshPath);
}

// With the three variables already stored, only Path is looked at.
TEST_F(EnvironmentSetupTest, StoredPathGetsTheMissingEntriesInFrontUpperCased)
{
    struct Case
    {
        const char* what;
        std::uint32_t storedType;
        std::string stored;
        bool installDirKnown; // INSTALL_DIR set in the process Varset runs in
        bool javaHomeKnown;
        std::uint32_t expectedType; // ignored when nothing is written
        std::string expected; // empty: Path is left as it was
    };
    const Case cases[] = {
        // The store holds ANSI: "ü" is byte FC, and upper-cased it becomes DC.
        { "plain path", kSz,
          "C:\\Windows\\system32;C:\\Windows;C:\\Program Files\\B\xFC"
          "cher;c:\\tools",
          false, false, kExpandSz,
          "%INSTALL_DIR%;%INSTALL_DIR%BIN;%JAVA_HOME%\\BIN;C:\\WINDOWS\\SYSTEM32\\WBEM;"
          "C:\\WINDOWS\\SYSTEM32;C:\\WINDOWS;C:\\PROGRAM FILES\\B\xDC"
          "CHER;C:\\TOOLS" },
        // Started by a program that already has the product's variables: the path is stored expanded.
        { "only WBEM missing", kExpandSz,
          R"(%INSTALL_DIR%;%INSTALL_DIR%BIN;%JAVA_HOME%\BIN;C:\Windows;C:\Windows\System32;C:\Tools)", true, true, kSz,
          R"(C:\WINDOWS\SYSTEM32\WBEM;C:\ORVANT\;C:\ORVANT\BIN;C:\ORVANT\JRE1.6.0_20\BIN;)"
          R"(C:\WINDOWS;C:\WINDOWS\SYSTEM32;C:\TOOLS)" },
        { "unexpanded entries", kExpandSz,
          R"(%INSTALL_DIR%;%INSTALL_DIR%BIN;%JAVA_HOME%\BIN;C:\Windows\System32;%ORVANT_NO_SUCH%\bin)", false, false,
          kExpandSz,
          R"(C:\WINDOWS;C:\WINDOWS\SYSTEM32\WBEM;%INSTALL_DIR%;%INSTALL_DIR%BIN;%JAVA_HOME%\BIN;)"
          R"(C:\WINDOWS\SYSTEM32;%ORVANT_NO_SUCH%\BIN)" },
        // The last Windows entry has no separator after it, so it counts as missing.
        { "last entry unterminated", kSz,
          R"(C:\ORVANT\;C:\ORVANT\BIN;C:\ORVANT\JRE1.6.0_20\BIN;C:\Windows\System32;)"
          R"(C:\Windows\System32\Wbem;C:\Windows)",
          false, false, kSz,
          R"(C:\WINDOWS;C:\ORVANT\;C:\ORVANT\BIN;C:\ORVANT\JRE1.6.0_20\BIN;C:\WINDOWS\SYSTEM32;)"
          R"(C:\WINDOWS\SYSTEM32\WBEM;C:\WINDOWS)" },
        // Stored entries are recognised in any case and with only one variable known.
        { "entries in other case", kExpandSz,
          R"(%install_dir%;%Install_Dir%bin;%java_home%\bin;C:\WINDOWS;C:\WINDOWS\SYSTEM32;C:\WINDOWS\SYSTEM32\WBEM;)",
          true, false, 0, "" },
    };
    orvant::test::ScopedEnv undefined("ORVANT_NO_SUCH", nullptr);
    const std::string installDir = R"(C:\ORVANT\)", javaHome = R"(C:\ORVANT\JRE1.6.0_20)";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        m_broadcasts = 0;
        storeStandardVariables();
        storeMachineVariable("Path", c.storedType, c.stored);
        orvant::test::ScopedEnv knownInstallDir("INSTALL_DIR", c.installDirKnown ? &installDir : nullptr);
        orvant::test::ScopedEnv knownJavaHome("JAVA_HOME", c.javaHomeKnown ? &javaHome : nullptr);

        const auto outcome = run();

        if (c.expected.empty()) {
            EXPECT_THAT(outcome.written, IsEmpty());
            expectStored("Path", c.storedType, c.stored);
        } else {
            EXPECT_THAT(outcome.written, ElementsAre("Path"));
            EXPECT_EQ(m_broadcasts, 1);
            expectStored("Path", c.expectedType, c.expected);
        }
    }
}

TEST_F(EnvironmentSetupTest, VariablesAreComparedIgnoringCaseButNotSeparators)
{
    storeMachineVariable("INSTALL_DIR", kSz, R"(c:\orvant\)");
    storeMachineVariable("KELBRIN_HOME", kSz, R"(C:\ORVANT\)");
    storeMachineVariable("JAVA_HOME", kSz, R"(c:\Orvant\jre1.6.0_20)");
    storeMachineVariable("Path", kSz,
                         R"(C:\ORVANT\;C:\ORVANT\BIN;C:\ORVANT\JRE1.6.0_20\BIN;C:\WINDOWS;)"
                         R"(C:\WINDOWS\SYSTEM32;C:\WINDOWS\SYSTEM32\WBEM;)");

    EXPECT_THAT(run().written, ElementsAre("KELBRIN_HOME"));
    EXPECT_EQ(m_broadcasts, 1);
    expectStored("INSTALL_DIR", kSz, R"(c:\orvant\)");
    expectStored("KELBRIN_HOME", kSz, R"(C:\ORVANT)");
    expectStored("JAVA_HOME", kSz, R"(c:\Orvant\jre1.6.0_20)");

    storeMachineVariable("INSTALL_DIR", kSz, R"(C:\ORVANT)");
    EXPECT_THAT(run().written, ElementsAre("INSTALL_DIR"));
    expectStored("INSTALL_DIR", kSz, R"(C:\ORVANT\)");
}

TEST_F(EnvironmentSetupTest, SecondRunFromAnEnvironmentWithTheNewValuesWritesNothing)
{
    run();
    const std::string pathAfterFirstRun = readMachineVariable("Path").bytes;
    m_broadcasts = 0;
    orvant::test::ScopedEnv installDir("INSTALL_DIR", R"(C:\ORVANT\)");
    orvant::test::ScopedEnv javaHome("JAVA_HOME", R"(C:\ORVANT\JRE1.6.0_20)");

    EXPECT_THAT(run().written, IsEmpty());
    EXPECT_EQ(m_broadcasts, 0);
    EXPECT_EQ(m_scriptStarts, 2);
    EXPECT_EQ(readMachineVariable("Path").bytes, pathAfterFirstRun);
}

// Without a look at the stored Path every run from such an environment would put the entries in
// front once more, until Path outgrows what Windows accepts.
TEST_F(EnvironmentSetupTest, RunsFromAnEnvironmentWithoutTheProductVariablesLeaveOneCopyOfTheEntries)
{
    storeMachineVariable("Path", kSz, R"(C:\Tools)");
    for (int i = 0; i < 10; ++i) {
        run();
    }

    EXPECT_EQ(m_broadcasts, 4);
    EXPECT_EQ(m_scriptStarts, 10);
    expectStored("Path", kExpandSz, kFreshPath + R"(C:\TOOLS)"s);
}

TEST_F(EnvironmentSetupTest, WithoutTheRightToChangeMachineSettingsNothingIsWrittenAndTheScriptStillStarts)
{
    storeMachineVariable("KELBRIN_HOME", kSz, R"(D:\OLD)");
    storeMachineVariable("Path", kSz, R"(C:\Tools)");
    const auto hiveFiles = [this] {
        std::string all;
        for (const auto& entry : std::filesystem::directory_iterator(m_folder.registryFolder())) {
            std::ifstream in(entry.path(), std::ios::binary);
            all += entry.path().filename().string() + ":"
                + std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        }
        return all;
    };
    const std::string before = hiveFiles();
    test::makeReadOnly(m_folder.registryFolder());

    const auto outcome = run();

    EXPECT_THAT(outcome.written, IsEmpty());
    EXPECT_THAT(outcome.failed, ElementsAre("INSTALL_DIR", "KELBRIN_HOME", "JAVA_HOME", "Path"));
    EXPECT_EQ(m_broadcasts, 0);
    EXPECT_EQ(m_scriptStarts, 1);
    EXPECT_EQ(hiveFiles(), before);
}

TEST_F(EnvironmentSetupTest, FailedPathWriteIsReportedOnce)
{
    storeStandardVariables();
    storeMachineVariable("Path", kSz, R"(C:\Tools)");
    test::makeReadOnly(m_folder.registryFolder());

    // The Windows folders the failed Path write would have added are not tried again on their own.
    EXPECT_THAT(run().failed, ElementsAre("Path"));
}

TEST(UpperCaseTest, RaisesTheLettersWindows1252HasInBothCases)
{
    EXPECT_EQ(orvant::platform::upperCaseAnsi(R"(c:\program files\x86)"), R"(C:\PROGRAM FILES\X86)");
    EXPECT_EQ(orvant::platform::upperCaseAnsi("àéîõü ÿ šœž æøþ ß ÷ µ"), "ÀÉÎÕÜ Ÿ ŠŒŽ ÆØÞ ß ÷ µ");
    EXPECT_EQ(orvant::platform::upperCaseAnsi("\xC3"), "\xC3");
}

} // namespace
} // namespace varset
